#include "match/pause_menu.h"

#include <algorithm>
#include <array>

#include "graphics/system_text.h"
#include "match/move_list.h"

namespace vdx {
namespace {

constexpr std::array<const char*, 3> kItems{"Continue", "Exit to Menu", "Exit Game"};
constexpr int kPanelLeft = 210, kPanelTop = 170, kPanelRight = 430, kPanelBottom = 280;
constexpr std::uint32_t kOutline = 0x00FF6464u;  // (255, 100, 100)
constexpr std::uint32_t kFill = 0x00FFC8C8u;     // (255, 200, 200)

void DrawItems(Game& game, int selected) {
  cFont font = game.settings.MenuFont;
  const auto [plain, chosen] = PauseMenuColours(game.settings);
  for (int item = 1; item <= 3; ++item) {
    font.FontColor = item == selected ? chosen : plain;
    DrawSystemText(game.platform, game.display.backBuffer, font, kItems[item - 1], 220,
                   150 + 30 * item);
  }
}

}  // namespace

void DrawPausePanel(Surface& target, int left, int top, int right, int bottom) {
  for (int y = std::max(0, top); y <= std::min(bottom, target.height - 1); ++y)
    for (int x = std::max(0, left); x <= std::min(right, target.width - 1); ++x) {
      const bool edge = x == left || x == right || y == top || y == bottom;
      target.at(x, y) = edge ? kOutline : kFill;
    }
}

std::pair<Long, Long> PauseMenuColours(const Settings& settings) {
  // Content colours are 0x00BBGGRR. Without two colours of its own (a Game.xml
  // that sets neither), white and pure red, which are hard to read on the
  // pale panel: content picks its own with the Menu's Color and HighlightColor.
  if (settings.MenuColor == settings.MenuHighlightColor) return {0xFFFFFF, 0x0000FF};
  return {settings.MenuColor, settings.MenuHighlightColor};
}

void DrawPauseMenu(Game& game, int selected, const FightSlots& slots) {
  DrawMoveLists(game, slots);
  DrawPausePanel(game.display.backBuffer, kPanelLeft, kPanelTop, kPanelRight, kPanelBottom);
  DrawItems(game, selected);
}

}  // namespace vdx
