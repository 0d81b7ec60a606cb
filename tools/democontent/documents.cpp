#include "documents.h"

#include <sstream>

#include "fighter_frames.h"
#include "platform/keycodes.h"

namespace democontent {
namespace {

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

class Element {
 public:
  explicit Element(std::string name) : text_("<" + name) {}
  Element& a(const std::string& name, const std::string& value) {
    text_ += " " + name + "=\"" + Escape(value) + "\"";
    return *this;
  }
  Element& a(const std::string& name, int value) { return a(name, std::to_string(value)); }
  Element& a(const std::string& name, double value) {
    std::ostringstream s;
    s << value;
    return a(name, s.str());
  }
  Element& b(const std::string& name, bool value) { return a(name, value ? "True" : "False"); }
  std::string close() const { return text_ + "/>"; }
  std::string open() const { return text_ + ">"; }

 private:
  std::string text_;
};

std::string Colour(Rgb c) {
  // Content colours are written H + blue, green, red.
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "H%02X%02X%02X", c.b, c.g, c.r);
  return buffer;
}

std::string GlowHex(Rgb c) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02X%02X%02X", c.r, c.g, c.b);
  return buffer;
}

void FontElement(std::ostringstream& out, const char* name, const std::string& face, int size,
                 Rgb colour, const char* text, int x, int y) {
  Element e(name);
  e.a("Font", face).b("FontBold", true).a("FontColor", Colour(colour)).b("FontItalic", false);
  e.a("FontSize", size);
  if (text) e.a("Text", std::string(text));
  e.a("xOffset", x).a("yOffset", y);
  out << "  " << e.close() << "\n";
}

void ActionElement(std::ostringstream& out, const ActionSpec& a) {
  Element e("Action");
  e.a("Name", a.name).a("Sprites", a.sprites).a("Count", a.count).a("AnimType", a.animType);
  e.a("Activate", a.activate).a("Motion", a.motion).a("Speed", a.speed);
  e.a("AlternateSprites", a.sprites).a("AlternateSprites2", a.sprites).a("Damage", a.damage);
  e.a("Performed", a.performed).a("SFX", a.sfx).a("HoldLastFrame", a.holdLastFrame);
  e.a("JumpSpeed", a.jumpSpeed).a("TopJumpFrame", a.topJumpFrame);
  e.a("xOffset", a.xOffset).a("yOffset", a.yOffset).b("Large", false);
  if (!a.nextAction.empty()) e.a("NextAction", a.nextAction);
  e.b("CanHit", a.canHit).b("ShowParticles", a.showParticles).b("HardHit", a.hardHit);
  e.b("HighHit", a.highHit).b("MidHit", a.midHit);
  if (!a.alias.empty()) e.a("Alias", a.alias);
  out << "      " << e.close() << "\n";
}

void EffectElement(std::ostringstream& out, const EffectSpec& f) {
  Element e("Effect");
  e.a("Name", f.name).a("ActionName", f.actionName).a("animX", f.animX).a("animY", f.animY);
  e.a("DisplayRate", f.displayRate).a("Frames", f.frames).a("Height", f.height).a("Width", f.width);
  e.a("MaxBottom", f.maxBottom).a("MaxLeft", 0).a("MaxRight", 1280).a("MaxTop", f.maxTop);
  e.a("MoveHorizontal", f.moveHorizontal).a("MoveVertical", f.moveVertical).a("SFX", f.sfx);
  e.a("TransColor", "H0").a("Sprites", f.sprites).a("Interval", f.interval).a("SpriteType", 0);
  e.a("Alpha", f.alpha).a("AlphaChange", f.alphaChange).a("AlphaInterval", f.alphaInterval);
  e.a("Angle", f.angle).a("AngleChange", f.angleChange).a("AngleInterval", f.angleInterval);
  e.a("NextEffect", f.nextEffect).a("Damage", f.damage).a("StartDelay", f.startDelay);
  e.a("ScaleChange", f.scaleChange).a("ScaleInterval", f.scaleInterval);
  e.a("BlendMode", f.blendMode).b("Reverse", f.reverse);
  e.a("Red", f.red).a("Green", f.green).a("Blue", f.blue);
  if (!f.alias.empty()) e.a("Alias", f.alias);
  e.b("ShowParticles", f.showParticles).b("HardHit", f.hardHit);
  out << "      " << e.close() << "\n";
}

