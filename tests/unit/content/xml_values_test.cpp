#include "content/xml_values.h"

#include <gtest/gtest.h>

#include <clocale>
#include <optional>

namespace vdx {
namespace {

struct IntegerCase {
  const char* text;
  std::optional<int> expected;
};

void PrintTo(const IntegerCase& c, std::ostream* os) {
  *os << "[" << c.text << "] gives ";
  if (c.expected)
    *os << *c.expected;
  else
    *os << "nothing";
}

class IntegerConversion : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerConversion, ReadsAsTheContentFormatSays) {
  const auto& c = GetParam();
  const auto value = ToInteger(c.text);
  if (c.expected) {
    ASSERT_TRUE(value.has_value()) << "\"" << c.text << "\" should convert";
    EXPECT_EQ(*value, *c.expected) << "\"" << c.text << "\"";
  } else {
    EXPECT_FALSE(value.has_value()) << "\"" << c.text << "\" should fail, got " << *value;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, IntegerConversion,
    ::testing::Values(IntegerCase{"12", 12}, IntegerCase{"-7", -7}, IntegerCase{" 7 ", 7},
                      IntegerCase{"+5", 5}, IntegerCase{"2.5", 2}, IntegerCase{"3.5", 4},
                      IntegerCase{"-2.5", -2}, IntegerCase{"0.5", 0}, IntegerCase{"1.5", 2},
                      IntegerCase{"2.51", 3}, IntegerCase{"1e3", 1000}, IntegerCase{"32767", 32767},
                      IntegerCase{"-32768", -32768}, IntegerCase{"32767.4", 32767},
                      IntegerCase{"32767.5", std::nullopt}, IntegerCase{"32768", std::nullopt},
                      IntegerCase{"-32769", std::nullopt}, IntegerCase{"&H10", 16},
                      IntegerCase{"&hff", 255}, IntegerCase{"&H7FFF", 32767},
                      IntegerCase{"&HFFFF", -1}, IntegerCase{"&H8000", -32768},
                      IntegerCase{"&H10000", std::nullopt}, IntegerCase{"&H", std::nullopt},
                      IntegerCase{"&HG1", std::nullopt}, IntegerCase{"", std::nullopt},
                      IntegerCase{"abc", std::nullopt}, IntegerCase{"12abc", std::nullopt},
                      IntegerCase{"1,5", std::nullopt}, IntegerCase{"0x10", std::nullopt},
                      IntegerCase{"inf", std::nullopt}, IntegerCase{"nan", std::nullopt},
                      IntegerCase{"++1", std::nullopt}));

TEST(LongConversion, UsesThe32BitRange) {
  EXPECT_EQ(ToLong("2147483647"), 2147483647);
  EXPECT_EQ(ToLong("-2147483648"), -2147483647 - 1);
  EXPECT_FALSE(ToLong("2147483648"));
  EXPECT_EQ(ToLong("40000"), 40000);
  EXPECT_EQ(ToLong("&HFFFFFF"), 16777215);
  EXPECT_EQ(ToLong("&HFFFFFFFF"), -1);
  EXPECT_EQ(ToLong("&HFFFF"), -1) << "four hex digits are a 16-bit pattern";
  EXPECT_FALSE(ToLong("&H100000000"));
  EXPECT_EQ(ToLong("4.5"), 4);
  EXPECT_EQ(ToLong("5.5"), 6);
}

TEST(BooleanConversion, AcceptsWordsInAnyCaseAndNumbers) {
  EXPECT_EQ(ToBoolean("True"), true);
  EXPECT_EQ(ToBoolean("TRUE"), true);
  EXPECT_EQ(ToBoolean("false"), false);
  EXPECT_EQ(ToBoolean("fAlSe"), false);
  EXPECT_EQ(ToBoolean("0"), false);
  EXPECT_EQ(ToBoolean("0.0"), false);
  EXPECT_EQ(ToBoolean("-1"), true);
  EXPECT_EQ(ToBoolean("2"), true);
  EXPECT_EQ(ToBoolean("0.5"), true);
  EXPECT_FALSE(ToBoolean("yes"));
  EXPECT_FALSE(ToBoolean(""));
}

TEST(ColourConversion, NeedsTheLetterH) {
  EXPECT_EQ(ToColour("H0000FF"), 255) << "blue, green, red bytes from high to low";
  EXPECT_EQ(ToColour("HFF0000"), 0xFF0000);
  EXPECT_EQ(ToColour("h00ff00"), 0x00FF00);
  EXPECT_EQ(ToColour("H0"), 0);
  EXPECT_FALSE(ToColour("0000FF")) << "the same digits without H fail";
  EXPECT_FALSE(ToColour("&H0000FF")) << "the reader adds the & itself";
  EXPECT_FALSE(ToColour("Hxyz"));
  EXPECT_FALSE(ToColour(""));
}

TEST(FloatConversion, UsesAPointWhateverTheLocale) {
  // A locale with a decimal comma, where the machine has one.
  const char* changed = std::setlocale(LC_ALL, "de_DE.UTF-8");
  EXPECT_EQ(ToDouble("1.5"), 1.5);
  EXPECT_EQ(ToDouble("-0.25"), -0.25);
  EXPECT_EQ(ToSingle("0.1"), 0.1f);
  EXPECT_FALSE(ToDouble("1,5"));
  EXPECT_FALSE(ToDouble("x"));
  EXPECT_FALSE(ToSingle("1e300")) << "too large for a Single";
  if (changed != nullptr) std::setlocale(LC_ALL, "C");
}

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  EXPECT_EQ(RoundHalfEven(2.5001), 3);
}

TEST(NumberToText, IsShortest) {
  EXPECT_EQ(NumberToText(8), "8");
  EXPECT_EQ(NumberToText(-6), "-6");
  EXPECT_EQ(NumberToText(2.5), "2.5");
  EXPECT_EQ(NumberToText(0.1 * 2), "0.2");
}

}  // namespace
}  // namespace vdx
