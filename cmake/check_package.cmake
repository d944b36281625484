# Run by CTest (cmake -P): the package holds both programs, the README, the licence and the two scripts, each once
# and nothing else, under one folder, and its SHA-256 file names it with its right sum. PACKAGE and FOLDER come
# from the test.
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${PACKAGE} OUTPUT_VARIABLE listing RESULT_VARIABLE listed)
if(NOT listed EQUAL 0)
  message(FATAL_ERROR "${PACKAGE} cannot be read (run scripts/build.sh win32, which makes it)")
endif()
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" entries "${listing}")
list(SORT entries)
set(expected ${FOLDER}/LICENSE.txt ${FOLDER}/README.txt ${FOLDER}/Zolvane.exe ${FOLDER}/apply-layout.cmd
             ${FOLDER}/check-folders.cmd ${FOLDER}/zolvane-cli.exe)
if(NOT entries STREQUAL expected)
  message(FATAL_ERROR "${PACKAGE} holds: ${entries}\nexpected: ${expected}")
endif()
file(SHA256 ${PACKAGE} sum)
file(READ ${PACKAGE}.sha256 recorded)
get_filename_component(name ${PACKAGE} NAME)
if(NOT recorded MATCHES "^${sum}[ \t]+\\*?${name}")
  message(FATAL_ERROR "${PACKAGE}.sha256 holds \"${recorded}\", not ${sum} ${name}")
endif()
message(STATUS "${name}: ${entries}, SHA-256 ${sum}")
