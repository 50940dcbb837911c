// A NUL-terminated text in a buffer of fixed size. The registry's names and
// strings have fixed limits, so a bounded buffer holds them without the heap:
// text that does not fit is cut at the limit and the call says so.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace veldra {

template <std::size_t N>
class FixedText {
  static_assert(N > 0, "room for the terminating NUL");

 public:
  FixedText() noexcept { text_[0] = '\0'; }
  FixedText(const char* text) noexcept {  // NOLINT: converts like a C string
    text_[0] = '\0';
    Append(text);
  }

  const char* c_str() const noexcept { return text_; }
  operator const char*() const noexcept { return text_; }  // NOLINT: used as a C string
  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  static constexpr std::size_t capacity() noexcept { return N - 1; }

  // Returns false when the text was cut at the capacity.
  bool Append(const char* text) noexcept {
    for (; text != nullptr && *text != '\0'; ++text) {
      if (size_ == N - 1) return false;
      text_[size_++] = *text;
      text_[size_] = '\0';
    }
    return true;
  }
  // Decimal, as "%lu" writes it.
  bool AppendNumber(std::uint32_t value) noexcept {
    char digits[11];
    char* first = digits + sizeof digits - 1;
    *first = '\0';
    do {
      *--first = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    return Append(first);
  }

  friend bool operator==(const FixedText& a, const char* b) noexcept { return Equal(a.text_, b); }
  friend bool operator==(const char* a, const FixedText& b) noexcept { return Equal(a, b.text_); }
  friend bool operator!=(const FixedText& a, const char* b) noexcept { return !Equal(a.text_, b); }
  friend bool operator!=(const char* a, const FixedText& b) noexcept { return !Equal(a, b.text_); }

 private:
  // Only the other side can be null; a null text equals no FixedText.
  static bool Equal(const char* a, const char* b) noexcept {
    return a != nullptr && b != nullptr && std::strcmp(a, b) == 0;
  }

  char text_[N];
  std::size_t size_ = 0;
};

}  // namespace veldra
