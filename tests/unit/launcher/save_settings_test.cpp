#include "launcher/save_settings.h"

#include <gtest/gtest.h>

#include "unit/test_folder.h"

namespace vdxlaunch {
namespace {

constexpr const char* kFile =
    "<Game MusicVolume=\"80\">\n  <Player1Keys Punch=\"30\" Kick=\"31\"/>\n</Game>\n";

struct Saving : ::testing::Test {
  Saving() : path(folder.write("Game.xml", kFile)), loaded(ReadFormSettings(kFile)) {
    form = LoadForm(loaded.settings, {});
  }
  vdx::testing::TestFolder folder;
  std::filesystem::path path;
  GameXmlSettings loaded;
  FormState form;
};

TEST_F(Saving, WritesTheChangeIntoTheFileAsItIsNow) {
  form.settings.KeyCodes[5] = 0x2D;
  // Someone changed the file since the launcher read it: that stays.
  folder.write("Game.xml",
               "<Game MusicVolume=\"60\">\n  <Player1Keys Punch=\"30\" Kick=\"31\"/>\n</Game>\n");
  const SaveResult saved = SaveForm(form, loaded, path);
  EXPECT_EQ(saved.outcome, SaveOutcome::Saved) << saved.message;
  EXPECT_EQ(folder.read("Game.xml"),
            "<Game MusicVolume=\"60\">\n  <Player1Keys Punch=\"30\" Kick=\"45\"/>\n</Game>\n");
}

TEST_F(Saving, LeavesTheFileAloneWhenItCannotOrNeedNot) {
  // Nothing changed: not even written.
  std::filesystem::remove(path);
  EXPECT_EQ(SaveForm(form, loaded, path).outcome, SaveOutcome::Saved);
  EXPECT_FALSE(std::filesystem::exists(path));
  folder.write("Game.xml", kFile);

  form.settings.MusicVolumePct = 90;
  const GameXmlSettings unreadable = ReadFormSettings("<Game>");
  const SaveResult refused = SaveForm(form, unreadable, path);
  EXPECT_EQ(refused.outcome, SaveOutcome::Refused);
  EXPECT_TRUE(refused.message.starts_with(
      "The settings are not saved, and Game.xml is kept as it was: Game.xml line 1"))
      << refused.message;
  EXPECT_EQ(SaveForm(form, loaded, std::nullopt).outcome, SaveOutcome::Refused)
      << "no Game.xml: none is made up";

  folder.write("Game.xml", "<Game MusicVolume=\"80\">");  // broken since it was read
  const SaveResult broken = SaveForm(form, loaded, path);
  EXPECT_EQ(broken.outcome, SaveOutcome::Refused);
  EXPECT_NE(broken.message.find("changed since the launcher started"), std::string::npos);
  EXPECT_EQ(folder.read("Game.xml"), "<Game MusicVolume=\"80\">");

  folder.write("Game.xml", kFile);
  form.settings.KeyCodes[4] = 31;  // Punch on Kick's key
  form.keyTexts[4] = form.keyTexts[5];
  const SaveResult duplicate = SaveForm(form, loaded, path);
  EXPECT_EQ(duplicate.outcome, SaveOutcome::Duplicate);
  EXPECT_EQ(duplicate.message, kDuplicateKeysMessage);
  EXPECT_EQ(folder.read("Game.xml"), kFile);
}

// A Game.xml that is a link out of the game folder is not written through:
// the file it leads to stays as it was, and the refusal names the link.
TEST_F(Saving, NeverWritesThroughALinkOutOfTheGameFolder) {
  const auto outside = folder.write("outside/settings.xml", kFile);
  std::filesystem::create_directory(folder.path() / "game");
  const auto linked = folder.path() / "game" / "Game.xml";
  std::filesystem::create_symlink(outside, linked);
  form.settings.MusicVolumePct = 90;
  const SaveResult saved = SaveForm(form, loaded, linked);
  EXPECT_EQ(saved.outcome, SaveOutcome::Refused);
  EXPECT_TRUE(saved.message.starts_with(
      "The settings are not saved, and Game.xml is kept as it was: refuse " + linked.string() +
      ": it is a link that leads out of"))
      << saved.message;
  EXPECT_EQ(folder.read("outside/settings.xml"), kFile);
  EXPECT_TRUE(std::filesystem::is_symlink(linked));
}

}  // namespace
}  // namespace vdxlaunch
