#include "content/game_xml_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace vdx {
namespace {

struct Loaded {
  Settings settings;
  Content content;
  LoadReport report;
};

Loaded Read(const std::string& xml) {
  Loaded l;
  ReadGameXml(xml, l.settings, l.content, l.report);
  return l;
}

std::string ReportText(const LoadReport& report) {
  std::string text;
  for (const auto& s : report.skipped)
    text += s.file + ":" + std::to_string(s.line) + " " + s.element + " [" + s.attribute + "] " +
            s.reason + "\n";
  return text;
}

TEST(GameXmlReader, NoDocumentLeavesEverythingEmpty) {
  const Loaded l = Read("");
  EXPECT_EQ(l.settings.MusicVolume, 0) << "defaults apply only to a root element";
  EXPECT_EQ(l.settings.SoundVolume, 0);
  EXPECT_TRUE(l.settings.GameTitle.empty());
  EXPECT_TRUE(l.content.Characters.empty());
  EXPECT_EQ(l.report.skipped.size(), 1u) << "an empty text is not a document";
}

TEST(GameXmlReader, RootWithoutSettingsGetsTheDefaults) {
  const Loaded l = Read("<AnyName/>");
  EXPECT_EQ(l.settings.MusicVolume, 100);
  EXPECT_EQ(l.settings.SoundVolume, 0);
  EXPECT_FALSE(l.settings.LowDetail);
  EXPECT_EQ(l.settings.Rounds, 0);
  EXPECT_TRUE(l.report.skipped.empty()) << ReportText(l.report);
}

TEST(GameXmlReader, SoundVolumePercentBecomesHundredthsOfADecibel) {
  EXPECT_EQ(Read(R"(<G SoundVolume="50"/>)").settings.SoundVolume, -1500);
  EXPECT_EQ(Read(R"(<G SoundVolume="0"/>)").settings.SoundVolume, -3000);
  EXPECT_EQ(Read(R"(<G SoundVolume="100"/>)").settings.SoundVolume, 0);
  EXPECT_EQ(Read(R"(<G SoundVolume="loud"/>)").settings.SoundVolume, 0);
  const Loaded over = Read(R"(<G SoundVolume="250" MusicVolume="-5"/>)");
  EXPECT_EQ(over.settings.SoundVolume, 0) << "held to 100 %";
  EXPECT_EQ(over.settings.MusicVolume, 0) << "held to 0 %";
  EXPECT_EQ(over.report.skipped.size(), 2u) << ReportText(over.report);
}

TEST(GameXmlReader, RoundsAreHeldToWhatAMatchCanHave) {
  struct Case {
    const char* xml;
    Integer rounds;
    std::size_t reported;
  };
  for (const Case& c : {Case{R"(<G/>)", 0, 0}, Case{R"(<G Rounds="1"/>)", 1, 0},
                        Case{R"(<G Rounds="7"/>)", 7, 0}, Case{R"(<G Rounds="0"/>)", 1, 1},
                        Case{R"(<G Rounds="-5"/>)", 1, 1}, Case{R"(<G Rounds="100"/>)", 7, 1}}) {
    const Loaded l = Read(c.xml);
    EXPECT_EQ(l.settings.Rounds, c.rounds) << c.xml;
    ASSERT_EQ(l.report.skipped.size(), c.reported) << c.xml << ReportText(l.report);
  }
  EXPECT_EQ(Read(R"(<G Rounds="100"/>)").report.skipped[0].reason,
            "100 is outside 1..7; 7 is used");
}

TEST(GameXmlReader, DifficultyIsReadWhenThereAndHeldToTheLevels) {
  struct Case {
    const char* xml;
    Integer difficulty;
    std::size_t reported;
  };
  // A folder without it plays the profiles as written, at 4.
  for (const Case& c :
       {Case{R"(<G/>)", 4, 0}, Case{R"(<G Difficulty="1"/>)", 1, 0},
        Case{R"(<G Difficulty="8"/>)", 8, 0}, Case{R"(<G Difficulty="0"/>)", 1, 1},
        Case{R"(<G Difficulty="12"/>)", 8, 1}, Case{R"(<G Difficulty="hard"/>)", 4, 1}}) {
    const Loaded l = Read(c.xml);
    EXPECT_EQ(l.settings.Difficulty, c.difficulty) << c.xml;
    EXPECT_EQ(l.report.skipped.size(), c.reported) << c.xml << ReportText(l.report);
  }
  EXPECT_EQ(Read(R"(<G Difficulty="12"/>)").report.skipped[0].reason,
            "12 is outside 1..8; 8 is used");
}

TEST(GameXmlReader, ReadsTheSettingsAndTheScreenElements) {
  const Loaded l = Read(R"(<?xml version="1.0"?>
<Vandrel Name="Title" LowDetail="false" Weather="True" Shadows="1" Rounds="5" Joystick="TRUE"
         MusicVolume="70" SoundVolume="90">
  <!-- a comment and some text are passed over -->
  text
  <Player1Keys Up="200" Down="208" Backword="203" Forward="205" Punch="30" Kick="31" Block="32"/>
  <Player2Keys Up="&amp;H17" Down="37" Backword="36" Forward="38" Punch="16" Kick="17" Block="18"/>
  <PleaseWait Font="Arial" FontBold="True" FontColor="H00FF00" FontItalic="False" FontSize="14"
              Text="Please wait" xOffset="10" yOffset="20"/>
  <GameOver Font="Impact" FontSize="30" Text="GAME OVER"/>
  <RoundLoss Font="Impact" FontColor="H0000FF" Text="You lose"/>
  <HealthMeters Font="MS Sans Serif" FontSize="8" Text="ignored"/>
  <Characters Height="80" Width="64" pWidth="120" pHeight="140"/>
  <Menu HighlightColor="H00FFFF" Color="HFFFFFF" FontName="Arial" FontBold="1" FontItalic="0"
        FontSize="18"/>
  <Stages SelectWidth="300" SelectHeight="224" SelectBackground="stagesel.bmp"/>
  <SelectScreen Background="sel.bmp" Music="sel.ogg" SelectSound="pick.wav"
                SplashScreen="splash.bmp" MenuBack="menu.bmp"/>
</Vandrel>)");
  const Settings& s = l.settings;
  EXPECT_TRUE(l.report.skipped.empty()) << ReportText(l.report);
  EXPECT_EQ(s.GameTitle, "Title");
  EXPECT_FALSE(s.LowDetail);
  EXPECT_TRUE(s.Weather);
  EXPECT_TRUE(s.Shadows);
  EXPECT_EQ(s.Rounds, 5);
  EXPECT_TRUE(s.Joystick);
  EXPECT_EQ(s.MusicVolume, 70);
  EXPECT_EQ(s.SoundVolume, -300);
  EXPECT_EQ(s.Player1Keys.Up, 200);
  EXPECT_EQ(s.Player1Keys.Backward, 203) << "the file spells it Backword";
  EXPECT_EQ(s.Player1Keys.Forward, 205);
  EXPECT_EQ(s.Player1Keys.Block, 32);
  EXPECT_EQ(s.Player2Keys.Up, 0x17);
  EXPECT_EQ(s.Player2Keys.Kick, 17);
  EXPECT_EQ(s.PleaseWaitFont.Name, "Arial");
  EXPECT_TRUE(s.PleaseWaitFont.Bold);
  EXPECT_EQ(s.PleaseWaitFont.FontColor, 0x00FF00);
  EXPECT_EQ(s.PleaseWaitFont.Size, 14);
  EXPECT_EQ(s.PleaseWaitFont.Text, "Please wait");
  EXPECT_EQ(s.PleaseWaitFont.xOffset, 10);
  EXPECT_EQ(s.PleaseWaitFont.yOffset, 20);
  EXPECT_EQ(s.GameOverFont.Text, "GAME OVER");
  EXPECT_EQ(s.RoundLossFont.FontColor, 255);
  EXPECT_EQ(s.HealthMeterFont.Name, "MS Sans Serif");
  EXPECT_TRUE(s.HealthMeterFont.Text.empty()) << "health meters have no Text";
  EXPECT_EQ(s.CharacterHeight, 80);
  EXPECT_EQ(s.CharacterWidth, 64);
  EXPECT_EQ(s.PortraitWidth, 120);
  EXPECT_EQ(s.PortraitHeight, 140);
  EXPECT_EQ(s.MenuHighlightColor, 0x00FFFF);
  EXPECT_EQ(s.MenuColor, 0xFFFFFF);
  EXPECT_EQ(s.MenuFont.Name, "Arial");
  EXPECT_TRUE(s.MenuFont.Bold);
  EXPECT_EQ(s.MenuFont.Size, 18);
  EXPECT_EQ(s.StageSelectWidth, 300);
  EXPECT_EQ(s.StageSelectHeight, 224);
  EXPECT_EQ(s.StageSelectBackground, "stagesel.bmp");
  EXPECT_EQ(s.SelectScreenBackground, "sel.bmp");
  EXPECT_EQ(s.SelectScreenMusic, "sel.ogg");
  EXPECT_EQ(s.SelectScreenSound, "pick.wav");
  EXPECT_EQ(s.SplashScreen, "splash.bmp");
  EXPECT_EQ(s.MenuBack, "menu.bmp");
}

TEST(GameXmlReader, LowDetailHalvesLongActions) {
  const Loaded l = Read(R"(<G LowDetail="True"><Characters>
    <Character Name="Kira">
      <Action Name="Walk" Count="7" Speed="3" JumpSpeed="5" TopJumpFrame="5" Motion="4"/>
      <Action Name="Jab" Count="3" Speed="3" JumpSpeed="5" TopJumpFrame="5" Motion="4"/>
      <Action Name="Run" Count="8" Motion="1.25" TopJumpFrame="7"/>
      <Action Name="Huge" Count="9" Speed="20000"/>
    </Character></Characters></G>)");
  const cCharacter* kira = l.content.Characters.find("Kira");
  ASSERT_NE(kira, nullptr);
  const cAction* walk = kira->Actions.find("Walk");
  ASSERT_NE(walk, nullptr);
  EXPECT_EQ(walk->aStep, 2);
  EXPECT_EQ(walk->Count, 4);
  EXPECT_EQ(walk->Speed, 6);
  EXPECT_EQ(walk->JumpSpeed, 10);
  EXPECT_EQ(walk->TopJumpFrame, 2) << "5 / 2 rounds halves to even";
  EXPECT_EQ(walk->Motion, "8");
  const cAction* jab = kira->Actions.find("Jab");
  EXPECT_EQ(jab->aStep, 1);
  EXPECT_EQ(jab->Count, 3);
  EXPECT_EQ(jab->Speed, 3);
  EXPECT_EQ(jab->Motion, "4");
  const cAction* run = kira->Actions.find("Run");
  EXPECT_EQ(run->Count, 4);
  EXPECT_EQ(run->Motion, "2.5");
  EXPECT_EQ(run->TopJumpFrame, 4) << "3.5 rounds to 4";
  const cAction* huge = kira->Actions.find("Huge");
  EXPECT_EQ(huge->Count, 5) << "an odd count n becomes (n + 1) / 2";
  EXPECT_EQ(huge->Speed, 20000) << "doubling would overflow, so the step is skipped";
  EXPECT_EQ(l.report.skipped.size(), 1u) << ReportText(l.report);

  const Loaded normal = Read(
      R"(<G><C><Character Name="K"><Action Name="Walk" Count="7" Speed="3"/></Character></C></G>)");
  const cAction* plain = normal.content.Characters.find("K")->Actions.find("Walk");
  EXPECT_EQ(plain->aStep, 1);
  EXPECT_EQ(plain->Count, 7);
  EXPECT_EQ(plain->Speed, 3);
}

TEST(GameXmlReader, ReadsCharactersActionsAndEffectsWithTheirDefaults) {
  const Loaded l = Read(R"(<G><Characters>
    <Character Name="Kira" Health="120" Path="kira" Portrait="kira.bmp" pX="5" pY="6"
               OnSelectAnim="Win" SelectSound="kira.wav" TransColor="H0000FF" yOffset="-4"
               UseVDP="True" GlowColor="red">
      <Action Name="Punch" Sprites="pun" Count="4" AnimType="Normal" Activate="P" Motion="0"
              Speed="2" AlternateSprites="a" AlternateSprites2="b" Damage="7" Performed="Standing"
              SFX="punch" HoldLastFrame="1" JumpSpeed="0" TopJumpFrame="0" xOffset="3"
              yOffset="-2" Large="True" NextAction="Standing" ShowParticles="1" HardHit="True"
              HighHit="False" MidHit="True"/>
      <Action Name="Jab" Alias="Punch" CanHit="False"/>
      <Effect Name="Fireball" ActionName="Punch" animX="10" animY="20" DisplayRate="2" Frames="6"
              Height="64" Width="48" MaxBottom="1" MaxLeft="2" MaxRight="3" MaxTop="4"
              MoveHorizontal="8" MoveVertical="-1" SFX="fire" TransColor="H0" Sprites="fb"
              Interval="40" SpriteType="1" Alpha="0.5" AlphaChange="-0.05" AlphaInterval="30"
              Angle="1.5708" AngleChange="0.1" AngleInterval="20" NextEffect="Burst" Damage="12"
              StartDelay="100" ScaleChange="0.01" ScaleInterval="15" BlendMode="3" AltEffect="Alt"
              Reverse="False" Red="1" Blue="0.5" Green="0.25" Alias="Ball" ShowParticles="True"
              HardHit="True"/>
      <Effect Name="Burst" ActionName="None"/>
      <Unknown Name="ignored"/>
    </Character></Characters></G>)");
  EXPECT_TRUE(l.report.skipped.empty()) << ReportText(l.report);
  const cCharacter* k = l.content.Characters.find("kira");
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(k->Health, 120);
  EXPECT_EQ(k->Path, "kira");
  EXPECT_EQ(k->Portrait, "kira.bmp");
  EXPECT_EQ(k->pX, 5);
  EXPECT_EQ(k->pY, 6);
  EXPECT_EQ(k->OnSelectAnim, "Win");
  EXPECT_EQ(k->SelectSound, "kira.wav");
  EXPECT_EQ(k->TransColor, 255);
  EXPECT_EQ(k->yOffset, -4);
  EXPECT_TRUE(k->UseVDP);
  EXPECT_EQ(k->GlowColor, "red");
  EXPECT_FALSE(k->Disabled);
  EXPECT_EQ(k->ShadowOffset, 0);
  EXPECT_EQ(k->CharCount, 1);
  EXPECT_EQ(k->Actions.size(), 2u);

  const cAction* p = k->Actions.find("Punch");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->Sprites, "pun");
  EXPECT_EQ(p->Count, 4);
  EXPECT_EQ(p->AnimationType, "Normal");
  EXPECT_EQ(p->Activate, "P");
  EXPECT_EQ(p->Damage, 7);
  EXPECT_EQ(p->Performed, "Standing");
  EXPECT_EQ(p->SFX, "punch");
  EXPECT_EQ(p->HoldLastFrame, 1);
  EXPECT_EQ(p->xOffset, 3);
  EXPECT_EQ(p->yOffset, -2);
  EXPECT_TRUE(p->bLarge);
  EXPECT_EQ(p->NextAction, "Standing");
  EXPECT_TRUE(p->bCanHit);
  EXPECT_TRUE(p->ShowParticles);
  EXPECT_TRUE(p->HardHit);
  EXPECT_FALSE(p->HighHit);
  EXPECT_TRUE(p->MidHit);
  EXPECT_EQ(p->Alias, "Punch") << "an action without Alias is its own alias";
  EXPECT_EQ(p->AlternateSprites, "a");
  EXPECT_EQ(p->AlternateSprites2, "b");
  ASSERT_EQ(p->EffectList.size(), 1u);
  EXPECT_EQ(p->EffectList[0], "Fireball");
  const cAction* jab = k->Actions.find("Jab");
  EXPECT_EQ(jab->Alias, "Punch");
  EXPECT_FALSE(jab->bCanHit);

