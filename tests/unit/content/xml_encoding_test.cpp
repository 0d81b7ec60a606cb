#include "content/xml_encoding.h"

#include <gtest/gtest.h>

#include "content/ai_story_reader.h"
#include "content/cross_references.h"
#include "content/game_xml_reader.h"

namespace vdx {
namespace {

TEST(XmlEncoding, FindsTheFirstByteThatBreaksUtf8) {
  EXPECT_EQ(FirstInvalidUtf8("plain"), std::string_view::npos);
  EXPECT_EQ(FirstInvalidUtf8("Zo\xC3\xAB \xE2\x82\xAC \xF0\x9F\x99\x82"), std::string_view::npos);
  EXPECT_EQ(FirstInvalidUtf8("Zo\xEB"), 2u) << "Windows-1252's e with diaeresis";
  EXPECT_EQ(FirstInvalidUtf8("ab\x80"), 2u) << "a continuation byte alone";
  EXPECT_EQ(FirstInvalidUtf8("\xC0\xAF"), 0u) << "an overlong slash";
  EXPECT_EQ(FirstInvalidUtf8("x\xE0\x80\xAF"), 1u) << "an overlong three-byte form";
  EXPECT_EQ(FirstInvalidUtf8("\xED\xA0\x80"), 0u) << "a surrogate";
  EXPECT_EQ(FirstInvalidUtf8("\xF4\x90\x80\x80"), 0u) << "past U+10FFFF";
  EXPECT_EQ(FirstInvalidUtf8("ok\xE2\x82"), 2u) << "cut short at the end";
}

TEST(XmlEncoding, Windows1252BecomesUtf8) {
  EXPECT_EQ(Windows1252ToUtf8("Zo\xEB"), "Zo\xC3\xAB");
  EXPECT_EQ(Windows1252ToUtf8("\x80\x93\x9F\xFF"), "\xE2\x82\xAC\xE2\x80\x9C\xC5\xB8\xC3\xBF");
  EXPECT_EQ(Windows1252ToUtf8("\x81"), "\xC2\x81") << "an unused code keeps its control point";
}

TEST(XmlEncoding, UndeclaredWindows1252IsReportedAndStillMatchesAcrossFiles) {
  // Game.xml from an old desktop, story.xml saved again as UTF-8: the same name.
  Settings settings;
  Content content;
  LoadReport report;
  EXPECT_TRUE(
      ReadGameXml("<Game>\n<C><Character Name=\"Zo\xEB\" Path=\"zoe\"/>"
                  "<Character Name=\"Kira\" Path=\"kira\"/></C></Game>",
                  settings, content, report));
  ASSERT_EQ(report.skipped.size(), 1u);
  EXPECT_EQ(report.skipped[0].file, "Game.xml");
  EXPECT_EQ(report.skipped[0].line, 2);
  EXPECT_EQ(report.skipped[0].reason,
            "the file is not valid UTF-8 (byte 29) and declares no other encoding; it is read as "
            "Windows-1252");
  ASSERT_TRUE(content.Characters.contains("Zo\xC3\xAB"));
  ReadStoryXml(
      "<Story><Character Name=\"Kira\"><Opponent Name=\"Zo\xC3\xAB\"/></Character></Story>",
      content, report);
  FindUnknownNames(content, report);
  for (const UnknownName& name : report.unknownNames)
    EXPECT_NE(name.file, "story.xml") << name.element << ": " << name.reason;

  // Declared: converted without a word. UTF-8 and other declarations: as they are.
  LoadReport quiet;
  const DecodedXml declared =
      DecodeXmlText("<?xml version=\"1.0\" encoding=\"Windows-1252\"?><a n=\"\xE9\"/>", "x", quiet);
  EXPECT_TRUE(declared.madeUtf8);
  EXPECT_NE(declared.text.find("\xC3\xA9"), std::string::npos);
  const DecodedXml utf8 = DecodeXmlText("<a n=\"\xC3\xA9\"/>", "x", quiet);
  EXPECT_FALSE(utf8.madeUtf8);
  EXPECT_EQ(utf8.text, "<a n=\"\xC3\xA9\"/>");
  EXPECT_TRUE(quiet.skipped.empty());
}

TEST(XmlEncoding, AUtf8MarkWithAStrayByteIsReportedAsWithoutTheMark) {
  const std::string body = "<Game>\n<C><Character Name=\"Zo\xEB\" Path=\"zoe\"/></C></Game>";
  for (const std::string& mark : {std::string(), std::string("\xEF\xBB\xBF")}) {
    SCOPED_TRACE(mark.empty() ? "without the mark" : "with the mark");
    Settings settings;
    Content content;
    LoadReport report;
    EXPECT_TRUE(ReadGameXml(mark + body, settings, content, report));
    ASSERT_EQ(report.skipped.size(), 1u);
    EXPECT_EQ(report.skipped[0].line, 2);
    EXPECT_EQ(report.skipped[0].reason,
              "the file is not valid UTF-8 (byte " + std::to_string(mark.size() + 29) +
                  ") and declares no other encoding; it is read as Windows-1252");
    EXPECT_TRUE(content.Characters.contains("Zo\xC3\xAB")) << "the letter, as UTF-8";
  }
  // A marked file that is all UTF-8 passes as it is, mark and all.
  LoadReport quiet;
  const std::string marked = "\xEF\xBB\xBF<a n=\"\xC3\xA9\"/>";
  const DecodedXml utf8 = DecodeXmlText(marked, "x", quiet);
  EXPECT_FALSE(utf8.madeUtf8);
  EXPECT_EQ(utf8.text, marked);
  EXPECT_TRUE(quiet.skipped.empty());
}

}  // namespace
}  // namespace vdx
