@echo off
rem Adds this machine's special-folder problems to logs\COMPUTER.csv beside this script: one row a problem, or
rem one "ok" row, each with the computer, the user and the time; the header only when the file is new. Each run
rem adds one line to logs\COMPUTER.log; a failure adds all that zolvane-cli said instead of rows. Exit code 0: no
rem problem, 2: a problem found (both are results); any other is a failure.
setlocal EnableExtensions DisableDelayedExpansion
set "here=%~dp0"
set "log=%here%logs\%COMPUTERNAME%.log"
set "csv=%here%logs\%COMPUTERNAME%.csv"
set "output=%TEMP%\zolvane-check-%RANDOM%"
set "header="
if exist "%csv%" set "header=--no-header"
"%here%zolvane-cli.exe" check --csv %header% > "%output%.csv" 2> "%output%.txt"
set "result=%ERRORLEVEL%"
set "summary=(no output)"
for /f "usebackq delims=" %%L in ("%output%.txt") do set "summary=%%L"
rem The user's name and the summary may hold any character: they are expanded late, never read as syntax.
setlocal EnableDelayedExpansion
>> "!log!" echo !DATE! !TIME! !COMPUTERNAME! !USERNAME! check exit !result!: !summary!
endlocal
set "failed=yes"
if "%result%"=="0" set "failed="
if "%result%"=="2" set "failed="
if not defined failed type "%output%.csv" >> "%csv%"
if defined failed type "%output%.csv" >> "%log%"
if defined failed type "%output%.txt" >> "%log%"
del "%output%.csv" "%output%.txt" 2>nul
exit /b %result%
