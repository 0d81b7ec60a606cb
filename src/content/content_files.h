// The files the game will open for the loaded content: the pictures, sounds,
// music and movies that the content names, and the fixed files the engine
// itself needs. `vdx --check-content` reports the ones that do not exist.
#pragma once

#include <string>
#include <vector>

#include "content/content.h"
#include "content/load_report.h"
#include "content/paths.h"
#include "content/settings.h"

namespace vdx {

// How the game opens a file, which is how the check must open it.
enum class FileUse {
  Picture,       // a bitmap, drawn at whatever size the screen needs
  FighterFrame,  // a fighter's frame: a bitmap or a packed frame of exactly its frame size
  Sound,         // read whole into the sound table
  Music,         // streamed by the music player
  Movie,         // played by the movie player
  Page,          // opened by the desktop (the help page)
};

struct NamedFile {
  std::string owner;  // what needs it: Stage "Harbour" Background
  std::string path;   // content path under the game folder: \Stages\harbour.bmp
  FileUse use = FileUse::Picture;
  // A fighter frame's size in the game; 0 for others.
  int frameWidth = 0;
  int frameHeight = 0;
};

// `paths` finds the sounds: a fighter's sound may be in its own Sounds folder.
std::vector<NamedFile> FilesNeededByContent(const PathResolver& paths, const Settings& settings,
                                            const Content& content);

// Adds every needed file that does not exist to `report.missing`, each path
// once with all that need it; a path that would leave the game folder is added
// as refused.
void FindMissingFiles(const PathResolver& paths, const Settings& settings, const Content& content,
                      LoadReport& report);

}  // namespace vdx
