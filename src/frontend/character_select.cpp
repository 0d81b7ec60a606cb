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

void StepPlayer(CharacterSelect& select, const Content& content, int player,
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

}  // namespace

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
  StepPlayer(select, content, 1, player1Letters);
  switch (select.mode) {
    case SelectFor::TwoPlayers:
      StepPlayer(select, content, 2, player2Letters);
      break;
    case SelectFor::OnePlayer:
      // Player 1's keys pick the opponent from the frame after its own pick;
      // the Punch that made that pick must be let go first.
      if (player1HadChosen)
        StepPlayer(select, content, 2, player1Letters);
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

namespace {

void DrawPortrait(Game& game, CharacterPortraits& portraits, int entry, int x) {
  const SharedSurface portrait = portraits.get(entry);
  if (!portrait) return;
  const cCharacter* c = CharacterAt(game.content, entry);
  DrawKeyedCopy(game.display.backBuffer, x, kPortraitY, *portrait, c != nullptr ? c->TransColor : 0,
                false);
}

void DrawSelect(Game& game, CharacterPortraits& pictures, const CharacterSelect& select) {
  Surface& back = game.display.backBuffer;
  PaintBackground(game.display);
  DrawPortrait(game, pictures, select.cursor[1], kLeftPortraitX);
  DrawPortrait(game, pictures, select.cursor[2], kRightPortraitX);
  DrawBitmapText(back, game.font, "SELECT CHARACTER", 200, 160, 1, 1, 1, 0, 0.4f, 1);
  if (select.chosen[1]) DrawBitmapText(back, game.font, "SELECTED", 50, 240, 1, 1, 1, 0, 0.4f, 1);
  if (select.chosen[2] && select.mode != SelectFor::Story)
    DrawBitmapText(back, game.font, "SELECTED", 470, 240, 1, 1, 1, 0, 0.4f, 1);
  PresentFrame(game.platform, game.display);
}

std::string StateJson(const CharacterSelect& select, const Content& content) {
  std::string json = "{" + JsonField("screen", std::string("characterSelect"));
  for (int p = 1; p <= 2; ++p) {
    const std::string n = std::to_string(p);
    json += ", " + JsonField("cursor" + n, static_cast<long>(select.cursor[p])) + ", " +
            JsonField("entry" + n, EntryName(content, select.cursor[p])) + ", " +
            JsonField("chosen" + n, select.chosenName[p]);
  }
  return json + "}\n";
}

void LoadSelectBackground(Game& game) {
  game.display.background = MakeSurface(kScreenWidth, kScreenHeight);
  try {
    LoadBackground(game.platform, game.paths, game.display,
                   "\\" + game.settings.SelectScreenBackground);
  } catch (const GameError&) {
    // No picture: the portraits stand on black (--check-content names the file).
  }
}

}  // namespace

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
    LoadSelectBackground(game);
    const LoadContext ctx{game.platform, game.paths, game.log, nullptr};
    // Only the portraits on screen are decoded, whatever the roster's length.
    CharacterPortraits pictures(ctx, game.content.Characters, game.settings.PortraitWidth,
                                game.settings.PortraitHeight);
    CharacterSelect select = StartCharacterSelect(game.content.Characters, mode);
    ForgetKeyTaps(game);
    std::uint32_t deadline = 0;
    while (!game.QuitRequested && !select.back && !SelectionDone(select)) {
      const FrameInput frame = ReadFrame(game);
      if (FrameDue(deadline, frame.ticks, kSelectFrameMs)) {
        PollInput(WithKeysTappedSinceLastLook(game, frame), game.settings.Player1Keys,
                  game.settings.Player2Keys, game.settings.Joystick, game.input);
        DrawSelect(game, pictures, select);
        StepCharacterSelect(select, game.content, game.input.HeldCommand[1],
                            game.input.HeldCommand[2]);
      }
      DoEvents(game);
      AnswerStateRequests(game, [&] { return StateJson(select, game.content); });
    }
    if (game.QuitRequested || select.back) return std::nullopt;

    WaitForKeysReleased(game);
    game.random.MixTicks(ReadFrame(game).ticks);
    ChosenFighters fighters;
    fighters.player1 = select.chosenName[1];
    if (fighters.player1 == kRandomEntry)
      fighters.player1 = ResolveRandom(game.random, game.content.Characters, select.chosenName[2]);
    if (mode != SelectFor::Story) {
      fighters.player2 = select.chosenName[2];
      if (fighters.player2 == kRandomEntry)
        fighters.player2 = ResolveRandom(game.random, game.content.Characters, fighters.player1);
    }
    ShowPleaseWait(game.platform, game.display, game.settings.PleaseWaitFont);
    return fighters;
  } catch (const GameError& e) {
    ReportFatalError(game, "LoadSelectScreenNew", e);
  }
}

}  // namespace vdx
