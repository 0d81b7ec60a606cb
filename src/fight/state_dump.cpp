#include "fight/state_dump.h"

#include <cstdio>
#include <sstream>

#include "core/json_text.h"
#include "fight/computer_opponent.h"
#include "fight/effect_runs.h"
#include "fight/fight_state_visit.h"

namespace vdx {
namespace {

std::string Quoted(std::string_view s) {
  return JsonQuoted(s);
}

// "Name X Y left|right" of each running effect, separated by "; ".
std::string RunningEffects(const FightState& fight, const FightSlots& slots, int player) {
  std::ostringstream out;
  ForEachRunningEffect(fight, slots, player, [&out](const cEffect& e, const EffectRun& run) {
    if (out.tellp() > 0) out << "; ";
    out << e.Name << ' ' << run.X << ' ' << run.Y << ' ' << (run.bFlip ? "left" : "right");
  });
  return out.str();
}

// Every field, nested as the state is.
class JsonWriter {
 public:
  explicit JsonWriter(std::ostringstream& out) : out_(out) {}

  template <typename T>
  void operator()(const char* name, const T& value) {
    if (!first_) out_ << ", ";
    first_ = false;
    if (name[0] != 0) out_ << Quoted(name) << ": ";
    if constexpr (std::is_same_v<T, bool>) {
      out_ << (value ? "true" : "false");
    } else if constexpr (std::is_same_v<T, char>) {
      out_ << Quoted(value == 0 ? std::string() : std::string(1, value));
    } else if constexpr (std::is_floating_point_v<T>) {
      char text[32];
      std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
      out_ << text;
    } else if constexpr (std::is_enum_v<T>) {
      out_ << static_cast<long long>(value);
    } else if constexpr (std::is_integral_v<T>) {
      out_ << +value;
    } else if constexpr (IsSmallText<T>::value) {
      out_ << Quoted(std::string(value.view()));
    } else if constexpr (IsStdArray<T>::value) {
      out_ << '[';
      first_ = true;
      for (const auto& item : value) (*this)("", item);
      out_ << ']';
    } else {
      out_ << '{';
      first_ = true;
      VisitFields(*this, value);
      out_ << '}';
    }
    first_ = false;
  }

 private:
  std::ostringstream& out_;
  bool first_ = true;
};

}  // namespace

std::string FightStateJson(const FightState& fight, const FightSlots& slots,
                           std::uint64_t stateHash) {
  std::ostringstream out;
  char hash[24];
  std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(stateHash));
  out << "{\n  \"frame\": " << fight.frameNumber << ",\n  \"players\": [\n";
  for (int p = 1; p <= 2; ++p) {
    const FighterState& f = fight.fighters[p];
    out << "    {\"player\": " << p << ", \"character\": " << Quoted(slots.players[p].character.Name)
        << ", \"x\": " << f.PlayerX << ", \"y\": " << f.PlayerY
        << ", \"facing\": " << Quoted(f.Facing ? "left" : "right")
        << ", \"ActionName\": " << Quoted(std::string(f.ActionName.view())) << ", \"CurrentFrame\": " << f.CurrentFrame
        << ", \"MoveState\": " << Quoted(std::string(f.MoveState.view())) << ", \"health\": " << f.Health
        << ", \"ComboCount\": " << f.ComboCount << ", \"HitFlag\": " << (f.HitFlag ? "true" : "false")
        << ", \"grabCaught\": " << (f.grabCaught ? "true" : "false")
        << ", \"PowerMode\": " << (f.PowerMode ? "true" : "false")
        << ", \"DamageMultiplier\": " << f.DamageMultiplier
        << ", \"RoundWins\": " << fight.RoundWins[p]
        << ", \"KeySequence\": " << Quoted(std::string(f.history.KeySequence.view()))
        << ", \"effects\": " << Quoted(RunningEffects(fight, slots, p));
    if (const ComputerState& cpu = fight.computer[p]; cpu.plays)
      out << ", \"computer\": " << Quoted(ComputerStepName(cpu.state))
          << ", \"level\": " << slots.setup.Level(p)
          << ", \"lastSeenAction\": " << Quoted(std::string(cpu.lastSeenAction.view()));
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
      << fight.round << ",\n  \"stateHash\": \"" << hash << "\",\n  \"state\": ";
  JsonWriter writer(out);
  writer("", fight);
  out << "\n}\n";
  return out.str();
}

}  // namespace vdx
