#include "frontend/network_select.h"

#include <deque>
#include <memory>
#include <string>
#include <utility>

#include "core/game_error.h"
#include "core/log.h"
#include "frontend/character_select.h"
#include "frontend/screen_state.h"
#include "frontend/stage_select.h"
#include "game/do_events.h"
#include "game/fatal_error.h"
#include "graphics/frame_pacing.h"
#include "graphics/system_text.h"

namespace vdx {
namespace {

constexpr std::uint32_t kSelectFrameMs = 100;  // as on the screens at one keyboard
constexpr std::uint8_t kCharacterScreen = 1;
constexpr std::uint8_t kStageScreen = 2;
// A cursor travels in one byte.
constexpr int kMostEntries = 255;

// Takes what the transport holds: the other player's select messages into
// `selects`, its other reliable messages into link.later, in order.
void TakeEvents(NetLink& link, std::deque<net::SelectMessage>& selects) {
  while (auto event = link.transport.nextEvent()) {
    if (event->peer != link.peer) {
      if (link.fromOthers) link.fromOthers(*event);
    } else if (event->kind == platform::NetEvent::Kind::Disconnected) {
      link.otherGone = true;
    } else if (event->kind == platform::NetEvent::Kind::Received &&
               event->channel == platform::NetChannel::Reliable) {
      if (net::DecodeGoodbye(event->bytes)) {
        link.otherGone = true;
      } else if (net::KindOf(event->bytes) == net::MessageKind::Select) {
        // Only the newest cursor counts; a flood of them is not kept.
        if (const auto message = net::DecodeSelect(event->bytes); message && selects.size() < kMostKeptMessages) {
          selects.push_back(*message);
        } else {
          ++link.dropped;
        }
      } else if (link.later.size() < kMostKeptMessages) {
        link.later.push_back(std::move(event->bytes));
      } else {
        ++link.dropped;
      }
    }
    // Unreliable packets here are inputs of a match gone by.
  }
  if (link.tend) link.tend(link.transport.clockMs());
}

// This machine's letters: either binding's, player 1's when both hold keys.
const std::string& LocalLetters(const Game& game) {
  return game.input.HeldCommand[1].empty() ? game.input.HeldCommand[2] : game.input.HeldCommand[1];
}

// Player 1's Escape, whichever player this machine plays.
bool BackPressed(const Game& game) {
  return game.input.HeldCommand[1] == "E";
}

// One menu frame of this machine's keys, when one is due; `step` gets them.
template <typename Step>
void LocalFrame(Game& game, std::uint32_t& deadline, Step step) {
  const FrameInput frame = ReadFrame(game);
  if (!FrameDue(deadline, frame.ticks, kSelectFrameMs)) return;
  PollInput(WithKeysTappedSinceLastLook(game, frame), game.settings.Player1Keys,
            game.settings.Player2Keys, game.settings.Joystick, game.input);
  step();
}

// Sends this side's cursor and choice when they differ from what was sent.
void SendChanges(SelectLink& link, net::SelectMessage& sent, int cursor, bool chosen) {
  const net::SelectMessage now{sent.screen, static_cast<std::uint8_t>(cursor), chosen};
  if (now.cursor == sent.cursor && now.chosen == sent.chosen) return;
  sent = now;
  link.send(now);
}

bool Leaving(const Game& game, SelectLink& link, bool back) {
  return game.QuitRequested || back || link.gone();
}

}  // namespace

SelectLink SelectLinkOf(NetLink& link) {
  auto selects = std::make_shared<std::deque<net::SelectMessage>>();
  // Select messages that came while something else read the link are the
  // screens' too; the rest stay where they were, in order.
  std::deque<std::vector<std::uint8_t>> others;
  for (auto& bytes : link.later) {
    if (net::KindOf(bytes) != net::MessageKind::Select) {
      others.push_back(std::move(bytes));
    } else if (const auto message = net::DecodeSelect(bytes)) {
      selects->push_back(*message);
    } else {
      ++link.dropped;
    }
  }
  link.later = std::move(others);

  SelectLink select;
  select.send = [&link](const net::SelectMessage& message) {
    link.transport.send(link.peer, platform::NetChannel::Reliable, net::Encode(message));
  };
  select.next = [&link, selects]() -> std::optional<net::SelectMessage> {
    TakeEvents(link, *selects);
    if (selects->empty()) return std::nullopt;
    const net::SelectMessage message = selects->front();
    selects->pop_front();
    return message;
  };
  select.gone = [&link, selects] {
    TakeEvents(link, *selects);
    return link.otherGone;
  };
  return select;
}

std::optional<MatchSetup> NetworkSelect(Game& game, SelectLink& link, int localPlayer) {
  try {
    if (localPlayer != 1 && localPlayer != 2) return std::nullopt;
    const int otherPlayer = 3 - localPlayer;
    const Content& content = game.content;
    if (content.Characters.empty() || content.Stages.empty()) {
      WriteLog(game.log, LogOpening::Append,
               {"There is no character or no stage in Game.xml to choose; the network match ends"});
      return std::nullopt;
    }
    if (content.Characters.size() + 1 > kMostEntries || content.Stages.size() > kMostEntries) {
      WriteLog(game.log, LogOpening::Append,
               {"A network match chooses among at most " + std::to_string(kMostEntries - 1) +
                " characters and " + std::to_string(kMostEntries) + " stages; Game.xml has more"});
      return std::nullopt;
    }

    // The characters.
    WaitForKeysReleased(game);
    game.input.HeldCommand[1].clear();
    game.input.HeldCommand[2].clear();
    CharacterSelect fighters = StartCharacterSelect(content.Characters, SelectFor::TwoPlayers);
    {
      CharacterSelectScreen screen(game);
      net::SelectMessage sent{kCharacterScreen,
                              static_cast<std::uint8_t>(fighters.cursor[localPlayer]), false};
      ForgetKeyTaps(game);
      std::uint32_t deadline = 0;
      while (!Leaving(game, link, fighters.back) && !SelectionDone(fighters)) {
        // Up to the other's choice: what follows it is the stage select's.
        while (!fighters.chosen[otherPlayer]) {
          const auto message = link.next();
          if (!message) break;
          if (message->screen == kCharacterScreen)
            PlaceCharacterCursor(fighters, content, otherPlayer, message->cursor, message->chosen);
        }
        LocalFrame(game, deadline, [&] {
          screen.draw(fighters);
          if (BackPressed(game)) {
            fighters.back = true;
            return;
          }
          StepCharacterSelectPlayer(fighters, content, localPlayer, LocalLetters(game));
          SendChanges(link, sent, fighters.cursor[localPlayer], fighters.chosen[localPlayer]);
        });
        DoEvents(game);
        AnswerStateRequests(game, [&] { return screen.stateJson(fighters); });
      }
    }
    if (Leaving(game, link, fighters.back)) return std::nullopt;

    WaitForKeysReleased(game);
    MatchSetup setup;
    setup.GameMode = 2;
    setup.computer = ComputerPlays::None;
    if (localPlayer == 1) {
      game.random.MixTicks(ReadFrame(game).ticks);
      const ChosenFighters chosen = ResolveFighters(fighters, content.Characters, game.random);
      setup.player1 = chosen.player1;
      setup.player2 = chosen.player2;
    } else {
      // The host draws for "Random" and says what came of it; this guess
      // leaves the generator both sides will share as it was.
      RandomGenerator guess = game.random;
      const ChosenFighters chosen = ResolveFighters(fighters, content.Characters, guess);
      setup.player1 = chosen.player1;
      setup.player2 = chosen.player2;
    }
    ShowPleaseWait(game.platform, game.display, game.settings.PleaseWaitFont);

    // The stage, the host's pick.
    StageSelect stage = StartStageSelect(content.Stages);
    {
      StageSelectScreen screen(game);
      net::SelectMessage sent{kStageScreen, static_cast<std::uint8_t>(stage.cursor), false};
      ForgetKeyTaps(game);
      std::uint32_t deadline = 0;
      while (!Leaving(game, link, stage.back) && stage.chosen.empty()) {
        while (stage.chosen.empty()) {
          const auto message = link.next();
          if (!message) break;
          // The host hears nothing here; a late cursor of the characters is
          // of no use either.
          if (localPlayer == 2 && message->screen == kStageScreen)
            PlaceStageCursor(stage, content.Stages, message->cursor, message->chosen);
        }
        if (!stage.chosen.empty()) break;
        LocalFrame(game, deadline, [&] {
          screen.draw(stage);
          if (BackPressed(game)) {
            stage.back = true;
            return;
          }
          if (localPlayer != 1) return;
          StepStageSelect(stage, content.Stages, LocalLetters(game));
          SendChanges(link, sent, stage.cursor, !stage.chosen.empty());
        });
        DoEvents(game);
        AnswerStateRequests(game, [&] { return screen.stateJson(stage); });
      }
    }
    if (stage.chosen.empty() || game.QuitRequested) return std::nullopt;
    setup.stage = stage.chosen;
    ShowPleaseWait(game.platform, game.display, game.settings.PleaseWaitFont);
    return setup;
  } catch (const GameError& e) {
    ReportFatalError(game, "NetworkSelect", e);
  }
}

}  // namespace vdx
