#include "config/number_text.h"

#include <cctype>

#include "base/text.h"

namespace veldra::config {

namespace {

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool ParseUnsignedText(const char* text, std::uint32_t* value) {
  std::size_t length = 0;
  while (length < kNumberTextChars && text[length] != '\0') ++length;
  std::size_t i = 0;
  while (i < length && IsBlankOrTab(text[i])) ++i;
  const std::size_t first = i;

  // strtoul's own subject sequence: white space, optional sign, digits. When
  // no digit follows, nothing is consumed and the end pointer stays at `first`.
  std::size_t p = first;
  while (p < length && std::isspace(static_cast<unsigned char>(text[p]))) ++p;
  bool negative = false;
  if (p < length && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
  std::uint64_t magnitude = 0;
  const std::size_t digits = ScanDecimal(text + p, length - p, &magnitude);
  std::uint32_t result = 0;
  std::size_t end = first;
  if (digits > 0) {
    end = p + digits;
    if (magnitude >= kDecimalTooLarge) {
      result = 0xFFFFFFFFu;
    } else {
      result = static_cast<std::uint32_t>(magnitude);
      if (negative) result = 0u - result;
    }
  }

  while (end < length && IsBlankOrTab(text[end])) ++end;
  if (end != length) return false;
  if (result == 0 && (first >= length || text[first] != '0')) return false;
  *value = result;
  return true;
}

FixedText<16> FormatUnsigned(std::uint32_t value) {
  FixedText<16> text;
  text.AppendNumber(value);
  return text;
}

FixedText<64> RangeMessage(std::uint32_t low, std::uint32_t high) {
  FixedText<64> text("Please enter an integer between ");
  text.AppendNumber(low);
  text.Append(" and ");
  text.AppendNumber(high);
  text.Append(".");
  return text;
}

}  // namespace veldra::config
