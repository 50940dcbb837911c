
#include "logic.h"
#include "resource.h"
#include "setuphook.h"

namespace setuphook {
namespace {

// One value of a driver key: a string of `type` (REG_SZ without text: the
// catalogue's plug-in path) or a REG_DWORD number.
struct Value {
  const char* name;
  DWORD type;
  const char* text;
  DWORD number;
};

constexpr char kServiceKey[] = "SYSTEM\\CurrentControlSet\\Services\\VELDRA";
constexpr Value kServiceValues[] = {{"Type", REG_DWORD, nullptr, 1},
                                    {"Start", REG_DWORD, nullptr, 2},
                                    {"ErrorControl", REG_DWORD, nullptr, 1},
                                    {"Group", REG_SZ, "Extended Base", 0},
                                    {"LogVersion", REG_DWORD, nullptr, 0}};
constexpr char kDriverLogKey[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\VELDRA";
constexpr Value kDriverLogValues[] = {
    {"EventMessageFile", REG_EXPAND_SZ,
     "%SystemRoot%\\System32\\IoLogMsg.dll;%SystemRoot%\\System32\\Drivers\\VELDRA.SYS", 0},
    {"TypesSupported", REG_DWORD, nullptr, 7}};
constexpr char kPerformanceKey[] = "SYSTEM\\CurrentControlSet\\Services\\VELDRA\\Performance";
constexpr Value kPerformanceValues[] = {{"Library", REG_SZ, "vdrctrs.dll", 0},
                                        {"Open", REG_SZ, "OpenVdrPerformanceData", 0},
                                        {"Collect", REG_SZ, "CollectVdrPerformanceData", 0},
                                        {"Close", REG_SZ, "CloseVdrPerformanceData", 0}};
constexpr char kCountersLogKey[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\VdrCtrs";
constexpr Value kCountersLogValues[] = {
    {"EventMessageFile", REG_EXPAND_SZ, "%SystemRoot%\\System32\\vdrctrs.dll", 0},
    {"TypesSupported", REG_DWORD, nullptr, 7}};
constexpr char kCatalogRowKey[] = "SOFTWARE\\Tervalon\\Logical Devices\\VELDRA\\VA85 Family";
constexpr Value kCatalogRowValues[] = {{"ConfigDll", REG_SZ, nullptr, 0},
                                       {"ExecuteDll", REG_SZ, "None", 0},
                                       {"Physical", REG_DWORD, nullptr, 1}};

// Opens the key and attempts every one of its writes, even after one failed;
// true when the key opened and every write succeeded. The key is closed
// before it returns.
template <std::size_t N>
bool WriteKey(const char* path, const Value (&values)[N], const char* configDll = nullptr) {
  HKEY key = nullptr;
  char keyClass[] = "REG_NONE";
  DWORD disposition = 0;
  if (g_platform.createKey(HKEY_LOCAL_MACHINE, path, 0, keyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                           nullptr, &key, &disposition) != ERROR_SUCCESS) {
    return false;
  }
  bool ok = true;
  for (const Value& v : values) {
    const BYTE number[4] = {static_cast<BYTE>(v.number), static_cast<BYTE>(v.number >> 8),
                            static_cast<BYTE>(v.number >> 16), static_cast<BYTE>(v.number >> 24)};
    const char* text = v.text != nullptr ? v.text : configDll;
    const bool isNumber = v.type == REG_DWORD;
    ok = g_platform.setValue(key, v.name, 0, v.type, isNumber ? number : reinterpret_cast<const BYTE*>(text),
                             isNumber ? 4 : static_cast<DWORD>(lstrlenA(text)) + 1) == ERROR_SUCCESS &&
         ok;
  }
  g_platform.closeKey(key);
  return ok;
}

}  // namespace

bool InstallDriverKeys(const char* installDir) {
  // The service key, its event-log and performance keys each need the one
  // before; the counters' event-log key comes last and its outcome is not
  // looked at. The catalogue row is written whatever became of them.
  if (WriteKey(kServiceKey, kServiceValues) && WriteKey(kDriverLogKey, kDriverLogValues) &&
      WriteKey(kPerformanceKey, kPerformanceValues)) {
    WriteKey(kCountersLogKey, kCountersLogValues);
  }
  // A plug-in path longer than the catalogue's readers can take back would
  // leave a row whose plug-in can never be loaded: refuse the row instead.
  ConfigDllPath configDll;
  return BuildConfigDllPath(installDir, &configDll) &&
         WriteKey(kCatalogRowKey, kCatalogRowValues, configDll.c_str());
}

}  // namespace setuphook

using namespace setuphook;

SETUPHOOK_EXPORT ModifyRegistry(DWORD count, LPSTR* args, LPSTR* result) {
  if (!BeginCall(result, true, count, 1)) return FALSE;
  SetResult(InstallDriverKeys(args[0]) ? IDS_SUCCESS : IDS_CANCEL);
  return TRUE;
}
