#include "audio/sound_table.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/headless/headless_platform.h"
#include "unit/fifo.h"
#include "unit/sound_samples.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

const std::string kWave = testing::ShortWave();

bool Called(const platform::HeadlessPlatform& p, const std::string& call) {
  return std::find(p.audioCalls().begin(), p.audioCalls().end(), call) != p.audioCalls().end();
}

TEST(SoundVolume, HundredthsOfADecibelBecomeAGain) {
  EXPECT_DOUBLE_EQ(GainOf(0), 1.0);
  EXPECT_NEAR(GainOf(-2000), 0.1, 1e-12) << "20 dB down is a tenth";
  EXPECT_NEAR(GainOf(-3000), 0.0316228, 1e-6) << "the quietest setting";
  EXPECT_NEAR(GainOf(-600), 0.501187, 1e-6);
}

TEST(SoundTable, KeysAreFileNamesInAnyCaseAndTheTableIsRebuilt) {
  testing::TestFolder folder;
  LogFile log(folder.path() / "log.txt");
  folder.write("Sounds/Punch.WAV", kWave);
  folder.write("Sounds/PowerUp.wav", kWave);
  folder.write("Sounds/readme.txt", "not a sound");
  folder.write("Characters/kira/Sounds/kira_shout.wav", kWave);
  platform::HeadlessPlatform platform;
  platform.openAudio();
  const PathResolver paths(folder.path());
  SoundTable table;
  LoadSounds(platform, paths, table, {"\\Characters\\kira\\Sounds\\kira_shout.wav"}, log);
  EXPECT_EQ(table.Sounds.size(), 3u);
  EXPECT_NE(folder.read("log.txt").find("readme.txt is not a sound"), std::string::npos);

  PlaySound(platform, table, "punch.wav", -2000, log);
  PlaySound(platform, table, "KIRA_SHOUT.WAV", 0, log);
  EXPECT_TRUE(Called(
      platform, "playSound " + std::to_string(*table.Sounds.find("Punch.WAV")) + " gain 0.1000"));
  EXPECT_TRUE(Called(platform, "playSound " + std::to_string(*table.Sounds.find("kira_shout.wav")) +
                                   " gain 1.0000"));

  // The next fight finds exactly what is in the folder now.
  std::filesystem::remove(folder.path() / "Sounds" / "PowerUp.wav");
  folder.write("Sounds/kick.wav", kWave);
  LoadSounds(platform, paths, table, {}, log);
  EXPECT_EQ(table.Sounds.size(), 2u);
  EXPECT_EQ(table.Sounds.find("PowerUp.wav"), nullptr);
  EXPECT_NE(table.Sounds.find("KICK.wav"), nullptr);
  EXPECT_EQ(platform.soundsLoaded(), 2) << "the sounds of the last fight were let go";
}

TEST(SoundTable, AMissingSoundPlaysNothingAndIsLoggedOnce) {
  testing::TestFolder folder;
  LogFile log(folder.path() / "log.txt");
  platform::HeadlessPlatform platform;
  SoundTable table;
  for (int i = 0; i < 3; ++i)
    PlaySound(platform, table, "Nowhere.wav", 0, log);
  PlaySound(platform, table, "", 0, log);
  EXPECT_EQ(folder.read("log.txt"), "\"No sound named Nowhere.wav\"\r\n");
  EXPECT_TRUE(platform.audioCalls().empty());
}

TEST(SoundTable, ASoundTheDeviceRefusesIsLoggedOnce) {
  testing::TestFolder folder;
  LogFile log(folder.path() / "log.txt");
  folder.write("Sounds/punch.wav", kWave);
  folder.write("Sounds/kick.wav", kWave);
  platform::HeadlessPlatform platform;
  platform.openAudio();
  const PathResolver paths(folder.path());
  SoundTable table;
  LoadSounds(platform, paths, table, {}, log);
  platform.failures().soundPlay = true;  // every channel busy
  PlaySound(platform, table, "punch.wav", 0, log);
  PlaySound(platform, table, "PUNCH.WAV", 0, log);
  platform.failures().soundPlay = false;
  PlaySound(platform, table, "punch.wav", 0, log);
  PlaySound(platform, table, "kick.wav", 0, log);
  EXPECT_EQ(folder.read("log.txt"), "\"punch.wav could not be played\"\r\n");
  EXPECT_EQ(std::count_if(platform.audioCalls().begin(), platform.audioCalls().end(),
                          [](const std::string& c) { return c.starts_with("playSound"); }),
            4)
      << "a refused sound is still asked for the next time";
}

// A pipe in the Sounds folder is left out like any file that is not a sound,
// and never waited on.
TEST(SoundTable, APipeAmongTheSoundsIsLeftOutAtOnce) {
  testing::TestFolder folder;
  LogFile log(folder.path() / "log.txt");
  folder.write("Sounds/punch.wav", kWave);
  testing::MakeFifo(folder.path() / "Sounds" / "kick.wav");
  platform::HeadlessPlatform platform;
  platform.openAudio();
  const PathResolver paths(folder.path());
  SoundTable table;
  testing::ExpectNoWaitOnPipe(
      folder.path() / "Sounds" / "kick.wav", [&] { LoadSounds(platform, paths, table, {}, log); },
      "LoadSounds");
  EXPECT_EQ(table.Sounds.size(), 1u);
  EXPECT_NE(folder.read("log.txt").find("kick.wav is not a sound; it is left out"),
            std::string::npos)
      << folder.read("log.txt");
}

}  // namespace
}  // namespace vdx
