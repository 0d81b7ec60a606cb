#include "contact_sheet.h"

#include <algorithm>

#include "fighter_frames.h"

namespace democontent {

Image ContactSheet(const Character& c, const std::vector<Character>& roster) {
  const auto actions = ActionsFor(c.fighter, c.special);
  constexpr int kCell = 128, kLabel = 150;
  // Throws are drawn 364 wide, so their cells are wider.
  constexpr int kWideCell = kCell * kGrabFrameWidth / kFrameSize;
  int width = 0;
  for (const ActionSpec& a : actions)
    width = std::max(width, a.count * (a.grab ? kWideCell : kCell));
  const int rows = static_cast<int>(actions.size()) + static_cast<int>(roster.size()) - 1;
  Image sheet(kLabel + width, rows * kCell, Rgb{40, 44, 52});
  Font font("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf");
  int row = 0;
  auto drawRow = [&](const std::string& label, const ActionSpec& a, const Character* victim) {
    font.draw(sheet, label, 8, row * kCell + 50, 16, Rgb{230, 230, 230}, Rgb{200, 200, 200});
    for (int k = 0; k < a.count; ++k) {
      const Image frame = RenderActionFrame(c, a, k, victim);
      const int w = frame.width * kCell / kFrameSize;
      const Image small = Resized(frame, w, kCell);
      const Rgb black{};
      const int left = kLabel + k * w;
      for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < w; ++x)
          sheet.set(left + x, row * kCell + y,
                    ((x / 8 + y / 8 + k) % 2) ? Rgb{24, 26, 30} : Rgb{30, 32, 38});
      Paste(sheet, small, left, row * kCell, &black);
    }
    ++row;
  };
  for (const ActionSpec& a : actions) {
    if (!a.alias.empty()) continue;
    if (a.grab) {
      for (const Character& v : roster)
        drawRow(a.name + " " + v.fighter.name, a, &v);
    } else {
      drawRow(a.name, a, nullptr);
    }
  }
  return sheet;
}

}  // namespace democontent
