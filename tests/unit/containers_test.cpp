// The bounded text and the array stand in for the standard containers in
// shipped code: what matters is that they never overrun and that a failed
// allocation leaves what they hold intact.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>

#include "base/array.h"
#include "base/fixed_text.h"

namespace {

TEST(FixedText, CutsAtItsCapacityAndSaysSo) {
  veldra::FixedText<8> text("Adapt");
  EXPECT_FALSE(text.AppendNumber(123));
  EXPECT_EQ(text, "Adapt12");
  EXPECT_EQ(text.size(), 7u);
  EXPECT_FALSE(text.Append("x"));
  EXPECT_STREQ(text.c_str(), "Adapt12");
  veldra::FixedText<24> number;
  EXPECT_TRUE(number.AppendNumber(0));
  EXPECT_TRUE(number.AppendNumber(4294967295u));
  EXPECT_EQ(number, "04294967295");
  EXPECT_TRUE(veldra::FixedText<4>(nullptr).empty());
}

TEST(Array, GrowsAndKeepsItsContentsWhenMemoryIsRefused) {
  veldra::Array<std::uint32_t> numbers{7, 8};
  for (std::uint32_t i = 0; i < 100; ++i) ASSERT_TRUE(numbers.push_back(i));
  ASSERT_EQ(numbers.size(), 102u);
  EXPECT_EQ(numbers[1], 8u);
  EXPECT_EQ(numbers[101], 99u);
  // A size whose byte count wraps around is refused, not allocated short.
  EXPECT_FALSE(numbers.Reserve(static_cast<std::size_t>(-1) / 2));
  EXPECT_EQ(numbers.size(), 102u);
  EXPECT_EQ(numbers[101], 99u);
  EXPECT_FALSE(numbers.AssignZeroed(static_cast<std::size_t>(-1) / 4 + 1));
  EXPECT_TRUE(numbers.empty());
  ASSERT_TRUE(numbers.AssignZeroed(3));
  EXPECT_EQ(numbers[2], 0u);
}

}  // namespace
