// Configuration plug-in of the VA85 Family adapters. It owns two settings of
// an adapter key, the network node address and the interrupt, and meets the
// configuration program only through its three entry points and the packed
// value list they exchange.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/veldra_plugin.h"
#include "base/text.h"
#include "resource.h"

// Built without the C++ runtime (see veldra_lean): plain Win32 and the C
// library's memory functions only, no containers, no operator new.
namespace {

HINSTANCE g_instance = nullptr;

constexpr char kNodeAddressName[] = "NodeAddress";
constexpr char kInterruptName[] = "Interrupt";
constexpr char kCaption[] = "VA85 Family Settings";
constexpr DWORD kNodeAddressMin = 1, kNodeAddressMax = 64, kNodeAddressDefault = 1;
constexpr DWORD kInterruptMin = 2, kInterruptMax = 15, kInterruptDefault = 5;
bool IsOwnName(const char* name) {
  return lstrcmpiA(name, kNodeAddressName) == 0 || lstrcmpiA(name, kInterruptName) == 0;
}

struct Settings {
  DWORD nodeAddress = kNodeAddressDefault;
  DWORD interrupt = kInterruptDefault;
  // The list the settings were read from: its records of other names are
  // handed back unchanged. It stays alive until the new list replaces it.
  const void* list = nullptr;
  SIZE_T listSize = 0;
};

bool InRange(DWORD value, DWORD low, DWORD high) { return value >= low && value <= high; }

DWORD ReadDword(HKEY key, const char* name, DWORD low, DWORD high, DWORD fallback) {
  DWORD value = 0, type = 0, size = sizeof value;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value || !InRange(value, low, high)) {
    return fallback;
  }
  return value;
}

// Packs the two settings, then the other records of the list they came
// from, then the end mark, into a locked global-heap block.
void* BuildList(const Settings& s) {
  SIZE_T total = VeldraRecordBytes(kNodeAddressName, sizeof(DWORD)) +
                 VeldraRecordBytes(kInterruptName, sizeof(DWORD)) + 4;
  VeldraRecord r;
  for (std::size_t at = 0; VeldraNextRecord(s.list, s.listSize, &at, &r);) {
    if (!IsOwnName(r.name)) total += VeldraRecordBytes(r.name, r.size);
  }
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, total);
  if (handle == nullptr) return nullptr;
  void* out = GlobalLock(handle);
  if (out == nullptr) {
    GlobalFree(handle);
    return nullptr;
  }
  // The block was sized for exactly these records: none of them can fail.
  std::size_t used = 0;
  VeldraAppendRecord(out, total, &used, REG_DWORD, kNodeAddressName, &s.nodeAddress, sizeof(DWORD));
  VeldraAppendRecord(out, total, &used, REG_DWORD, kInterruptName, &s.interrupt, sizeof(DWORD));
  for (std::size_t at = 0; VeldraNextRecord(s.list, s.listSize, &at, &r);) {
    if (!IsOwnName(r.name)) VeldraAppendRecord(out, total, &used, r.type, r.name, r.data, r.size);
  }
  VeldraAppendEnd(out, total, &used);
  return out;
}

void FreeList(void* list) {
  if (list == nullptr) return;
  HGLOBAL handle = GlobalHandle(list);
  if (handle == nullptr) return;
  GlobalUnlock(handle);
  GlobalFree(handle);
}

// Reads a list the program holds, never past the end of its block.
Settings ParseList(const void* list) {
  Settings s;
  if (list == nullptr) return s;
  HGLOBAL handle = GlobalHandle(list);
  s.list = list;
  s.listSize = handle != nullptr ? GlobalSize(handle) : 0;
  VeldraRecord r;
  for (std::size_t at = 0; VeldraNextRecord(s.list, s.listSize, &at, &r);) {
    DWORD value = 0;
    const bool isDword = r.type == REG_DWORD && r.size == sizeof value;
    if (isDword) value = VeldraGetLe32(r.data);
    if (lstrcmpiA(r.name, kNodeAddressName) == 0) {
      if (isDword && InRange(value, kNodeAddressMin, kNodeAddressMax)) s.nodeAddress = value;
    } else if (lstrcmpiA(r.name, kInterruptName) == 0) {
      if (isDword && InRange(value, kInterruptMin, kInterruptMax)) s.interrupt = value;
    }
  }
  return s;
}

