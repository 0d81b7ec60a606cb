#include "platform/keycodes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace vdx {
namespace {

TEST(KeyCodes, TheTableHasEveryKeyOnce) {
  std::set<int> codes;
  std::set<std::string> names;
  for (const KeyName& k : AllKeyNames()) {
    EXPECT_TRUE(codes.insert(k.code).second) << "code " << int(k.code) << " twice";
    std::string folded(k.name);
    for (char& c : folded)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_TRUE(names.insert(folded).second) << k.name << " twice";
    EXPECT_EQ(ParseKey(k.name), k.code) << k.name << " reads back";
    EXPECT_EQ(KeyNameOf(k.code), k.name);
  }
  EXPECT_GE(codes.size(), 140u) << "a full PC keyboard";
}

TEST(KeyCodes, ReadsNamesAliasesAndNumbers) {
  EXPECT_EQ(ParseKey("Escape"), 0x01);
  EXPECT_EQ(ParseKey("esc"), 0x01);
  EXPECT_EQ(ParseKey("RETURN"), 0x1C);
  EXPECT_EQ(ParseKey("Enter"), 0x1C);
  EXPECT_EQ(ParseKey("a"), 0x1E);
  EXPECT_EQ(ParseKey("Left"), 0xCB);
  EXPECT_EQ(ParseKey("Up"), 0xC8);
  EXPECT_EQ(ParseKey("PageDown"), 0xD1);
  EXPECT_EQ(ParseKey("1"), 0x02) << "a single digit is the digit key";
  EXPECT_EQ(ParseKey("28"), 0x1C) << "two digits are a code";
  EXPECT_EQ(ParseKey("0xCB"), 0xCB);
  EXPECT_FALSE(ParseKey("256"));
  EXPECT_EQ(ParseKey("0"), 0x0B);
  EXPECT_FALSE(ParseKey("00"));
  EXPECT_FALSE(ParseKey("Jump"));
  EXPECT_FALSE(ParseKey(""));
  EXPECT_TRUE(KeyNameOf(0x00).empty());
}

}  // namespace
}  // namespace vdx
