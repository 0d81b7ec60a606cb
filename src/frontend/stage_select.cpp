#include "frontend/stage_select.h"

#include <vector>

#include "core/game_error.h"
#include "core/log.h"
#include "frontend/screen_state.h"
#include "game/do_events.h"
#include "game/fatal_error.h"
#include "graphics/frame_pacing.h"
#include "graphics/sprite_loading.h"
#include "graphics/sprite_renderer.h"
#include "graphics/system_text.h"

namespace vdx {
namespace {

constexpr std::uint32_t kSelectFrameMs = 100;
constexpr int kPortraitWidth = 300;
constexpr int kPortraitHeight = 224;
// A stage that does not place its picture (pX and pY 0) has it in the middle.
constexpr int kCentredX = (kScreenWidth - kPortraitWidth) / 2;
constexpr int kCentredY = (kScreenHeight - kPortraitHeight) / 2;
constexpr int kNameGap = 8;  // between the picture and the name below it
constexpr std::uint32_t kNameColour = 0xFFFFFF;
constexpr std::uint32_t kClosedNameColour = 0x808080;  // a disabled stage

}  // namespace

StageSelect StartStageSelect(const Collection<cStage>& stages) {
  StageSelect select;
  select.stages = static_cast<int>(stages.size());
  return select;
}

bool PlaceStageCursor(StageSelect& select, const Collection<cStage>& stages, int cursor,
                      bool chosen) {
  if (!select.chosen.empty() || cursor < 1 || cursor > select.stages) return false;
  const cStage* stage = stages.at(static_cast<std::size_t>(cursor));
  if (stage == nullptr || (chosen && stage->Disabled)) return false;
  select.cursor = cursor;
  if (chosen) select.chosen = stage->Name;
  return true;
}

StageSelectScreen::StageSelectScreen(Game& game) : game_(game) {
  const Collection<cStage>& stages = game.content.Stages;
  game.display.background = MakeSurface(kScreenWidth, kScreenHeight);
  try {
    LoadBackground(game.platform, game.paths, game.display,
                   "\\" + game.settings.StageSelectBackground);
  } catch (const GameError&) {
    // No picture: the stages stand on black (--check-content names the file).
  }
  const LoadContext ctx{game.platform, game.paths, game.log, nullptr};
  portraits_ = LoadStagePortraits(ctx, stages);
  cFont nameFont;
  nameFont.Name = "Arial";
  nameFont.Size = 15;
  for (const cStage& s : stages)
    names_.push_back(game.platform.renderText(StyleOf(nameFont), s.Name));
}

void StageSelectScreen::draw(const StageSelect& select) {
  Surface& back = game_.display.backBuffer;
  PaintBackground(game_.display);
  const auto index = static_cast<std::size_t>(select.cursor - 1);
  const cStage& stage = *game_.content.Stages.at(static_cast<std::size_t>(select.cursor));
  const bool placed = stage.pX != 0 || stage.pY != 0;
  const int x = placed ? stage.pX : kCentredX;
  const int y = placed ? stage.pY : kCentredY;
  if (const SharedSurface& portrait = portraits_[index]) {
    SpriteArgs a =
        SpriteAt(static_cast<float>(x), static_cast<float>(y), portrait->width, portrait->height);
    DrawSprite(back, *portrait, a, game_.display.raster);
  }
  if (const auto& name = names_[index])
    DrawTextImage(back, *name, stage.Disabled ? kClosedNameColour : kNameColour,
                  x + (kPortraitWidth - name->width) / 2, y + kPortraitHeight + kNameGap);
  PresentFrame(game_.platform, game_.display);
}

std::string StageSelectScreen::stateJson(const StageSelect& select) const {
  const cStage* stage = game_.content.Stages.at(static_cast<std::size_t>(select.cursor));
  return "{" + JsonField("screen", std::string("stageSelect")) + ", " +
         JsonField("cursor", static_cast<long>(select.cursor)) + ", " +
         JsonField("stage", stage != nullptr ? stage->Name : std::string()) + ", " +
         JsonField("disabled", stage != nullptr && stage->Disabled) + "}\n";
}

void StepStageSelect(StageSelect& select, const Collection<cStage>& stages,
                     const std::string& player1Letters) {
  if (select.stages < 1) return;
  if (player1Letters == "E") {
    select.back = true;
  } else if (player1Letters == "R") {
    select.cursor = select.cursor >= select.stages ? 1 : select.cursor + 1;
  } else if (player1Letters == "L") {
    select.cursor = select.cursor <= 1 ? select.stages : select.cursor - 1;
  } else if (player1Letters == "P") {
    const cStage& stage = *stages.at(static_cast<std::size_t>(select.cursor));
    if (!stage.Disabled) select.chosen = stage.Name;
  }
}

std::optional<std::string> LoadStageSelectScreenNew(Game& game) {
  try {
    const Collection<cStage>& stages = game.content.Stages;
    if (stages.empty()) {
      WriteLog(game.log, LogOpening::Append,
               {"There is no stage in Game.xml to choose; back to the menu"});
      return std::nullopt;
    }
    StageSelectScreen screen(game);
    StageSelect select = StartStageSelect(stages);
    ForgetKeyTaps(game);
    std::uint32_t deadline = 0;
    while (!game.QuitRequested && !select.back && select.chosen.empty()) {
      const FrameInput frame = ReadFrame(game);
      if (FrameDue(deadline, frame.ticks, kSelectFrameMs)) {
        PollInput(WithKeysTappedSinceLastLook(game, frame), game.settings.Player1Keys,
                  game.settings.Player2Keys, game.settings.Joystick, game.input);
        screen.draw(select);
        StepStageSelect(select, stages, game.input.HeldCommand[1]);
      }
      DoEvents(game);
      AnswerStateRequests(game, [&] { return screen.stateJson(select); });
    }
    if (game.QuitRequested || select.back) return std::nullopt;
    ShowPleaseWait(game.platform, game.display, game.settings.PleaseWaitFont);
    return select.chosen;
  } catch (const GameError& e) {
    ReportFatalError(game, "LoadStageSelectScreenNew", e);
  }
}

}  // namespace vdx
