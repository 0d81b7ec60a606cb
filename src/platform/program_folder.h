// Where the running program lies, and where it finds its game folder: beside
// itself (a folder someone built or unpacked), else in the installed data
// folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vdx::platform {

// The folder of the program's file (through /proc/self/exe; else from argv[0];
// else the current folder).
std::filesystem::path ProgramFolder(const char* argv0);

// The demo game folder of the installation this program was built for:
// <prefix>/share/games/vdx.
std::filesystem::path InstalledGameFolder();

// Whether the folder holds a Game.xml (in any letter case) that is a file.
bool HoldsGameXml(const std::filesystem::path& folder);

struct GameFolderSearch {
  std::optional<std::filesystem::path> found;
  std::vector<std::filesystem::path> tried;  // in order, each once
};

// The game folder of a run without --game-dir: the program's own folder when
// it holds a Game.xml; else `installed`; else ../share/games/vdx from the
// program's folder (an installation moved elsewhere as a whole).
GameFolderSearch FindGameFolder(const std::filesystem::path& programDir,
                                const std::filesystem::path& installed);

// What a program says when the search found nothing: the folders it tried, and
// how to name one.
std::string NoGameFolderMessage(const GameFolderSearch& search, std::string_view program);

}  // namespace vdx::platform
