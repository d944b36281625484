# The package a user takes to Windows XP: Zolvane-2.0-win32.zip in build/package/, holding both programs, the
# README, the licence and the README's two scripts (beside zolvane-cli.exe, where they look for it), made from
# the i686 build by cpack (scripts/build.sh runs it).
# Text files get the .txt ending, so that a double-click on XP opens them in Notepad.
install(TARGETS Zolvane RUNTIME DESTINATION .)
if(TARGET zolvane-cli)
  install(TARGETS zolvane-cli RUNTIME DESTINATION .)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION . RENAME README.txt)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
install(FILES ${CMAKE_SOURCE_DIR}/docs/scripts/apply-layout.cmd ${CMAKE_SOURCE_DIR}/docs/scripts/check-folders.cmd
              ${CMAKE_SOURCE_DIR}/docs/scripts/undo-layout.cmd DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Zolvane)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
set(ZOLVANE_PACKAGE_NAME "Zolvane-${CPACK_PACKAGE_VERSION}-win32")
set(CPACK_PACKAGE_FILE_NAME ${ZOLVANE_PACKAGE_NAME})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_SOURCE_DIR}/build/package)
set(CPACK_PACKAGE_CHECKSUM SHA256)
include(CPack)

# The package as a user gets it: its contents and its checksum.
add_test(NAME package_contents
         COMMAND ${CMAKE_COMMAND} -DPACKAGE=${CMAKE_SOURCE_DIR}/build/package/${ZOLVANE_PACKAGE_NAME}.zip
                 -DFOLDER=${ZOLVANE_PACKAGE_NAME} -P ${CMAKE_SOURCE_DIR}/cmake/check_package.cmake)
