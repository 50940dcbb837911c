#include "registry/store.h"

#include <cstring>

namespace veldra {

Key Key::Open(const char* path, Access access) const {
  KeyHandle handle = nullptr;
  if (handle_ == nullptr || store_->OpenOrCreate(handle_, path, access, &handle) != kOk ||
      handle == nullptr) {
    return Key();
  }
  return Key(*store_, handle);
}

bool Key::SubkeyName(std::uint32_t index, char (&name)[kNameBufferChars]) const {
  return EnumSubkey(index, name) == kOk;
}

long Key::EnumSubkey(std::uint32_t index, char (&name)[kNameBufferChars]) const {
  std::uint32_t chars = kNameBufferChars;
  if (handle_ == nullptr) return kErrInvalidHandle;
  const long rc = store_->EnumKey(handle_, index, name, &chars);
  if (rc == kOk) name[chars < kNameBufferChars ? chars : kNameBufferChars - 1] = '\0';
  return rc;
}

long Key::EnumValue(std::uint32_t index, char* name, std::uint32_t* nameChars, std::uint32_t* type,
                    void* data, std::uint32_t* dataSize) const {
  if (handle_ == nullptr) return kErrInvalidHandle;
  return store_->EnumValue(handle_, index, name, nameChars, type, data, dataSize);
}

bool Key::HasValue(const char* name) const {
  return handle_ != nullptr && store_->QueryValue(handle_, name, nullptr, nullptr, nullptr) == kOk;
}

bool Key::ReadString(const char* name, char* out) const {
  // Read into a scratch buffer so that a failed or oversized read leaves the
  // caller's default alone (the platform may scribble on the buffer first).
  char buffer[kStringBufferBytes];
  std::uint32_t size = sizeof buffer;
  if (handle_ == nullptr || store_->QueryValue(handle_, name, nullptr, buffer, &size) != kOk ||
      size > sizeof buffer) {
    return false;
  }
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

bool Key::ReadDword(const char* name, std::uint32_t* out) const {
  unsigned char bytes[4] = {0, 0, 0, 0};
  std::uint32_t size = sizeof bytes;
  if (handle_ == nullptr || store_->QueryValue(handle_, name, nullptr, bytes, &size) != kOk ||
      size > sizeof bytes) {
    return false;
  }
  // A value without data carries no number; a shorter one is zero-extended
  // rather than mixed with whatever the caller's default held.
  if (size == 0) return false;
  *out = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
  return true;
}

long Key::Write(const char* name, std::uint32_t type, const void* data, std::uint32_t size) const {
  return handle_ == nullptr ? kErrInvalidHandle : store_->SetValue(handle_, name, type, data, size);
}

long Key::WriteDword(const char* name, std::uint32_t value) const {
  // REG_DWORD is little-endian on every platform the driver runs on.
  const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                  static_cast<unsigned char>(value >> 16),
                                  static_cast<unsigned char>(value >> 24)};
  return Write(name, kRegDword, bytes, sizeof bytes);
}

long Key::WriteString(const char* name, const char* value) const {
  return Write(name, kRegSz, value, static_cast<std::uint32_t>(std::strlen(value) + 1));
}

long Key::DeleteValue(const char* name) const {
  return handle_ == nullptr ? kErrInvalidHandle : store_->DeleteValue(handle_, name);
}

long Key::DeleteSubkey(const char* name) const {
  if (handle_ == nullptr) return kErrInvalidHandle;
  if (name == nullptr || name[0] == '\0') return kErrInvalidParameter;
  return store_->DeleteKey(handle_, name);
}

}  // namespace veldra
