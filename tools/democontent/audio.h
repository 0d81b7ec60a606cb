// Sounds and music of the demo folder, synthesised: 8-bit mono WAV effects,
// and short looping tunes written as Ogg Vorbis (or WAV).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace democontent {

using Samples = std::vector<float>;  // mono, -1..1

inline constexpr int kEffectRate = 11025;
inline constexpr int kMusicRate = 22050;

// The game's shared effects: punch, kick, hit, block, jump, ko, fireball, PowerUp.
Samples EffectSound(const std::string& name);
// A fighter's own shout, pitched by `pitch` (1 = middle).
Samples Shout(double pitch, int seed);

enum class Tune { Menu, Harbour, Temple, Neon };
Samples Music(Tune tune, int rate);

std::vector<std::uint8_t> EncodeWav8(const Samples& samples, int rate);
std::vector<std::uint8_t> EncodeWav16(const Samples& samples, int rate);
std::vector<std::uint8_t> EncodeOgg(const Samples& samples, int rate, int serial);

}  // namespace democontent
