#include "fight/pause_rules.h"

#include <algorithm>

#include "core/ticks.h"

namespace vdx {

int StepPauseMenu(StepContext& ctx) {
  FightState& fight = ctx.fight;
  PauseMenu& menu = fight.pauseMenu;
  const int shown = menu.selected;
  // A key held moves the choice at most once every 150 ms; a key tapped
  // between two such moments still counts, since the wait runs from the last
  // key taken, not from the last look.
  const Command& command = fight.pauseCommand;
  if (!command.empty() &&
      (!menu.polled || !TickAfter(menu.lastPoll + kPauseMenuPollMs, ctx.now))) {
    menu.polled = true;
    menu.lastPoll = ctx.now;
    if (command == "U") --menu.selected;
    if (command == "D") ++menu.selected;
    if (command == "P") menu.chosen = true;
  }
  menu.selected = std::clamp(menu.selected, 1, 3);
  if (!menu.chosen) return shown;
  menu.chosen = false;
  switch (menu.selected) {
    case 1:
      fight.PauseRequested = false;
      // The Punch that chose must not punch as the fight goes on.
      fight.fighters[1].ignoredLetters += fight.pauseCommand;
      break;
    case 2:
      fight.PauseRequested = false;
      fight.leaveMatch = true;
      break;
    default:
      fight.leaveGame = true;
      break;
  }
  return shown;
}

}  // namespace vdx
