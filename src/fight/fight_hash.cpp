#include "fight/fight_hash.h"

#include <cstring>
#include <string>
#include <string_view>

#include "fight/replay.h"

namespace vdx {
namespace {

class Fnv1a {
 public:
  void bytes(const void* data, std::size_t size) {
    hash_ = Fnv1a64(std::string_view(static_cast<const char*>(data), size), hash_);
  }
  template <typename T>
  void value(T v) {
    static_assert(std::is_arithmetic_v<T> || std::is_enum_v<T>);
    bytes(&v, sizeof v);
  }
  void text(const std::string& s) {
    value(s.size());
    bytes(s.data(), s.size());
  }
  std::uint64_t result() const { return hash_; }

 private:
  std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

void HashFighter(Fnv1a& h, const FighterState& f) {
  h.text(f.ActionName);
  h.text(f.MoveState);
  h.text(f.previousAction);
  h.value(f.CurrentFrame);
  h.value(f.frameCounter);
  h.value(f.AnimDue);
  h.value(f.PlayerX);
  h.value(f.PlayerY);
  h.value(f.Facing);
  h.value(f.Health);
  h.value(f.holdCounter);
  h.value(f.turnedBack);
  h.value(f.specialMatched);
  h.value(f.HitFlag);
  h.value(f.blockMarker);
  h.value(f.DamageMultiplier);
  h.value(f.FighterRect.Left);
  h.value(f.FighterRect.Top);
  h.value(f.FighterRect.Right);
  h.value(f.FighterRect.Bottom);
  h.text(f.ignoredLetters);
  h.value(f.ComboCount);
  h.value(f.ComboDeadline);
  h.value(f.attackBlocked);
  h.value(f.grabCaught);
  h.value(f.PowerMode);
  h.value(f.PowerModeEnds);
  for (const TrailImage& image : f.trail) {
    h.value(image.frame);
    h.value(image.x);
    h.value(image.y);
    h.value(image.width);
    h.value(image.facing);
  }
  h.value(f.trailRefreshed);
}

// What the fight changes in an effect: where it is, how far it has run.
void HashEffect(Fnv1a& h, const cEffect& e) {
  h.value(e.bActive);
  h.value(e.bFlip);
  h.value(e.X);
  h.value(e.Y);
  h.value(e.Width);
  h.value(e.Height);
  h.value(e.CurFrame);
  h.value(e.Duration);
  h.value(e.LastTickCount);
  h.value(e.DelayCount);
  h.value(e.HasHit);
  h.value(e.bFirst);
  h.value(e.Angle);
  h.value(e.Alpha);
}

}  // namespace

std::uint64_t HashFightState(const FightState& fight, const FightSlots& slots,
                             const InputState& input, const RandomGenerator& random) {
  Fnv1a h;
  h.value(fight.frameNumber);
  for (int p = 1; p <= 2; ++p) {
    HashFighter(h, fight.fighters[p]);
    h.value(fight.RoundWins[p]);
    h.text(input.HeldCommand[p]);
    h.value(input.Facing[p]);
    const KeyHistory& history = input.history[p];
    h.text(history.lastCommand);
    h.text(history.KeySequence);
    for (const cSpecialKeys& entry : history.entries) {
      h.text(entry.Key);
      h.value(entry.Timestamp);
    }
  }
  h.value(fight.round);
  h.value(fight.RoundLoser);
  h.value(fight.FightStarted);
  h.value(fight.PauseRequested);
  h.text(fight.pauseCommand);
  h.value(fight.pauseMenu.selected);
  h.value(fight.pauseMenu.chosen);
  h.value(fight.pauseMenu.polled);
  h.value(fight.pauseMenu.lastPoll);
  h.value(fight.leaveMatch);
  h.value(fight.CameraX);
  h.value(fight.firstPlayer);
  h.value(fight.pickUp.PowerUpKind);
  h.value(fight.pickUp.falling);
  h.value(fight.pickUp.x);
  h.value(fight.pickUp.y);
  h.value(fight.pickUp.lifeEnds);
  h.value(fight.pickUp.nextFall);
  h.value(fight.flashCount);
  for (int i = 0; i < fight.flashCount; ++i) {
    const Flash& flash = fight.flashes[static_cast<std::size_t>(i)];
    h.value(flash.x);
    h.value(flash.y);
    h.value(flash.start);
    h.value(flash.duration);
    h.value(flash.angle);
    h.value(flash.lastTurn);
  }
  h.value(fight.bannerScale);
  h.value(fight.bannerStep);
  // Only the players the computer plays have a record (a two-player fight
  // hashes as it always did).
  for (int p = 1; p <= 2; ++p)
    if (const auto& cpu = fight.computer[p]) {
      h.value(p);
      h.value(cpu->decisionDelay);
      h.value(cpu->lastDecision);
      h.value(cpu->state);
      h.text(cpu->lastSeenAction);
      h.value(cpu->wantsCloseAttack);
      h.value(cpu->wantsFarAttack);
      h.value(cpu->backOffMark);
    }
  for (int p = 1; p <= 2; ++p) {
    for (const cEffect& e : slots.players[p].character.Effects)
      HashEffect(h, e);
    h.value(fight.bubbles[static_cast<std::size_t>(p)].Active);
  }
  h.value(fight.raining);
  h.value(fight.snowing);
  h.value(fight.rain.CTick);
  h.value(fight.rain.nRainDrops());
  h.value(random.state());
  return h.result();
}

std::uint64_t HashPicture(const Surface& picture) {
  Fnv1a h;
  h.value(picture.width);
  h.value(picture.height);
  h.bytes(picture.pixels.data(), picture.pixels.size() * sizeof(std::uint32_t));
  return h.result();
}

}  // namespace vdx
