#include "content/game_xml_reader.h"

#include <pugixml.hpp>

#include <cstring>
#include <limits>
#include <string>
#include <type_traits>

#include "content/attribute_reader.h"
#include "content/xml_document.h"
#include "content/xml_encoding.h"
#include "content/xml_values.h"

namespace vdx {
namespace {

constexpr const char* kFileName = "Game.xml";

bool NameIs(const pugi::xml_node& node, const char* name) {
  return std::strcmp(node.name(), name) == 0;
}

// The attribute that keys an item of depth 3, for naming it in the report.
const char* KeyAttributeOf(const pugi::xml_node& item) {
  if (NameIs(item, "char")) return "id";
  if (NameIs(item, "Event")) return "Type";
  return "Name";
}

void ReadSettings(AttributeReader& r, Settings& s) {
  r.text("Name", s.GameTitle);
  r.boolean("LowDetail", s.LowDetail);
  r.boolean("Weather", s.Weather);
  r.boolean("Shadows", s.Shadows);
  // A match has 1 to 7 rounds (the command line's range too); replays refuse
  // others, so a match recorded here always plays again.
  if (r.integer("Rounds", s.Rounds) && (s.Rounds < kFewestRounds || s.Rounds > kMostRounds)) {
    const Integer held = s.Rounds < kFewestRounds ? kFewestRounds : kMostRounds;
    r.skip("Rounds", std::to_string(s.Rounds) + " is outside " + std::to_string(kFewestRounds) +
                         ".." + std::to_string(kMostRounds) + "; " + std::to_string(held) +
                         " is used");
    s.Rounds = held;
  }
  // The computer's level in the menu's matches: 1 to 8 (the command line's
  // and replays' range); a folder without it plays the profiles as written.
  if (r.integer("Difficulty", s.Difficulty) &&
      (s.Difficulty < kLowestDifficulty || s.Difficulty > kHighestDifficulty)) {
    const Integer held = s.Difficulty < kLowestDifficulty ? kLowestDifficulty : kHighestDifficulty;
    r.skip("Difficulty", std::to_string(s.Difficulty) + " is outside " +
                             std::to_string(kLowestDifficulty) + ".." +
                             std::to_string(kHighestDifficulty) + "; " + std::to_string(held) +
                             " is used");
    s.Difficulty = held;
  }
  r.boolean("Joystick", s.Joystick);

  // Volumes are percentages. A value outside 0..100 would ask the mixer for more
  // than full volume, so it is held to the range (and reported).
  auto percent = [&r](const char* name, Integer& value) {
    if (!r.integer(name, value)) return false;
    if (value < 0 || value > 100) {
      const Integer held = value < 0 ? Integer{0} : Integer{100};
      r.skip(name,
             std::to_string(value) + " is outside 0..100; " + std::to_string(held) + " is used");
      value = held;
    }
    return true;
  };
  s.MusicVolume = 100;
  percent("MusicVolume", s.MusicVolume);
  Integer soundPercent = 100;
  if (percent("SoundVolume", soundPercent))
    s.SoundVolume = static_cast<Integer>((100 - soundPercent) * -30);
  else
    s.SoundVolume = 0;
}

void ReadKeys(AttributeReader& r, cKeys& keys) {
  r.integer("Up", keys.Up);
  r.integer("Down", keys.Down);
  r.integer("Backword", keys.Backward);  // the file's own spelling
  r.integer("Forward", keys.Forward);
  r.integer("Punch", keys.Punch);
  r.integer("Kick", keys.Kick);
  r.integer("Block", keys.Block);
}

void ReadFont(AttributeReader& r, cFont& font, bool withText) {
  r.text("Font", font.Name);
  r.boolean("FontBold", font.Bold);
  r.colour("FontColor", font.FontColor);
  r.boolean("FontItalic", font.Italic);
  r.integer("FontSize", font.Size);
  if (withText) r.text("Text", font.Text);
  r.integer("xOffset", font.xOffset);
  r.integer("yOffset", font.yOffset);
}

void ReadScreenElement(const pugi::xml_node& element, AttributeReader& r, Settings& s) {
  if (NameIs(element, "Player1Keys")) {
    ReadKeys(r, s.Player1Keys);
  } else if (NameIs(element, "Player2Keys")) {
    ReadKeys(r, s.Player2Keys);
  } else if (NameIs(element, "PleaseWait")) {
    ReadFont(r, s.PleaseWaitFont, true);
  } else if (NameIs(element, "GameOver")) {
    ReadFont(r, s.GameOverFont, true);
  } else if (NameIs(element, "RoundLoss")) {
    ReadFont(r, s.RoundLossFont, true);
  } else if (NameIs(element, "HealthMeters")) {
    ReadFont(r, s.HealthMeterFont, false);
  } else if (NameIs(element, "Characters")) {
    r.integer("Height", s.CharacterHeight);
    r.integer("Width", s.CharacterWidth);
    r.integer("pWidth", s.PortraitWidth);
    r.integer("pHeight", s.PortraitHeight);
  } else if (NameIs(element, "Menu")) {
    r.colour("HighlightColor", s.MenuHighlightColor);
    r.colour("Color", s.MenuColor);
    r.text("FontName", s.MenuFont.Name);
    r.boolean("FontBold", s.MenuFont.Bold);
    r.boolean("FontItalic", s.MenuFont.Italic);
    r.integer("FontSize", s.MenuFont.Size);
  } else if (NameIs(element, "Stages")) {
    r.integer("SelectWidth", s.StageSelectWidth);
    r.integer("SelectHeight", s.StageSelectHeight);
    r.text("SelectBackground", s.StageSelectBackground);
  } else if (NameIs(element, "SelectScreen")) {
    r.text("Background", s.SelectScreenBackground);
    r.text("Music", s.SelectScreenMusic);
    r.text("SelectSound", s.SelectScreenSound);
    r.text("SplashScreen", s.SplashScreen);
    r.text("MenuBack", s.MenuBack);
  }
  // Events and any other element: no attributes of interest.
}

// Low detail loads long actions at every other frame, so they move twice as far
// and twice as fast per frame.
void ApplyLowDetail(AttributeReader& r, cAction& a) {
  a.aStep = 2;
  a.Count = static_cast<Integer>(RoundHalfEven(a.Count / 2.0 + 0.1));
  if (const auto motion = ToDouble(a.Motion)) {
    a.Motion = NumberToText(*motion * 2);
  } else if (!a.Motion.empty()) {
    r.skip("Motion", "\"" + a.Motion + "\" is not a number, so low detail cannot double it");
  }
  auto doubled = [&r](const char* name, auto& field) {
    const long twice = static_cast<long>(field) * 2;
    using Field = std::remove_reference_t<decltype(field)>;
    if (twice < std::numeric_limits<Field>::min() || twice > std::numeric_limits<Field>::max()) {
      r.skip(name, "twice " + std::to_string(field) + " does not fit, so low detail keeps it");
      return;
    }
    field = static_cast<Field>(twice);
  };
  doubled("Speed", a.Speed);
  doubled("JumpSpeed", a.JumpSpeed);
  a.TopJumpFrame = static_cast<Long>(RoundHalfEven(a.TopJumpFrame / 2.0));
}

void ReadAction(AttributeReader& r, const Settings& s, cAction& a) {
  r.text("Name", a.Name);
  r.text("Sprites", a.Sprites);
  r.integer("Count", a.Count);
  r.text("AnimType", a.AnimationType);
  r.text("Activate", a.Activate);
  r.text("Motion", a.Motion);
  r.integer("Speed", a.Speed);
  r.text("AlternateSprites", a.AlternateSprites);
  r.text("AlternateSprites2", a.AlternateSprites2);
  r.integer("Damage", a.Damage);
  r.text("Performed", a.Performed);
  r.text("SFX", a.SFX);
  r.integer("HoldLastFrame", a.HoldLastFrame);
  r.integer("JumpSpeed", a.JumpSpeed);
  r.longValue("TopJumpFrame", a.TopJumpFrame);
  r.integer("xOffset", a.xOffset);
  r.integer("yOffset", a.yOffset);
  r.boolean("Large", a.bLarge);
  r.text("NextAction", a.NextAction);
  if (a.NextAction.size() > kMostNameChars) {
    r.skip("NextAction", "names an action longer than " + std::to_string(kMostNameChars) +
                             " characters, which no action can have");
    a.NextAction.clear();
  }
  a.bCanHit = true;
  r.boolean("CanHit", a.bCanHit);
  r.boolean("ShowParticles", a.ShowParticles);
  r.boolean("HardHit", a.HardHit);
  r.boolean("HighHit", a.HighHit);
  r.boolean("MidHit", a.MidHit);
  if (!r.text("Alias", a.Alias)) a.Alias = a.Name;

  if (a.Count > 3 && s.LowDetail)
    ApplyLowDetail(r, a);
  else
    a.aStep = 1;
}

// The attributes that effects and stage animations share, in the file's order.
template <typename Record>
void ReadAnimationAttributes(AttributeReader& r, Record& e) {
  r.integer("animX", e.animX);
  r.integer("animY", e.animY);
  r.integer("DisplayRate", e.DisplayRate);
  r.integer("Frames", e.Frames);
  r.integer("Height", e.Height);
  r.integer("MaxBottom", e.MaxBottom);
  r.integer("MaxLeft", e.MaxLeft);
  r.integer("MaxRight", e.MaxRight);
  r.integer("MaxTop", e.MaxTop);
  r.integer("MoveHorizontal", e.MoveHorizontal);
  r.integer("MoveVertical", e.MoveVertical);
  r.text("Name", e.Name);
  r.text("SFX", e.SFX);
  r.colour("TransColor", e.TransColor);
  r.integer("Width", e.Width);
  r.text("Sprites", e.Sprites);
  r.longValue("Interval", e.Interval);
  r.integer("SpriteType", e.SpriteType);
  r.doubleValue("Alpha", e.Alpha);
  r.doubleValue("AlphaChange", e.AlphaChange);
  r.longValue("AlphaInterval", e.AlphaInterval);
  r.doubleValue("Angle", e.Angle);
  r.doubleValue("AngleChange", e.AngleChange);
  r.longValue("AngleInterval", e.AngleInterval);
}

void ReadEffect(AttributeReader& r, cEffect& e) {
  ReadAnimationAttributes(r, e);
  r.text("ActionName", e.ActionName);
  r.text("NextEffect", e.NextEffect);
  r.integer("Damage", e.Damage);
  r.longValue("StartDelay", e.StartDelay);
  r.doubleValue("ScaleChange", e.ScaleChange);
  r.longValue("ScaleInterval", e.ScaleInterval);

  e.oHeight = e.Height;
  e.oWidth = e.Width;
  e.oAlpha = e.Alpha;
  e.oAlphaChange = e.AlphaChange;
  e.oAngle = e.Angle;
  e.oAngleChange = e.AngleChange;
  e.X = e.animX;
  e.Y = e.animY;
  e.CurFrame = e.Offset;

  r.integer("BlendMode", e.BlendMode);
  r.text("AltEffect", e.AltEffect);
  e.bReverse = true;
  r.boolean("Reverse", e.bReverse);
  r.single("Red", e.Red);
  r.single("Blue", e.Blue);
  r.single("Green", e.Green);
  if (!r.text("Alias", e.Alias)) e.Alias = e.Name;
  r.boolean("ShowParticles", e.ShowParticles);
  r.boolean("HardHit", e.HardHit);
}

void ReadAnim(AttributeReader& r, cAnim& a) {
  ReadAnimationAttributes(r, a);
  a.X = a.animX;
  a.Y = a.animY;
  a.CurFrame = a.Offset;
  r.integer("BlendMode", a.BlendMode);
  r.single("Red", a.Red);
  r.single("Blue", a.Blue);
  r.single("Green", a.Green);
  r.boolean("Loop", a.bLoop);
  if (!r.text("Alias", a.Alias)) a.Alias = a.Name;
}

class GameXmlReader {
 public:
  GameXmlReader(const XmlSource& source, Settings& settings, Content& content, LoadReport& report)
      : source_(source), settings_(settings), content_(content), report_(report) {}

