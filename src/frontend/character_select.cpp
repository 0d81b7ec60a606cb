#include "frontend/character_select.h"

#include <vector>

#include "core/game_error.h"
#include "core/log.h"
#include "frontend/screen_state.h"
#include "game/do_events.h"
#include "game/fatal_error.h"
#include "graphics/bitmap_text.h"
#include "graphics/frame_pacing.h"
#include "graphics/keyed_copy.h"
#include "graphics/sprite_loading.h"
#include "graphics/system_text.h"

namespace vdx {
namespace {

constexpr std::uint32_t kSelectFrameMs = 100;
constexpr int kLeftPortraitX = 20;
constexpr int kRightPortraitX = 440;
constexpr int kPortraitY = 160;

const cCharacter* CharacterAt(const Content& content, int entry) {
  return entry >= 2 ? content.Characters.at(static_cast<std::size_t>(entry - 1)) : nullptr;
}

std::string EntryName(const Content& content, int entry) {
  const cCharacter* c = CharacterAt(content, entry);
  return c != nullptr ? c->Name : std::string(kRandomEntry);
}

bool Selectable(const CharacterSelect& select, const Content& content, int entry) {
  if (entry == 1) return true;
  const cCharacter* c = CharacterAt(content, entry);
  if (c == nullptr || c->Disabled) return false;
  // A ladder is what story mode climbs.
  return select.mode != SelectFor::Story || content.Stories.contains(c->Name);
}

int Wrap(int entry, int entries) {
  if (entry > entries) return 1;
  if (entry < 1) return entries;
  return entry;
}

void Move(CharacterSelect& select, int player, int step) {
  int& cursor = select.cursor[player];
  cursor = Wrap(cursor + step, select.entries);
  // Two players share no character but "Random".
  if (select.mode == SelectFor::TwoPlayers && cursor != 1 && cursor == select.cursor[3 - player])
    cursor = Wrap(cursor + step, select.entries);
}

}  // namespace

void StepCharacterSelectPlayer(CharacterSelect& select, const Content& content, int player,
                               const std::string& letters) {
  const bool freshPunch = select.lastLetters[player] != "P";
  select.lastLetters[player] = letters;
  if (select.chosen[player]) return;
  if (letters == "R") {
    Move(select, player, 1);
  } else if (letters == "L") {
    Move(select, player, -1);
  } else if (letters == "P" && freshPunch && Selectable(select, content, select.cursor[player])) {
    select.chosen[player] = true;
    select.chosenName[player] = EntryName(content, select.cursor[player]);
  }
}

bool PlaceCharacterCursor(CharacterSelect& select, const Content& content, int player, int cursor,
                          bool chosen) {
  if (player < 1 || player > 2 || select.chosen[player]) return false;
  if (cursor < 1 || cursor > select.entries) return false;
  if (chosen && !Selectable(select, content, cursor)) return false;
  select.cursor[player] = cursor;
  if (chosen) {
    select.chosen[player] = true;
    select.chosenName[player] = EntryName(content, cursor);
  }
  return true;
}

CharacterSelect StartCharacterSelect(const Collection<cCharacter>& characters, SelectFor mode) {
  CharacterSelect select;
  select.mode = mode;
  select.entries = static_cast<int>(characters.size()) + 1;
  select.cursor = {0, std::min(2, select.entries), std::min(3, select.entries)};
  return select;
}

void StepCharacterSelect(CharacterSelect& select, const Content& content,
                         const std::string& player1Letters, const std::string& player2Letters) {
  if (player1Letters == "E") {
    select.back = true;
    return;
  }
  const bool player1HadChosen = select.chosen[1];
  StepCharacterSelectPlayer(select, content, 1, player1Letters);
  switch (select.mode) {
    case SelectFor::TwoPlayers:
      StepCharacterSelectPlayer(select, content, 2, player2Letters);
      break;
    case SelectFor::OnePlayer:
      // Player 1's keys pick the opponent from the frame after its own pick;
      // the Punch that made that pick must be let go first.
      if (player1HadChosen)
        StepCharacterSelectPlayer(select, content, 2, player1Letters);
      else
        select.lastLetters[2] = player1Letters;
      break;
    case SelectFor::Story:
      break;
  }
}

bool SelectionDone(const CharacterSelect& select) {
  return select.chosen[1] && (select.mode == SelectFor::Story || select.chosen[2]);
}

std::string ResolveRandom(RandomGenerator& random, const Collection<cCharacter>& characters,
                          const std::string& otherPlayer) {
  // Drawing again until the name differs from the other player's is the same
  // as one draw among the others, and this one always ends.
  std::vector<const cCharacter*> candidates;
  for (const cCharacter& c : characters)
    if (c.Name != otherPlayer) candidates.push_back(&c);
  if (candidates.empty())
    for (const cCharacter& c : characters)
      candidates.push_back(&c);
  if (candidates.empty()) return {};
  const auto last = static_cast<std::int32_t>(candidates.size()) - 1;
  return candidates[static_cast<std::size_t>(random.Range(0, last))]->Name;
}

ChosenFighters ResolveFighters(const CharacterSelect& select,
                               const Collection<cCharacter>& characters, RandomGenerator& random) {
  ChosenFighters fighters;
  fighters.player1 = select.chosenName[1];
  if (fighters.player1 == kRandomEntry)
    fighters.player1 = ResolveRandom(random, characters, select.chosenName[2]);
  if (select.mode != SelectFor::Story) {
    fighters.player2 = select.chosenName[2];
    if (fighters.player2 == kRandomEntry)
      fighters.player2 = ResolveRandom(random, characters, fighters.player1);
  }
  return fighters;
}

namespace {

void LoadSelectBackground(Game& game) {
  game.display.background = MakeSurface(kScreenWidth, kScreenHeight);
  try {
    LoadBackground(game.platform, game.paths, game.display,
                   "\\" + game.settings.SelectScreenBackground);
  } catch (const GameError&) {
    // No picture: the portraits stand on black (--check-content names the file).
  }
}

// The background goes in before the portraits are read.
LoadContext ContextAfterBackground(Game& game) {
  LoadSelectBackground(game);
  return LoadContext{game.platform, game.paths, game.log, nullptr};
}

}  // namespace

CharacterSelectScreen::CharacterSelectScreen(Game& game)
    : game_(game),
      // Only the portraits on screen are decoded, whatever the roster's length.
      pictures_(ContextAfterBackground(game), game.content.Characters, game.settings.PortraitWidth,
                game.settings.PortraitHeight) {}

void CharacterSelectScreen::draw(const CharacterSelect& select) {
  Surface& back = game_.display.backBuffer;
  PaintBackground(game_.display);
  const auto portrait = [&](int entry, int x) {
    const SharedSurface picture = pictures_.get(entry);
    if (!picture) return;
    const cCharacter* c = CharacterAt(game_.content, entry);
    DrawKeyedCopy(back, x, kPortraitY, *picture, c != nullptr ? c->TransColor : 0, false);
  };
  portrait(select.cursor[1], kLeftPortraitX);
  portrait(select.cursor[2], kRightPortraitX);
  DrawBitmapText(back, game_.font, "SELECT CHARACTER", 200, 160, 1, 1, 1, 0, 0.4f, 1);
  if (select.chosen[1]) DrawBitmapText(back, game_.font, "SELECTED", 50, 240, 1, 1, 1, 0, 0.4f, 1);
  if (select.chosen[2] && select.mode != SelectFor::Story)
    DrawBitmapText(back, game_.font, "SELECTED", 470, 240, 1, 1, 1, 0, 0.4f, 1);
  PresentFrame(game_.platform, game_.display);
}

std::string CharacterSelectScreen::stateJson(const CharacterSelect& select) const {
  std::string json = "{" + JsonField("screen", std::string("characterSelect"));
  for (int p = 1; p <= 2; ++p) {
    const std::string n = std::to_string(p);
    json += ", " + JsonField("cursor" + n, static_cast<long>(select.cursor[p])) + ", " +
            JsonField("entry" + n, EntryName(game_.content, select.cursor[p])) + ", " +
            JsonField("chosen" + n, select.chosenName[p]);
  }
  return json + "}\n";
}

std::optional<ChosenFighters> LoadSelectScreenNew(Game& game, SelectFor mode) {
  try {
    if (game.content.Characters.empty()) {
      WriteLog(game.log, LogOpening::Append,
               {"There is no character in Game.xml to choose; back to the menu"});
      return std::nullopt;
    }
    WaitForKeysReleased(game);
    game.input.HeldCommand[1].clear();
    game.input.HeldCommand[2].clear();
    CharacterSelectScreen screen(game);
    CharacterSelect select = StartCharacterSelect(game.content.Characters, mode);
    ForgetKeyTaps(game);
    std::uint32_t deadline = 0;
    while (!game.QuitRequested && !select.back && !SelectionDone(select)) {
      const FrameInput frame = ReadFrame(game);
      if (FrameDue(deadline, frame.ticks, kSelectFrameMs)) {
        PollInput(WithKeysTappedSinceLastLook(game, frame), game.settings.Player1Keys,
                  game.settings.Player2Keys, game.settings.Joystick, game.input);
        screen.draw(select);
        StepCharacterSelect(select, game.content, game.input.HeldCommand[1],
                            game.input.HeldCommand[2]);
      }
      DoEvents(game);
      AnswerStateRequests(game, [&] { return screen.stateJson(select); });
    }
    if (game.QuitRequested || select.back) return std::nullopt;

    WaitForKeysReleased(game);
    game.random.MixTicks(ReadFrame(game).ticks);
    const ChosenFighters fighters = ResolveFighters(select, game.content.Characters, game.random);
    ShowPleaseWait(game.platform, game.display, game.settings.PleaseWaitFont);
    return fighters;
  } catch (const GameError& e) {
    ReportFatalError(game, "LoadSelectScreenNew", e);
  }
}

}  // namespace vdx
