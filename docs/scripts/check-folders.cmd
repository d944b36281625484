@echo off
rem Writes this user's special-folder problems on this machine to logs\state\COMPUTER-USER.csv beside this script,
rem replaced whole at each run: one row a problem, or one "ok" row, each with the computer, the user and the time,
rem and no header, so that the files join into one sheet. zolvane-cli adds one line a run to logs\zolvane.log,
rem making the folders. Exit code 0: no problem, 2: a problem found (both are results); any other is a failure.
setlocal EnableExtensions DisableDelayedExpansion
set "here=%~dp0"
rem The user's name may hold any character ("%" too): it is expanded late, never read as syntax.
setlocal EnableDelayedExpansion
set "state=!here!logs\state\!COMPUTERNAME!-!USERNAME!.csv"
"!here!zolvane-cli.exe" check --csv --no-header --out "!state!" --log "!here!logs\zolvane.log"
exit /b %ERRORLEVEL%
