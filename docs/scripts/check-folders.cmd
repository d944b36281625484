@echo off
rem Writes this user's special-folder problems on this machine to logs\state\COMPUTER-USER.csv beside this script,
rem replaced whole at each run: a header, then one row a problem, or one "ok" row, each with the computer, the user
rem and the time. zolvane-cli adds one line a run to logs\zolvane.log, making the folders. Exit code 0: no problem,
rem 2: a problem found (both are results); any other is a failure.
setlocal EnableExtensions DisableDelayedExpansion
set "logs=%~dp0logs"
"%~dp0zolvane-cli.exe" check --csv --out "%logs%\state\%COMPUTERNAME%-%USERNAME%.csv" --log "%logs%\zolvane.log"
exit /b %ERRORLEVEL%
