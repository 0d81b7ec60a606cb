#include "startup/main_routine.h"

#include <filesystem>
#include <iostream>
#include <system_error>
#include <variant>
#include <vector>

#include "audio/direct_sound.h"
#include "content/content_files.h"
#include "content/content_report.h"
#include "content/cross_references.h"
#include "content/get_xml.h"
#include "core/files.h"
#include "core/log.h"
#include "core/temporary_files.h"
#include "match/fight_loop.h"
#include "fight/replay.h"
#include "frontend/main_menu.h"
#include "frontend/menu_modes.h"
#include "game/do_events.h"
#include "game/fatal_error.h"
#include "game/movie_sequences.h"
#include "game/player_files.h"
#include "graphics/display.h"
#include "input/input_setup.h"
#include "startup/command_line.h"
#include "startup/direct_match.h"
#include "startup/network_play.h"
#include "startup/replay_run.h"

namespace vdx {
namespace {

// What stopped Game.xml from being read, for the start-up message: the folder
// it was looked for in, and how to name another.
std::string GameXmlFailure(const LoadReport& report, const std::filesystem::path& gameDir) {
  std::error_code ec;
  std::string why = "Game.xml cannot be read";
  const auto kind = std::filesystem::status(gameDir, ec).type();
  if (kind == std::filesystem::file_type::not_found) {
    why = "the folder does not exist";
  } else if (kind != std::filesystem::file_type::directory) {
    why = ec ? "the folder cannot be looked at: " + ec.message() : "it is not a folder";
  } else {
    for (const SkippedStep& step : report.skipped)
      if (step.file == "Game.xml") {
        why = DescribeSkippedStep(step);
        break;
      }
  }
  return "No game in the folder " + gameDir.string() + " (" + why +
         "); give the game's folder with --game-dir DIR";
}

// Every step that content loading skipped goes into the (new) log, one record
// each, and one line on standard error points the player or the content's
// author to the full report.
// What loading skipped, the needed files that are missing and the names that
// match nothing go into the log, and standard error points to the check. The
// files are opened only when a screen or fight needs them; their loaders log
// what they cannot use.
void ReportContentProblems(Game& game) {
  FindMissingFiles(game.paths, game.settings, game.content, game.loadReport);
  FindUnknownNames(game.content, game.loadReport);
  const std::vector<std::string> problems = DescribeProblems(game.loadReport);
  if (problems.empty()) return;
  // The pointer to log.txt only when the records are there (a failed log write says so itself).
  const bool logged = WriteLog(game.log, LogOpening::Append, problems);
  std::cerr << "vdx: " << problems.size() << (problems.size() == 1 ? " problem" : " problems")
            << " in the game folder" << (logged ? " (listed in log.txt)" : "")
            << "; run vdx --check-content for the report\n";
}

bool WriteFrameHashes(Game& game, const std::filesystem::path& path, const std::string& hashes) {
  const WriteResult written = WriteWholeFile(path, hashes);
  if (!written.ok)
    ReportFailedWrite(game.log, path,
                      "cannot write the frame hashes to " + path.string() + ": " + written.error);
  return written.ok;
}

}  // namespace

int Main(Game& game, std::string_view commandLine, const RunRequest& request) {
  int step = 0;
  try {
    const CommandLineSwitches switches = ReadSwitches(commandLine);
    game.FullScreen = switches.FullScreen;
    game.DebugMode = switches.DebugMode;
    game.ShowFps = switches.ShowFps;

    step = 10;
    ReadyPlayerFiles(game);
    // Without Game.xml there is nothing to play: a black menu would report
    // success for a failure.
    if (!GetXML(game.paths, game.settings, game.content, game.loadReport))
      throw GameError(kErrFileNotFound, GameXmlFailure(game.loadReport, game.paths.gameDir()));
    // What killed runs left of their last writes in the game folder (a kill
    // during the final flush), now that the folder is known to hold a game.
    RemoveLeftTemporaryFiles(game.paths.gameDir(), {"log.txt", "save.dat", "Game.xml"});
    if (!game.folders.inGameFolder) {
      RemoveLeftTemporaryFiles(game.folders.state, {"log.txt"});
      RemoveLeftTemporaryFiles(game.folders.data, {"save.dat"});
      RemoveLeftTemporaryFiles(game.folders.config, {"Game.xml"});
    }
    if (request.rounds) game.settings.Rounds = static_cast<Integer>(*request.rounds);
    if (request.seed) game.random.Seed(*request.seed);

    step = 20;
    game.platform.setWindowCaption(game.settings.GameTitle);

    if (game.FullScreen == 1) {
      step = 25;
      if (!game.DebugMode) game.platform.setCursorVisible(false);
      step = 45;
      InitDirectDrawFullScreen(game.platform, game.log);
    } else {
      step = 50;
      InitDirectDraw(game.platform, game.log);
    }

    step = 60;
    game.platform.showWindow();
    DoEvents(game);

    step = 70;
    game.JoystickCount = InitInput(game.platform);

    step = 80;
    InitDirectSound(game.platform, game.log);
    game.music.musicVolume = game.settings.MusicVolume;

    step = 90;
    InitDirect3D(game.platform, game.log);
    // The display set-up started the run's log; the content's problems follow.
    ReportContentProblems(game);

    std::string hashes;
    std::string* frameHashes = request.frameHashes ? &hashes : nullptr;
    int status = 0;
    if (request.replay) {
      status = PlayReplayFile(game, *request.replay, frameHashes, request.draw, request.syncTest);
    } else if (request.network) {
      status = PlayNetwork(game, request, frameHashes);
    } else if (request.versus) {
      status = PlayDirectMatches(game, request, frameHashes);
    } else if (request.training) {
      status = PlayDirectTraining(game, request);
    } else {
      step = 100;
      PlayTitleMovie(game);
    }
    // The hashes of what was played, even when its replay could not be written.
    if (request.frameHashes && status != kStatusRefused &&
        !WriteFrameHashes(game, *request.frameHashes, hashes))
      status = kStatusNotWritten;
    if (status != 0) {
      game.platform.closeAudio();
      return status;
    }

    // Where the title leads and every match ends: the menu, until the game
    // closes.
    step = 120;
    while (!game.QuitRequested) {
      const Integer mode = ShowMenu(game);
      if (game.QuitRequested) break;
      StartMenuMode(game, mode);
    }
  } catch (const ProgramExit& exit) {
    return exit.status;
  } catch (const GameError& e) {
    return ReportStartupFailure(game, step, e.number(), e.description());
  } catch (const platform::PlatformError& e) {
    return ReportStartupFailure(game, step, e.number(), e.what());
  } catch (const std::exception& e) {
    return ReportStartupFailure(game, step, 1, e.what());
  }
  // The window closes: the music player and the sounds are let go.
  CloseOgg(game.platform, game.music);
  ReleaseSounds(game.platform, game.sounds);
  game.platform.closeAudio();
  game.platform.closeDisplay();
  return 0;
}

}  // namespace vdx