void AnimElement(std::ostringstream& out, const AnimSpec& a) {
  Element e("Animation");
  e.a("Name", a.name).a("animX", a.animX).a("animY", a.animY).a("DisplayRate", 0);
  e.a("Frames", a.frames).a("Height", a.height).a("Width", a.width);
  e.a("MaxBottom", a.maxBottom).a("MaxLeft", a.maxLeft).a("MaxRight", a.maxRight);
  e.a("MaxTop", a.maxTop).a("MoveHorizontal", a.moveHorizontal).a("MoveVertical", a.moveVertical);
  e.a("SFX", "").a("TransColor", "H0").a("Sprites", a.sprites).a("Interval", a.interval);
  e.a("SpriteType", 0).a("Alpha", a.alpha).a("AlphaChange", a.alphaChange);
  e.a("AlphaInterval", a.alphaInterval).a("Angle", a.angle).a("AngleChange", a.angleChange);
  e.a("AngleInterval", a.angleInterval).a("BlendMode", a.blendMode);
  e.a("Red", 1.0).a("Green", 1.0).a("Blue", 1.0).b("Loop", a.loop);
  out << "      " << e.close() << "\n";
}

}  // namespace

std::vector<StorySpec> Stories(const std::vector<Character>& roster,
                               const std::vector<StageSpec>& stages) {
  // Each ladder meets the others and, last, the fighter's own shadow; every
  // fight on a stage of its own.
  std::vector<const StageSpec*> open;
  for (const StageSpec& s : stages)
    if (!s.disabled) open.push_back(&s);
  std::vector<StorySpec> stories;
  for (std::size_t i = 0; i < roster.size(); ++i) {
    StorySpec story;
    story.character = roster[i].fighter.name;
    const std::string who = roster[i].fighter.path;
    story.winFile = "Movies\\Story\\" + who + "_end.avi";
    for (std::size_t n = 1; n <= roster.size(); ++n) {
      const Character& opponent = roster[(i + n) % roster.size()];
      const StageSpec& stage = *open[(i + n) % open.size()];
      story.rungs.push_back({opponent.fighter.name, stage.name,
                             "Movies\\Story\\" + who + "_" + std::to_string(n) + ".avi"});
    }
    stories.push_back(story);
  }
  return stories;
}