  const cEffect* f = k->Effects.find("Fireball");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->animX, 10);
  EXPECT_EQ(f->X, 10) << "X starts at animX";
  EXPECT_EQ(f->Y, 20);
  EXPECT_EQ(f->Frames, 6);
  EXPECT_EQ(f->oHeight, 64);
  EXPECT_EQ(f->oWidth, 48);
  EXPECT_EQ(f->MoveVertical, -1);
  EXPECT_EQ(f->Interval, 40);
  EXPECT_DOUBLE_EQ(f->oAlpha, 0.5);
  EXPECT_DOUBLE_EQ(f->oAlphaChange, -0.05);
  EXPECT_DOUBLE_EQ(f->oAngle, 1.5708);
  EXPECT_DOUBLE_EQ(f->oAngleChange, 0.1);
  EXPECT_EQ(f->NextEffect, "Burst");
  EXPECT_EQ(f->Damage, 12);
  EXPECT_EQ(f->StartDelay, 100);
  EXPECT_DOUBLE_EQ(f->ScaleChange, 0.01);
  EXPECT_EQ(f->ScaleInterval, 15);
  EXPECT_EQ(f->BlendMode, 3);
  EXPECT_EQ(f->AltEffect, "Alt");
  EXPECT_FALSE(f->bReverse);
  EXPECT_FLOAT_EQ(f->Red, 1.0f);
  EXPECT_FLOAT_EQ(f->Blue, 0.5f);
  EXPECT_FLOAT_EQ(f->Green, 0.25f);
  EXPECT_EQ(f->Alias, "Ball");
  EXPECT_TRUE(f->ShowParticles);
  EXPECT_TRUE(f->HardHit);
  const cEffect* b = k->Effects.find("Burst");
  EXPECT_TRUE(b->bReverse) << "an effect without Reverse reverses";
  EXPECT_EQ(b->Alias, "Burst");
  EXPECT_EQ(b->BlendMode, 0);
}

