#include "match/pause_menu.h"

#include <array>

#include "graphics/system_text.h"

namespace vdx {
namespace {

constexpr std::array<const char*, 3> kItems{"Continue", "Exit to Menu", "Exit Game"};
constexpr int kPanelLeft = 210, kPanelTop = 170, kPanelRight = 430, kPanelBottom = 280;
constexpr std::uint32_t kOutline = 0x00FF6464u;  // (255, 100, 100)
constexpr std::uint32_t kFill = 0x00FFC8C8u;     // (255, 200, 200)

void DrawPanel(Surface& target) {
  for (int y = kPanelTop; y <= kPanelBottom; ++y)
    for (int x = kPanelLeft; x <= kPanelRight; ++x) {
      const bool edge = x == kPanelLeft || x == kPanelRight || y == kPanelTop || y == kPanelBottom;
      target.at(x, y) = edge ? kOutline : kFill;
    }
}

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

std::pair<Long, Long> PauseMenuColours(const Settings& settings) {
  // Content colours are 0x00BBGGRR. Without two colours of its own (a Game.xml
  // that sets neither), white and pure red, which are hard to read on the
  // pale panel: content picks its own with the Menu's Color and HighlightColor.
  if (settings.MenuColor == settings.MenuHighlightColor) return {0xFFFFFF, 0x0000FF};
  return {settings.MenuColor, settings.MenuHighlightColor};
}

void DrawPauseMenu(Game& game, int selected) {
  DrawPanel(game.display.backBuffer);
  DrawItems(game, selected);
}

}  // namespace vdx