std::string GameXml(const std::vector<Character>& roster, const std::vector<StageSpec>& stages,
                    const std::vector<Glyph>& glyphs) {
  std::ostringstream out;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<!-- The vdx demo game. Written by tools/democontent: edit the generator, not this file. "
         "-->\n";
  out << Element("Vandrel")
             .a("Name", "Vandrel Unveiled")
             .b("LowDetail", false)
             .b("Weather", true)
             .b("Shadows", true)
             .a("Rounds", 3)
             .b("Joystick", false)
             .a("MusicVolume", 80)
             .a("SoundVolume", 90)
             .open()
      << "\n";
  // Player 1 on the arrows with A, S, D; player 2 on I, J, K, L with Q, W, E.
  out << "  "
      << Element("Player1Keys")
             .a("Up", 200)
             .a("Down", 208)
             .a("Backword", 203)
             .a("Forward", 205)
             .a("Punch", 30)
             .a("Kick", 31)
             .a("Block", 32)
             .close()
      << "\n";
  out << "  "
      << Element("Player2Keys")
             .a("Up", 23)
             .a("Down", 37)
             .a("Backword", 36)
             .a("Forward", 38)
             .a("Punch", 16)
             .a("Kick", 17)
             .a("Block", 18)
             .close()
      << "\n";
  // The wait message goes in the screens' last rows, which every picture of
  // the demo (menus, select screens, movies) leaves free for it; it is some
  // 242 x 22 pixels in the headless platform's font.
  FontElement(out, "PleaseWait", "Arial", 14, Rgb{255, 255, 255}, "Please wait, loading...", 199,
              454);
  FontElement(out, "GameOver", "Arial", 28, Rgb{255, 60, 40}, "GAME OVER", 0, 0);
  // One text opens each round (centred) and shows the result of a round that
  // does not end the match (at these offsets in a 355 x 70 piece shown at
  // (160, 130)), so it reads as the rule before and as what happened after.
  // Some 343 x 32 pixels: it fits that piece, and the opening banner's first,
  // 1.7 times larger, picture fits the screen.
  FontElement(out, "RoundLoss", "Arial", 20, Rgb{255, 220, 60}, "K.O. WINS THE ROUND", 6, 19);
  FontElement(out, "HealthMeters", "MS Sans Serif", 10, Rgb{255, 220, 60}, nullptr, 0, 0);

  out << "  "
      << Element("Characters")
             .a("Height", 240)
             .a("Width", 200)
             .a("pWidth", kPortraitWidth)
             .a("pHeight", kPortraitHeight)
             .open()
      << "\n";
  for (const Character& c : roster) {
    out << "    "
        << Element("Character")
               .a("Name", c.fighter.name)
               .a("Health", c.health)
               .a("Path", c.fighter.path)
               .a("Portrait", "portrait.bmp")
               .a("pX", 20)
               .a("pY", 160)
               .a("OnSelectAnim", "Standing")
               .a("SelectSound", c.fighter.path + "_shout.wav")
               .a("TransColor", "H0")
               .a("yOffset", kFloorY - kGroundY)
               .a("ShadowOffset", 200)
               .b("UseVDP", c.useVdp)
               .b("Disabled", false)
               .a("GlowColor", GlowHex(c.glow))
               .open()
        << "\n";
    for (const ActionSpec& a : ActionsFor(c.fighter, c.special))
      ActionElement(out, a);
    for (const EffectSpec& e : c.effects)
      EffectElement(out, e);
    out << "    </Character>\n";
  }
  out << "  </Characters>\n";

  out << "  "
      << Element("Menu")
             // The pause menu's items, on its pale panel: dark, and the chosen one dark red.
             .a("HighlightColor", Colour(Rgb{160, 0, 0}))
             .a("Color", Colour(Rgb{48, 24, 64}))
             .a("FontName", "Arial")
             .b("FontBold", true)
             .b("FontItalic", false)
             .a("FontSize", 18)
             .open()
      << "\n";
  int row = 0;
  for (const MenuEntry& m : MenuEntries())
    out << "    "
        << Element("Item")
               .a("Name", m.label)
               .a("Type", m.type)
               .a("X", 220)
               .a("Y", 200 + 45 * row++)
               .close()
        << "\n";
  out << "  </Menu>\n";

  out << "  "
      << Element("Stages")
             .a("SelectWidth", 300)
             .a("SelectHeight", 224)
             .a("SelectBackground", "stagesel.bmp")
             .open()
      << "\n";
  for (const StageSpec& s : stages) {
    out << "    "
        << Element("Stage")
               .a("Name", s.name)
               .a("Background", s.background)
               .a("Width", kStageWidth)
               .a("pX", 170)
               .a("pY", 128)
               .a("Music", s.music)
               .b("Snow", s.snow)
               .b("Rain", s.rain)
               .b("Disabled", s.disabled)
               .open()
        << "\n";
    for (const AnimSpec& a : s.anims)
      AnimElement(out, a);
    out << "    </Stage>\n";
  }
  out << "  </Stages>\n";

  out << "  <Events>\n";
  out << "    "
      << Element("Event")
             .a("Type", "OnWinRound")
             .a("Action", "Win")
             .a("File", kWinRoundMovie)
             .close()
      << "\n";
  out << "    "
      << Element("Event")
             .a("Type", "OnLoseRound")
             .a("Action", "Lose")
             .a("File", kLoseRoundMovie)
             .close()
      << "\n";
  out << "    "
      << Element("Event").a("Type", "OnWinGame").a("Action", "Win").a("File", kWinGameMovie).close()
      << "\n";
  out << "    "
      << Element("Event")
             .a("Type", "OnLoseGame")
             .a("Action", "Lose")
             .a("File", kLoseGameMovie)
             .close()
      << "\n";
  out << "  </Events>\n";

  out << "  "
      << Element("SelectScreen")
             .a("Background", "select.bmp")
             .a("Music", "menu.ogg")
             .a("SelectSound", "select.wav")
             .a("SplashScreen", "splash.bmp")
             .a("MenuBack", "menuback.bmp")
             .close()
      << "\n";

  out << "  <!-- The glyphs of VDXFont.bmp: id is the character code. -->\n  <Font>\n";
  for (const Glyph& g : glyphs)
    out << "    "
        << Element("char")
               .a("id", g.id)
               .a("x", g.x)
               .a("y", g.y)
               .a("width", g.width)
               .a("height", g.height)
               .close()
        << "\n";
  out << "  </Font>\n</Vandrel>\n";
  return out.str();
}

std::string AiXml(const std::vector<Character>& roster) {
  std::ostringstream out;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AI>\n";
  const int aggression[] = {70, 55, 80};
  std::size_t i = 0;
  for (const Character& c : roster) {
    const int a = aggression[i++ % 3];
    out << "  "
        << Element("Character")
               .a("Name", c.fighter.name)
               .a("Aggression", a)
               .a("Attack", 65)
               .a("AttackFar", 35)
               .a("Block", 45)
               .a("Retreat", 40)
               .open()
        << "\n";
    struct M {
      const char* name;
      const char* type;
      const char* region;
      bool attack;
    };
    const M moves[] = {{"Punch", "Close", "High", true},    {"Kick", "Close", "Mid", true},
                       {"DuckPunch", "Close", "Low", true}, {"DuckKick", "Close", "Low", true},
                       {"SweepKick", "Close", "Low", true}, {"Throw", "Close", "Mid", true},
                       {"JumpKick", "Far", "High", false},  {"Flip", "Far", "Behind", false}};
    for (const M& m : moves)
      out << "    "
          << Element("Move")
                 .a("Name", m.name)
                 .a("Type", m.type)
                 .a("Region", m.region)
                 .b("Attack", m.attack)
                 .close()
          << "\n";
    out << "    "
        << Element("Move").a("Name", c.special).a("Type", "Far").a("Region", "Mid").close() << "\n";
    out << "  </Character>\n";
  }
  out << "</AI>\n";
  return out.str();
}

