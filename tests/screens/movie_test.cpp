// Movies decoded with the real decoder on the headless platform.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "audio/movie_player.h"
#include "game/movie_sequences.h"
#include "platform/headless/headless_platform.h"
#include "platform/movie_decoder.h"
#include "platform/picture_files.h"
#include "startup/main_routine.h"
#include "unit/fifo.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

const std::string kTitle = std::string(VDX_DEMO_DIR) + "/Movies/VDTitle.avi";

TEST(MovieDecoder, ReadsTheDemoTitle) {
  auto movie = platform::OpenMovieFile(kTitle);
  ASSERT_NE(movie, nullptr);
  EXPECT_EQ(movie->width(), 320);
  EXPECT_EQ(movie->height(), 240);
  EXPECT_NEAR(movie->duration(), 4.0, 0.01);
  EXPECT_NEAR(movie->frameRate(), 10.0, 0.01);
  platform::Image frame, first;
  double time = 0;
  int frames = 0;
  while (movie->nextFrame(frame, time)) {
    if (frames == 0) first = frame;
    EXPECT_NEAR(time, frames / 10.0, 1e-6);
    ++frames;
  }
  EXPECT_EQ(frames, 40);
  EXPECT_NE(frame.pixels, first.pixels) << "the title animates";
  ASSERT_TRUE(movie->rewind());
  ASSERT_TRUE(movie->nextFrame(frame, time));
  EXPECT_EQ(frame.pixels, first.pixels);
  EXPECT_EQ(platform::OpenMovieFile("/nonexistent.avi"), nullptr);

  // The title's jingle: 4 s of 16-bit stereo at 44100 Hz, as a WAV file.
  const auto track = movie->soundTrack();
  ASSERT_GT(track.size(), 44u);
  EXPECT_EQ(std::string(track.begin(), track.begin() + 4), "RIFF");
  EXPECT_NEAR(static_cast<double>(track.size() - 44) / (44100 * 4), 4.0, 0.1);
  auto silent = platform::OpenMovieFile(std::string(VDX_DEMO_DIR) + "/Characters/kira/wingame.avi");
  ASSERT_NE(silent, nullptr);
  EXPECT_TRUE(silent->soundTrack().empty()) << "a movie without sound";
}

class MovieGame : public ::testing::Test {
 protected:
  MovieGame() {
    std::filesystem::create_directories(folder.path() / "Movies");
    std::filesystem::copy_file(kTitle, folder.path() / "Movies" / "VDTitle.avi");
    folder.write("Game.xml", R"(<G><Player1Keys Punch="30"/><PleaseWait Text="Wait"/></G>)");
  }
  // Starts the game with no key held for 9 seconds, then Escape; returns the
  // screens at 1, 5 and 6.5 seconds.
  std::vector<platform::Image> PlayTheTitleForNineSeconds() {
    std::vector<platform::Image> shots;
    auto script = platform::ParseScript(
        "wait 1000\nscreenshot " + shot("a") + "\nwait 4000\nscreenshot " + shot("b") +
        "\nwait 1500\nscreenshot " + shot("c") + "\nwait 2500\npress Escape\nwait 300\nquit\n");
    platform.runScript(std::get<platform::Script>(script));
    Game game(platform, folder.path());
    EXPECT_EQ(Main(game, "1"), 0);
    EXPECT_EQ(platform.screenshotsWritten().size(), 3u);
    for (const char* name : {"a", "b", "c"})
      if (auto image = platform::ReadPng(shot(name))) shots.push_back(std::move(*image));
    return shots;
  }
  std::string shot(const char* name) const { return (folder.path() / name).string() + ".png"; }

  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
};

TEST_F(MovieGame, TheTitleLoopsUntilAKey) {
  // No key for 9 seconds: the 4-second title plays twice and goes on; then
  // Escape ends it and start-up goes on to the menu picture.
  const auto shots = PlayTheTitleForNineSeconds();
  ASSERT_EQ(shots.size(), 3u);
  EXPECT_EQ(shots[0].pixels, shots[1].pixels)
      << "4 seconds later the movie shows the same frame again";
  EXPECT_NE(shots[0].pixels, shots[2].pixels) << "and it moves";
  EXPECT_EQ(platform.lastFrame()[320 * 640 + 320], 0u)
      << "after the key, the (black) menu";
}

TEST_F(MovieGame, ReturnSpaceAndAControllersStartEndTheTitleToo) {
  // The folder's menu has no picture and no items: a black screen once the
  // title is over.
  auto blackAfter = [this](const std::string& script, bool startHeld) {
    platform::HeadlessPlatform machine;
    if (startHeld) {
      platform::ControllerState pad;
      pad.buttons[platform::kStartButton] = 0x80;
      machine.setControllers({pad});
    }
    machine.runScript(std::get<platform::Script>(platform::ParseScript(
        script + "wait 500\nscreenshot " + shot("after") + "\nquit\n")));
    Game game(machine, folder.path());
    EXPECT_EQ(Main(game, "1"), 0);
    const auto after = platform::ReadPng(shot("after"));
    return after && std::all_of(after->pixels.begin(), after->pixels.end(),
                                [](std::uint32_t p) { return (p & 0xFFFFFF) == 0; });
  };
  EXPECT_FALSE(blackAfter("wait 1000\n", false)) << "without a key the title goes on";
  EXPECT_TRUE(blackAfter("wait 1000\ntap Return\n", false));
  EXPECT_TRUE(blackAfter("wait 1000\ntap Space\n", false));
  EXPECT_TRUE(blackAfter("wait 1000\n", true)) << "a controller's Start";
}

