// What a fight frame tells the world outside the fight: the sounds to play.
// The rules never play a sound themselves, so a frame stepped again after a
// rollback, or stepped without anyone watching, is the same frame.
#pragma once

#include <array>
#include <string_view>

namespace vdx {

struct FightEvents {
  // More sounds than this in one frame are not played.
  static constexpr int kMaxSounds = 16;
  std::array<std::string_view, kMaxSounds> sounds{};  // names in the match's content
  int soundCount = 0;

  void sound(std::string_view name) {
    if (!name.empty() && soundCount < kMaxSounds) sounds[static_cast<std::size_t>(soundCount++)] = name;
  }
};

}  // namespace vdx
