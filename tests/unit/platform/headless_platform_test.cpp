#include "platform/headless/headless_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <variant>

#include "platform/bmp_decoder.h"
#include "platform/picture_files.h"
#include "platform/text_renderer.h"
#include "unit/sound_samples.h"
#include "unit/test_folder.h"

namespace vdx::platform {
namespace {

std::vector<std::uint32_t> Frame(std::uint32_t colour) {
  return std::vector<std::uint32_t>(kFrameWidth * kFrameHeight, colour);
}

TEST(HeadlessPlatform, PlaysAScriptAgainstTheVirtualClock) {
  testing::TestFolder folder;
  const std::string early = (folder.path() / "early.png").string();
  const std::string late = (folder.path() / "late.png").string();
  auto script = ParseScript("wait 10\npress Return\nscreenshot " + early +
                            "\nwait 20\nrelease Return\nwait 5\nscreenshot " + late + "\n");
  ASSERT_TRUE(std::holds_alternative<Script>(script));
  HeadlessPlatform p;
  const std::uint32_t start = p.ticks();
  p.runScript(std::get<Script>(script));

  p.present(Frame(0x112233));
  EXPECT_EQ(p.keyboardState()[key::Return], 0);
  p.advance(9);
  EXPECT_EQ(p.keyboardState()[key::Return], 0);
  EXPECT_FALSE(p.pumpEvents());
  EXPECT_EQ(p.ticks() - start, 10u);
  EXPECT_NE(p.keyboardState()[key::Return], 0);
  p.present(Frame(0x445566));
  p.advance(100);  // passes the release, the second screenshot and the end
  EXPECT_EQ(p.keyboardState()[key::Return], 0);
  EXPECT_TRUE(p.pumpEvents()) << "a finished script asks the game to close";

  ASSERT_EQ(p.screenshotsWritten().size(), 2u);
  const auto first = ReadPng(early);
  const auto second = ReadPng(late);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->width, 640);
  EXPECT_EQ(first->height, 480);
  EXPECT_EQ(first->pixels[0], 0x112233u) << "the frame on screen at 10 ms";
  EXPECT_EQ(second->pixels[640 * 480 - 1], 0x445566u);
}

TEST(HeadlessPlatform, PlaysTheMouseAndTheWindowFocusFromAScript) {
  auto script = ParseScript("move 10 20\nwait 10\nclick 300 200\nfocus off\nwait 10\nfocus on\n");
  ASSERT_TRUE(std::holds_alternative<Script>(script));
  HeadlessPlatform p;
  EXPECT_FALSE(p.mouseState().over) << "the mouse is nowhere near the window yet";
  EXPECT_FALSE(p.hasInputFocus()) << "no window, no focus";
  p.openDisplay(false);
  p.showWindow();
  EXPECT_TRUE(p.hasInputFocus());
  p.runScript(std::get<Script>(script));

  MouseState m = p.mouseState();
  EXPECT_TRUE(m.over);
  EXPECT_EQ(m.x, 10);
  EXPECT_EQ(m.y, 20);
  EXPECT_FALSE(m.leftDown);
  p.advance(10);
  m = p.mouseState();
  EXPECT_EQ(m.x, 300);
  EXPECT_EQ(m.y, 200);
  EXPECT_TRUE(m.leftDown);
  p.advance(99);
  EXPECT_TRUE(p.mouseState().leftDown);
  p.advance(1);
  EXPECT_FALSE(p.mouseState().leftDown) << "released after 100 ms, where it was pressed";
  EXPECT_EQ(p.mouseState().x, 300);
  EXPECT_TRUE(p.hasInputFocus());
  p.advance(100);
  EXPECT_FALSE(p.hasInputFocus()) << "focus off";
  p.advance(10);
  EXPECT_TRUE(p.hasInputFocus()) << "focus on";
  p.closeDisplay();
  EXPECT_FALSE(p.hasInputFocus());
}

TEST(HeadlessPlatform, KeyPressesAreKeptUntilTakenEvenWhenTheKeyIsUpAgain) {
  // Z pressed and let go in the same millisecond; X held from 5 ms on.
  auto script = ParseScript("press Z\nrelease Z\nwait 5\npress X\nwait 10\npress X\n");
  ASSERT_TRUE(std::holds_alternative<Script>(script));
  HeadlessPlatform p;
  p.runScript(std::get<Script>(script));
  p.advance(1);
  EXPECT_EQ(p.keyboardState()[0x2C], 0) << "Z is up again";
  KeyboardState presses = p.takeKeyPresses();
  EXPECT_NE(presses[0x2C], 0) << "but its press is kept";
  EXPECT_EQ(presses[0x2D], 0);
  EXPECT_EQ(p.takeKeyPresses()[0x2C], 0) << "taken once";
  p.advance(5);
  presses = p.takeKeyPresses();
  EXPECT_NE(presses[0x2D], 0);
  EXPECT_EQ(std::count_if(presses.begin(), presses.end(), [](auto b) { return b != 0; }), 1);
  p.advance(10);
  EXPECT_NE(p.keyboardState()[0x2D], 0);
  EXPECT_EQ(p.takeKeyPresses()[0x2D], 0) << "a press of a key already down is no new press";
}

TEST(HeadlessPlatform, WritesABmpScreenshotForABmpName) {
  testing::TestFolder folder;
  const std::string shot = (folder.path() / "Shot.BMP").string();
  auto script = ParseScript("wait 5\nscreenshot " + shot + "\n");
  ASSERT_TRUE(std::holds_alternative<Script>(script));
  // Every pixel different, so a flipped, shifted or colour-swapped file shows.
  std::vector<std::uint32_t> frame(kFrameWidth * kFrameHeight);
  for (int y = 0; y < kFrameHeight; ++y)
    for (int x = 0; x < kFrameWidth; ++x)
      frame[static_cast<std::size_t>(y) * kFrameWidth + x] =
          static_cast<std::uint32_t>(x << 14 | y << 4 | (x + y) % 7);
  HeadlessPlatform p;
  p.runScript(std::get<Script>(script));
  p.present(frame);
  p.advance(10);
  ASSERT_EQ(p.screenshotsWritten(), std::vector<std::string>{shot});
  const std::string bytes = folder.read("Shot.BMP");
  ASSERT_EQ(bytes.substr(0, 2), "BM") << "a bitmap, not a PNG under a .bmp name";
  const auto image =
      DecodeBmp(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, kFrameWidth);
  EXPECT_EQ(image->height, kFrameHeight);
  EXPECT_EQ(image->pixels, frame);
}

TEST(HeadlessPlatform, RecordsDesktopCallsAndFailsOnRequest) {
  HeadlessPlatform p;
  p.showMessageBox("T", "text", MessageBoxIcon::Critical);
  p.openDocument("/g/HTML/Vandrel.htm");
  p.startProgram("/g/vdx", {"SHOWFPS"});
  ASSERT_EQ(p.messageBoxes().size(), 1u);
  EXPECT_EQ(p.messageBoxes()[0].title, "T");
  ASSERT_EQ(p.shellCalls().size(), 2u);
  EXPECT_EQ(p.shellCalls()[1].args, std::vector<std::string>{"SHOWFPS"});

  p.failures().display = true;
  p.failures().audio = true;
  EXPECT_THROW(p.openDisplay(false), PlatformError);
  EXPECT_THROW(p.openAudio(), PlatformError);
  EXPECT_EQ(p.audioCalls(), std::vector<std::string>{"openAudio"});

  p.setControllers({ControllerState{3999, 6001, {}}});
  EXPECT_EQ(p.controllerCount(), 1);
  EXPECT_EQ(p.readController(0)->x, 3999);
  EXPECT_FALSE(p.readController(1));
}

TEST(HeadlessPlatform, PlaysOnlyLoadedSoundsAndRecordsEveryPlay) {
  HeadlessPlatform p;
  p.openAudio();
  const std::string wave = testing::ShortWave();
  const auto sound =
      p.loadSound(std::span(reinterpret_cast<const std::uint8_t*>(wave.data()), wave.size()));
  ASSERT_TRUE(sound);
  EXPECT_TRUE(p.playSound(*sound, 1.0, false));
  EXPECT_FALSE(p.playSound(*sound + 1, 1.0, false)) << "no such sound";
  p.failures().soundPlay = true;
  EXPECT_FALSE(p.playSound(*sound, 0.5, true)) << "every channel busy";
  p.failures().soundPlay = false;
  p.freeSound(*sound);
  EXPECT_FALSE(p.playSound(*sound, 1.0, false)) << "a freed sound";
  EXPECT_EQ(p.soundsLoaded(), 0);
  const std::string id = std::to_string(*sound);
  EXPECT_EQ(p.audioCalls(), (std::vector<std::string>{
                                "openAudio", "loadSound " + id, "playSound " + id + " gain 1.0000",
                                "playSound " + std::to_string(*sound + 1) + " gain 1.0000",
                                "playSound " + id + " gain 0.5000 loop", "freeSound " + id,
                                "playSound " + id + " gain 1.0000"}))
      << "refused plays are recorded too";

  // A long run keeps only its recent calls: between one and two blocks of them.
  for (std::size_t i = 0; i < 5 * HeadlessPlatform::kAudioCallsKept; ++i)
    p.setMusicVolume(static_cast<int>(i % 101));
  EXPECT_GE(p.audioCalls().size(), HeadlessPlatform::kAudioCallsKept);
  EXPECT_LT(p.audioCalls().size(), 2 * HeadlessPlatform::kAudioCallsKept);
  EXPECT_EQ(p.audioCalls().back(),
            "setMusicVolume " + std::to_string((5 * HeadlessPlatform::kAudioCallsKept - 1) % 101));
  const std::size_t kept = p.audioCalls().size();
  p.setRecordingAudioCalls(false);
  p.stopMusic();
  EXPECT_EQ(p.audioCalls().size(), kept) << "a run that reads no record keeps none";
}

TEST(HeadlessPlatform, DecodesBitmaps) {
  // A 2 x 2 24-bit bitmap, rows bottom-up: blue, green / red, white.
  const std::uint8_t bmp[] = {
      'B', 'M', 70,  0,   0,   0,   0, 0, 0, 0, 54, 0, 0, 0,  // file header
      40,  0,   0,   0,   2,   0,   0, 0, 2, 0, 0,  0, 1, 0, 24, 0, 0, 0, 0, 0,
      16,  0,   0,   0,   0,   0,   0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0,  // info header
      255, 0,   0,   0,   255, 0,   0, 0,  // bottom row: blue, green, padding
      0,   0,   255, 255, 255, 255, 0, 0,  // top row: red, white, padding
  };
  HeadlessPlatform p;
  const auto image = p.decodeBmp(bmp);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 2);
  EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{0xFF0000, 0xFFFFFF, 0x0000FF, 0x00FF00}));
  EXPECT_FALSE(p.decodeBmp(std::span(bmp, 30))) << "a cut-off bitmap is refused";
  std::vector<std::uint8_t> huge(std::begin(bmp), std::end(bmp));
  huge[18] = 0xFF;  // width 0x0000FFFF... claimed, far more than the file holds
  huge[19] = 0xFF;
  huge[20] = 0xFF;
  EXPECT_FALSE(p.decodeBmp(huge)) << "a header claiming a giant picture is refused";
  std::vector<std::uint8_t> tall(std::begin(bmp), std::end(bmp));
  tall[22] = 3;  // three rows claimed, two in the file
  EXPECT_FALSE(p.decodeBmp(tall)) << "rows missing from the file";
  const std::uint8_t notBmp[] = {'G', 'I', 'F', '8'};
  EXPECT_FALSE(p.decodeBmp(notBmp));
}

TEST(HeadlessPlatform, TextAlwaysComesFromDejaVuSans) {
  // Whatever fonts the machine has, headless text is drawn from one font file,
  // so the same script gives the same pictures everywhere.
  TextRenderer fixed(FontChoice::Fixed);
  EXPECT_EQ(fixed.fontFileFor({"Times New Roman", 12, false, false}),
            "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  EXPECT_EQ(fixed.fontFileFor({"Courier New", 12, false, true}),
            "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  EXPECT_EQ(fixed.fontFileFor({"Arial", 12, true, false}),
            "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf");
  HeadlessPlatform p;
  const auto serif = p.renderText({"Times New Roman", 14, false, false}, "Please Wait");
  const auto mono = p.renderText({"Courier New", 14, false, false}, "Please Wait");
  ASSERT_TRUE(serif && mono);
  EXPECT_GT(serif->width, 40);
  EXPECT_EQ(serif->width, mono->width);
  EXPECT_EQ(serif->coverage, mono->coverage) << "two typefaces, one font";
  const auto bold = p.renderText({"Times New Roman", 14, true, false}, "Please Wait");
  ASSERT_TRUE(bold);
  EXPECT_NE(bold->coverage, serif->coverage);
}

}  // namespace
}  // namespace vdx::platform