  void readRoot(const pugi::xml_node& root) {
    AttributeReader rootReader(root, root.name(), source_, report_);
    ReadSettings(rootReader, settings_);
    for (const pugi::xml_node& child : root.children()) {
      if (child.type() != pugi::node_element) continue;
      AttributeReader r(child, child.name(), source_, report_);
      ReadScreenElement(child, r, settings_);
      for (const pugi::xml_node& item : child.children()) {
        if (item.type() != pugi::node_element) continue;
        readItem(item, child.name());
      }
    }
  }

 private:
  void readItem(const pugi::xml_node& item, const std::string& parent) {
    const std::string where = parent + " > " + DescribeElement(item, KeyAttributeOf(item));
    AttributeReader r(item, where, source_, report_);
    if (NameIs(item, "Character")) {
      readCharacter(item, r);
    } else if (NameIs(item, "Stage")) {
      readStage(item, r);
    } else if (NameIs(item, "Event")) {
      cEvent event;
      r.text("Action", event.Action);
      r.text("Type", event.EventType);
      r.text("File", event.File);
      const std::string key = event.EventType;
      AddKeyed(content_.Events, std::move(event), r, key, "Event");
    } else if (NameIs(item, "Item")) {
      cMenu menu;
      r.text("Name", menu.Name);
      r.integer("Type", menu.mType);
      r.integer("X", menu.X);
      r.integer("Y", menu.Y);
      content_.MenuItems.add(std::move(menu));
    } else if (NameIs(item, "char")) {
      readGlyph(r);
    }
  }

