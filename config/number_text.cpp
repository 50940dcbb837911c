#include "config/number_text.h"

#include <cctype>
#include <cstdio>

namespace veldra::config {

namespace {

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool ParseUnsignedText(const char* text, std::uint32_t* value) {
  std::string s(text, std::char_traits<char>::length(text) < kNumberTextChars
                          ? std::char_traits<char>::length(text)
                          : kNumberTextChars);
  std::size_t i = 0;
  while (i < s.size() && IsBlankOrTab(s[i])) ++i;
  const std::size_t first = i;

  // strtoul's own subject sequence: white space, optional sign, digits. When
  // no digit follows, nothing is consumed and the end pointer stays at `first`.
  std::size_t p = first;
  while (p < s.size() && std::isspace(static_cast<unsigned char>(s[p]))) ++p;
  bool negative = false;
  if (p < s.size() && (s[p] == '+' || s[p] == '-')) {
    negative = s[p] == '-';
    ++p;
  }
  std::uint32_t result = 0;
  std::size_t end = first;
  if (p < s.size() && std::isdigit(static_cast<unsigned char>(s[p]))) {
    std::uint64_t magnitude = 0;
    bool overflow = false;
    for (; p < s.size() && std::isdigit(static_cast<unsigned char>(s[p])); ++p) {
      magnitude = magnitude * 10 + static_cast<unsigned>(s[p] - '0');
      if (magnitude > 0xFFFFFFFFull) {
        overflow = true;
        magnitude = 0xFFFFFFFFull;  // keeps the loop from overflowing 64 bits
      }
    }
    end = p;
    if (overflow) {
      result = 0xFFFFFFFFu;
    } else {
      result = static_cast<std::uint32_t>(magnitude);
      if (negative) result = 0u - result;
    }
  }

  while (end < s.size() && IsBlankOrTab(s[end])) ++end;
  if (end != s.size()) return false;
  if (result == 0 && (first >= s.size() || s[first] != '0')) return false;
  *value = result;
  return true;
}

std::string FormatUnsigned(std::uint32_t value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%lu", static_cast<unsigned long>(value));
  return buf;
}

std::string RangeMessage(std::uint32_t low, std::uint32_t high) {
  std::string text = "Please enter an integer between %1 and %2.";
  text.replace(text.find("%1"), 2, FormatUnsigned(low));
  text.replace(text.find("%2"), 2, FormatUnsigned(high));
  return text;
}

}  // namespace veldra::config
