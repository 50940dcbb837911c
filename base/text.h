// ASCII text helpers. Names in the registry and the catalogue are compared
// without regard to case the way the model needs it: plain ASCII folding,
// independent of the C library's locale.
#pragma once

#include <cstddef>
#include <cstdint>

namespace veldra {

inline char ToUpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline bool EqualsNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    const char x = ToUpperAscii(*a);
    if (x != ToUpperAscii(*b)) return false;
    if (x == '\0') return true;
  }
}

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// What ScanDecimal gives for a number that does not fit 32 bits.
constexpr std::uint64_t kDecimalTooLarge = 0x100000000ull;

// Scans the run of decimal digits at the start of `text`, at most `length`
// bytes and never past a NUL; returns how many digits it consumed. The value
// saturates at kDecimalTooLarge, so no run of digits can wrap around into a
// small number (leading zeros do not count toward it).
inline std::size_t ScanDecimal(const char* text, std::size_t length, std::uint64_t* value) {
  std::size_t i = 0;
  std::uint64_t v = 0;
  for (; i < length && IsDigit(text[i]); ++i) {
    v = v * 10 + static_cast<unsigned>(text[i] - '0');
    if (v > kDecimalTooLarge) v = kDecimalTooLarge;
  }
  *value = v;
  return i;
}

}  // namespace veldra
