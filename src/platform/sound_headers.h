// Checks of sound and music headers, made before SDL_mixer sees the bytes.
//
// SDL's WAV reader and the mixer's AIFF reader allocate what a header claims
// before they read the data, and a file of a few kilobytes can claim
// gigabytes; the mixer also stretches every sound to the device's 44.1 kHz, so
// a sound that claims a rate of a few hertz grows ten thousand times over. The
// checks follow each reader's own way through the chunks (padding, where
// it stops), so that they see the chunks the reader will see.
//
// Plain byte checks, apart from the backend: the tests reach them without a
// window or a sound device.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vdx::platform {

// The sample rates we let through. Below 1000 Hz a "sound" is no real sound,
// and the mixer would make each second of it 44 100 / rate times longer;
// 384 kHz is the highest rate studio equipment records, and SDL's resampler
// miscounts its buffers for rates in the hundreds of millions.
inline constexpr std::uint32_t kMinSoundRate = 1000;    // Hz
inline constexpr std::uint32_t kMaxSoundRate = 384000;  // Hz

bool SoundRateIsSound(std::uint32_t rate);

// The mixer's music reader keeps the low byte of the channel count and hands
// it to SDL's converter, which divides by it; SDL converts 1 to 8 channels.
bool MusicChannelsAreSound(std::uint32_t channels);

// The bytes to hand to the mixer for a sound decoded whole (loadSound):
// nullopt to refuse, else `bytes` or a patched copy of them kept in `patched`.
// FLAC is checked for empty comments; other formats pass as they are.
std::optional<std::span<const std::uint8_t>> SoundBytesForMixer(std::span<const std::uint8_t> bytes,
                                                                std::vector<std::uint8_t>& patched);

// Whether the mixer may stream this music file. Its WAV and AIFF readers read
// some chunks (LIST, smpl and id3 tags; NAME, AUTH, (c) and ID3 ones) whole
// into memory they allocate first, and refuse the file when it holds less: such
// a file is refused here before. The sample data itself is streamed. WAV and
// AIFF files with rates outside kMinSoundRate..kMaxSoundRate or channel
// counts SDL cannot convert, and FLAC files with an empty comment (see
// FlacCommentsAreSound), are refused too: SDL or the mixer would crash on them.
bool MusicHeaderIsSound(std::span<const std::uint8_t> b);

// Readies a whole music file for the mixer: false when MusicHeaderIsSound
// refuses it; else its text chunks (a WAV file's LIST and id3 tags, an AIFF
// file's NAME, AUTH, (c), ANNO and ID3 ones) are renamed "JUNK" in place, so
// that the mixer steps over them. Its tag readers take the texts in them for
// strings ended by a zero byte and read past the chunk when there is none; the
// game shows no tags, and the lengths stay, so the walk through the file is
// the same.
bool ReadyMusicForMixer(std::vector<std::uint8_t>& bytes);

}  // namespace vdx::platform
