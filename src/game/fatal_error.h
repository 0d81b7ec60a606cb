// The two ways the game reports a failure: at start-up, one message box that
// ends the program; inside a screen, the fixed sequence of ReportFatalError.
// Both also print on standard error, so a failure without a desktop is seen.
#pragma once

#include <string>
#include <string_view>

#include "core/game_error.h"
#include "game/game.h"

namespace vdx {

inline constexpr const char* kStartupErrorTitle = "Error loading Vandrel...Aborting....";
inline constexpr const char* kGameErrorTitle = "Vandrel Error";
inline constexpr const char* kGameErrorText =
    "An error has occurred with the game. Please check the log.txt for details";

// Thrown to end the program from deep inside a screen; main() returns `status`.
struct ProgramExit {
  int status = 0;
};

// The start-up message for a failure at the step with this label.
std::string StartupFailureMessage(int label, int number, std::string_view description);

// Shows the start-up failure box (and prints it). Returns the exit status.
int ReportStartupFailure(Game& game, int label, int number, std::string_view description);

// Writes "Error in <procedure>" and the error to the log, gives the display
// back, releases the devices, closes the window, shows the "Vandrel Error" box
// and ends the program by throwing ProgramExit{1}. `procedure` is one of
// ShowMenu, LoadSelectScreenNew, DisplayVsScreen, LoadStageSelectScreenNew and
// PlayLoop, which decide the form of the second record.
[[noreturn]] void ReportFatalError(Game& game, std::string_view procedure, const GameError& error);

}  // namespace vdx
