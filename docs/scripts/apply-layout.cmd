@echo off
rem Moves this user's special folders, with their files, where layout.txt (beside this script) puts them, making
rem the folders that are not there yet. A file in use stops that folder's move whole: nothing of it switches, and
rem the next run tries again. Each run adds one line to logs\COMPUTER.log beside this script; a failure adds all
rem that zolvane-cli said. As a logon script it moves the user's folders; as a computer startup script,
rem "apply-layout.cmd HKLM" moves the shared ones. Its exit code is zolvane-cli's: 0 is success.
setlocal EnableExtensions DisableDelayedExpansion
set "hive=%~1"
if not defined hive set "hive=HKCU"
set "here=%~dp0"
set "log=%here%logs\%COMPUTERNAME%.log"
set "output=%TEMP%\zolvane-apply-%RANDOM%.txt"
"%here%zolvane-cli.exe" apply "%here%layout.txt" --hive %hive% --create --move > "%output%" 2>&1
set "result=%ERRORLEVEL%"
set "summary=(no output)"
for /f "usebackq delims=" %%L in ("%output%") do set "summary=%%L"
rem The user's name and the summary may hold any character: they are expanded late, never read as syntax.
setlocal EnableDelayedExpansion
>> "!log!" echo !DATE! !TIME! !COMPUTERNAME! !USERNAME! apply exit !result!: !summary!
endlocal
if not "%result%"=="0" type "%output%" >> "%log%"
del "%output%" 2>nul
exit /b %result%
