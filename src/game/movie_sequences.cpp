#include "game/movie_sequences.h"

#include "audio/movie_player.h"
#include "content/content_files.h"
#include "core/log.h"
#include "core/ticks.h"
#include "game/do_events.h"
#include "graphics/display.h"
#include "graphics/frame_pacing.h"
#include "graphics/system_text.h"
#include "input/poll_input.h"
#include "platform/keycodes.h"

namespace vdx {
namespace {

constexpr std::uint32_t kMovieFrameMs = 10;  // how often the loop looks for a new frame

bool AnyKey(const Game& game) {
  return !game.input.HeldCommand[1].empty() || !game.input.HeldCommand[2].empty();
}

// Besides the players' keys, the keys anyone presses first at a title: Return,
// Space, a controller's Start.
bool StartPressed(const FrameInput& frame) {
  if (frame.keys[key::Return] != 0 || frame.keys[key::Space] != 0) return true;
  for (const auto& pad : frame.controllers)
    if (pad && pad->buttons[platform::kStartButton] != 0) return true;
  return false;
}

bool Open(Game& game, clsDShowControl& player, std::string_view contentPath) {
  const auto path = game.paths.find(contentPath);
  if (!path) return false;  // missing: skipped without a word
  if (player.DS_OpenFile(path->string(), 0, 0, kScreenWidth, kScreenHeight)) return true;
  WriteLog(game.log, LogOpening::Append,
           {std::string(contentPath) + " cannot be decoded; the movie is skipped"});
  return false;
}

void ShowFrame(Game& game, clsDShowControl& player) {
  if (player.DS_Render(game.display.backBuffer)) PresentFrame(game.platform, game.display);
}

}  // namespace

void PlayTitleMovie(Game& game) {
  clsDShowControl player(game.platform);
  if (!Open(game, player, kTitleMovie)) return;
  player.DS_Play();
  std::uint32_t deadline = 0;
  while (!game.QuitRequested) {
    const FrameInput frame = ReadFrameAndPoll(game);
    if (AnyKey(game) || StartPressed(frame)) break;
    DoEvents(game);
    if (!player.DS_StillPlaying(0)) player.DS_Play();  // it rewinds and starts again
    if (FrameDue(deadline, frame.ticks, kMovieFrameMs)) ShowFrame(game, player);
  }
  player.DS_Remove();
}

void PlayEventMovie(Game& game, std::string_view contentPath) {
  clsDShowControl player(game.platform);
  if (Open(game, player, contentPath)) {
    player.DS_Play();
    const std::uint32_t start = ReadFrame(game).ticks;
    std::uint32_t deadline = 0;
    // A key already held must not end the movie at once.
    while (!game.QuitRequested) {
      const FrameInput frame = ReadFrame(game);
      if (TicksBetween(start, frame.ticks) >= 2000) break;
      game.input.HeldCommand[1].clear();
      game.input.HeldCommand[2].clear();
      DoEvents(game);
      if (FrameDue(deadline, frame.ticks, kMovieFrameMs)) ShowFrame(game, player);
    }
    while (!game.QuitRequested) {
      const FrameInput frame = ReadFrameAndPoll(game);
      DoEvents(game);
      if (!player.DS_StillPlaying(500) || AnyKey(game)) break;
      if (FrameDue(deadline, frame.ticks, kMovieFrameMs)) ShowFrame(game, player);
    }
    player.DS_Remove();
  }
  ShowPleaseWait(game.platform, game.display, game.settings.PleaseWaitFont);
}

}  // namespace vdx
