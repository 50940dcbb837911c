// ASCII text helpers. Names in the registry and the catalogue are compared
// without regard to case the way the model needs it: plain ASCII folding,
// independent of the C library's locale.
#pragma once

namespace veldra {

inline char ToUpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline bool EqualsNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    const char x = ToUpperAscii(*a);
    if (x != ToUpperAscii(*b)) return false;
    if (x == '\0') return true;
  }
}

}  // namespace veldra
