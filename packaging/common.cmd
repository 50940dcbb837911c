rem ---- Shared by install.cmd and uninstall.cmd ----

rem tools: reg.exe, and the registry view (VIEW) in which this package's
rem @VELDRA_BITS@-bit programs keep HKLM\SOFTWARE. Status 1, with the reason
rem said, when the script cannot work here.
:tools
set "REG=%SystemRoot%\System32\reg.exe"
if exist "%REG%" goto tools_view
echo %ME%: this script needs reg.exe, which is built into Windows XP, Server 2003 and later; on Windows 2000 and NT 4.0 use the MSI package or the "By hand" steps of the administrator's guide.
exit /b 1
:tools_view
rem A 32-bit cmd on 64-bit Windows runs the 32-bit reg.exe (System32 is
rem redirected); reg.exe of the other width than the package's programs
rem must be told their view, which XP's and 2003's reg.exe cannot be.
set "VIEW="
set "CMDBITS=32"
if /i "%PROCESSOR_ARCHITECTURE%"=="AMD64" set "CMDBITS=64"
if /i "%PROCESSOR_ARCHITECTURE%"=="ARM64" set "CMDBITS=64"
if "%CMDBITS%"=="@VELDRA_BITS@" exit /b 0
if "%CMDBITS%"=="32" if not defined PROCESSOR_ARCHITEW6432 exit /b 0
"%REG%" query "HKLM\SYSTEM" /reg:@VELDRA_BITS@ >nul 2>&1
if errorlevel 1 goto tools_noview
set "VIEW=/reg:@VELDRA_BITS@"
exit /b 0
:tools_noview
echo %ME%: this reg.exe cannot reach the @VELDRA_BITS@-bit registry; run the script from a @VELDRA_BITS@-bit command prompt.
exit /b 1

rem lock: only Administrators and SYSTEM may change the folder LOCK and what
rem it holds; Users may read and run it; nothing is inherited from the
rem folder above, where users may be allowed to write. icacls by well-known
rem SIDs (Vista, 2003 SP2 and later; an icacls without /inheritance falls
rem back to cacls), else cacls, which knows only the English group names.
rem Status 1, with the reason said, when neither could be applied.
:lock
set "ICACLS=%SystemRoot%\System32\icacls.exe"
set "CACLS=%SystemRoot%\System32\cacls.exe"
if not exist "%ICACLS%" goto lock_cacls
"%ICACLS%" "%LOCK%" /reset /t /c /q >nul
if errorlevel 1 goto lock_failed
"%ICACLS%" "%LOCK%" /inheritance:r /grant:r *S-1-5-32-544:(OI)(CI)F *S-1-5-18:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX /q >nul
if errorlevel 1 goto lock_cacls
"%ICACLS%" "%LOCK%" /setowner *S-1-5-32-544 /t /c /q >nul
if errorlevel 1 goto lock_failed
exit /b 0
:lock_cacls
if not exist "%CACLS%" goto lock_failed
echo y| "%CACLS%" "%LOCK%" /t /g Administrators:F SYSTEM:F Users:R >nul
if errorlevel 1 goto lock_failed
exit /b 0
:lock_failed
set "MSG=%ME%: could not restrict the folder %LOCK% to Administrators and SYSTEM (icacls.exe or cacls.exe in %SystemRoot%\System32)"
call :say
exit /b 1

rem say: MSG on the console as it stands, whatever it holds (&, parentheses).
:say
setlocal EnableDelayedExpansion
echo !MSG!
endlocal
exit /b 0

rem unsafe NAME: status 0 when variable NAME holds % or ^, which cmd would
rem expand or strip again, and config.exe would expand in the plug-in path.
:unsafe
if not defined %1 exit /b 1
set "FIND=%SystemRoot%\System32\find.exe"
set %1| "%FIND%" "%%" >nul 2>&1
if not errorlevel 1 exit /b 0
set %1| "%FIND%" "^" >nul 2>&1
if not errorlevel 1 exit /b 0
exit /b 1

rem remove_copy DIR: deletes the files this package installs into DIR (all
rem of FILES but uninstall.cmd, which the callers handle) with the guide's
rem pictures, and the docs folders left empty; FAILED names one that stayed.
:remove_copy
for %%f in (%FILES%) do if /i not "%%f"=="uninstall.cmd" call :delete_file "%~1\%%f"
for %%p in (%PICTURES%) do call :delete_file "%~1\docs\screenshots\%%p"
rd "%~1\docs\screenshots" >nul 2>&1
rd "%~1\docs" >nul 2>&1
exit /b 0

:delete_file
if not exist "%~1" exit /b 0
del /f /a "%~1" >nul 2>&1
if exist "%~1" set "FAILED=%~1"
exit /b 0
