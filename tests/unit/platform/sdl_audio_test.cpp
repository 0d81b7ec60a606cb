// The real backend's sound and music, on SDL's silent audio driver.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "core/files.h"
#include "platform/headless/headless_platform.h"
#include "platform/mixer_decoding.h"
#include "platform/platform.h"
#include "unit/fifo.h"
#include "unit/test_folder.h"

namespace vdx::platform {
namespace {

std::optional<SoundId> LoadDemoSound(Platform& platform, const std::string& name) {
  const auto wave = ReadWholeFile(std::string(VDX_DEMO_DIR) + "/Sounds/" + name);
  if (!wave) return std::nullopt;
  return platform.loadSound(
      std::span(reinterpret_cast<const std::uint8_t*>(wave->data()), wave->size()));
}

TEST(SdlAudio, PlaysTheDemoSoundsAndMusic) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  auto platform = CreateSdlPlatform();
  ASSERT_NO_THROW(platform->openAudio());
  const auto wave = ReadWholeFile(std::string(VDX_DEMO_DIR) + "/Sounds/punch.wav");
  ASSERT_TRUE(wave.has_value());
  const auto sound = platform->loadSound(
      std::span(reinterpret_cast<const std::uint8_t*>(wave->data()), wave->size()));
  ASSERT_TRUE(sound.has_value());
  platform->playSound(*sound, 0.5, false);
  platform->playSound(*sound, 1.0, true);  // several at once
  platform->stopSound(*sound);
  platform->freeSound(*sound);
  const std::uint8_t junk[] = {'n', 'o', 't', ' ', 'a', 'u', 'd', 'i', 'o'};
  EXPECT_FALSE(platform->loadSound(junk).has_value()) << "not a sound: refused, no crash";

  EXPECT_TRUE(platform->playMusic(std::string(VDX_DEMO_DIR) + "/Stages/Music/menu.ogg"));
  EXPECT_TRUE(platform->musicPlaying());
  platform->setMusicVolume(40);
  platform->stopMusic();
  EXPECT_FALSE(platform->musicPlaying());
  EXPECT_FALSE(platform->playMusic(std::string(VDX_DEMO_DIR) + "/Stages/Music/none.ogg"));
  platform->closeAudio();
}

TEST(SdlAudio, EachPlayKeepsItsOwnGainAndARefusedPlayIsReported) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  auto platform = CreateSdlPlatform();
  ASSERT_NO_THROW(platform->openAudio());
  const auto sound = LoadDemoSound(*platform, "punch.wav");
  ASSERT_TRUE(sound.has_value());
  // Both loop, so both are still on their channels when they are read back.
  ASSERT_TRUE(platform->playSound(*sound, 1.0, true));
  ASSERT_TRUE(platform->playSound(*sound, 0.25, true));
  std::vector<int> volumes;
  Mix_Chunk* chunk = nullptr;
  for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel) {
    if (Mix_Playing(channel) == 0) continue;
    volumes.push_back(Mix_Volume(channel, -1));
    chunk = Mix_GetChunk(channel);
  }
  std::sort(volumes.begin(), volumes.end());
  EXPECT_EQ(volumes, (std::vector<int>{MIX_MAX_VOLUME / 4, MIX_MAX_VOLUME}))
      << "one channel at each gain";
  ASSERT_NE(chunk, nullptr);
  EXPECT_EQ(Mix_VolumeChunk(chunk, -1), MIX_MAX_VOLUME) << "the shared chunk stays at full volume";

  // One channel, taken by a looping sound: the next play cannot start.
  Mix_AllocateChannels(1);
  ASSERT_EQ(Mix_Playing(-1), 1);
  EXPECT_FALSE(platform->playSound(*sound, 1.0, false)) << "every channel busy";
  platform->stopSound(*sound);
  EXPECT_TRUE(platform->playSound(*sound, 0.5, false)) << "the channel is free again";
  EXPECT_EQ(Mix_Volume(0, -1), MIX_MAX_VOLUME / 2);

  EXPECT_FALSE(platform->playSound(*sound + 1, 1.0, false)) << "no such sound";
  const auto other = LoadDemoSound(*platform, "punch.wav");
  ASSERT_TRUE(other.has_value());
  platform->freeSound(*sound);
  EXPECT_FALSE(platform->playSound(*sound, 1.0, false)) << "a freed sound";
  platform->closeAudio();
  EXPECT_FALSE(platform->playSound(*other, 1.0, false)) << "the device is closed";
}