std::string StoryXml(const std::vector<StorySpec>& stories) {
  std::ostringstream out;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Story>\n";
  for (const StorySpec& s : stories) {
    out << "  "
        << Element("Character")
               .a("Name", s.character)
               .a("Opponents", static_cast<int>(s.rungs.size()))
               .a("WinFile", s.winFile)
               .open()
        << "\n";
    for (const StoryRung& r : s.rungs)
      out << "    "
          << Element("Opponent")
                 .a("Name", r.opponent)
                 .a("Stage", r.stage)
                 .a("BeforeFile", r.beforeFile)
                 .close()
          << "\n";
    out << "  </Character>\n";
  }
  out << "</Story>\n";
  return out.str();
}

std::string KeysTxt() {
  // One record a line: the key code in hexadecimal, then the name people see.
  std::ostringstream out;
  for (const vdx::KeyName& k : vdx::AllKeyNames()) {
    std::string shown(k.name);
    if (shown == "Up" || shown == "Down" || shown == "Left" || shown == "Right")
      shown += " Arrow";
    else if (shown == "LMenu")
      shown = "Left Alt";
    else if (shown == "RMenu")
      shown = "Right Alt";
    else if (shown == "Back")
      shown = "Backspace";
    else if (shown == "Prior")
      shown = "Page Up";
    else if (shown == "Next")
      shown = "Page Down";
    char code[8];
    std::snprintf(code, sizeof code, "%X", k.code);
    out << "\"" << code << "\",\"" << shown << "\"\r\n";
  }
  return out.str();
}

std::string HelpPage(const std::vector<Character>& roster) {
  std::ostringstream out;
  out << R"(<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Vandrel Unveiled: how to play</title>
<style>
body { font-family: sans-serif; background: #1a1030; color: #f0e8e0; max-width: 52em; margin: 2em auto; }
h1 { color: #ffd070; } h2 { color: #ff9a60; border-bottom: 1px solid #604060; }
table { border-collapse: collapse; } td, th { padding: .25em .8em; border: 1px solid #503050; }
th { background: #402040; } code { color: #a0f0e0; }
</style></head><body>
<h1>Vandrel Unveiled</h1>
<p>Two fighters, three rounds, one winner. Win two rounds to take the match.</p>
<h2>Controls</h2>
<table><tr><th></th><th>Player 1</th><th>Player 2</th></tr>
<tr><td>Left / right</td><td>Left / Right arrows</td><td>J / L</td></tr>
<tr><td>Jump / duck</td><td>Up / Down arrows</td><td>I / K</td></tr>
<tr><td>Punch</td><td>A</td><td>Q</td></tr>
<tr><td>Kick</td><td>S</td><td>W</td></tr>
<tr><td>Block</td><td>D</td><td>E</td></tr>
<tr><td>Pause</td><td>Escape</td><td></td></tr></table>
<p>In the menus, up and down choose and punch confirms. Alt+Enter switches between window and
full screen; Alt+X leaves the game.</p>
<h2>Moves of every fighter</h2>
<p>Directions are relative to the way the fighter faces: <em>forward</em> is towards the opponent.
A sequence is typed one key after another within half a second.</p>
<table><tr><th>Move</th><th>Keys</th></tr>
<tr><td>Punch, kick</td><td>punch, kick</td></tr>
<tr><td>Low punch, low kick</td><td>hold down + punch, down + kick</td></tr>
<tr><td>Sweep kick (goes through a block)</td><td>hold back + kick</td></tr>
<tr><td>Jump, forward flip</td><td>up, forward + up</td></tr>
<tr><td>Jumping punch or kick</td><td>punch or kick in the air</td></tr>
<tr><td>Block</td><td>block</td></tr>
<tr><td>Dash</td><td>forward, forward</td></tr>
<tr><td>Throw (close to the opponent)</td><td>down, forward, kick</td></tr>
<tr><td>Finisher "Sexuality" (after winning a round, opponent nearly beaten)</td><td>down, back, kick</td></tr>
</table>
<h2>The fighters</h2>
)";
  for (const Character& c : roster) {
    out << "<h3>" << Escape(c.fighter.name) << "</h3>\n<p>" << Escape(c.moveNote)
        << "</p>\n<p>Special: <strong>" << Escape(c.special)
        << "</strong>: down, forward, punch. Health " << c.health << ".</p>\n";
  }
  out << "</body></html>\n";
  return out.str();
}

}  // namespace democontent
