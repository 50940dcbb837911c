// Configuration plug-in of the VA85 Family adapters. It owns two settings of
// an adapter key, the network node address and the interrupt, and meets the
// configuration program only through its three entry points and the packed
// value list they exchange.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "resource.h"

namespace {

HINSTANCE g_instance = nullptr;

constexpr char kNodeAddressName[] = "NodeAddress";
constexpr char kInterruptName[] = "Interrupt";
constexpr char kCaption[] = "VA85 Family Settings";
constexpr DWORD kNodeAddressMin = 1, kNodeAddressMax = 64, kNodeAddressDefault = 1;
constexpr DWORD kInterruptMin = 2, kInterruptMax = 15, kInterruptDefault = 5;

struct Record {
  std::int32_t type;
  std::string name;
  std::vector<std::uint8_t> data;
};

struct Settings {
  DWORD nodeAddress = kNodeAddressDefault;
  DWORD interrupt = kInterruptDefault;
  std::vector<Record> others;  // records of other names, handed back unchanged
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

Record DwordRecord(const char* name, DWORD value) {
  Record r{REG_DWORD, name, std::vector<std::uint8_t>(sizeof value)};
  std::memcpy(r.data.data(), &value, sizeof value);
  return r;
}

// Packs the records back to back: type, name with NUL, size, data; then -1.
void* BuildList(const std::vector<Record>& records) {
  SIZE_T total = sizeof(std::int32_t);
  for (const Record& r : records)
    total += sizeof(std::int32_t) + r.name.size() + 1 + sizeof(std::uint32_t) + r.data.size();
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, total);
  if (handle == nullptr) return nullptr;
  auto* out = static_cast<std::uint8_t*>(GlobalLock(handle));
  if (out == nullptr) {
    GlobalFree(handle);
    return nullptr;
  }
  std::uint8_t* p = out;
  for (const Record& r : records) {
    std::memcpy(p, &r.type, sizeof r.type);
    p += sizeof r.type;
    std::memcpy(p, r.name.c_str(), r.name.size() + 1);
    p += r.name.size() + 1;
    const auto size = static_cast<std::uint32_t>(r.data.size());
    std::memcpy(p, &size, sizeof size);
    p += sizeof size;
    if (size != 0) std::memcpy(p, r.data.data(), size);
    p += size;
  }
  const std::int32_t end = -1;
  std::memcpy(p, &end, sizeof end);
  return out;
}

void* BuildList(const Settings& s) {
  std::vector<Record> records{DwordRecord(kNodeAddressName, s.nodeAddress),
                              DwordRecord(kInterruptName, s.interrupt)};
  records.insert(records.end(), s.others.begin(), s.others.end());
  return BuildList(records);
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
  const SIZE_T blockSize = handle != nullptr ? GlobalSize(handle) : 0;
  const auto* p = static_cast<const std::uint8_t*>(list);
  const std::uint8_t* end = p + blockSize;
  while (end - p >= static_cast<std::ptrdiff_t>(sizeof(std::int32_t))) {
    Record r;
    std::memcpy(&r.type, p, sizeof r.type);
    p += sizeof r.type;
    if (r.type == -1) break;
    const auto* nul = static_cast<const std::uint8_t*>(std::memchr(p, 0, static_cast<std::size_t>(end - p)));
    if (nul == nullptr) break;
    r.name.assign(reinterpret_cast<const char*>(p), static_cast<std::size_t>(nul - p));
    p = nul + 1;
    std::uint32_t size = 0;
    if (end - p < static_cast<std::ptrdiff_t>(sizeof size)) break;
    std::memcpy(&size, p, sizeof size);
    p += sizeof size;
    if (static_cast<std::uint64_t>(end - p) < size) break;
    r.data.assign(p, p + size);
    p += size;

    DWORD value = 0;
    const bool isDword = r.type == REG_DWORD && size == sizeof value;
    if (isDword) std::memcpy(&value, r.data.data(), sizeof value);
    if (lstrcmpiA(r.name.c_str(), kNodeAddressName) == 0) {
      if (isDword && InRange(value, kNodeAddressMin, kNodeAddressMax)) s.nodeAddress = value;
    } else if (lstrcmpiA(r.name.c_str(), kInterruptName) == 0) {
      if (isDword && InRange(value, kInterruptMin, kInterruptMax)) s.interrupt = value;
    } else {
      s.others.push_back(std::move(r));
    }
  }
  return s;
}

// A field holding a whole number within the range, blanks around it allowed.
bool ReadField(HWND dialog, int id, DWORD low, DWORD high, DWORD* value) {
  char text[32] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  if (*p < '0' || *p > '9') return false;
  char* end = nullptr;
  const unsigned long v = std::strtoul(p, &end, 10);
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0' || v < low || v > high) return false;
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
