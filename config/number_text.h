// Conversions between the adapter-number edit field's text and a number,
// kept free of window code so the rules can be tested directly.
#pragma once

#include <cstdint>

#include "base/fixed_text.h"

namespace veldra::config {

// The field's text is read into 64 bytes, so at most this many characters count.
constexpr std::size_t kNumberTextChars = 63;

// Reads an unsigned decimal the way the C library's strtoul does on a 32-bit
// unsigned long: blanks and tabs around it are allowed, a sign is accepted (a
// minus negates modulo 2^32) and a value too large gives 4294967295. The text
// must end after the number. A result of 0 counts only when the first
// character after the leading blanks is '0', so "" and "+0" are refused.
// Returns false for text that is not a number; *value is then untouched.
bool ParseUnsignedText(const char* text, std::uint32_t* value);

// "%lu" of the number.
FixedText<16> FormatUnsigned(std::uint32_t value);

// "Please enter an integer between %1 and %2." with the two bounds filled in.
FixedText<64> RangeMessage(std::uint32_t low, std::uint32_t high);

constexpr const char kNotANumberMessage[] = "Please enter an integer.";

}  // namespace veldra::config
