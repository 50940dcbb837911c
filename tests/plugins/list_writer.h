// Builds a value list the way a configuration plug-in hands it over: one
// block from the global heap, locked, records packed back to back.
#pragma once

#include <windows.h>

#include <cstring>

class ListWriter {
 public:
  void Record(LONG type, const char* name, const void* data, DWORD size) {
    Put(&type, 4);
    Put(name, std::strlen(name) + 1);
    Put(&size, 4);
    Put(data, size);
  }
  void Dword(const char* name, DWORD value) { Record(REG_DWORD, name, &value, 4); }
  void Sz(const char* name, const char* text) {
    Record(REG_SZ, name, text, static_cast<DWORD>(std::strlen(text) + 1));
  }
  // Appends the terminator and returns the locked address of a new block of
  // exactly the list's size, or null when the heap refuses.
  void* Finish(UINT flags = GMEM_MOVEABLE) {
    const LONG end = -1;
    Put(&end, 4);
    if (overflow_) return nullptr;
    HGLOBAL block = GlobalAlloc(flags, used_);
    if (block == nullptr) return nullptr;
    void* p = GlobalLock(block);
    if (p == nullptr) {
      GlobalFree(block);
      return nullptr;
    }
    std::memcpy(p, bytes_, used_);
    return p;
  }

 private:
  void Put(const void* p, std::size_t n) {
    if (n > sizeof bytes_ - used_) {
      overflow_ = true;
      return;
    }
    std::memcpy(bytes_ + used_, p, n);
    used_ += n;
  }
  unsigned char bytes_[1024];
  std::size_t used_ = 0;
  bool overflow_ = false;
};

// Copies the key's Marker string into the list, or "(none)": lets the test
// see which key the plug-in was handed and that the handle was usable.
inline void EchoMarker(ListWriter& list, HKEY key) {
  char text[128];
  DWORD size = sizeof text, type = 0;
  if (RegQueryValueExA(key, "Marker", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ || size == 0 || text[size - 1] != '\0')
    std::strcpy(text, "(none)");
  list.Sz("Marker", text);
}
