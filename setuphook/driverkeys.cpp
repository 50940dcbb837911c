#include <string>

#include "logic.h"
#include "resource.h"
#include "setuphook.h"

namespace setuphook {
namespace {

// Keys are opened through a small owner so that every one is closed on the
// way out, whichever steps ran.
class Key {
 public:
  explicit Key(const char* path) {
    char keyClass[] = "REG_NONE";
    DWORD disposition = 0;
    if (g_platform.createKey(HKEY_LOCAL_MACHINE, path, 0, keyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                             nullptr, &handle_, &disposition) != ERROR_SUCCESS) {
      handle_ = nullptr;
    }
  }
  ~Key() {
    if (handle_ != nullptr) g_platform.closeKey(handle_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;

  bool IsOpen() const { return handle_ != nullptr; }

  bool SetDword(const char* name, DWORD value) {
    const BYTE data[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8),
                          static_cast<BYTE>(value >> 16), static_cast<BYTE>(value >> 24)};
    return g_platform.setValue(handle_, name, 0, REG_DWORD, data, sizeof data) == ERROR_SUCCESS;
  }
  bool SetString(const char* name, DWORD type, const char* text) {
    const DWORD size = static_cast<DWORD>(lstrlenA(text)) + 1;
    return g_platform.setValue(handle_, name, 0, type, reinterpret_cast<const BYTE*>(text), size) ==
           ERROR_SUCCESS;
  }

 private:
  HKEY handle_ = nullptr;
};

// Every write of a step is attempted, even after one failed.
bool Step1() {
  Key key("SYSTEM\\CurrentControlSet\\Services\\VELDRA");
  if (!key.IsOpen()) return false;
  bool ok = key.SetDword("Type", 1);
  ok = key.SetDword("Start", 2) && ok;
  ok = key.SetDword("ErrorControl", 1) && ok;
  ok = key.SetString("Group", REG_SZ, "Extended Base") && ok;
  ok = key.SetDword("LogVersion", 0) && ok;
  return ok;
}

bool Step2() {
  Key key("SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\VELDRA");
  if (!key.IsOpen()) return false;
  bool ok = key.SetString("EventMessageFile", REG_EXPAND_SZ,
                          "%SystemRoot%\\System32\\IoLogMsg.dll;%SystemRoot%\\System32\\Drivers\\VELDRA.SYS");
  ok = key.SetDword("TypesSupported", 7) && ok;
  return ok;
}

bool Step3() {
  Key key("SYSTEM\\CurrentControlSet\\Services\\VELDRA\\Performance");
  if (!key.IsOpen()) return false;
  bool ok = key.SetString("Library", REG_SZ, "vdrctrs.dll");
  ok = key.SetString("Open", REG_SZ, "OpenVdrPerformanceData") && ok;
  ok = key.SetString("Collect", REG_SZ, "CollectVdrPerformanceData") && ok;
  ok = key.SetString("Close", REG_SZ, "CloseVdrPerformanceData") && ok;
  return ok;
}

void Step4() {
  Key key("SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\VdrCtrs");
  if (!key.IsOpen()) return;
  key.SetString("EventMessageFile", REG_EXPAND_SZ, "%SystemRoot%\\System32\\vdrctrs.dll");
  key.SetDword("TypesSupported", 7);
}

bool Step5(const char* installDir) {
  // A plug-in path longer than the catalogue's readers can take back would
  // leave a row whose plug-in can never be loaded: refuse the row instead.
  std::string configDll;
  if (!BuildConfigDllPath(installDir, &configDll)) return false;
  Key key("SOFTWARE\\Tervalon\\Logical Devices\\VELDRA\\VA85 Family");
  if (!key.IsOpen()) return false;
  bool ok = key.SetString("ConfigDll", REG_SZ, configDll.c_str());
  ok = key.SetString("ExecuteDll", REG_SZ, "None") && ok;
  ok = key.SetDword("Physical", 1) && ok;
  return ok;
}

}  // namespace

bool InstallDriverKeys(const char* installDir) {
  if (Step1() && Step2() && Step3()) Step4();
  return Step5(installDir);
}

}  // namespace setuphook

using namespace setuphook;

SETUPHOOK_EXPORT ModifyRegistry(DWORD count, LPSTR* args, LPSTR* result) {
  if (!BeginCall(result, true, count, 1)) return FALSE;
  SetResult(InstallDriverKeys(args[0]) ? IDS_SUCCESS : IDS_CANCEL);
  return TRUE;
}