TEST_F(MovieGame, TheTitlePlaysOnThroughTheTickCounterWrapping) {
  // The clock passes 2^32 - 1 two seconds into the title: the movie keeps its
  // pace (a frame every 100 ms), loops after 4 seconds and still ends on a key.
  platform.setTicks(0u - 3000u);
  const std::uint32_t start = platform.ticks();
  const auto shots = PlayTheTitleForNineSeconds();
  EXPECT_LT(platform.ticks(), start) << "the clock wrapped";
  ASSERT_EQ(shots.size(), 3u);
  EXPECT_EQ(shots[0].pixels, shots[1].pixels)
      << "across the wrap, 4 seconds later the same frame again";
  EXPECT_NE(shots[0].pixels, shots[2].pixels) << "and it moves";
  // 9 seconds of a 10-frame-a-second movie, then the menu.
  EXPECT_GE(platform.framesPresented(), 88);
  EXPECT_LE(platform.framesPresented(), 110);
  EXPECT_EQ(platform.lastFrame()[320 * 640 + 320], 0u) << "Escape ended it";
}

// FFmpeg is handed the file we opened, never a path of its own to open: a pipe
// named like the movie (or a folder, or a device) is refused at once.
TEST(MovieDecoder, NeverWaitsOnAPipeInPlaceOfTheMovie) {
  testing::TestFolder folder;
  const auto fifo = folder.path() / "Movies" / "VDTitle.avi";
  testing::MakeFifo(fifo);
  std::filesystem::create_directory(folder.path() / "folder.avi");
  for (const std::string& path :
       {fifo.string(), (folder.path() / "folder.avi").string(), std::string("/dev/zero")})
    testing::ExpectNoWaitOnPipe(
        fifo, [&] { EXPECT_EQ(platform::OpenMovieFile(path), nullptr) << path; },
        "the movie decoder");
}

TEST_F(MovieGame, MissingOrBrokenMoviesAreSkipped) {
  std::filesystem::remove(folder.path() / "Movies" / "VDTitle.avi");
  platform.requestCloseAfter(100);
  Game game(platform, folder.path());
  EXPECT_EQ(Main(game, "1"), 0);
  for (const std::string& call : platform.audioCalls())
    EXPECT_EQ(call.find("openMovie"), std::string::npos) << "a missing title is not even opened";

  folder.write("Movies/VDTitle.avi", "RIFF not really a movie");
  platform::HeadlessPlatform other;
  other.requestCloseAfter(100);
  Game second(other, folder.path());
  EXPECT_EQ(Main(second, "1"), 0);
  EXPECT_NE(folder.read("log.txt").find("cannot be decoded"), std::string::npos);
}

TEST_F(MovieGame, EventMoviesIgnoreKeysForTwoSeconds) {
  Game game(platform, folder.path());
  game.settings.Player1Keys.Punch = 30;
  platform.setKey(30, true);  // punch held from the start
  const std::uint32_t begin = platform.ticks();
  PlayEventMovie(game, "\\Movies\\VDTitle.avi");
  EXPECT_GE(platform.ticks() - begin, 2000u) << "the held key waited out the first two seconds";
  EXPECT_LT(platform.ticks() - begin, 2100u) << "then it ended the movie at once";
  EXPECT_GT(platform.framesPresented(), 10);

  platform.setKey(30, false);
  const std::uint32_t start = platform.ticks();
  PlayEventMovie(game, "\\Movies\\VDTitle.avi");
  EXPECT_NEAR(static_cast<double>(platform.ticks() - start), 4000.0, 50.0)
      << "with no key it plays to its end";
}

TEST(MoviePlayer, PositionRateAndRewind) {
  platform::HeadlessPlatform platform;
  clsDShowControl player(platform);
  ASSERT_TRUE(player.DS_OpenFile(kTitle, 0, 0, 640, 480));
  EXPECT_NEAR(player.DS_GetDuration(), 4.0, 0.01);
  player.DS_Play();
  platform.advance(1500);
  EXPECT_NEAR(player.DS_GetPosition(), 1.5, 1e-9);
  player.DS_SetRate(2.0);
  platform.advance(500);
  EXPECT_NEAR(player.DS_GetPosition(), 2.5, 1e-9);
  player.DS_Pause();
  platform.advance(1000);
  EXPECT_NEAR(player.DS_GetPosition(), 2.5, 1e-9);
  player.DS_Seek(10);
  EXPECT_FALSE(player.DS_StillPlaying(0)) << "at the end";
  player.DS_Play();
  EXPECT_NEAR(player.DS_GetPosition(), 0.0, 1e-9) << "playing at the end rewinds";
  Surface screen = MakeSurface(640, 480, 0x123456);
  EXPECT_TRUE(player.DS_Render(screen));
  EXPECT_EQ(screen.at(0, 0) == 0x123456u, false) << "the frame fills the rectangle";
  player.DS_SetVolume(-500);
  player.DS_SetBalance(100);
  EXPECT_EQ(player.DS_GetVolume(), -500);
  EXPECT_EQ(player.DS_GetBalance(), 100);
  player.DS_Stop();
  EXPECT_NEAR(player.DS_GetPosition(), 0.0, 1e-9);
}

}  // namespace
}  // namespace vdx
