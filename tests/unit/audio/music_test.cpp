#include "audio/music.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/headless/headless_platform.h"
#include "unit/sound_samples.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

int Count(const platform::HeadlessPlatform& p, const std::string& prefix) {
  return static_cast<int>(
      std::count_if(p.audioCalls().begin(), p.audioCalls().end(),
                    [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
}

class Music : public ::testing::Test {
 protected:
  Music() : paths(folder.path()) {
    folder.write("Stages/Music/menu.ogg", testing::ShortOgg());
    folder.write("Stages/Music/harbour.ogg", testing::ShortOgg());
    folder.write("Stages/Music/neon.WAV", testing::ShortWave());
    platform.openAudio();
    music.musicVolume = 70;
  }
  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  PathResolver paths;
  MusicState music;
};

TEST_F(Music, AFinishedTuneStartsAgainOnTheNextTimer) {
  StartMenuMusic(platform, paths, music);
  EXPECT_EQ(Count(platform, "playMusic"), 1);
  EXPECT_EQ(Count(platform, "setMusicVolume 70"), 1);
  EXPECT_TRUE(music.oggOn);

  MusicTimer(platform, music, 1000);  // playing: nothing to do
  EXPECT_EQ(Count(platform, "playMusic"), 1);
  platform.endMusic();
  MusicTimer(platform, music, 1100);  // not yet due (250 ms)
  EXPECT_EQ(Count(platform, "playMusic"), 1);
  MusicTimer(platform, music, 1250);
  EXPECT_EQ(Count(platform, "playMusic"), 2) << "the tune loops";
  EXPECT_TRUE(platform.musicPlaying());
}

TEST_F(Music, WithOggOffTheTimerDoesNothing) {
  StartMenuMusic(platform, paths, music);
  StopStageMusic(platform, music);
  EXPECT_FALSE(music.oggOn);
  EXPECT_TRUE(music.timerEnabled);
  for (std::uint32_t t = 0; t < 3000; t += 10)
    MusicTimer(platform, music, t);
  EXPECT_EQ(Count(platform, "playMusic"), 1);
}

TEST_F(Music, WavStageTunesLoopAsSoundsInAnyLetterCase) {
  StartStageMusic(platform, paths, music, "neon.WAV", -300);
  EXPECT_EQ(Count(platform, "playMusic"), 0) << "never the Ogg player";
  ASSERT_TRUE(music.musicBuffer.has_value());
  EXPECT_EQ(
      Count(platform, "playSound " + std::to_string(*music.musicBuffer) + " gain 0.7079 loop"), 1);
  StopStageMusic(platform, music);
  EXPECT_FALSE(music.musicBuffer.has_value());
  EXPECT_EQ(Count(platform, "stopSound"), 1);

  StartStageMusic(platform, paths, music, "harbour.ogg", 0);
  EXPECT_EQ(Count(platform, "playMusic"), 1);
  EXPECT_TRUE(music.oggOn);
  EXPECT_NE(music.oggFile.find("harbour.ogg"), std::string::npos);
}

TEST_F(Music, AWavTuneTheDeviceRefusesIsLetGo) {
  platform.failures().soundPlay = true;  // every channel busy
  StartStageMusic(platform, paths, music, "neon.WAV", 0);
  EXPECT_EQ(Count(platform, "playSound"), 1);
  EXPECT_FALSE(music.musicBuffer.has_value());
  EXPECT_EQ(platform.soundsLoaded(), 0) << "its sound was freed";
  StopStageMusic(platform, music);
  EXPECT_EQ(Count(platform, "stopSound"), 0);
}

TEST_F(Music, AMissingTuneIsPassedOnAndNothingPlays) {
  StartStageMusic(platform, paths, music, "gone.ogg", 0);
  EXPECT_FALSE(platform.musicPlaying());
  MusicTimer(platform, music, 500);
  EXPECT_EQ(Count(platform, "playMusic"), 2) << "asked again, quietly";
  StartStageMusic(platform, paths, music, "gone.wav", 0);
  EXPECT_FALSE(music.musicBuffer.has_value());
}

}  // namespace
}  // namespace vdx