TEST(GameXmlReader, DuplicatesKeepTheFirstAndEveryCharacterCounts) {
  const Loaded l = Read(R"(<G><Characters>
    <Character Name="Kira" Health="1"><Action Name="Punch" Count="1"/><Action Name="PUNCH" Count="2"/></Character>
    <Character Name="KIRA" Health="2"/>
    <Character Name="Brann" Health="3" Disabled="True"/>
    <Character Health="4"/>
    <Character Name="Oto"/>
  </Characters></G>)");
  ASSERT_EQ(l.content.Characters.size(), 3u);
  EXPECT_EQ(l.content.Characters.find("kira")->Health, 1);
  EXPECT_EQ(l.content.Characters.find("Kira")->Actions.find("punch")->Count, 1);
  EXPECT_EQ(l.content.Characters.find("Brann")->CharCount, 3)
      << "the third Character element gets 3 though the second was not added";
  EXPECT_TRUE(l.content.Characters.find("Brann")->Disabled);
  EXPECT_EQ(l.content.Characters.find("Oto")->CharCount, 5);
  EXPECT_EQ(l.report.skipped.size(), 3u) << ReportText(l.report);
}

TEST(GameXmlReader, EffectListsFollowTheFileOrder) {
  const Loaded l = Read(R"(<G><Characters><Character Name="K">
      <Effect Name="Early" ActionName="Kick"/>
      <Action Name="Kick"/>
      <Effect Name="Spark" ActionName="Kick"/>
      <Effect Name="Dust" ActionName="Kick"/>
      <Effect Name="Spark" ActionName="Kick"/>
      <Effect Name="Lost" ActionName="Nothing"/>
      <Effect Name="Quiet" ActionName="None"/>
    </Character></Characters></G>)");
  const cCharacter* k = l.content.Characters.find("K");
  ASSERT_NE(k, nullptr);
  const cAction* kick = k->Actions.find("Kick");
  ASSERT_NE(kick, nullptr);
  EXPECT_EQ(kick->EffectList, (std::vector<std::string>{"Spark", "Dust", "Spark"}))
      << "an effect named before its action starts with no action; a second effect of the same "
         "name is not added but still listed";
  EXPECT_EQ(k->Effects.size(), 5u);
  EXPECT_NE(k->Effects.find("Early"), nullptr);
  // Early and Lost name no earlier action; the second Spark is a duplicate.
  EXPECT_EQ(l.report.skipped.size(), 3u) << ReportText(l.report);
}