// Writes a little-endian 32-bit number into the file's bytes.
void Put32At(std::string& bytes, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    bytes[at + i] = static_cast<char>(v >> (8 * i));
}

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(SdlAudio, ChecksHeadersBeforeTheMixerSeesThem) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  auto platform = CreateSdlPlatform();
  ASSERT_NO_THROW(platform->openAudio());
  const auto wave = ReadWholeFile(std::string(VDX_DEMO_DIR) + "/Sounds/punch.wav");
  ASSERT_TRUE(wave.has_value());
  const std::size_t data = wave->find("data");
  const std::size_t format = wave->find("fmt ");
  ASSERT_NE(data, std::string::npos);
  ASSERT_NE(format, std::string::npos);

  std::string cut = *wave;
  Put32At(cut, data + 4, 0xFFFFFFF0);  // a data chunk of 4 GB claimed
  EXPECT_TRUE(platform->loadSound(Bytes(cut)).has_value()) << "plays the bytes it holds";
  std::string slow = *wave;
  Put32At(slow, format + 12, 8);  // 8 samples a second
  EXPECT_FALSE(platform->loadSound(Bytes(slow)).has_value());

  testing::TestFolder folder;
  // The same tune with 3 GB of tags claimed before its samples.
  std::string tagged =
      wave->substr(0, data) + "LIST" + std::string(4, '\0') + "INFO" + wave->substr(data);
  Put32At(tagged, data + 4, 0xC0000000);
  EXPECT_FALSE(platform->playMusic(folder.write("tagged.wav", tagged).string()));
  EXPECT_TRUE(platform->playMusic(folder.write("plain.wav", *wave).string()));
  platform->stopMusic();
  platform->closeAudio();
}

TEST(SdlAudio, TheHeadlessBackendAcceptsAndRefusesTheSameSoundsAndMusic) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  auto sdl = CreateSdlPlatform();
  ASSERT_NO_THROW(sdl->openAudio());
  HeadlessPlatform headless;
  headless.openAudio();

  const auto wave = ReadWholeFile(std::string(VDX_DEMO_DIR) + "/Sounds/punch.wav");
  const auto ogg = ReadWholeFile(std::string(VDX_DEMO_DIR) + "/Stages/Music/menu.ogg");
  const auto wave16 = ReadWholeFile(std::string(VDX_DEMO_DIR) + "/Stages/Music/neon.WAV");
  ASSERT_TRUE(wave && ogg && wave16);
  std::string slow = *wave;
  Put32At(slow, wave->find("fmt ") + 12, 8);  // 8 samples a second
  std::string badFormat = *wave;
  badFormat[wave->find("fmt ") + 8] = 0x55;  // a compression no reader knows
  const std::vector<std::pair<std::string, std::string>> files = {
      {"an 8-bit WAV", *wave},
      {"a 16-bit WAV", *wave16},
      {"Ogg Vorbis", *ogg},
      {"a WAV cut in its header", wave->substr(0, 30)},
      {"a WAV cut in its samples", wave->substr(0, wave->size() / 2)},
      {"a WAV of 8 samples a second", slow},
      {"a WAV of an unknown compression", badFormat},
      {"Ogg cut short", ogg->substr(0, 200)},
      {"a header alone", std::string("RIFF\x24\0\0\0WAVEfmt ", 16)},
      {"text", "just some words"},
      {"one byte", "x"},
      {"an AIFF header alone", std::string("FORM\0\0\0\x04AIFF", 12)},
  };
  testing::TestFolder folder;
  int accepted = 0;
  for (const auto& [what, bytes] : files) {
    const auto bySdl = sdl->loadSound(Bytes(bytes));
    const auto byHeadless = headless.loadSound(Bytes(bytes));
    EXPECT_EQ(bySdl.has_value(), byHeadless.has_value()) << what << " as a sound";
    accepted += bySdl.has_value();
    if (bySdl) sdl->freeSound(*bySdl);
    const std::string path = folder.write("music.ogg", bytes).string();
    const bool sdlPlays = sdl->playMusic(path);
    sdl->stopMusic();
    EXPECT_EQ(sdlPlays, headless.playMusic(path)) << what << " as music";
    headless.stopMusic();
  }
  EXPECT_GE(accepted, 3) << "the real sounds are read";
  EXPECT_LT(accepted, static_cast<int>(files.size())) << "and the others refused";
  headless.closeAudio();
  sdl->closeAudio();
}

// A pipe (or a folder, or a device) named like the music is refused at once by
// both backends: opening a pipe for reading would wait for a writer for ever.
TEST(SdlAudio, NeitherBackendWaitsOnAPipeInPlaceOfTheMusic) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  auto sdl = CreateSdlPlatform();
  ASSERT_NO_THROW(sdl->openAudio());
  HeadlessPlatform headless;
  headless.openAudio();
  testing::TestFolder folder;
  const auto fifo = folder.path() / "Stages" / "Music" / "menu.ogg";
  testing::MakeFifo(fifo);
  std::filesystem::create_directory(folder.path() / "folder.ogg");
  for (const std::string& path :
       {fifo.string(), (folder.path() / "folder.ogg").string(), std::string("/dev/zero")}) {
    testing::ExpectNoWaitOnPipe(
        fifo,
        [&] {
          std::vector<std::uint8_t> bytes;
          EXPECT_FALSE(ReadMusicFile(path, bytes)) << path;
          EXPECT_FALSE(sdl->playMusic(path)) << path;
          EXPECT_FALSE(headless.playMusic(path)) << path;
        },
        "the music reader");
  }
  headless.closeAudio();
  sdl->closeAudio();
}

}  // namespace
}  // namespace vdx::platform
