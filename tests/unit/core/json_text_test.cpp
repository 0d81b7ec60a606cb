#include "core/json_text.h"

#include <gtest/gtest.h>

#include "content/content_report_json.h"
#include "content/xml_encoding.h"
#include "frontend/screen_state.h"

namespace vdx {
namespace {

using namespace std::string_literals;

TEST(JsonText, EscapesAndReplacesWhatIsNotUtf8) {
  struct Case {
    std::string text;
    std::string json;
  };
  const std::string fffd = "\xEF\xBF\xBD";
  const Case cases[] = {
      {"", R"("")"},
      {"Kira", R"("Kira")"},
      {"say \"hi\" \\ there", R"("say \"hi\" \\ there")"},
      {"a\nb\tc\r\x01\x1F\x7F", R"("a\nb\tc\r\u0001\u001f\u007f")"},
      {"nul\0in"s, R"("nul\u0000in")"},
      {"K\xC3\xAEra \xE2\x82\xAC \xF0\x9F\x98\x80",
       "\"K\xC3\xAEra \xE2\x82\xAC \xF0\x9F\x98\x80\""},
      // Latin-1 bytes, as a stray letter in a UTF-8 file.
      {"Jos\xE9", "\"Jos" + fffd + "\""},
      {"\xE9\xE9", "\"" + fffd + fffd + "\""},
      {"\x80 alone", "\"" + fffd + " alone\""},
      {"cut \xE2\x82", "\"cut " + fffd + fffd + "\""},
      {"\xC0\xAF overlong", "\"" + fffd + fffd + " overlong\""},
      {"\xED\xA0\x80 surrogate", "\"" + fffd + fffd + fffd + " surrogate\""},
      {"\xF4\x90\x80\x80 too high", "\"" + fffd + fffd + fffd + fffd + " too high\""},
      {"\xFF\xFE", "\"" + fffd + fffd + "\""},
      {"\xC3\"", "\"" + fffd + "\\\"\""},
  };
  for (const Case& c : cases) {
    const std::string json = JsonQuoted(c.text);
    EXPECT_EQ(json, c.json);
    EXPECT_EQ(FirstInvalidUtf8(json), std::string::npos) << json;
  }
}

// Every JSON the program writes from content it was given is valid UTF-8.
TEST(JsonText, EveryWriterGivesValidUtf8WhateverTheContentHolds) {
  const std::string bad = "K\xE9ra \xFF\x80\xC3 \"q\" \x01";
  Content content;
  cCharacter c;
  c.Name = bad;
  content.Characters.add(c, bad);
  LoadReport report;
  report.skipped.push_back({"Game.xml" + bad, 3, "Character \"" + bad + "\"", bad, bad});
  report.missing.push_back({bad + "; " + bad, "\\Characters\\" + bad, false});
  report.broken.push_back({bad, "\\" + bad, bad});
  report.unknownNames.push_back({"story.xml", bad, bad});
  const std::string check = FormatContentReportJson("/games/" + bad, content, report);
  EXPECT_EQ(FirstInvalidUtf8(check), std::string::npos) << check;
  EXPECT_NE(check.find("K\xEF\xBF\xBDra"), std::string::npos) << check;

  const std::string field = JsonField("entry" + bad, bad);
  EXPECT_EQ(FirstInvalidUtf8(field), std::string::npos) << field;
  EXPECT_EQ(field.find('\x01'), std::string::npos) << "control characters are escaped";
  EXPECT_EQ(FirstInvalidUtf8(JsonField(bad, 1L)), std::string::npos);
  EXPECT_EQ(FirstInvalidUtf8(JsonField(bad, true)), std::string::npos);
}

}  // namespace
}  // namespace vdx
