#include "game/fatal_error.h"

#include <iostream>

#include "core/log.h"
#include "game/do_events.h"

namespace vdx {
namespace {

void PrintOnStandardError(std::string_view title, std::string_view text) {
  std::cerr << title << ": " << text << std::endl;
}

}  // namespace

std::string StartupFailureMessage(int label, int number, std::string_view description) {
  const char* device = nullptr;
  switch (label) {
    case 45:
      device = "Direct Draw for full screen mode";
      break;
    case 50:
      device = "Direct Draw for windowed mode";
      break;
    case 70:
      device = "Direct Input";
      break;
    case 80:
      device = "Direct Sound";
      break;
    case 90:
      device = "Direct3D";
      break;
    default:
      return "Unknown Error " + std::to_string(number) + " " + std::string(description) + " at " +
             std::to_string(label);
  }
  return std::string("An error has occurred initializing ") + device +
         ". Please insure you have DirectX 7.0 or later installed.";
}

int ReportStartupFailure(Game& game, int label, int number, std::string_view description) {
  const std::string message = StartupFailureMessage(label, number, description);
  PrintOnStandardError(kStartupErrorTitle, message);
  // The machine's own words help on a desktop without DirectX's vocabulary.
  if (label == 45 || label == 50 || label == 70 || label == 80 || label == 90)
    std::cerr << "(" << description << ")" << std::endl;
  game.platform.showMessageBox(kStartupErrorTitle, message, platform::MessageBoxIcon::Critical);
  game.platform.closeAudio();
  game.platform.closeDisplay();
  return 1;
}

void ReportFatalError(Game& game, std::string_view procedure, const GameError& error) {
  const std::string number = std::to_string(error.number());
  const std::string label = std::to_string(error.step());
  std::string first = "Error in " + std::string(procedure) + " ";
  std::string second = number + " " + error.description();
  if (procedure == "LoadSelectScreenNew" || procedure == "DisplayVsScreen") {
    second += " " + label;
  } else if (procedure == "LoadStageSelectScreenNew") {
    second += " at line " + label;
  } else if (procedure == "PlayLoop") {
    first = "Error in PlayLoop";
  }
  // A log that cannot be written must not stop the report.
  WriteLog(game.log, LogOpening::Append, {first, second});

  // Give the desktop back and release the devices, then close the window.
  game.platform.closeDisplay();
  game.platform.releaseInput();
  game.QuitRequested = true;
  if (procedure == "ShowMenu" || procedure == "LoadStageSelectScreenNew" || procedure == "PlayLoop")
    DoEvents(game);

  PrintOnStandardError(kGameErrorTitle, std::string(kGameErrorText) + " (" + first + second + ")");
  game.platform.showMessageBox(kGameErrorTitle, kGameErrorText, platform::MessageBoxIcon::Critical);
  game.platform.closeAudio();
  throw ProgramExit{1};
}

}  // namespace vdx
