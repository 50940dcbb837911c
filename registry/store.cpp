#include "registry/store.h"

#include <cstring>

namespace veldra {

Key OpenKey(RegistryStore& store, KeyHandle parent, const char* path, Access access) {
  KeyHandle handle = nullptr;
  if (parent == nullptr) parent = store.Root();
  if (store.OpenOrCreate(parent, path, access, &handle) != kOk || handle == nullptr) return Key();
  return Key(store, handle);
}

bool EnumSubkeyName(RegistryStore& store, KeyHandle key, std::uint32_t index,
                    char (&name)[kNameBufferChars]) {
  std::uint32_t chars = kNameBufferChars;
  if (store.EnumKey(key, index, name, &chars) != kOk) return false;
  name[chars < kNameBufferChars ? chars : kNameBufferChars - 1] = '\0';
  return true;
}

bool ReadStringValue(RegistryStore& store, KeyHandle key, const char* name, char* out) {
  // Read into a scratch buffer so that a failed or oversized read leaves the
  // caller's default alone (the platform may scribble on the buffer first).
  char buffer[kStringBufferBytes];
  std::uint32_t size = sizeof buffer;
  if (store.QueryValue(key, name, nullptr, buffer, &size) != kOk || size > sizeof buffer) return false;
  // The registry does not promise a terminator: a string stored without one
  // gets one appended only when the buffer has room, and binary data never.
  // Terminate at the data's end ourselves; a full buffer without a NUL does
  // not fit its buffer and reads as absent.
  if (std::memchr(buffer, '\0', size) == nullptr) {
    if (size == sizeof buffer) return false;
    buffer[size] = '\0';
  }
  std::memcpy(out, buffer, std::strlen(buffer) + 1);
  return true;
}

bool ReadDwordValue(RegistryStore& store, KeyHandle key, const char* name, std::uint32_t* out) {
  unsigned char bytes[4] = {0, 0, 0, 0};
  std::uint32_t size = sizeof bytes;
  if (store.QueryValue(key, name, nullptr, bytes, &size) != kOk || size > sizeof bytes) return false;
  // A value without data carries no number; a shorter one is zero-extended
  // rather than mixed with whatever the caller's default held.
  if (size == 0) return false;
  *out = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
  return true;
}

long WriteDwordValue(RegistryStore& store, KeyHandle key, const char* name, std::uint32_t value) {
  // REG_DWORD is little-endian on every platform the driver runs on.
  const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                  static_cast<unsigned char>(value >> 16),
                                  static_cast<unsigned char>(value >> 24)};
  return store.SetValue(key, name, kRegDword, bytes, sizeof bytes);
}

long WriteStringValue(RegistryStore& store, KeyHandle key, const char* name, const char* value) {
  return store.SetValue(key, name, kRegSz, value, static_cast<std::uint32_t>(std::strlen(value) + 1));
}

}  // namespace veldra
