#include "fight/state_dump.h"

#include <cstdio>
#include <sstream>

#include "core/json_text.h"

namespace vdx {
namespace {

std::string Quoted(const std::string& s) {
  return JsonQuoted(s);
}

// "Name X Y left|right" of each running effect, separated by "; ".
std::string RunningEffects(const cCharacter& character) {
  std::ostringstream out;
  for (const cEffect& e : character.Effects) {
    if (!e.bActive) continue;
    if (out.tellp() > 0) out << "; ";
    out << e.Name << ' ' << e.X << ' ' << e.Y << ' ' << (e.bFlip ? "left" : "right");
  }
  return out.str();
}

}  // namespace

std::string FightStateJson(const FightState& fight, const FightSlots& slots,
                           const InputState& input, std::uint64_t stateHash) {
  std::ostringstream out;
  char hash[24];
  std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(stateHash));
  out << "{\n  \"frame\": " << fight.frameNumber << ",\n  \"players\": [\n";
  for (int p = 1; p <= 2; ++p) {
    const FighterState& f = fight.fighters[p];
    out << "    {\"player\": " << p << ", \"character\": " << Quoted(slots.players[p].character.Name)
        << ", \"x\": " << f.PlayerX << ", \"y\": " << f.PlayerY
        << ", \"facing\": " << Quoted(f.Facing ? "left" : "right")
        << ", \"ActionName\": " << Quoted(f.ActionName) << ", \"CurrentFrame\": " << f.CurrentFrame
        << ", \"MoveState\": " << Quoted(f.MoveState) << ", \"health\": " << f.Health
        << ", \"ComboCount\": " << f.ComboCount << ", \"HitFlag\": " << (f.HitFlag ? "true" : "false")
        << ", \"grabCaught\": " << (f.grabCaught ? "true" : "false")
        << ", \"PowerMode\": " << (f.PowerMode ? "true" : "false")
        << ", \"DamageMultiplier\": " << f.DamageMultiplier
        << ", \"RoundWins\": " << fight.RoundWins[p]
        << ", \"KeySequence\": " << Quoted(input.history[p].KeySequence)
        << ", \"effects\": " << Quoted(RunningEffects(slots.players[p].character));
    if (const auto& cpu = fight.computer[p])
      out << ", \"computer\": " << Quoted(ComputerStepName(cpu->state))
          << ", \"lastSeenAction\": " << Quoted(cpu->lastSeenAction);
    out << "}" << (p == 1 ? "," : "") << "\n";
  }
  out << "  ],\n  \"CameraX\": " << fight.CameraX << ",\n  \"RoundLoser\": " << fight.RoundLoser
      << ",\n  \"FightStarted\": " << (fight.FightStarted ? "true" : "false")
      << ",\n  \"paused\": " << (fight.PauseRequested ? "true" : "false")
      << ",\n  \"pauseItem\": " << fight.pauseMenu.selected
      << ",\n  \"PowerUpKind\": " << fight.pickUp.PowerUpKind << ",\n  \"pickUpX\": " << fight.pickUp.x
      << ",\n  \"pickUpY\": " << fight.pickUp.y << ",\n  \"flashes\": " << fight.flashCount
      << ",\n  \"raining\": " << (fight.raining ? "true" : "false")
      << ",\n  \"snowing\": " << (fight.snowing ? "true" : "false")
      << ",\n  \"round\": "
      << fight.round << ",\n  \"stateHash\": \"" << hash << "\"\n}\n";
  return out.str();
}

}  // namespace vdx
