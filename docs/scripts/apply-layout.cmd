@echo off
rem Moves this user's special folders, with their files, where layout.txt (beside this script) puts them, making
rem the folders that are not there yet, and again any that went missing. A file in use stops that folder's move
rem whole: nothing of it switches, and the next run tries again. zolvane-cli adds one line a run to logs\zolvane.log
rem beside this script, making the folder: the time, the computer, the user, the exit code and what it came to. As
rem a logon script it moves the user's folders; as a computer startup script, "apply-layout.cmd HKLM" moves the
rem shared ones. Its exit code is zolvane-cli's: 0 is success.
setlocal EnableExtensions DisableDelayedExpansion
set "hive=%~1"
if not defined hive set "hive=HKCU"
"%~dp0zolvane-cli.exe" apply "%~dp0layout.txt" --hive %hive% --create --move --log "%~dp0logs\zolvane.log"
exit /b %ERRORLEVEL%
