// A custom action of the MSI packages, run before anything is written:
// refuses an INSTALLDIR whose plug-in path would not fit the 128 bytes in
// which config.exe reads the catalogue's ConfigDll ("\VDREDTSA.DLL" and the
// NUL take 14 of them, so the directory may hold at most 114 characters).
// Windows Installer 2.0 conditions cannot measure a text, hence a DLL.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

namespace {
const DWORD kMaxDirectory = 114;
}

extern "C" UINT __stdcall CheckInstallDir(MSIHANDLE install) {
  char dir[1024];
  DWORD length = sizeof dir;
  const UINT read = MsiGetPropertyA(install, "INSTALLDIR", dir, &length);
  if (read == ERROR_MORE_DATA) {
    // Far too long to show: the message names its start.
    dir[sizeof dir - 1] = '\0';
  } else if (read != ERROR_SUCCESS) {
    return ERROR_INSTALL_FAILURE;
  } else {
    // The property ends with a backslash, which the plug-in path shares.
    if (length > 0 && dir[length - 1] == '\\') --length;
    if (length <= kMaxDirectory) return ERROR_SUCCESS;
  }
  MSIHANDLE record = MsiCreateRecord(1);
  MsiRecordSetStringA(record, 0,
                      "The installation folder [1] is longer than the 114 characters that fit the "
                      "driver's device-type catalogue. Choose a shorter folder; nothing was installed.");
  MsiRecordSetStringA(record, 1, dir);
  MsiProcessMessage(install, static_cast<INSTALLMESSAGE>(INSTALLMESSAGE_ERROR | MB_OK), record);
  MsiCloseHandle(record);
  return ERROR_INSTALL_FAILURE;
}
