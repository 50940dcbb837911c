#include "tests/support/memory_store.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "base/text.h"

namespace veldra {

namespace {

// Names compare by their upper-case form, as Windows NT sorts subkeys.
std::string Fold(const std::string& s) {
  std::string out(s);
  for (char& c : out) c = ToUpperAscii(c);
  return out;
}
std::string Fold(const char* s) { return Fold(std::string(s != nullptr ? s : "")); }

bool IsStringType(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz || type == 7; }

struct Value {
  std::string name;  // as first written
  std::uint32_t type = kRegNone;
  std::vector<unsigned char> data;
};

struct Node {
  std::string name;  // case preserved
  std::string fold;
  Node* parent = nullptr;
  bool deleted = false;
  // Sorted by fold: enumeration index is the position.
  std::vector<std::shared_ptr<Node>> children;
  std::map<std::string, Value> values;  // by folded name

  std::vector<std::shared_ptr<Node>>::iterator LowerBound(const std::string& f) {
    return std::lower_bound(children.begin(), children.end(), f,
                            [](const std::shared_ptr<Node>& n, const std::string& k) { return n->fold < k; });
  }
  std::shared_ptr<Node> Child(const std::string& f) {
    auto it = LowerBound(f);
    return it != children.end() && (*it)->fold == f ? *it : nullptr;
  }
};

struct Handle {
  std::shared_ptr<Node> node;  // keeps a deleted key alive while a handle is open
  Access access;
};

}  // namespace

struct MemoryRegistryStore::Impl {
  std::shared_ptr<Node> root = std::make_shared<Node>();
  Handle rootHandle{root, Access::All};
  std::unordered_map<const void*, std::unique_ptr<Handle>> handles;
  std::map<std::string, std::string> environment;  // folded name -> value

  // The one preamble of every operation on a handle: a handle this store
  // never gave out, or one whose key was deleted, fails with the platform's
  // code; so does a write through a read-only handle.
  long Find(KeyHandle key, Handle** out, bool writing = false) {
    auto it = handles.find(key);
    Handle* h = key == &rootHandle ? &rootHandle : it == handles.end() ? nullptr : it->second.get();
    if (h == nullptr) return kErrInvalidHandle;
    if (h->node->deleted) return kErrKeyDeleted;
    if (writing && h->access != Access::All) return kErrAccessDenied;
    *out = h;
    return kOk;
  }

  // Splits a backslash path into its names; empty names (doubled or
  // trailing backslashes) are skipped, a leading backslash is an error.
  static bool Split(const char* path, std::vector<std::string>* parts) {
    if (path == nullptr) return true;
    if (path[0] == '\\') return false;
    const char* p = path;
    while (*p != '\0') {
      const char* end = std::strchr(p, '\\');
      std::size_t n = end != nullptr ? static_cast<std::size_t>(end - p) : std::strlen(p);
      if (n > 0) parts->emplace_back(p, n);
      p += n;
      if (*p == '\\') ++p;
    }
    return true;
  }