  void readCharacter(const pugi::xml_node& element, AttributeReader& r) {
    cCharacter c;
    r.text("Name", c.Name);
    r.integer("Health", c.Health);
    r.text("Path", c.Path);
    r.text("Portrait", c.Portrait);
    r.longValue("pX", c.pX);
    r.longValue("pY", c.pY);
    r.text("OnSelectAnim", c.OnSelectAnim);
    r.text("SelectSound", c.SelectSound);
    r.colour("TransColor", c.TransColor);
    r.longValue("yOffset", c.yOffset);
    r.integer("ShadowOffset", c.ShadowOffset);
    r.boolean("UseVDP", c.UseVDP);
    r.boolean("Disabled", c.Disabled);
    r.text("GlowColor", c.GlowColor);
    // Every Character element counts, even one that is later not added.
    ++characterCount_;
    c.CharCount = characterCount_;

    for (const pugi::xml_node& child : element.children()) {
      if (child.type() != pugi::node_element) continue;
      const std::string where = r.where() + " > " + DescribeElement(child);
      AttributeReader cr(child, where, source_, report_);
      if (NameIs(child, "Action")) {
        cAction action;
        ReadAction(cr, settings_, action);
        const std::string key = action.Name;
        if (key.size() > kMostNameChars) {
          cr.skip("Name", "an action's name may be " + std::to_string(kMostNameChars) +
                              " characters long at most, so the action is left out");
          continue;
        }
        AddKeyed(c.Actions, std::move(action), cr, key, "Action");
      } else if (NameIs(child, "Effect")) {
        readEffect(cr, c);
      }
    }
    const std::string key = c.Name;
    AddKeyed(content_.Characters, std::move(c), r, key, "Character");
  }

