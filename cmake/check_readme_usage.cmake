# Run by CTest (cmake -P): the README shows zolvane-cli's usage exactly as --help prints it, in a block of its own.
# SOURCE and PRINT_USAGE (a native program that prints the usage) come from the test.
file(READ ${SOURCE}/README.md readme)
execute_process(COMMAND ${PRINT_USAGE} OUTPUT_VARIABLE usage RESULT_VARIABLE failed)
if(failed OR NOT usage MATCHES "^Usage:\n")
  message(FATAL_ERROR "${PRINT_USAGE} printed no usage: ${failed}")
endif()
string(FIND "${readme}" "```\n${usage}```\n" at)
if(at EQUAL -1)
  message(FATAL_ERROR "README.md does not show the usage as --help prints it; --help prints:\n${usage}")
endif()
message(STATUS "README.md shows the usage as --help prints it")
