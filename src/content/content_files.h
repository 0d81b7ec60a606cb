// The files the game will open for the loaded content: the pictures, music and
// movies that the content names, and the fixed files the engine itself needs.
// `vdx --check-content` reports the ones that do not exist.
#pragma once

#include <string>
#include <vector>

#include "content/content.h"
#include "content/load_report.h"
#include "content/paths.h"
#include "content/settings.h"

namespace vdx {

struct NamedFile {
  std::string owner;  // what needs it: Stage "Harbour" Background
  std::string path;   // content path under the game folder: \Stages\harbour.bmp
  // A fighter frame's size in the game (packed frames must fill it); 0 for others.
  int frameWidth = 0;
  int frameHeight = 0;
};

std::vector<NamedFile> FilesNeededByContent(const Settings& settings, const Content& content);

// Adds every needed file that does not exist to `report.missing`, each path
// once with all that need it; a path that would leave the game folder is added
// as refused.
void FindMissingFiles(const PathResolver& paths, const Settings& settings, const Content& content,
                      LoadReport& report);

}  // namespace vdx