  // Follows an existing path; null when a level is missing.
  static std::shared_ptr<Node> Walk(const std::shared_ptr<Node>& from,
                                    const std::vector<std::string>& parts) {
    std::shared_ptr<Node> node = from;
    for (const std::string& part : parts) {
      node = node->Child(Fold(part));
      if (!node) return nullptr;
    }
    return node;
  }
};

MemoryRegistryStore::MemoryRegistryStore() : impl_(std::make_unique<Impl>()) {}
MemoryRegistryStore::~MemoryRegistryStore() = default;

KeyHandle MemoryRegistryStore::Root() { return &impl_->rootHandle; }

long MemoryRegistryStore::OpenOrCreate(KeyHandle parent, const char* path, Access access, KeyHandle* out) {
  Handle* from = nullptr;
  if (long rc = impl_->Find(parent, &from)) return rc;
  std::vector<std::string> parts;
  if (!Impl::Split(path, &parts)) return kErrBadPathname;
  // Like the real registry, creating below a read-only handle is allowed:
  // the access mask governs what the new handle may do, not its parent.
  std::shared_ptr<Node> node = from->node;
  for (const std::string& part : parts) {
    std::string fold = Fold(part);
    auto it = node->LowerBound(fold);
    if (it == node->children.end() || (*it)->fold != fold) {
      auto child = std::make_shared<Node>();
      child->name = part;
      child->fold = fold;
      child->parent = node.get();
      it = node->children.insert(it, child);
    }
    node = *it;
  }
  auto handle = std::make_unique<Handle>(Handle{node, access});
  *out = handle.get();
  impl_->handles.emplace(handle.get(), std::move(handle));
  return kOk;
}

long MemoryRegistryStore::EnumKey(KeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameChars) {
  Handle* h = nullptr;
  if (long rc = impl_->Find(key, &h)) return rc;
  if (name == nullptr || nameChars == nullptr) return kErrInvalidParameter;
  const auto& children = h->node->children;
  if (index >= children.size()) return kErrNoMoreItems;
  const std::string& found = children[index]->name;
  // The buffer must hold the name and its NUL; otherwise nothing is written.
  if (found.size() >= *nameChars) return kErrMoreData;
  std::memcpy(name, found.c_str(), found.size() + 1);
  *nameChars = static_cast<std::uint32_t>(found.size());
  return kOk;
}

long MemoryRegistryStore::QueryValue(KeyHandle key, const char* name, std::uint32_t* type, void* data,
                                     std::uint32_t* dataSize) {
  Handle* h = nullptr;
  if (long rc = impl_->Find(key, &h)) return rc;
  if (data != nullptr && dataSize == nullptr) return kErrInvalidParameter;
  auto it = h->node->values.find(Fold(name));
  if (it == h->node->values.end()) return kErrFileNotFound;
  const Value& v = it->second;
  if (type != nullptr) *type = v.type;
  if (dataSize == nullptr) return kOk;  // existence test: no data, no limit
  const auto size = static_cast<std::uint32_t>(v.data.size());
  if (data != nullptr) {
    if (size > *dataSize) {
      *dataSize = size;
      return kErrMoreData;
    }
    if (size > 0) std::memcpy(data, v.data.data(), size);
    // A string stored without its terminator gets one when there is room.
    if (IsStringType(v.type) && size > 0 && size < *dataSize && v.data[size - 1] != 0) {
      static_cast<char*>(data)[size] = '\0';
    }
  }
  *dataSize = size;
  return kOk;
}

long MemoryRegistryStore::EnumValue(KeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameChars,
                                    std::uint32_t* type, void* data, std::uint32_t* dataSize) {
  Handle* h = nullptr;
  if (long rc = impl_->Find(key, &h)) return rc;
  if (name == nullptr || nameChars == nullptr || (data != nullptr && dataSize == nullptr))
    return kErrInvalidParameter;
  const auto& values = h->node->values;
  if (index >= values.size()) return kErrNoMoreItems;
  const Value& v = std::next(values.begin(), static_cast<std::ptrdiff_t>(index))->second;
  const auto size = static_cast<std::uint32_t>(v.data.size());
  if (v.name.size() >= *nameChars || (data != nullptr && size > *dataSize)) return kErrMoreData;
  std::memcpy(name, v.name.c_str(), v.name.size() + 1);
  *nameChars = static_cast<std::uint32_t>(v.name.size());
  if (type != nullptr) *type = v.type;
  if (data != nullptr && size > 0) std::memcpy(data, v.data.data(), size);
  if (dataSize != nullptr) *dataSize = size;
  return kOk;
}

long MemoryRegistryStore::SetValue(KeyHandle key, const char* name, std::uint32_t type, const void* data,
                                   std::uint32_t size) {
  Handle* h = nullptr;
  if (long rc = impl_->Find(key, &h, true)) return rc;
  if (data == nullptr && size > 0) return kErrInvalidParameter;
  Value& v = h->node->values[Fold(name)];
  if (v.name.empty() && name != nullptr) v.name = name;
  v.type = type;
  const auto* bytes = static_cast<const unsigned char*>(data);
  v.data.assign(bytes, bytes + size);
  return kOk;
}

long MemoryRegistryStore::DeleteValue(KeyHandle key, const char* name) {
  Handle* h = nullptr;
  if (long rc = impl_->Find(key, &h, true)) return rc;
  return h->node->values.erase(Fold(name)) > 0 ? kOk : kErrFileNotFound;
}

long MemoryRegistryStore::DeleteKey(KeyHandle parent, const char* name) {
  Handle* h = nullptr;
  if (long rc = impl_->Find(parent, &h)) return rc;
  if (name == nullptr) return kErrInvalidParameter;
  std::vector<std::string> parts;
  if (!Impl::Split(name, &parts)) return kErrBadPathname;
  // An empty name deletes the key behind the handle itself.
  std::shared_ptr<Node> node = Impl::Walk(h->node, parts);
  if (!node) return kErrFileNotFound;
  if (node == impl_->root || !node->children.empty()) return kErrAccessDenied;
  auto& siblings = node->parent->children;
  siblings.erase(node->parent->LowerBound(node->fold));
  node->deleted = true;
  node->parent = nullptr;
  node->values.clear();
  return kOk;
}

void MemoryRegistryStore::Close(KeyHandle key) {
  if (key == nullptr || key == &impl_->rootHandle) return;
  impl_->handles.erase(key);
}

std::uint32_t MemoryRegistryStore::ExpandEnvironment(const char* src, char* dst, std::uint32_t dstChars) {
  if (src == nullptr) return 0;
  // %NAME% of a defined variable is replaced; an undefined or empty name is
  // kept literally together with both percent signs, and a lone percent sign
  // stays as it is.
  std::string out;
  const char* p = src;
  while (*p != '\0') {
    if (*p != '%') {
      out.push_back(*p++);
      continue;
    }
    const char* close = std::strchr(p + 1, '%');
    if (close == nullptr) {
      out.append(p);
      break;
    }
    std::string varName(p + 1, static_cast<std::size_t>(close - p - 1));
    auto it = varName.empty() ? impl_->environment.end() : impl_->environment.find(Fold(varName));
    if (it != impl_->environment.end()) {
      out.append(it->second);
    } else {
      out.append(p, static_cast<std::size_t>(close - p + 1));
    }
    p = close + 1;
  }
  const auto needed = static_cast<std::uint32_t>(out.size() + 1);
  if (dst != nullptr && needed <= dstChars) std::memcpy(dst, out.c_str(), needed);
  return needed;
}

void MemoryRegistryStore::SetEnvironment(const std::string& name, const std::string& value) {
  impl_->environment[Fold(name)] = value;
}

std::size_t MemoryRegistryStore::OpenHandleCount() const { return impl_->handles.size(); }

}  // namespace veldra
