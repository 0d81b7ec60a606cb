#include "startup/main_routine.h"

#include "audio/direct_sound.h"
#include "content/get_xml.h"
#include "frontend/startup_picture.h"
#include "game/do_events.h"
#include "game/fatal_error.h"
#include "game/movie_sequences.h"
#include "graphics/display.h"
#include "input/input_setup.h"
#include "startup/command_line.h"

namespace vdx {

int Main(Game& game, std::string_view commandLine) {
  int step = 0;
  try {
    const CommandLineSwitches switches = ReadSwitches(commandLine);
    game.FullScreen = switches.FullScreen;
    game.DebugMode = switches.DebugMode;
    game.ShowFps = switches.ShowFps;

    step = 10;
    GetXML(game.paths, game.settings, game.content, game.loadReport);

    step = 20;
    game.platform.setWindowCaption(game.settings.GameTitle);

    if (game.FullScreen == 1) {
      step = 25;
      if (!game.DebugMode) game.platform.setCursorVisible(false);
      step = 45;
      InitDirectDrawFullScreen(game.platform, game.logPath);
    } else {
      step = 50;
      InitDirectDraw(game.platform, game.logPath);
    }

    step = 60;
    game.platform.showWindow();
    DoEvents(game);

    step = 70;
    game.JoystickCount = InitInput(game.platform);

    step = 80;
    InitDirectSound(game.platform);
    game.music.musicVolume = game.settings.MusicVolume;

    step = 90;
    InitDirect3D(game.platform, game.logPath);

    step = 100;
    PlayTitleMovie(game);

    step = 120;
    ShowStartupPicture(game);
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
