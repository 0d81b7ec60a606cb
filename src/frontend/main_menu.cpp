#include "frontend/main_menu.h"

#include <algorithm>
#include <vector>

#include "audio/music.h"
#include "core/game_error.h"
#include "core/log.h"
#include "frontend/screen_state.h"
#include "game/do_events.h"
#include "game/fatal_error.h"
#include "graphics/frame_pacing.h"
#include "graphics/sprite_loading.h"
#include "graphics/sprite_renderer.h"

namespace vdx {
namespace {

constexpr int kSheetSize = 512;
constexpr std::uint32_t kMenuFrameMs = 100;  // at most 10 menu frames a second

// Each item's strip, cut out of the menu picture once per visit: what the
// working copy of the picture would show of it, drawn where it would be.
std::vector<Surface> CutStrips(Game& game) {
  std::vector<Surface> strips;
  const LoadContext ctx{game.platform, game.paths, game.log, nullptr};
  const SharedSurface sheet = LoadPictureOrLog(ctx, "\\text.bmp", kSheetSize, kSheetSize, 0u);
  const std::size_t count = game.content.MenuItems.size();
  for (std::size_t i = 1; i <= count; ++i) {
    const auto place = MenuItemStrip(static_cast<int>(i));
    if (!sheet || !place) {
      strips.emplace_back();  // nothing to draw
      continue;
    }
    Surface strip = MakeSurface(place->width, kMenuStripHeight);
    for (int y = 0; y < kMenuStripHeight; ++y)
      std::copy_n(&sheet->pixels[static_cast<std::size_t>(place->top + y) * kSheetSize],
                  place->width, &strip.at(0, y));
    strip.colorKey = 0;  // black is transparent
    MarkDrawnColumns(strip);
    strips.push_back(std::move(strip));
  }
  return strips;
}

void DrawMenu(Game& game, std::vector<Surface>& strips, int selected) {
  Display& display = game.display;
  PaintBackground(display);
  for (std::size_t i = 0; i < strips.size(); ++i) {
    if (strips[i].pixels.empty()) continue;
    const int item = static_cast<int>(i) + 1;
    SpriteArgs a = SpriteAt(kMenuX, static_cast<float>(kMenuY + (item - 1) * kMenuStep),
                            strips[i].width, strips[i].height);
    a.Green = a.Blue = item == selected ? 0.0f : 1.0f;
    DrawSprite(display.backBuffer, strips[i], a, display.raster);
  }
  PresentFrame(game.platform, display);
}

void LoadMenuBackground(Game& game) {
  game.display.background = MakeSurface(kScreenWidth, kScreenHeight);
  if (game.settings.MenuBack.empty()) return;
  try {
    LoadBackground(game.platform, game.paths, game.display, "\\" + game.settings.MenuBack);
  } catch (const GameError&) {
    // No picture: the menu stands on black (--check-content names the file).
  }
}

}  // namespace

bool StartsAMode(Integer mType) {
  return mType == kMenuOnePlayer || mType == kMenuTwoPlayers || mType == kMenuExit ||
         mType == kMenuStory || mType == kMenuTraining;
}

std::optional<MenuStrip> MenuItemStrip(int item) {
  if (item < 1) return std::nullopt;
  const int top = (item - 1) * kMenuStep;
  if (top + kMenuStripHeight > kSheetSize) return std::nullopt;
  return MenuStrip{top, item == 4 ? 150 : 200};
}

int MoveMenuSelection(int selected, std::string_view letters, int itemCount) {
  if (letters == "U") --selected;
  if (letters == "D") ++selected;
  return std::clamp(selected, 1, std::max(1, itemCount));
}

Integer ShowMenu(Game& game) {
  try {
    const LoadContext ctx{game.platform, game.paths, game.log, &game.display};
    // The fights' banners and the select screens write with the font sheet.
    if (game.font.glyphs == nullptr) LoadFontSheet(ctx, game.content.FontChars, game.font);
    StartMenuMusic(game.platform, game.paths, game.music);
    LoadMenuBackground(game);
    std::vector<Surface> strips = CutStrips(game);
    const int count = static_cast<int>(game.content.MenuItems.size());
    int selected = 1;
    auto state = [&] {
      return "{" + JsonField("screen", std::string("menu")) + ", " +
             JsonField("selected", static_cast<long>(selected)) + ", " +
             JsonField("items", static_cast<long>(count)) + "}\n";
    };
    // On screen at once, not a menu frame later: a picture taken now (F12)
    // shows the menu.
    DrawMenu(game, strips, selected);
    // The Punch that led here must not choose the first item at once.
    while (!game.QuitRequested) {
      ReadFrameAndPoll(game);
      DoEvents(game);
      AnswerStateRequests(game, state);
      if (game.input.HeldCommand[1] != "P") break;
    }
    ForgetKeyTaps(game);
    std::uint32_t deadline = 0;
    std::vector<bool> reported(static_cast<std::size_t>(count) + 1, false);
    while (!game.QuitRequested) {
      const FrameInput frame = ReadFrame(game);
      if (FrameDue(deadline, frame.ticks, kMenuFrameMs)) {
        PollInput(WithKeysTappedSinceLastLook(game, frame), game.settings.Player1Keys,
                  game.settings.Player2Keys, game.settings.Joystick, game.input);
        DrawMenu(game, strips, selected);
        const std::string& letters = game.input.HeldCommand[1];
        selected = MoveMenuSelection(selected, letters, count);
        if (letters == "P" && count > 0) {
          const cMenu& item = *game.content.MenuItems.at(static_cast<std::size_t>(selected));
          if (StartsAMode(item.mType)) return item.mType;
          if (!reported[static_cast<std::size_t>(selected)]) {
            reported[static_cast<std::size_t>(selected)] = true;
            WriteLog(game.log, LogOpening::Append,
                     {"Menu item \"" + item.Name + "\" has Type " + std::to_string(item.mType) +
                      ", which starts nothing"});
          }
        }
      }
      DoEvents(game);
      AnswerStateRequests(game, state);
    }
    return 0;
  } catch (const GameError& e) {
    ReportFatalError(game, "ShowMenu", e);
  }
}

}  // namespace vdx
