# The package a user takes to Windows XP: Zolvane-2.0-win32.zip in build/package/, holding both programs, the
# README and the licence, made from the i686 build by cpack (scripts/build.sh runs it).
# Text files get the .txt ending, so that a double-click on XP opens them in Notepad.
install(TARGETS Zolvane RUNTIME DESTINATION .)
if(TARGET zolvane-cli)
  install(TARGETS zolvane-cli RUNTIME DESTINATION .)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION . RENAME README.txt)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Zolvane)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
set(CPACK_PACKAGE_FILE_NAME "Zolvane-${CPACK_PACKAGE_VERSION}-win32")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_SOURCE_DIR}/build/package)
set(CPACK_PACKAGE_CHECKSUM SHA256)
include(CPack)
