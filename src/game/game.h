// The state of one run of the game: command-line flags, the quit flag, the
// settings and content read at start-up, the platform and the display. Created
// in main() and passed by reference; there are no globals, so tests can build
// as many games as they like.
#pragma once

#include <filesystem>

#include "audio/music.h"
#include "audio/sound_table.h"
#include "content/content.h"
#include "content/load_report.h"
#include "content/paths.h"
#include "content/settings.h"
#include "core/log.h"
#include "core/player_folders.h"
#include "core/random.h"
#include "graphics/bitmap_text.h"
#include "graphics/display.h"
#include "input/poll_input.h"
#include "platform/platform.h"

namespace vdx {

struct Game {
  // Everything in the game folder.
  Game(platform::Platform& platform, std::filesystem::path gameDir);
  // The player's files where `folders` says; the player's Game.xml, when there
  // is one, in place of the game folder's.
  Game(platform::Platform& platform, PlayerFolders folders);

  platform::Platform& platform;
  PlayerFolders folders;  // where the log, save and screenshots go
  PathResolver paths;     // content paths under the game folder
  LogFile log;            // log.txt, and what this run has written to it
  // A player's folder was made in this run, and the run said so.
  bool playerFoldersSaid = false;

  // Command-line flags.
  int FullScreen = 0;      // 1 = full screen, 0 = windowed
  bool DebugMode = false;  // keeps the mouse cursor visible in full screen
  bool ShowFps = false;    // frame-rate counter during fights

  // Set when the player asks the game to close; every loop tests it each pass.
  bool QuitRequested = false;

  Settings settings;
  Content content;
  LoadReport loadReport;  // what content loading skipped

  Display display;
  // The font sheet of bitmap text (combo messages, banners, names on the
  // select screens): loaded once by the first screen that needs it
  // (LoadFontSheet); until then bitmap text draws nothing.
  BitmapFont font;
  int JoystickCount = 0;
  InputState input;  // the players' command letters of the last poll
  // F12 was down in the last pass: a press takes one picture, however long held.
  bool screenshotKeyHeld = false;

  SoundTable sounds;  // the fight's sound effects
  MusicState music;

  // The only source of random numbers; rolls stir in the frame's tick count.
  RandomGenerator random;
};

}  // namespace vdx