  void readEffect(AttributeReader& r, cCharacter& c) {
    if (c.Effects.size() == kMostFighterEffects) {
      r.skip("Effect", "a character may have " + std::to_string(kMostFighterEffects) +
                           " effects at most, so this one is left out");
      return;
    }
    cEffect effect;
    ReadEffect(r, effect);
    const std::string name = effect.Name;
    const std::string actionName = effect.ActionName;
    AddKeyed(c.Effects, std::move(effect), r, name, "Effect");
    if (actionName == "None") return;
    if (cAction* action = c.Actions.find(actionName)) {
      action->EffectList.push_back(name);
    } else {
      r.skip("ActionName", "\"" + actionName +
                               "\" names no Action written before this Effect in the Character, "
                               "so no action starts it");
    }
  }

  void readStage(const pugi::xml_node& element, AttributeReader& r) {
    cStage stage;
    r.text("Background", stage.Background);
    r.text("Name", stage.Name);
    r.integer("Width", stage.Width);
    r.integer("pX", stage.pX);
    r.integer("pY", stage.pY);
    r.text("Music", stage.Music);
    r.boolean("Snow", stage.bSnow);
    r.boolean("Disabled", stage.Disabled);
    r.boolean("Rain", stage.bRain);
    for (const pugi::xml_node& child : element.children()) {
      if (child.type() != pugi::node_element) continue;
      AttributeReader ar(child, r.where() + " > " + DescribeElement(child), source_, report_);
      if (stage.Animations.size() == kMostSceneryAnimations) {
        ar.skip("animation", "a stage may have " + std::to_string(kMostSceneryAnimations) +
                                 " animations at most, so this one is left out");
        continue;
      }
      cAnim anim;
      ReadAnim(ar, anim);
      const std::string key = anim.Name;
      AddKeyed(stage.Animations, std::move(anim), ar, key, "animation");
    }
    const std::string key = stage.Name;
    AddKeyed(content_.Stages, std::move(stage), r, key, "Stage");
  }

  void readGlyph(AttributeReader& r) {
    Integer x = 0, y = 0, width = 0, height = 0;
    std::string id;
    r.integer("x", x);
    r.integer("y", y);
    r.integer("width", width);
    r.integer("height", height);
    r.text("id", id);
    cRect glyph;
    glyph.Left = x;
    glyph.Top = y;
    const int right = x + width;
    const int bottom = y + height;
    if (right < -32768 || right > 32767 || bottom < -32768 || bottom > 32767) {
      r.skip("width", "the glyph reaches past 32767 pixels");
    } else {
      glyph.Right = static_cast<Integer>(right);
      glyph.Bottom = static_cast<Integer>(bottom);
    }
    AddKeyed(content_.FontChars, std::move(glyph), r, id, "char");
  }

  const XmlSource& source_;
  Settings& settings_;
  Content& content_;
  LoadReport& report_;
  Integer characterCount_ = 0;
};

}  // namespace

bool ReadGameXml(std::string_view xml, Settings& settings, Content& content, LoadReport& report) {
  const DecodedXml decoded = DecodeXmlText(xml, kFileName, report);
  const XmlSource source(kFileName, decoded.text);
  pugi::xml_document document;
  if (!LoadXmlDocument(decoded.text, source, document, report, decoded.madeUtf8)) return false;
  GameXmlReader reader(source, settings, content, report);
  for (const pugi::xml_node& root : document.children())
    if (root.type() == pugi::node_element) reader.readRoot(root);
  return true;
}

}  // namespace vdx
