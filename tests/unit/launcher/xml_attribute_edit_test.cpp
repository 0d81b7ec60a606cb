#include "launcher/xml_attribute_edit.h"

#include <gtest/gtest.h>

#include <vector>

namespace vdxlaunch {
namespace {

struct EditCase {
  const char* what;
  const char* before;
  std::vector<AttributeEdit> edits;
  const char* after;
};

class AttributeEdits : public ::testing::TestWithParam<EditCase> {};

TEST_P(AttributeEdits, ChangeOnlyTheValuesAskedFor) {
  const EditCase& c = GetParam();
  const EditedXml edited = ApplyAttributeEdits(c.before, c.edits);
  ASSERT_TRUE(edited.ok) << edited.error;
  EXPECT_EQ(edited.text, c.after);
  EXPECT_TRUE(ReadFormSettings(edited.text).readable) << "still well-formed XML";
}

const AttributeEdit kMusic{"", "MusicVolume", "90"};
const AttributeEdit kPunch{"Player1Keys", "Punch", "17"};
const AttributeEdit kKick2{"Player2Keys", "Kick", "57"};

INSTANTIATE_TEST_SUITE_P(
    Launcher, AttributeEdits,
    ::testing::Values(
        EditCase{
            "a value in its own quotes, blanks and line ends kept",
            "\xEF\xBB\xBF<?xml version='1.0' encoding='windows-1252'?>\r\n"
            "<!-- <Player1Keys Punch=\"1\"/> in a comment -->\r\n"
            "<Vandrel Name='Caf\xE9 &amp; Bar'\r\n    MusicVolume = '80' SoundVolume=\"90\">\r\n"
            "  <Player1Keys  Up=\"200\"\tPunch =\"30\" Kick=\"31\"  />\r\n"
            "</Vandrel>\r\n",
            {kMusic, kPunch},
            "\xEF\xBB\xBF<?xml version='1.0' encoding='windows-1252'?>\r\n"
            "<!-- <Player1Keys Punch=\"1\"/> in a comment -->\r\n"
            "<Vandrel Name='Caf\xE9 &amp; Bar'\r\n    MusicVolume = '90' SoundVolume=\"90\">\r\n"
            "  <Player1Keys  Up=\"200\"\tPunch =\"17\" Kick=\"31\"  />\r\n"
            "</Vandrel>\r\n"},
        EditCase{"only children of the root; markup inside values, CDATA and a document type",
                 "<!DOCTYPE Game [ <!ENTITY x \"<Player1Keys>\"> ]>\n"
                 "<Game Title=\"a > b /> c\">\n"
                 "  <Menu><Player1Keys Punch=\"5\"/></Menu>\n"
                 "  <![CDATA[ <Player1Keys Punch=\"6\"/> ]]>\n"
                 "  <?note <Player1Keys?>\n"
                 "  <Player1Keys Punch=\"30\"></Player1Keys>\n"
                 "</Game>",
                 {kPunch},
                 "<!DOCTYPE Game [ <!ENTITY x \"<Player1Keys>\"> ]>\n"
                 "<Game Title=\"a > b /> c\">\n"
                 "  <Menu><Player1Keys Punch=\"5\"/></Menu>\n"
                 "  <![CDATA[ <Player1Keys Punch=\"6\"/> ]]>\n"
                 "  <?note <Player1Keys?>\n"
                 "  <Player1Keys Punch=\"17\"></Player1Keys>\n"
                 "</Game>"},
        EditCase{"every element of that name, and an attribute that is missing is added",
                 "<Game>\n  <Player1Keys Punch='30'/>\n  <Player1Keys Up='1'/>\n  "
                 "<Player1Keys/>\n</Game>\n",
                 {kPunch},
                 "<Game>\n  <Player1Keys Punch='17'/>\n  <Player1Keys Up='1' Punch='17'/>\n"
                 "  <Player1Keys Punch=\"17\"/>\n</Game>\n"},
        EditCase{"missing root attributes go after the last one",
                 "<Game Name=\"x\"\n      Rounds=\"3\"\n>\n</Game>",
                 {kMusic, {"", "Joystick", "True"}},
                 "<Game Name=\"x\"\n      Rounds=\"3\" MusicVolume=\"90\" "
                 "Joystick=\"True\"\n>\n</Game>"},
        EditCase{"a missing element on a line of its own, indented like the others, CR LF",
                 "<Game>\r\n\t<Player1Keys Punch=\"30\"/>\r\n\t<Menu/>\r\n</Game>\r\n",
                 {kKick2, {"Player2Keys", "Block", "18"}},
                 "<Game>\r\n\t<Player1Keys Punch=\"30\"/>\r\n\t<Menu/>\r\n"
                 "\t<Player2Keys Kick=\"57\" Block=\"18\"/>\r\n</Game>\r\n"},
        EditCase{"a missing element in a root written on one line",
                 "<Game a=\"1\"><Menu/></Game>",
                 {kKick2},
                 "<Game a=\"1\"><Menu/><Player2Keys Kick=\"57\"/></Game>"},
        EditCase{
            "an empty root opens up for a missing element",
            "<?xml version=\"1.0\"?>\n<Game MusicVolume=\"80\"/>\n",
            {kMusic, kKick2},
            "<?xml version=\"1.0\"?>\n<Game MusicVolume=\"90\">\n  <Player2Keys Kick=\"57\"/>\n"
            "</Game>\n"},
        EditCase{"no edits, no change", "<Game><!-- x --></Game>", {}, "<Game><!-- x --></Game>"}),
    [](const ::testing::TestParamInfo<EditCase>& info) {
      return "Case" + std::to_string(info.index);
    });

TEST(AttributeEdits, RefuseWhatTheyCannotChangeByteForByte) {
  const std::vector<AttributeEdit> edits = {kMusic};
  const std::string wide("\xFF\xFE<\0G\0/\0>\0", 10);
  const EditedXml utf16 = ApplyAttributeEdits(wide, edits);
  EXPECT_FALSE(utf16.ok);
  EXPECT_EQ(utf16.error,
            "it is written in UTF-16 or UTF-32; only UTF-8 and one-byte encodings can be changed");
  for (const char* broken : {"", "just text", "<Game", "<Game a=\"1>", "<Game a=1/>",
                             "<Game><!-- open", "<Game><Menu>", "<!DOCTYPE x [ >"}) {
    const EditedXml e = ApplyAttributeEdits(broken, edits);
    EXPECT_FALSE(e.ok) << broken;
    EXPECT_EQ(e.error, "its elements cannot be found (it is not well-formed XML)") << broken;
  }
}

}  // namespace
}  // namespace vdxlaunch