// A field holding a whole number within the range, blanks around it allowed.
// Up to 31 characters are judged; longer text, which fills the buffer, is
// refused whole rather than judged by the part that fits.
bool ReadField(HWND dialog, int id, DWORD low, DWORD high, DWORD* value) {
  char text[33] = {};
  if (GetDlgItemTextA(dialog, id, text, sizeof text) >= sizeof text - 1) return false;
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  // The scan saturates, so a long run of digits cannot wrap into the range.
  std::uint64_t v = 0;
  const std::size_t digits = veldra::ScanDecimal(p, sizeof text - static_cast<std::size_t>(p - text), &v);
  if (digits == 0) return false;
  p += digits;
  while (*p == ' ' || *p == '\t') ++p;
  if (*p != '\0' || v < low || v > high) return false;
  *value = static_cast<DWORD>(v);
  return true;
}

bool RejectField(HWND dialog, int id, const char* message) {
  MessageBoxA(dialog, message, kCaption, MB_OK | MB_ICONEXCLAMATION);
  HWND field = GetDlgItem(dialog, id);
  SetFocus(field);
  SendMessageA(field, EM_SETSEL, 0, -1);
  return false;
}

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* s = reinterpret_cast<Settings*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      s = reinterpret_cast<Settings*>(lParam);
      SetDlgItemInt(dialog, IDC_NODE_ADDRESS, s->nodeAddress, FALSE);
      SetDlgItemInt(dialog, IDC_INTERRUPT, s->interrupt, FALSE);
      RECT r;
      GetWindowRect(dialog, &r);
      const int w = r.right - r.left, h = r.bottom - r.top;
      MoveWindow(dialog, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w,
                 h, FALSE);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
        DWORD node = 0, irq = 0;
        if (!ReadField(dialog, IDC_NODE_ADDRESS, kNodeAddressMin, kNodeAddressMax, &node)) {
          RejectField(dialog, IDC_NODE_ADDRESS, "The network node address must be a number from 1 to 64.");
          return TRUE;
        }
        if (!ReadField(dialog, IDC_INTERRUPT, kInterruptMin, kInterruptMax, &irq)) {
          RejectField(dialog, IDC_INTERRUPT, "The interrupt must be a number from 2 to 15.");
          return TRUE;
        }
        s->nodeAddress = node;
        s->interrupt = irq;
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

Settings ReadKey(HKEY key) {
  Settings s;
  s.nodeAddress = ReadDword(key, kNodeAddressName, kNodeAddressMin, kNodeAddressMax, kNodeAddressDefault);
  s.interrupt = ReadDword(key, kInterruptName, kInterruptMin, kInterruptMax, kInterruptDefault);
  return s;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_instance = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

// The adapter number is not needed: every setting lives in the adapter's key.
void* WINAPI ReadRegValuesEx(HKEY deviceKey, DWORD /*adapterNumber*/) {
  return BuildList(ReadKey(deviceKey));
}

void* WINAPI ReadRegValues(HKEY deviceKey) { return BuildList(ReadKey(deviceKey)); }

// Shows the settings dialog over the active window; on OK replaces the
// caller's list by a new one, on Cancel leaves it as it was.
void WINAPI EditRegValues(void** valueList) {
  if (valueList == nullptr) return;
  Settings s = ParseList(*valueList);
  if (DialogBoxParamA(g_instance, MAKEINTRESOURCEA(IDD_VA85_SETTINGS), GetActiveWindow(), SettingsProc,
                      reinterpret_cast<LPARAM>(&s)) != IDOK) {
    return;
  }
  void* list = BuildList(s);
  if (list == nullptr) return;
  FreeList(*valueList);
  *valueList = list;
}

}  // extern "C"
