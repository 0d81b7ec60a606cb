// The real backend's sound and music, on SDL's silent audio driver.
#include <gtest/gtest.h>

#include <cstdlib>
#include <span>

#include "core/files.h"
#include "platform/platform.h"

namespace vdx::platform {
namespace {

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

}  // namespace
}  // namespace vdx::platform
