#include "launcher/key_names.h"

#include <gtest/gtest.h>

#include <set>

#include "core/files.h"
#include "platform/keycodes.h"

namespace vdxlaunch {
namespace {

TEST(KeyNames, ReadsQuotedAndBareRecordsKeyedByTheDecimalCode) {
  const KeyNames k = ReadKeysTxt(
      "\xEF\xBB\xBF\"1\",\"Escape\"\r\n"
      "1C , Return  \r\n"
      "\r\n"
      "  \"39\" ,\"Space, the long one\"\n"
      "C8,\"Up Arrow\"");
  EXPECT_TRUE(k.problems.empty()) << k.problems.front();
  ASSERT_EQ(k.names.size(), 4u);
  ASSERT_NE(k.names.find("1A"), nullptr);
  EXPECT_EQ(k.names.find("1A")->Description, "Escape");
  EXPECT_EQ(k.names.find("28A")->ScanCode, 0x1C);
  EXPECT_EQ(k.names.find("28A")->Description, "Return");
  EXPECT_EQ(k.names.find("57A")->Description, "Space, the long one");
  EXPECT_EQ(k.names.find("200A")->Description, "Up Arrow");
}

TEST(KeyNames, PassesOverRecordsItCannotReadAndKeepsTheFirstName) {
  const KeyNames k = ReadKeysTxt(
      "1E,A\n"
      "ZZ,Banana\n"    // not hexadecimal
      "\"1F,S\n"       // a quote never closed
      "20,\n"          // no name
      "1e,Second A\n"  // a code named before
      ",Nothing\n"     // no code
      "21,F\n");
  EXPECT_EQ(k.names.size(), 2u);
  EXPECT_EQ(k.names.find("30A")->Description, "A");
  EXPECT_EQ(k.names.find("33A")->Description, "F");
  ASSERT_EQ(k.problems.size(), 5u);
  EXPECT_EQ(k.problems[0], "keys.txt line 2: \"ZZ\" is not a key code in hexadecimal");
  EXPECT_EQ(k.problems[1], "keys.txt line 3: a quote is not closed");
  EXPECT_EQ(k.problems[2], "keys.txt line 4: the key 20 has no name");
  EXPECT_EQ(k.problems[3], "keys.txt line 5: the key 1e is named before; the first name is kept");
  EXPECT_EQ(k.problems[4], "keys.txt line 6: \"\" is not a key code in hexadecimal");
}

TEST(KeyNames, ReadsAWindowsFileAsWindows1252) {
  const KeyNames k = ReadKeysTxt("\"27\",\"\xF6\"\r\n");  // o with diaeresis in Windows-1252
  ASSERT_NE(k.names.find("39A"), nullptr);
  EXPECT_EQ(k.names.find("39A")->Description, "\xC3\xB6");
}

TEST(KeyNames, BoxesShowTheNameElseTheCodeInHexadecimal) {
  const KeyNames k = ReadKeysTxt("11,W\n");
  EXPECT_EQ(KeyBoxText(k, 0x11), "W");
  EXPECT_EQ(KeyBoxText(k, 0x1C), "Key 0x1C");
  EXPECT_EQ(KeyBoxText(k, 0xC8), "Key 0xC8");
  EXPECT_EQ(KeyBoxText(k, 5), "Key 0x05");
  EXPECT_EQ(KeyBoxText(k, 0), "(none)");
  EXPECT_EQ(KeyBoxText(k, 300), "Key 0x12C");
  EXPECT_EQ(KeyBoxText(k, -1), "Key 0xFFFF");
  EXPECT_EQ(KeyBoxText(KeyNames{}, 0x11), "Key 0x11") << "without keys.txt";
}

// The duplicate check compares the boxes' texts, so the demo's names must
// tell every key apart.
TEST(KeyNames, TheDemoFolderNamesEveryKeyOnce) {
  const auto text = vdx::ReadWholeFile(std::string(VDX_DEMO_DIR) + "/keys.txt");
  ASSERT_TRUE(text);
  const KeyNames k = ReadKeysTxt(*text);
  EXPECT_TRUE(k.problems.empty());
  std::set<std::string> seen;
  for (const vdx::KeyName& key : vdx::AllKeyNames()) {
    const std::string shown = KeyBoxText(k, key.code);
    EXPECT_FALSE(shown.starts_with("Key 0x")) << "no name for " << key.name;
    EXPECT_TRUE(seen.insert(shown).second) << "\"" << shown << "\" names two keys";
  }
}

}  // namespace
}  // namespace vdxlaunch
