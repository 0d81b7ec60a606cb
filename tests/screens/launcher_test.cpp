// vdxlaunch run whole on the headless platform: scripted clicks and keys, the
// saved Game.xml compared byte for byte, the desktop calls and the pictures.
#include <gtest/gtest.h>

#include <sstream>
#include <variant>

#include "content/get_xml.h"
#include "core/files.h"
#include "launcher/form_layout.h"
#include "launcher/form_view.h"
#include "launcher/imgui_canvas.h"
#include "launcher/launcher_run.h"
#include "launcher/save_settings.h"
#include "game/game.h"
#include "platform/headless/headless_platform.h"
#include "unit/test_folder.h"

namespace vdxlaunch {
namespace {

using vdx::platform::HeadlessPlatform;
using vdx::platform::MessageBoxIcon;
using vdx::platform::ShellCall;

// Windows line ends, a declared encoding, a comment and mixed quotes: all of
// it must survive a save.
constexpr const char* kGameXml =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
    "<!-- the settings; \xE9\x64ited by hand -->\r\n"
    "<Vandrel Name=\"Test\" Joystick=\"0\" MusicVolume='50'>\r\n"
    "  <Player1Keys Up=\"200\" Down=\"208\" Backword=\"203\" Forward=\"205\" Punch=\"30\" "
    "Kick=\"31\" Block=\"32\"/>\r\n"
    "  <Player2Keys Up=\"23\" Down=\"37\" Backword=\"36\" Forward=\"38\" Punch=\"16\" Kick=\"17\" "
    "Block=\"18\"/>\r\n"
    "  <Menu Color=\"H0000FF\"/>\r\n"
    "</Vandrel>\r\n";

std::string Click(const Rect& r) {
  return "click " + std::to_string(r.centreX()) + " " + std::to_string(r.centreY()) + "\n";
}

std::string Label(MenuLabel label) {
  return Click(kMenuLabelRects[static_cast<std::size_t>(label)]);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

class LauncherRun : public ::testing::Test {
 protected:
  LauncherRun() {
    folder.write("Game.xml", kGameXml);
    const auto keys = vdx::ReadWholeFile(std::string(VDX_DEMO_DIR) + "/keys.txt");
    EXPECT_TRUE(keys);
    folder.write("keys.txt", keys.value_or(""));
  }

  // Runs the launcher on the folder with the script; the run ends with EXIT,
  // START, or the end of the script (like closing the window).
  int run(const std::string& script) {
    auto parsed = vdx::platform::ParseScript(script);
    if (auto* error = std::get_if<vdx::platform::ScriptError>(&parsed)) {
      ADD_FAILURE() << error->message;
      return -1;
    }
    platform.runScript(std::get<vdx::platform::Script>(std::move(parsed)));
    launcher = folders ? LoadLauncher(*folders, errors, programDir)
                       : LoadLauncher(folder.path(), errors);
    startTicks = platform.ticks();
    return RunLauncher(platform, launcher, errors);
  }

  std::uint32_t elapsed() { return platform.ticks() - startTicks; }
  std::string gameXml() const { return folder.read("Game.xml"); }

  int count(const Rect& r, std::uint32_t colour) const {
    int n = 0;
    for (int y = r.y; y < r.y + r.height; ++y)
      for (int x = r.x; x < r.x + r.width; ++x)
        n += (platform.lastFrame()[static_cast<std::size_t>(y) * 640 + x] & 0xFFFFFF) == colour;
    return n;
  }

  vdx::testing::TestFolder folder;
  // Set to run as beside a read-only game folder.
  std::optional<vdx::PlayerFolders> folders;
  std::filesystem::path programDir;
  HeadlessPlatform platform;
  Launcher launcher;
  std::ostringstream errors;
  std::uint32_t startTicks = 0;
};

TEST_F(LauncherRun, BindsAClickedBoxToTheKeyPressedAndSavesOnlyThatValue) {
  EXPECT_EQ(run(Label(MenuLabel::Keyboard) + Click(KeyBoxRect(4)) + "tap Z\nwait 50\n" +
                Label(MenuLabel::Exit) + "wait 10000\n"),
            0);
  EXPECT_EQ(launcher.form.keyTexts[4], "Z");
  EXPECT_TRUE(platform.messageBoxes().empty());
  EXPECT_TRUE(platform.shellCalls().empty());
  EXPECT_EQ(gameXml(), Replaced(kGameXml, "Punch=\"30\"", "Punch=\"44\""));
  EXPECT_LT(elapsed(), 2000u) << "EXIT closed the form";
  EXPECT_EQ(platform.caption(), "Vandrel Unveiled");
  EXPECT_FALSE(platform.displayOpen());
}

TEST_F(LauncherRun, ADuplicateKeySavesNothingAndKeepsTheFormOpen) {
  // Player 2's Kick on A, player 1's Punch.
  const std::string bindKickToA =
      Label(MenuLabel::Keyboard) + Click(KeyBoxRect(12)) + "tap A\nwait 50\n";
  EXPECT_EQ(run(bindKickToA + Label(MenuLabel::Exit) + "wait 500\n" + Click(KeyBoxRect(12)) +
                "tap X\nwait 50\n" + Label(MenuLabel::Exit) + "wait 10000\n"),
            0);
  ASSERT_EQ(platform.messageBoxes().size(), 1u);
  EXPECT_EQ(platform.messageBoxes()[0].title, "Cannot save");
  EXPECT_EQ(platform.messageBoxes()[0].text,
            "Cannot save.  Two, or more of you keys are bound to the same action.");
  EXPECT_EQ(platform.messageBoxes()[0].icon, MessageBoxIcon::Critical);
  EXPECT_EQ(gameXml(), Replaced(kGameXml, "Kick=\"17\"", "Kick=\"45\""))
      << "the second EXIT saved the binding that followed";
  EXPECT_EQ(errors.str(), std::string("vdxlaunch: ") + kDuplicateKeysMessage + "\n")
      << "also on the terminal, where a desktop shows no message box";
  EXPECT_LT(elapsed(), 5000u);
}

TEST_F(LauncherRun, StartWithADuplicateKeyStartsTheGameOnTheOldFile) {
  EXPECT_EQ(run(Label(MenuLabel::Keyboard) + Click(KeyBoxRect(12)) + "tap A\nwait 50\n" +
                Label(MenuLabel::Start) + "wait 10000\n"),
            0);
  ASSERT_EQ(platform.messageBoxes().size(), 1u);
  EXPECT_EQ(platform.messageBoxes()[0].text, kDuplicateKeysMessage);
  ASSERT_EQ(platform.shellCalls().size(), 1u);
  EXPECT_EQ(platform.shellCalls()[0].kind, ShellCall::Kind::StartProgram);
  EXPECT_EQ(platform.shellCalls()[0].path, (folder.path() / "vdx").string());
  EXPECT_TRUE(platform.shellCalls()[0].args.empty());
  EXPECT_EQ(gameXml(), kGameXml);
  EXPECT_LT(elapsed(), 2000u);
}

TEST_F(LauncherRun, BesideAReadOnlyGameFolderTheSettingsGoIntoThePlayersCopyTheGameReads) {
  vdx::PlayerFolders own;
  own.gameDir = folder.path();
  own.inGameFolder = false;
  own.state = own.data = folder.path() / "unused";
  own.config = folder.path() / "home" / "config" / "vdx" / "game";
  folders = own;
  programDir = folder.path() / "bin";
  EXPECT_EQ(run(Label(MenuLabel::Keyboard) + Click(KeyBoxRect(4)) + "tap Z\nwait 50\n" +
                Label(MenuLabel::Exit) + "wait 10000\n"),
            0);
  EXPECT_TRUE(platform.messageBoxes().empty());
  EXPECT_EQ(gameXml(), kGameXml) << "the game folder's Game.xml is left as it is";
  const std::filesystem::path copy = own.config / "Game.xml";
  EXPECT_EQ(vdx::ReadWholeFile(copy), Replaced(kGameXml, "Punch=\"30\"", "Punch=\"44\""));
  EXPECT_EQ(errors.str(), "vdxlaunch: the game folder " + folder.path().string() +
                              " cannot be written; your settings are saved in " + copy.string() +
                              "\n");

  // The next run starts from the copy, adds to it and says nothing more; START
  // runs the game beside the launcher on this game folder.
  errors.str("");
  EXPECT_EQ(run(Label(MenuLabel::Keyboard) + Click(KeyBoxRect(12)) + "tap X\nwait 50\n" +
                Label(MenuLabel::Start) + "wait 10000\n"),
            0);
  EXPECT_EQ(launcher.form.keyTexts[4], "Z") << "the form shows the copy";
  EXPECT_EQ(vdx::ReadWholeFile(copy),
            Replaced(Replaced(kGameXml, "Punch=\"30\"", "Punch=\"44\""), "Kick=\"17\"",
                     "Kick=\"45\""));
  EXPECT_EQ(errors.str(), "");
  ASSERT_EQ(platform.shellCalls().size(), 1u);
  EXPECT_EQ(platform.shellCalls()[0].path, (programDir / "vdx").string());
  EXPECT_EQ(platform.shellCalls()[0].args,
            (std::vector<std::string>{"--game-dir", folder.path().string()}));
  EXPECT_EQ(gameXml(), kGameXml);

  // The game reads the copy.
  HeadlessPlatform gamePlatform;
  vdx::Game game(gamePlatform, own);
  ASSERT_TRUE(vdx::GetXML(game.paths, game.settings, game.content, game.loadReport));
  EXPECT_EQ(game.settings.Player1Keys.Punch, 44);
  EXPECT_EQ(game.settings.Player2Keys.Kick, 45);

  // A config folder that cannot be made: the message, and nothing saved.
  folder.write("home/blocked", "a file");
  own.config = folder.path() / "home" / "blocked" / "vdx";
  folders = own;
  errors.str("");
  EXPECT_EQ(run(Label(MenuLabel::Keyboard) + Click(KeyBoxRect(4)) + "tap Y\nwait 50\n" +
                Label(MenuLabel::Exit) + "wait 500\n"),
            0);
  ASSERT_FALSE(platform.messageBoxes().empty());
  EXPECT_NE(platform.messageBoxes().back().text.find("make the folder " +
                                                     (folder.path() / "home" / "blocked").string() +
                                                     ": it is not a folder"),
            std::string::npos)
      << platform.messageBoxes().back().text;
  EXPECT_NE(errors.str().find("The settings are not saved"), std::string::npos) << errors.str();
  EXPECT_EQ(gameXml(), kGameXml);
}

TEST_F(LauncherRun, VolumeButtonsChangeTheLabelsAndTheSavedValues) {
  const auto& buttons = kVolumeButtonRects;
  EXPECT_EQ(
      run(Label(MenuLabel::Audio) + Click(buttons[1]) + Click(buttons[2]) + Label(MenuLabel::Exit)),
      0);
  EXPECT_EQ(MusicLabel(launcher.form), "Music Volume 60%");
  EXPECT_EQ(EffectsLabel(launcher.form), "Effects Volume 90%");
  // The root's last attribute is in single quotes, so the new one is too.
  EXPECT_EQ(gameXml(), Replaced(kGameXml, "MusicVolume='50'", "MusicVolume='60' SoundVolume='90'"));
}

// The frame the run ended on against the form drawn from the state the rules
// give for the same clicks, with the mouse where the script left it.
TEST_F(LauncherRun, TheMusicPlusShowsItsLabelOnTheAudioPanel) {
  const Rect plus = kVolumeButtonRects[1];
  EXPECT_EQ(run(Label(MenuLabel::Audio) + Click(plus) + "wait 100\n"), 0);
  EXPECT_EQ(MusicLabel(launcher.form), "Music Volume : 60%");

  FormState expected = LoadForm(launcher.loaded.settings, launcher.keyNames);
  ShowPanel(expected, Panel::Audio);
  PressVolumeButton(expected, VolumeButton::AddMusic);
  MoveMouse(expected, MenuLabel::Audio, false);  // the mouse went from the label onto the panel
  ImGuiCanvas canvas;
  FormLook look;
  look.note = launcher.note;
  const vdx::platform::MouseState mouse{plus.centreX(), plus.centreY(), true, false};
  std::vector<std::uint32_t> frame;
  for (int i = 0; i < 3; ++i) {
    canvas.beginFrame(mouse, 0.016);
    DrawForm(canvas, expected, look, mouse);
    const auto pixels = canvas.render();
    frame.assign(pixels.begin(), pixels.end());
  }
  EXPECT_EQ(expected.settings, launcher.form.settings);
  int differing = 0;
  for (std::size_t i = 0; i < frame.size(); ++i)
    differing += (frame[i] & 0xFFFFFF) != (platform.lastFrame()[i] & 0xFFFFFF);
  EXPECT_EQ(differing, 0) << "pixels that differ from the expected form";
}

TEST_F(LauncherRun, StartPassesShowFpsWhenTickedAndSavesNoTick) {
  EXPECT_EQ(run(Label(MenuLabel::Gamepad) + Click(kFpsBoxRect) + Label(MenuLabel::Start)), 0);
  EXPECT_TRUE(launcher.form.ShowFpsOn);
  ASSERT_EQ(platform.shellCalls().size(), 1u);
  EXPECT_EQ(platform.shellCalls()[0].path, (folder.path() / "vdx").string());
  EXPECT_EQ(platform.shellCalls()[0].args, std::vector<std::string>{"SHOWFPS"});
  EXPECT_TRUE(platform.messageBoxes().empty());
  EXPECT_EQ(gameXml(), kGameXml) << "the frame-rate box is not a setting of Game.xml";
}

TEST_F(LauncherRun, TheGamepadBoxIsSavedAsTrueOrFalse) {
  EXPECT_EQ(run(Label(MenuLabel::Gamepad) + Click(kJoystickBoxRect) + Label(MenuLabel::Start)), 0);
  ASSERT_EQ(platform.shellCalls().size(), 1u);
  EXPECT_TRUE(platform.shellCalls()[0].args.empty());
  EXPECT_EQ(gameXml(), Replaced(kGameXml, "Joystick=\"0\"", "Joystick=\"True\""));
}

TEST_F(LauncherRun, TheComputersLevelIsSavedAsDifficulty) {
  EXPECT_EQ(run(Label(MenuLabel::Gamepad) + Click(kDifficultyButtonRects[1]) +
                Click(kDifficultyButtonRects[1]) + Click(kDifficultyButtonRects[0]) +
                Click(kDifficultyButtonRects[1]) + Label(MenuLabel::Exit)),
            0);
  EXPECT_EQ(launcher.form.settings.Difficulty, 6);
  EXPECT_EQ(gameXml(), Replaced(kGameXml, "MusicVolume='50'", "MusicVolume='50' Difficulty='6'"))
      << "added after the root's last attribute, in its quotes";
}

TEST_F(LauncherRun, KeysAreTakenOnlyWithABoxFocusedAndTheWindowActive) {
  EXPECT_EQ(run(Label(MenuLabel::Keyboard) + "tap Q\nwait 50\n" +       // no box has the focus
                Click(KeyBoxRect(0)) + "focus off\ntap E\nwait 50\n" +  // another program's key
                "focus on\ntap Tab\nwait 50\n" +                        // on to the Down box
                Click(kPanelRect) + "tap R\nwait 50\n" +                // the focus left the boxes
                Click(KeyBoxRect(2)) + "tap F\nwait 50\n" + Label(MenuLabel::Exit)),
            0);
  EXPECT_EQ(launcher.form.settings.KeyCodes[0], 200);
  EXPECT_EQ(launcher.form.settings.KeyCodes[1], 208);
  EXPECT_EQ(gameXml(), Replaced(kGameXml, "Backword=\"203\"", "Backword=\"33\""))
      << "only F, pressed into the focused Left box, was bound";
}

TEST_F(LauncherRun, AKeyTappedAndLetGoBetweenTwoFramesIsStillBound) {
  // Down and up in the same millisecond, as a program that types keys sends
  // them: no frame ever sees it held.
  EXPECT_EQ(
      run(Label(MenuLabel::Keyboard) + Click(KeyBoxRect(5)) + "press Z\nrelease Z\nwait 50\n" +
          Click(KeyBoxRect(6)) + "press Z\nrelease Z\nwait 50\n" + Label(MenuLabel::Exit)),
      0);
  EXPECT_EQ(launcher.form.keyTexts[5], "Z");
  EXPECT_EQ(launcher.form.keyTexts[6], "D") << "the same key twice in a row is taken once";
  EXPECT_EQ(gameXml(), Replaced(kGameXml, "Kick=\"31\"", "Kick=\"44\""));
}

TEST_F(LauncherRun, AGameXmlThatCannotBeReadIsNeverWrittenOver) {
  const std::string broken = Replaced(kGameXml, "</Vandrel>", "</Vandre>");
  folder.write("Game.xml", broken);
  EXPECT_EQ(run(Label(MenuLabel::Audio) + Click(kVolumeButtonRects[0]) + Label(MenuLabel::Exit) +
                Label(MenuLabel::Start)),
            0);
  ASSERT_EQ(platform.messageBoxes().size(), 3u);
  EXPECT_EQ(platform.messageBoxes()[0].title, "Cannot read Game.xml");
  EXPECT_NE(platform.messageBoxes()[0].text.find("Game.xml line 7"), std::string::npos)
      << platform.messageBoxes()[0].text;
  EXPECT_EQ(platform.messageBoxes()[1].title, "Cannot save") << "EXIT";
  EXPECT_NE(platform.messageBoxes()[1].text.find("Game.xml is kept as it was"), std::string::npos);
  EXPECT_EQ(platform.messageBoxes()[2].title, "Cannot save") << "START";
  EXPECT_EQ(platform.shellCalls().size(), 1u) << "the game starts all the same";
  EXPECT_EQ(gameXml(), broken);
  EXPECT_NE(errors.str().find("not well-formed"), std::string::npos);
}

TEST_F(LauncherRun, AMissingGameXmlIsNotMadeUp) {
  std::filesystem::remove(folder.path() / "Game.xml");
  EXPECT_EQ(run(Label(MenuLabel::Audio) + Click(kVolumeButtonRects[0]) + Label(MenuLabel::Exit)),
            0);
  ASSERT_EQ(platform.messageBoxes().size(), 2u);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "Game.xml"));
}

TEST_F(LauncherRun, AMissingKeysTxtShowsCodesInsteadOfStopping) {
  std::filesystem::remove(folder.path() / "keys.txt");
  EXPECT_EQ(run(Label(MenuLabel::Keyboard) + Click(KeyBoxRect(6)) + "tap N\nwait 50\n" +
                Label(MenuLabel::Exit)),
            0);
  EXPECT_EQ(launcher.form.keyTexts[0], "Key 0xC8");
  EXPECT_EQ(launcher.form.keyTexts[6], "Key 0x31");
  EXPECT_EQ(launcher.note, "keys.txt is missing: the key boxes show key codes.");
  EXPECT_EQ(gameXml(), Replaced(kGameXml, "Block=\"32\"", "Block=\"49\""));
}

TEST_F(LauncherRun, MenuLabelsTurnWhiteUnderTheMouse) {
  const Rect& start = kMenuLabelRects[static_cast<std::size_t>(MenuLabel::Start)];
  const Rect& exit = kMenuLabelRects[static_cast<std::size_t>(MenuLabel::Exit)];
  EXPECT_EQ(run("move " + std::to_string(start.x + 10) + " " + std::to_string(start.centreY()) +
                "\nwait 50\n"),
            0);
  EXPECT_GT(count(start, kMenuLabelHoverColour), 20);
  EXPECT_EQ(count(start, kMenuLabelColour), 0);
  EXPECT_EQ(count(exit, kMenuLabelHoverColour), 0);
  EXPECT_GT(count(exit, kMenuLabelColour), 20);
}

TEST_F(LauncherRun, MenuLabelsTurnBackOverTheBareForm) {
  const Rect& start = kMenuLabelRects[static_cast<std::size_t>(MenuLabel::Start)];
  EXPECT_EQ(run("move " + std::to_string(start.x + 10) + " " + std::to_string(start.centreY()) +
                "\nwait 50\nmove 100 440\nwait 50\n"),
            0);
  EXPECT_EQ(count(start, kMenuLabelHoverColour), 0);
  EXPECT_GT(count(start, kMenuLabelColour), 20);
}

TEST_F(LauncherRun, TheBackgroundPictureFillsTheForm) {
  const auto bytes = vdx::ReadWholeFile(std::string(VDX_DEMO_DIR) + "/launcher.bmp");
  ASSERT_TRUE(bytes);
  folder.write("launcher.bmp", *bytes);
  EXPECT_EQ(run("wait 50\n"), 0);
  const auto picture = platform.decodeBmp(
      std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->width, 640);
  for (const auto& [x, y] : {std::pair{5, 5}, std::pair{630, 20}, std::pair{100, 470}}) {
    const std::size_t i = static_cast<std::size_t>(y) * 640 + x;
    EXPECT_EQ(platform.lastFrame()[i] & 0xFFFFFF, picture->pixels[i]) << x << "," << y;
  }
}

TEST_F(LauncherRun, NoKeyboardEndsTheLauncherWithItsMessage) {
  platform.failures().input = true;
  EXPECT_EQ(run("wait 50\n"), 1);
  ASSERT_EQ(platform.messageBoxes().size(), 1u);
  EXPECT_EQ(platform.messageBoxes()[0].text,
            "Error starting DirectInput, please make sure you have the latest version of DirectX "
            "installed.");
  EXPECT_NE(errors.str().find("no keyboard"), std::string::npos) << errors.str();
  EXPECT_EQ(gameXml(), kGameXml);
}

}  // namespace
}  // namespace vdxlaunch
