#include "match/training_overlay.h"

#include <algorithm>
#include <cstdio>

#include "graphics/system_text.h"
#include "match/debug_view.h"
#include "match/keys_shown.h"
#include "match/tool_text.h"

namespace vdx {
namespace {

constexpr int kInputTop = 158;  // below the meters and their combo messages
constexpr int kInputLine = 14;
constexpr int kInputWidth = 74;
constexpr int kDataLine = 15;
constexpr int kDataBottom = 462;

// Halves the brightness under a read-out, so that light text reads on any stage.
void Darken(Surface& target, int left, int top, int right, int bottom) {
  for (int y = std::max(0, top); y < std::min(bottom, target.height); ++y)
    for (int x = std::max(0, left); x < std::min(right, target.width); ++x)
      target.at(x, y) = (target.at(x, y) >> 1) & 0x007F7F7Fu;
}

void DrawInputs(Game& game, const FightState& fight, const InputLog& log, int player) {
  Surface& target = game.display.backBuffer;
  const int left = player == 1 ? 4 : 640 - 4 - kInputWidth;
  const int bottom = kInputTop + (kInputLogEntries + 1) * kInputLine + 6;
  Darken(target, left, kInputTop, left + kInputWidth, bottom);
  const cFont font = ToolFont(9, false, kToolLight);
  for (int k = 0; k < log.count; ++k) {
    const InputLogEntry& entry = NewestEntry(log, k);
    const int y = kInputTop + 2 + k * kInputLine;
    DrawSystemText(game.platform, target, font, std::to_string(entry.frames), left + 4, y);
    DrawSystemText(game.platform, target, font, ButtonsShown(entry.buttons), left + 34, y);
  }
  const std::string sequence =
      KeysShown(fight.fighters[static_cast<std::size_t>(player)].history.KeySequence.view());
  DrawSystemText(game.platform, target, ToolFont(9, true, 0x0060E0FF),
                 sequence.empty() ? "\u2014" : sequence, left + 4,
                 kInputTop + 4 + kInputLogEntries * kInputLine);
}

std::string ActionLine(const FrameDataWatch& watch, const FightState& fight,
                       const FightSlots& slots, int player) {
  const ActionFacts facts = CurrentActionFacts(watch, fight, slots, player);
  const std::string length = facts.loops      ? std::string("loops")
                             : facts.measured ? std::to_string(facts.lasts) + " frames"
                                              : "\u2248" + std::to_string(facts.lasts) + " frames";
  char line[160];
  std::snprintf(line, sizeof line, "P%d %s  frame %ld/%ld  %s  damage %d", player,
                facts.name.c_str(), static_cast<long>(facts.frame), static_cast<long>(facts.frames),
                length.c_str(), static_cast<int>(facts.damage));
  return line;
}

std::string Signed(int value) {
  return (value > 0 ? "+" : "") + std::to_string(value);
}

void DrawStatus(Game& game, const DummyState& dummy) {
  Surface& target = game.display.backBuffer;
  std::string line = "Tab menu   Backspace reset   F7 record   F8 play";
  if (dummy.recording) {
    char seconds[48];
    std::snprintf(seconds, sizeof seconds, "\u25cf RECORDING %.1f s of %d  (F7 stops)",
                  static_cast<double>(dummy.recorded.length) / kFightFramesPerSecond,
                  static_cast<int>(kMostRecordedFrames / kFightFramesPerSecond));
    line = seconds;
  } else if (dummy.playing) {
    line = "\u25b6 PLAYING the recording";
  }
  Darken(target, 0, 464, 640, 480);
  DrawSystemText(game.platform, target,
                 ToolFont(9, dummy.recording, dummy.recording ? 0x004040FF : kToolLight), line, 8,
                 465);
}

}  // namespace

std::vector<std::string> FrameDataLines(const FightState& fight, const FightSlots& slots,
                                        const TrainingReadouts& r) {
  std::vector<std::string> lines;
  if (r.options.showFrameData) {
    lines.push_back(ActionLine(r.watch, fight, slots, 1));
    lines.push_back(ActionLine(r.watch, fight, slots, 2));
    if (r.watch.advantage)
      lines.push_back("Advantage " + Signed(*r.watch.advantage) +
                      (r.watch.advantageOnBlock ? " on block" : " on hit"));
  }
  if (r.options.showDamage && r.watch.contact) {
    const int d = Opponent(r.watch.contact->attacker);
    const auto i = static_cast<std::size_t>(d);
    std::string line = "Last hit " + std::to_string(r.watch.lastHitDamage[i]);
    if (r.watch.comboHits[i] > 0)
      line += "   Combo " + std::to_string(r.watch.comboHits[i]) + " hits, " +
              std::to_string(r.watch.comboDamage[i]) + " damage";
    lines.push_back(line);
  }
  return lines;
}

void DrawTrainingOverlay(Game& game, const FightState& fight, const FightSlots& slots,
                         const TrainingReadouts& r) {
  Surface& target = game.display.backBuffer;
  if (r.options.showHitBoxes) DrawDebugOverlay(target, fight, slots);
  if (r.options.showInputs)
    for (int p = 1; p <= 2; ++p)
      DrawInputs(game, fight, r.inputs[static_cast<std::size_t>(p)], p);
  const std::vector<std::string> lines = FrameDataLines(fight, slots, r);
  if (!lines.empty()) {
    const int top = kDataBottom - static_cast<int>(lines.size()) * kDataLine - 4;
    Darken(target, 90, top, 550, kDataBottom);
    const cFont font = ToolFont(9, false, kToolLight);
    for (std::size_t i = 0; i < lines.size(); ++i)
      DrawSystemText(game.platform, target, font, lines[i], 96,
                     top + 2 + static_cast<int>(i) * kDataLine);
  }
  DrawStatus(game, r.dummy);
}

}  // namespace vdx
