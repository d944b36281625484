# The packages a user takes to Windows XP, made from the i686 build: Zolvane-2.0-win32.zip in build/package/ (by
# cpack, which scripts/build.sh runs), for copying by hand, and Zolvane-2.0-win32.msi beside it (by wixl, with the
# build), for Group Policy to assign to computers. Both hold both programs, the README, the licence and the
# README's three scripts (beside zolvane-cli.exe, where they look for it). Text files get the .txt ending, so that a
# double-click on XP opens them in Notepad, and CR LF line ends. The x86_64 build makes the same MSI of its own
# programs, Zolvane-2.0-win64.msi in its own tree, for the Wine test that runs zolvane-cli.exe where the MSI put it
# (64-bit Wine runs no i686 program where the prefix has no 32-bit half).
set(ZOLVANE_PACKAGE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(ZOLVANE_PACKAGE_NAME "Zolvane-${ZOLVANE_PACKAGE_VERSION}-win32")
  set(ZOLVANE_MSI ${CMAKE_SOURCE_DIR}/build/package/${ZOLVANE_PACKAGE_NAME}.msi)
  set(msi_arch x86)
  set(ZOLVANE_MSI_PROGRAM_FILES ProgramFilesFolder)
  set(ZOLVANE_MSI_WIN64 no)
else()
  set(ZOLVANE_MSI ${CMAKE_BINARY_DIR}/package/Zolvane-${ZOLVANE_PACKAGE_VERSION}-win64.msi)
  set(msi_arch x64)
  set(ZOLVANE_MSI_PROGRAM_FILES ProgramFiles64Folder)
  set(ZOLVANE_MSI_WIN64 yes)
endif()

# Every file of the packages, in one folder, as they hold it: the MSI's source names files relative to itself, and
# wixl is run there, since it looks for them in its working folder first.
set(stage ${CMAKE_BINARY_DIR}/package-files)
foreach(source README.md LICENSE)
  get_filename_component(name ${source} NAME_WE)
  add_custom_command(OUTPUT ${stage}/${name}.txt
                     COMMAND ${CMAKE_COMMAND} -DINPUT=${CMAKE_SOURCE_DIR}/${source} -DOUTPUT=${stage}/${name}.txt
                             -P ${CMAKE_SOURCE_DIR}/cmake/package_text.cmake
                     DEPENDS ${CMAKE_SOURCE_DIR}/${source} ${CMAKE_SOURCE_DIR}/cmake/package_text.cmake)
  list(APPEND package_texts ${stage}/${name}.txt)
endforeach()
set(scripts ${CMAKE_SOURCE_DIR}/docs/scripts/apply-layout.cmd ${CMAKE_SOURCE_DIR}/docs/scripts/check-folders.cmd
            ${CMAKE_SOURCE_DIR}/docs/scripts/undo-layout.cmd)
add_custom_command(OUTPUT ${stage}/apply-layout.cmd ${stage}/check-folders.cmd ${stage}/undo-layout.cmd ${stage}/zolvane.ico
                   COMMAND ${CMAKE_COMMAND} -E copy ${scripts} ${CMAKE_SOURCE_DIR}/resources/zolvane.ico ${stage}
                   DEPENDS ${scripts} ${CMAKE_SOURCE_DIR}/resources/zolvane.ico)
add_custom_target(zolvane_package_files ALL DEPENDS ${package_texts} ${stage}/apply-layout.cmd)

# The zip, of the i686 build only.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  install(TARGETS Zolvane zolvane-cli RUNTIME DESTINATION .)
  install(FILES ${package_texts} ${scripts} DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME Zolvane)
  set(CPACK_PACKAGE_VERSION ${ZOLVANE_PACKAGE_VERSION})
  set(CPACK_PACKAGE_FILE_NAME ${ZOLVANE_PACKAGE_NAME})
  set(CPACK_PACKAGE_DIRECTORY ${CMAKE_SOURCE_DIR}/build/package)
  set(CPACK_PACKAGE_CHECKSUM SHA256)
  include(CPack)
endif()

# The MSI. Its upgrade code is the product's for good: never change it. The product code is new with each version
# (and each of the two builds), made from the upgrade code, so that a rebuild of one version keeps it.
# wixl (0.101) writes no file version: msibuild puts the version record's into the File table, with its language
# (the record's Translation, 0x409), so that a newer MSI's exes replace older ones by version as Windows Installer
# decides, and takes the two exes out of MsiFileHash, which is for files without a version. One query a row: this
# msibuild's DELETE with OR deletes other rows too.
find_program(ZOLVANE_WIXL wixl)
find_program(ZOLVANE_MSIBUILD msibuild)
if(NOT ZOLVANE_WIXL OR NOT ZOLVANE_MSIBUILD)
  message(WARNING "wixl or msibuild is missing (scripts/setup.sh installs them): no ${ZOLVANE_MSI}")
else()
  set(ZOLVANE_MSI_UPGRADE_CODE 4B349998-7239-425A-8E0C-733DF7C7DA5E)
  string(UUID ZOLVANE_MSI_PRODUCT_CODE NAMESPACE ${ZOLVANE_MSI_UPGRADE_CODE} NAME "Zolvane ${PROJECT_VERSION} ${msi_arch}"
         TYPE SHA1 UPPER)
  get_filename_component(msi_folder ${ZOLVANE_MSI} DIRECTORY)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/zolvane.wxs.in ${stage}/zolvane.wxs @ONLY)
  add_custom_command(OUTPUT ${ZOLVANE_MSI}
                     COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Zolvane> $<TARGET_FILE:zolvane-cli> ${stage}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${msi_folder}
                     COMMAND ${ZOLVANE_WIXL} -a ${msi_arch} -o ${ZOLVANE_MSI} ${stage}/zolvane.wxs
                     COMMAND ${ZOLVANE_MSIBUILD} ${ZOLVANE_MSI}
                             -q "UPDATE File SET Version = '${ZOLVANE_FILE_VERSION}', Language = '1033' WHERE File = 'ZolvaneExe'"
                             -q "UPDATE File SET Version = '${ZOLVANE_FILE_VERSION}', Language = '1033' WHERE File = 'ZolvaneCliExe'"
                             -q "DELETE FROM MsiFileHash WHERE File_ = 'ZolvaneExe'"
                             -q "DELETE FROM MsiFileHash WHERE File_ = 'ZolvaneCliExe'"
                     DEPENDS Zolvane zolvane-cli ${stage}/zolvane.wxs ${package_texts} ${stage}/apply-layout.cmd
                             ${stage}/zolvane.ico
                     WORKING_DIRECTORY ${stage}
                     VERBATIM)
  add_custom_target(zolvane_msi ALL DEPENDS ${ZOLVANE_MSI})
  # The staged files are made by the one target above; this one waits for it rather than making them again.
  add_dependencies(zolvane_msi zolvane_package_files)
