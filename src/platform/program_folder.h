// Where the running program lies: the game and the launcher find their game
// folder there.
#pragma once

#include <filesystem>

namespace vdx::platform {

// The folder of the program's file (through /proc/self/exe; else from argv[0];
// else the current folder).
std::filesystem::path ProgramFolder(const char* argv0);

}  // namespace vdx::platform
