// What content loading skipped and which named files do not exist. Loading never
// stops for a problem; it writes it down here so `vdx --check-content` can show
// content authors exactly what was passed over and why.
#pragma once

#include <string>
#include <vector>

namespace vdx {

struct SkippedStep {
  std::string file;       // "Game.xml"
  int line = 0;           // 1-based line of the element, 0 when unknown
  std::string element;    // where it sits: Character "Kira" > Action "Punch"
  std::string attribute;  // empty when the whole element or file is concerned
  std::string reason;     // "\"abc\" is not an Integer", "a second Action named \"Punch\"", ...
};

struct MissingFile {
  std::string owner;     // what names it: Stage "Harbour" Background; all who do, by "; "
  std::string path;      // the content path: \Stages\harbour.bmp
  bool refused = false;  // the path would leave the game folder: never looked for
};

// A file that is there but that the game's own reader cannot use.
struct BrokenFile {
  std::string owner;   // all that need it, by "; "
  std::string path;    // the content path
  std::string reason;  // "not a bitmap the game can read"
};

// A name in one content file that another file should have and does not.
struct UnknownName {
  std::string file;     // where the name is written: "story.xml"
  std::string element;  // Story "Kira" > Opponent "Zed"
  std::string reason;   // names no Character "Zed" of Game.xml
};

struct LoadReport {
  std::vector<SkippedStep> skipped;
  std::vector<MissingFile> missing;
  std::vector<BrokenFile> broken;
  std::vector<UnknownName> unknownNames;
};

}  // namespace vdx