endif()

# The packages as a user gets them: the zip's contents, its text files and its checksum, and the MSI's files.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  add_test(NAME package_contents
           COMMAND ${CMAKE_COMMAND} -DPACKAGE=${CMAKE_SOURCE_DIR}/build/package/${ZOLVANE_PACKAGE_NAME}.zip
                   -DFOLDER=${ZOLVANE_PACKAGE_NAME} -DMSI=${ZOLVANE_MSI} -DFILE_VERSION=${ZOLVANE_FILE_VERSION}
                   -P ${CMAKE_SOURCE_DIR}/cmake/check_package.cmake)
endif()

# Both MSIs under Wine's msiexec: installed, upgraded, removed, and zolvane-cli.exe run where it was installed
# (tests/wine/msi_install_test.sh). Registered in the x86_64 tree, whose tests run under Wine; the i686 tree's MSI
# and staged files are read where scripts/build.sh win32 leaves them.
if(CMAKE_CROSSCOMPILING_EMULATOR)
  add_test(NAME wine_msi
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/wine/msi_install_test.sh
                   ${CMAKE_SOURCE_DIR}/build/package/Zolvane-${ZOLVANE_PACKAGE_VERSION}-win32.msi
                   ${CMAKE_SOURCE_DIR}/build/win32/package-files ${ZOLVANE_MSI} ${stage})
  set_tests_properties(wine_msi PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE)
endif()
