@echo off
rem Puts this user's special folders back, with their files, where they were before the first layout moved them,
rem as zolvane-cli kept it in the user's application data; that kept layout is then retired, and a later run says
rem there is nothing to undo. Put it in the logon scripts in place of apply-layout.cmd; as a computer startup
rem script, "undo-layout.cmd HKLM" puts back the shared folders. zolvane-cli adds one line a run to logs\zolvane.log
rem beside this script. Its exit code is zolvane-cli's: 0 is success.
setlocal EnableExtensions DisableDelayedExpansion
set "hive=%~1"
if not defined hive set "hive=HKCU"
"%~dp0zolvane-cli.exe" apply --undo --hive %hive% --move --log "%~dp0logs\zolvane.log"
exit /b %ERRORLEVEL%
