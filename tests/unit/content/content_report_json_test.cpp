#include "content/content_report_json.h"

#include <gtest/gtest.h>

namespace vdx {
namespace {

TEST(ContentReportJson, ListsCountsStepsAndProblemsWithWhoNeedsThem) {
  Content content;
  cCharacter kira;
  kira.Actions.add(cAction{}, "Punch");
  content.Characters.add(std::move(kira), "Kira");
  LoadReport report;
  report.skipped.push_back(
      {"Game.xml", 3, "Character \"Kira\"", "Health", "\"lots\" is not\tan Integer"});
  report.missing.push_back({"Stage \"A\" Background; Stage \"B\" Background", "\\Stages\\n.bmp"});
  report.missing.push_back({"setting MenuBack", "\\..\\x.bmp", true});
  report.broken.push_back({"story of \"Kira\" WinFile", "\\Movies\\e.avi", "is not a movie"});
  report.unknownNames.push_back(
      {"story.xml", "Story \"Kira\" > Opponent \"Zed\"", "names no Character"});
  EXPECT_FALSE(ReportIsClean(report));
  EXPECT_EQ(FormatContentReportJson("/g", content, report),
            R"({
  "gameFolder": "/g",
  "clean": false,
  "counts": {"characters": 1, "actions": 1, "effects": 0, "stages": 0, "animations": 0, "events": 0, "menuItems": 0, "fontChars": 0, "aiProfiles": 0, "stories": 0},
  "skipped": [
    {"file": "Game.xml", "line": 3, "element": "Character \"Kira\"", "attribute": "Health", "reason": "\"lots\" is not\tan Integer"}
  ],
  "problems": [
    {"kind": "missing", "file": "\\Stages\\n.bmp", "neededBy": ["Stage \"A\" Background", "Stage \"B\" Background"], "reason": "the file does not exist"},
    {"kind": "refused", "file": "\\..\\x.bmp", "neededBy": ["setting MenuBack"], "reason": "the path would leave the game folder"},
    {"kind": "broken", "file": "\\Movies\\e.avi", "neededBy": ["story of \"Kira\" WinFile"], "reason": "is not a movie"},
    {"kind": "unknownName", "file": "story.xml", "neededBy": ["Story \"Kira\" > Opponent \"Zed\""], "reason": "names no Character"}
  ]
}
)");
  const std::string clean = FormatContentReportJson("/g", Content{}, LoadReport{});
  EXPECT_NE(clean.find("\"clean\": true"), std::string::npos);
  EXPECT_NE(clean.find("\"skipped\": [],\n  \"problems\": []\n}"), std::string::npos) << clean;
}

}  // namespace
}  // namespace vdx
