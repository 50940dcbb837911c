// The only way the model reaches the registry. Each operation mirrors one
// platform call and keeps its observable behaviour (see the comments).
#pragma once

#include <utility>

#include "registry/registry.h"

namespace veldra {

class RegistryStore {
 public:
  virtual ~RegistryStore() = default;

  // The store's root key (HKEY_LOCAL_MACHINE for the real registry). Never
  // closed.
  virtual KeyHandle Root() = 0;

  // RegCreateKeyExA with class "REG_NONE": opens `path` (backslash-separated,
  // relative to `parent`), creating every missing level, also for read-only
  // use. On success stores the new handle in *out and returns kOk.
  virtual long OpenOrCreate(KeyHandle parent, const char* path, Access access, KeyHandle* out) = 0;

  // RegEnumKeyExA: on entry *nameChars is the buffer size in characters, on
  // success the name's length without its NUL. A name that does not fit
  // (128 characters or more for the model's buffers) fails with kErrMoreData;
  // past the last subkey the result is kErrNoMoreItems. Subkeys come in the
  // store's enumeration order.
  virtual long EnumKey(KeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameChars) = 0;

  // RegQueryValueExA. With `data` and `dataSize` both null only tells whether
  // the value exists (no size limit). Otherwise *dataSize is the buffer size;
  // a value larger than the buffer fails with kErrMoreData and the caller
  // treats it as absent. `type` may be null.
  virtual long QueryValue(KeyHandle key, const char* name, std::uint32_t* type, void* data,
                          std::uint32_t* dataSize) = 0;

  // RegEnumValueA: value `index` of `key` in the store's order. On entry
  // *nameChars is the name buffer's size in characters, on success the
  // name's length without its NUL. With `data` null only its size comes
  // back in *dataSize (when that is not null); otherwise *dataSize is the
  // buffer size. A name or data that does not fit fails with kErrMoreData;
  // past the last value the result is kErrNoMoreItems. `type` may be null.
  virtual long EnumValue(KeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameChars,
                         std::uint32_t* type, void* data, std::uint32_t* dataSize) = 0;

  // RegSetValueExA: stores exactly `size` bytes of `data` with `type`.
  virtual long SetValue(KeyHandle key, const char* name, std::uint32_t type, const void* data,
                        std::uint32_t size) = 0;

  // RegDeleteValueA.
  virtual long DeleteValue(KeyHandle key, const char* name) = 0;

  // RegDeleteKeyA: deletes the subkey `name` of `parent`; a subkey that has
  // subkeys of its own cannot be deleted.
  virtual long DeleteKey(KeyHandle parent, const char* name) = 0;

  // RegCloseKey. Closing the root or a null handle does nothing.
  virtual void Close(KeyHandle key) = 0;

  // ExpandEnvironmentStringsA: returns the number of characters the expansion
  // needs including its NUL (more than dstChars when it did not fit), or 0 on
  // failure.
  virtual std::uint32_t ExpandEnvironment(const char* src, char* dst, std::uint32_t dstChars) = 0;
};

// An open key: owns its handle (closed through its store) and offers the
// model's operations on it. Every path starts at Key::Root; an empty Key is
// never taken for the root, and every operation on it fails without
// reaching the store.
class Key {
 public:
  Key() noexcept = default;
  // Takes ownership of `handle`.
  Key(RegistryStore& store, KeyHandle handle) noexcept : store_(&store), handle_(handle) {}
  // The store's root; never closed.
  static Key Root(RegistryStore& store) noexcept { return Borrow(store, store.Root()); }
  // A handle someone else owns (a plug-in's argument, another store's key).
  static Key Borrow(RegistryStore& store, KeyHandle handle) noexcept {
    Key key(store, handle);
    key.owned_ = false;
    return key;
  }
  Key(Key&& other) noexcept
      : store_(other.store_), handle_(std::exchange(other.handle_, nullptr)), owned_(other.owned_) {}
  Key& operator=(Key&& other) noexcept {
    if (this != &other) {
      reset();
      store_ = other.store_;
      handle_ = std::exchange(other.handle_, nullptr);
      owned_ = other.owned_;
    }
    return *this;
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() { reset(); }

  KeyHandle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }
  void reset() noexcept {
    if (handle_ != nullptr && owned_) store_->Close(handle_);
    handle_ = nullptr;
  }

  // Open-or-create `path` below this key; empty when the open failed.
  Key Open(const char* path, Access access) const;
  // The name of subkey `index` into the model's 128-character buffer, always
  // NUL-terminated; false past the last subkey or on any failure.
  bool SubkeyName(std::uint32_t index, char (&name)[kNameBufferChars]) const;
  // The same with the store's result, for callers that must tell the end
  // of the list (kErrNoMoreItems) from a failure.
  long EnumSubkey(std::uint32_t index, char (&name)[kNameBufferChars]) const;
  // Value `index`: the store's EnumValue on this key.
  long EnumValue(std::uint32_t index, char* name, std::uint32_t* nameChars, std::uint32_t* type, void* data,
                 std::uint32_t* dataSize) const;
  // Calls visit(index, name) for subkeys 0, 1, 2 ... until the first failed
  // enumeration, or until visit returns false.
  template <typename Visit>
  void ForEachSubkey(Visit visit) const {
    char name[kNameBufferChars];
    for (std::uint32_t index = 0; SubkeyName(index, name); ++index) {
      if (!visit(index, static_cast<const char*>(name))) return;
    }
  }
  // Whether the value exists; reads no data, so there is no size limit.
  bool HasValue(const char* name) const;
  // Reads a string value into a 128-byte buffer; false (and `out` untouched)
  // when absent or too large. `out` must hold kStringBufferBytes.
  bool ReadString(const char* name, char* out) const;
  // Reads a 4-byte value; false (and `out` untouched) when absent or too large.
  bool ReadDword(const char* name, std::uint32_t* out) const;
  long Write(const char* name, std::uint32_t type, const void* data, std::uint32_t size) const;
  long WriteDword(const char* name, std::uint32_t value) const;
  // REG_SZ written with its terminating NUL.
  long WriteString(const char* name, const char* value) const;
  long DeleteValue(const char* name) const;
  // Deletes the subkey `name`; an empty name is refused, since the platform
  // would delete this key itself.
  long DeleteSubkey(const char* name) const;

 private:
  RegistryStore* store_ = nullptr;
  KeyHandle handle_ = nullptr;
  bool owned_ = true;
};

}  // namespace veldra
