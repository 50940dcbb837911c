// The adapter number's text conversion, which config.exe's data exchange uses.
#include <gtest/gtest.h>

#include <string>

#include "config/number_text.h"

namespace veldra::config {
namespace {

TEST(ParseUnsignedText, AcceptsWhatTheConversionAccepts) {
  struct Case {
    const char* text;
    std::uint32_t value;
  };
  const Case accepted[] = {
      {"0", 0},
      {"7", 7},
      {" 7 ", 7},
      {"\t7\t", 7},
      {"+7", 7},
      {"-1", 4294967295u},
      {"-7", 4294967289u},
      {"007", 7},
      {"00", 0},
      {"100", 100},
      {"4294967295", 4294967295u},
      {"4294967296", 4294967295u},
      {"99999999999999999999", 4294967295u},
      {"-4294967295", 1},
      {"-4294967296", 4294967295u},
  };
  for (const Case& c : accepted) {
    std::uint32_t value = 12345;
    EXPECT_TRUE(ParseUnsignedText(c.text, &value)) << '"' << c.text << '"';
    EXPECT_EQ(c.value, value) << '"' << c.text << '"';
  }
}

TEST(ParseUnsignedText, RefusesTextThatIsNotANumber) {
  for (const char* text : {"", " ", "12a", "a12", "1 2", "0x10", "+", "-", "+0", "-0", " +0", "7.", "1e3"}) {
    std::uint32_t value = 12345;
    EXPECT_FALSE(ParseUnsignedText(text, &value)) << '"' << text << '"';
    EXPECT_EQ(12345u, value) << '"' << text << '"';
  }
}

TEST(ParseUnsignedText, OnlyTheFirst63CharactersCount) {
  // 62 blanks and a digit fit; a 64th character is cut off before conversion.
  std::string text(62, ' ');
  text += "5";
  std::uint32_t value = 0;
  EXPECT_TRUE(ParseUnsignedText(text.c_str(), &value));
  EXPECT_EQ(5u, value);
  EXPECT_TRUE(ParseUnsignedText((text + "x").c_str(), &value));
  EXPECT_FALSE(ParseUnsignedText((std::string(63, ' ') + "5").c_str(), &value));
}

TEST(NumberMessages, TextsAreTheProgramsOwn) {
  EXPECT_EQ("Please enter an integer between 0 and 100.", RangeMessage(0, 100));
  EXPECT_STREQ("Please enter an integer.", kNotANumberMessage);
  EXPECT_EQ("4294967295", FormatUnsigned(4294967295u));
}

}  // namespace
}  // namespace veldra::config
