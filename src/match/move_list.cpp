#include "match/move_list.h"

#include <algorithm>

#include "graphics/system_text.h"
#include "match/keys_shown.h"
#include "match/pause_menu.h"
#include "match/tool_text.h"

namespace vdx {
namespace {

constexpr std::size_t kMostListedNameChars = 20;

std::string Shortened(const std::string& name) {
  if (name.size() <= kMostListedNameChars) return name;
  // Cut between two characters of the UTF-8 text, never inside one.
  std::size_t cut = kMostListedNameChars - 1;
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
    --cut;
  return name.substr(0, cut) + "\u2026";
}

void DrawList(Game& game, const cCharacter& character, int left) {
  const std::vector<MoveListEntry> moves = MoveList(character);
  const int shown = std::min<int>(static_cast<int>(moves.size()), kMostMovesShown);
  const bool more = static_cast<int>(moves.size()) > shown;
  const int lines = 1 + std::max(1, shown) + (more ? 1 : 0);
  const int right = left + kMoveListWidth;
  DrawPausePanel(game.display.backBuffer, left, kMoveListTop, right,
                 kMoveListTop + 6 + lines * kMoveListLineHeight);
  Surface& target = game.display.backBuffer;
  int y = kMoveListTop + 4;
  DrawSystemText(game.platform, target, ToolFont(9, true), Shortened(character.Name), left + 6, y);
  y += kMoveListLineHeight;
  const cFont font = ToolFont(9, false);
  if (moves.empty()) DrawSystemText(game.platform, target, font, "No key sequences", left + 6, y);
  for (int i = 0; i < shown; ++i, y += kMoveListLineHeight) {
    const MoveListEntry& move = moves[static_cast<std::size_t>(i)];
    DrawSystemText(game.platform, target, font, Shortened(move.name), left + 6, y);
    const std::string keys = KeysShown(move.keys);
    DrawSystemText(game.platform, target, font, keys, right - 6 - TextWidth(game, font, keys), y);
  }
  if (more)
    DrawSystemText(
        game.platform, target, font,
        "and " + std::to_string(moves.size() - static_cast<std::size_t>(shown)) + " more", left + 6,
        y);
}

}  // namespace

std::vector<MoveListEntry> MoveList(const cCharacter& character) {
  std::vector<MoveListEntry> moves;
  for (const cAction& action : character.Actions)
    if (action.Activate.size() >= 2 && !KeysShown(action.Activate).empty())
      moves.push_back(MoveListEntry{action.Name, action.Activate});
  return moves;
}

int MoveListLeft(int player) {
  return player == 1 ? 6 : 640 - 6 - kMoveListWidth;
}

void DrawMoveLists(Game& game, const FightSlots& slots) {
  for (int p = 1; p <= 2; ++p)
    DrawList(game, slots.players[static_cast<std::size_t>(p)].character, MoveListLeft(p));
}

}  // namespace vdx
