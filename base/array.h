// A growable array of plain records on the C heap. Shipped code runs without
// C++ exceptions, so growth reports a failed allocation by its result, and
// the caller decides what an allocation failure means in its place.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <type_traits>

namespace veldra {

template <typename T>
class Array {
  static_assert(std::is_trivially_copyable<T>::value, "records are moved as bytes");

 public:
  Array() noexcept = default;
  // Empty when the allocation fails.
  Array(std::initializer_list<T> items) noexcept {
    if (!Reserve(items.size())) return;
    for (const T& item : items) items_[size_++] = item;
  }
  Array(Array&& other) noexcept : items_(other.items_), size_(other.size_), capacity_(other.capacity_) {
    other.items_ = nullptr;
    other.size_ = other.capacity_ = 0;
  }
  Array& operator=(Array&& other) noexcept {
    if (this != &other) {
      std::free(items_);
      items_ = other.items_;
      size_ = other.size_;
      capacity_ = other.capacity_;
      other.items_ = nullptr;
      other.size_ = other.capacity_ = 0;
    }
    return *this;
  }
  Array(const Array&) = delete;
  Array& operator=(const Array&) = delete;
  ~Array() { std::free(items_); }

  bool Reserve(std::size_t capacity) noexcept {
    if (capacity <= capacity_) return true;
    if (capacity > static_cast<std::size_t>(-1) / sizeof(T)) return false;
    void* grown = std::realloc(items_, capacity * sizeof(T));
    if (grown == nullptr) return false;
    items_ = static_cast<T*>(grown);
    capacity_ = capacity;
    return true;
  }
  // Replaces the contents with `count` zero-filled records.
  bool AssignZeroed(std::size_t count) noexcept {
    size_ = 0;
    if (!Reserve(count)) return false;
    if (count != 0) std::memset(static_cast<void*>(items_), 0, count * sizeof(T));
    size_ = count;
    return true;
  }
  // Appends `count` zero-filled records; false (and nothing appended) when
  // there is no room.
  bool AppendZeroed(std::size_t count) noexcept {
    if (count > static_cast<std::size_t>(-1) - size_) return false;
    const std::size_t wanted = size_ + count;
    if (wanted > capacity_ && !Reserve(wanted > capacity_ * 2 ? wanted : capacity_ * 2)) return false;
    if (count != 0) std::memset(static_cast<void*>(items_ + size_), 0, count * sizeof(T));
    size_ = wanted;
    return true;
  }
  bool push_back(const T& item) noexcept {
    if (size_ == capacity_ && !Reserve(capacity_ < 8 ? 8 : capacity_ * 2)) return false;
    items_[size_++] = item;
    return true;
  }
  void clear() noexcept { size_ = 0; }

  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  T& operator[](std::size_t i) noexcept { return items_[i]; }
  const T& operator[](std::size_t i) const noexcept { return items_[i]; }
  T* begin() noexcept { return items_; }
  T* end() noexcept { return items_ + size_; }
  const T* begin() const noexcept { return items_; }
  const T* end() const noexcept { return items_ + size_; }

 private:
  T* items_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace veldra