TEST(GameXmlReader, ItemsAreFoundUnderAnyElementOfTheSecondLevel) {
  const Loaded l = Read(R"(<G>
    <char id="65" x="1" y="2" width="10" height="20"/>
    <Font>
      <char id="66" x="10" y="0" width="12" height="16"/>
      <char id="67" x="32760" y="0" width="12" height="16"/>
    </Font>
    <Events>
      <Event Type="OnWinRound" Action="Win" File="win.avi"/>
      <Event Type="OnWinRound" Action="Other" File="other.avi"/>
    </Events>
    <Menu>
      <Item Name="One" Type="1" X="100" Y="200"/>
      <Item Name="Two" Type="2" X="110" Y="250"/>
      <Item Name="One" Type="4"/>
    </Menu>
    <Whatever>
      <Stage Name="Harbour" Background="harbour.bmp" Width="1280" pX="1" pY="2" Music="h.ogg"
             Rain="True">
        <Cloud Name="Cloud" animX="5" animY="6" Frames="2" Width="100" Height="50" Loop="True"
               TransColor="H00FF00" Alpha="0.7" AlphaChange="0.01" Angle="0" Red="0.5"/>
        <Sign Name="Sign" Alias="Cloud" BlendMode="1"/>
        <Sign Name="Sign"/>
      </Stage>
      <Stage Name="Snowy" Snow="1" Disabled="True"/>
      <Unknown Name="x"/>
    </Whatever>
  </G>)");
  EXPECT_EQ(l.content.FontChars.find("65"), nullptr) << "a glyph right under the root is not read";
  const cRect* b = l.content.FontChars.find("66");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Left, 10);
  EXPECT_EQ(b->Top, 0);
  EXPECT_EQ(b->Right, 22);
  EXPECT_EQ(b->Bottom, 16);
  const cRect* c = l.content.FontChars.find("67");
  ASSERT_NE(c, nullptr) << "a glyph whose right edge overflows is still added";
  EXPECT_EQ(c->Right, 0);

  ASSERT_EQ(l.content.Events.size(), 1u);
  EXPECT_EQ(l.content.Events.find("onwinround")->File, "win.avi");
  ASSERT_EQ(l.content.MenuItems.size(), 3u) << "menu items have no key, so all are kept";
  EXPECT_EQ(l.content.MenuItems.at(2)->Name, "Two");
  EXPECT_EQ(l.content.MenuItems.at(2)->mType, 2);
  EXPECT_EQ(l.content.MenuItems.at(2)->X, 110);
  EXPECT_EQ(l.content.MenuItems.at(2)->Y, 250);

  ASSERT_EQ(l.content.Stages.size(), 2u);
  const cStage* h = l.content.Stages.find("Harbour");
  EXPECT_EQ(h->Background, "harbour.bmp");
  EXPECT_EQ(h->Width, 1280);
  EXPECT_EQ(h->Music, "h.ogg");
  EXPECT_TRUE(h->bRain);
  EXPECT_FALSE(h->bSnow);
  ASSERT_EQ(h->Animations.size(), 2u);
  const cAnim* cloud = h->Animations.find("Cloud");
  EXPECT_EQ(cloud->X, 5);
  EXPECT_EQ(cloud->Y, 6);
  EXPECT_TRUE(cloud->bLoop);
  EXPECT_EQ(cloud->TransColor, 0x00FF00);
  EXPECT_DOUBLE_EQ(cloud->Alpha, 0.7);
  EXPECT_FLOAT_EQ(cloud->Red, 0.5f);
  EXPECT_EQ(cloud->Alias, "Cloud");
  EXPECT_EQ(h->Animations.find("Sign")->Alias, "Cloud");
  EXPECT_EQ(h->Animations.find("Sign")->BlendMode, 1);
  EXPECT_TRUE(l.content.Stages.find("Snowy")->bSnow);
  EXPECT_TRUE(l.content.Stages.find("Snowy")->Disabled);
  // The overflowing glyph, the second event, the second Sign.
  EXPECT_EQ(l.report.skipped.size(), 3u) << ReportText(l.report);
}

