#include "content/collection.h"

#include <gtest/gtest.h>

#include <string>

namespace vdx {
namespace {

TEST(Collection, KeysAreUniqueWithoutLetterCase) {
  Collection<std::string> c;
  EXPECT_TRUE(c.add("first", "Punch"));
  EXPECT_FALSE(c.add("second", "PUNCH")) << "a duplicate key in another letter case must fail";
  EXPECT_FALSE(c.add("empty", "")) << "an empty key cannot be added";
  ASSERT_EQ(c.size(), 1u);
  ASSERT_NE(c.find("punch"), nullptr);
  EXPECT_EQ(*c.find("pUnCh"), "first") << "the first item stays";
  EXPECT_EQ(c.find("Kick"), nullptr) << "a missing key is a failed look-up";
  EXPECT_FALSE(c.contains("Kick"));
}

TEST(Collection, PositionsCountFromOneAndKeepOrder) {
  Collection<int> c;
  c.add(10);
  c.add(20, "b");
  c.add(30);
  EXPECT_EQ(c.at(0), nullptr);
  EXPECT_EQ(*c.at(1), 10);
  EXPECT_EQ(*c.at(3), 30);
  EXPECT_EQ(c.at(4), nullptr);
  EXPECT_EQ(c.keyAt(2), "b") << "the key as it was written";
  EXPECT_EQ(c.keyAt(3), "") << "an item added without one";
  int sum = 0, order = 0;
  for (int v : c) {
    EXPECT_EQ(v, (++order) * 10);
    sum += v;
  }
  EXPECT_EQ(sum, 60);
}

TEST(Collection, ItemsKeepTheirAddressAsItGrows) {
  Collection<int> c;
  c.add(1, "one");
  int* one = c.find("one");
  for (int i = 0; i < 1000; ++i)
    c.add(i);
  EXPECT_EQ(one, c.find("one"));
  EXPECT_EQ(*one, 1);
}

}  // namespace
}  // namespace vdx
