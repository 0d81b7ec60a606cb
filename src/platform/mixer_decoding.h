// The mixer's way of reading sounds and music, shared by both backends: the
// real one plays what it reads, the headless one only reads it, so both accept
// and refuse the same files.
#pragma once

#include <SDL_mixer.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vdx::platform {

// The device format every sound is converted to when it is read.
inline constexpr int kMixerRate = 44100;
inline constexpr int kMixerChannels = 2;
inline constexpr int kMixerBufferSamples = 1024;

// Opens SDL's audio and the mixer in the device format: on the system's sound
// device, or, when `silent`, on SDL's dummy driver, which needs no device and
// plays nothing. False (with SDL's error in `error`) when it cannot.
bool OpenMixer(bool silent, std::string& error);
void CloseMixer();

// A whole sound read and converted to the device format, or nullptr when the
// bytes are not a sound the mixer can read (or one it must not be handed:
// see SoundBytesForMixer). Free it with Mix_FreeChunk.
Mix_Chunk* DecodeSoundChunk(std::span<const std::uint8_t> bytes);

// Opens a music file for streaming from `bytes`, which hold the whole file and
// must outlive the music: nullptr when the mixer cannot play it. The bytes are
// readied for the mixer first (see ReadyMusicForMixer). `path` gives the
// mixer its first guess of the format, by the file name's ending.
Mix_Music* OpenMusicFromBytes(std::vector<std::uint8_t>& bytes, const std::string& path);

// Reads a whole music file; false when it cannot be read (a pipe, a device or
// a folder is never opened for reading) or is empty or larger than the mixer takes.
bool ReadMusicFile(const std::string& path, std::vector<std::uint8_t>& bytes);

}  // namespace vdx::platform