TEST(GameXmlReader, SkipsOnlyTheStepThatFails) {
  const Loaded l = Read(R"(<G Rounds="many" Weather="True">
  <Characters>
    <Character Name="K" Health="lots" Path="k" TransColor="0000FF">
      <Action Name="A" Count="99999" Speed="4"/>
    </Character>
  </Characters>
</G>)");
  EXPECT_EQ(l.settings.Rounds, 0);
  EXPECT_TRUE(l.settings.Weather) << "the next attribute is still read";
  const cCharacter* k = l.content.Characters.find("K");
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(k->Health, 0);
  EXPECT_EQ(k->Path, "k");
  EXPECT_EQ(k->TransColor, 0);
  EXPECT_EQ(k->Actions.find("A")->Count, 0);
  EXPECT_EQ(k->Actions.find("A")->Speed, 4);
  ASSERT_EQ(l.report.skipped.size(), 4u) << ReportText(l.report);
  const SkippedStep& health = l.report.skipped[1];
  EXPECT_EQ(health.file, "Game.xml");
  EXPECT_EQ(health.line, 3);
  EXPECT_EQ(health.element, "Characters > Character \"K\"");
  EXPECT_EQ(health.attribute, "Health");
  EXPECT_NE(health.reason.find("\"lots\""), std::string::npos) << health.reason;
  EXPECT_EQ(l.report.skipped[3].line, 4);
}

TEST(GameXmlReader, ADocumentThatIsNotWellFormedReadsNothing) {
  const Loaded l = Read("<G Name=\"T\">\n<Characters>\n<Character Name=\"K\">\n</G>");
  EXPECT_TRUE(l.settings.GameTitle.empty());
  EXPECT_TRUE(l.content.Characters.empty());
  ASSERT_EQ(l.report.skipped.size(), 1u);
  EXPECT_EQ(l.report.skipped[0].line, 4);
  EXPECT_NE(l.report.skipped[0].reason.find("not well-formed"), std::string::npos);
}

}  // namespace
}  // namespace vdx

namespace vdx {
namespace {

// A fight holds names, effects and scenery in a state of fixed size: what
// would not fit is left out when the content is read, and said.
TEST(GameXmlReader, WhatAFightCannotHoldIsLeftOutAndReported) {
  const std::string longName(kMostNameChars + 1, 'n');
  const std::string fits(kMostNameChars, 'f');
  std::string xml = "<Game><Characters><Character Name=\"K\">";
  xml += "<Action Name=\"" + longName + "\"/>";
  xml += "<Action Name=\"" + fits + "\" NextAction=\"" + longName + "\"/>";
  for (std::size_t i = 0; i < kMostFighterEffects + 2; ++i)
    xml += "<Effect Name=\"e" + std::to_string(i) + "\" ActionName=\"None\"/>";
  xml += "</Character></Characters><Stages><Stage Name=\"S\">";
  for (std::size_t i = 0; i < kMostSceneryAnimations + 1; ++i)
    xml += "<Anim Name=\"a" + std::to_string(i) + "\"/>";
  xml += "</Stage></Stages></Game>";
  const Loaded l = Read(xml);
  const cCharacter* k = l.content.Characters.find("K");
  ASSERT_NE(k, nullptr) << ReportText(l.report);
  EXPECT_EQ(k->Actions.size(), 1u) << "the action whose name is too long is left out";
  ASSERT_NE(k->Actions.find(fits), nullptr) << "a name of the longest length fits";
  EXPECT_EQ(k->Actions.find(fits)->NextAction, "") << "it names no action that could be";
  EXPECT_EQ(k->Effects.size(), kMostFighterEffects);
  EXPECT_EQ(k->Effects.find("e64"), nullptr);
  const cStage* s = l.content.Stages.find("S");
  ASSERT_NE(s, nullptr) << ReportText(l.report);
  EXPECT_EQ(s->Animations.size(), kMostSceneryAnimations);
  const std::string report = ReportText(l.report);
  EXPECT_NE(report.find("47 characters long at most"), std::string::npos) << report;
  EXPECT_NE(report.find("which no action can have"), std::string::npos) << report;
  EXPECT_NE(report.find("64 effects at most"), std::string::npos) << report;
  EXPECT_NE(report.find("64 animations at most"), std::string::npos) << report;
}

}  // namespace
}  // namespace vdx
