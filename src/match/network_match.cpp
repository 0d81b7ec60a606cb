#include "match/network_match.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <iostream>

#include "audio/music.h"
#include "audio/sound_table.h"
#include "core/files.h"
#include "core/log.h"
#include "fight/computer_keys.h"
#include "fight/fight_hash.h"
#include "fight/replay.h"
#include "fight/state_dump.h"
#include "game/do_events.h"
#include "game/fatal_error.h"
#include "graphics/frame_pacing.h"
#include "graphics/system_text.h"
#include "input/player_buttons.h"
#include "match/rollback_fight.h"
#include "match/round_end.h"
#include "net/packets.h"

namespace vdx {
namespace {

// A pass runs at most this many frames to keep up with the clock.
constexpr int kMostFramesAPass = 4;
// A finished match keeps sending until the other side holds all of this
// side's inputs, at most this long.
constexpr std::uint32_t kLingerMs = 3000;
// How long a desynced side waits for the other's state dump.
constexpr std::uint32_t kDumpWaitMs = 5000;
// A spectator's batch of inputs.
constexpr std::size_t kWatchBatch = net::kMostInputsAPacket;

}  // namespace

void DrawNetworkMessage(Game& game, const std::string& text) {
  Surface& target = game.display.backBuffer;
  const int top = 210, bottom = 262;
  // The pause menu's colours: its dark words read on them.
  constexpr std::uint32_t kOutline = 0x00FF6464u;
  constexpr std::uint32_t kFill = 0x00FFC8C8u;
  for (int y = top; y < bottom && y < target.height; ++y)
    for (int x = 0; x < target.width; ++x)
      target.at(x, y) = y == top || y == bottom - 1 ? kOutline : kFill;
  cFont font = game.settings.MenuFont;
  // About 9 pixels a letter in the menu's style; centred near enough.
  const int x = std::max(8, (target.width - static_cast<int>(text.size()) * 9) / 2);
  DrawSystemText(game.platform, target, font, text, x, top + 14);
}

namespace {

// The other side's state dump of a desync, put together as its pieces come,
// in order; a piece out of place is dropped, and the dump is never longer
// than the first piece claims or than kMostDumpBytes.
struct DumpAssembly {
  bool started = false;
  std::uint32_t frame = 0;
  std::uint32_t total = 0;
  std::string bytes;
  bool complete() const { return started && bytes.size() == total; }
};

// Everything the transport has for us: the other player's unreliable packets
// go to the session, its reliable ones that the match reads are acted on and
// the rest kept, other peers' events go to whoever set up the link.
struct MatchMail {
  std::uint8_t match = 1;  // the match's number in the session
  DumpAssembly dump;
  // A spectator's: both players' confirmed inputs not yet stepped, and how
  // many frames have come in all.
  std::deque<FightInputs> watched;
  std::uint64_t watchedFrames = 0;
};

void TakeWatched(MatchMail& mail, std::span<const std::uint8_t> bytes, std::uint64_t& dropped) {
  const auto batch = net::DecodeWatching(bytes);
  if (!batch || batch->firstFrame != mail.watchedFrames + 1 ||
      mail.watchedFrames + batch->count > kMostReplayFrames) {
    ++dropped;
    return;
  }
  for (std::size_t i = 0; i < batch->count; ++i) mail.watched.push_back(batch->frames[i]);
  mail.watchedFrames += batch->count;
}

void TakeDumpPiece(DumpAssembly& dump, std::span<const std::uint8_t> bytes, std::uint8_t match,
                   std::uint64_t& dropped) {
  const auto piece = net::DecodeDumpPiece(bytes);
  if (!piece || piece->match != match || (dump.started && (piece->total != dump.total || piece->frame != dump.frame)) ||
      piece->offset != dump.bytes.size() || piece->bytes.size() > piece->total - dump.bytes.size()) {
    ++dropped;
    return;
  }
  dump.started = true;
  dump.frame = piece->frame;
  dump.total = piece->total;
  dump.bytes += piece->bytes;
}

void TakeEvents(NetLink& link, net::RollbackSession* session, MatchMail& mail) {
  while (auto event = link.transport.nextEvent()) {
    if (event->peer != link.peer) {
      if (link.fromOthers) link.fromOthers(*event);
      continue;
    }
    if (event->kind == platform::NetEvent::Kind::Disconnected) {
      link.otherGone = true;
      continue;
    }
    if (event->kind != platform::NetEvent::Kind::Received) continue;
    const auto kind = net::KindOf(event->bytes);
    if (!kind) {
      ++link.dropped;
      continue;
    }
    if (event->channel == platform::NetChannel::Unreliable) {
      if (session != nullptr && (*kind == net::MessageKind::Inputs || *kind == net::MessageKind::StateHash))
        session->receive(event->bytes, link.transport.clockMs());
      else
        ++link.dropped;
      continue;
    }
    if (*kind == net::MessageKind::Goodbye) {
      link.otherGone = true;
    } else if (*kind == net::MessageKind::DumpPiece) {
      TakeDumpPiece(mail.dump, event->bytes, mail.match, link.dropped);
    } else if (*kind == net::MessageKind::Watching) {
      TakeWatched(mail, event->bytes, link.dropped);
    } else if (link.later.size() < kMostKeptMessages) {
      link.later.push_back(std::move(event->bytes));
    } else {
      ++link.dropped;
    }
  }
}

void SendAll(NetLink& link, net::RollbackSession& session) {
  for (const auto& packet : session.takePackets(link.transport.clockMs()))
    link.transport.send(link.peer, platform::NetChannel::Unreliable, packet);
}

// The spectators get the confirmed inputs they do not have yet, in batches.
void FeedWatchers(NetLink& link, const std::vector<FightInputs>& confirmed) {
  for (NetLink::Watcher& w : link.watchers) {
    while (w.sentUpTo < confirmed.size()) {
      net::WatchingMessage batch;
      batch.firstFrame = static_cast<std::uint32_t>(w.sentUpTo + 1);
      const std::size_t n = std::min<std::size_t>(kWatchBatch, confirmed.size() - w.sentUpTo);
      batch.count = static_cast<std::uint8_t>(n);
      for (std::size_t i = 0; i < n; ++i) batch.frames[i] = confirmed[w.sentUpTo + i];
      link.transport.send(w.peer, platform::NetChannel::Reliable, net::Encode(batch));
      w.sentUpTo += n;
    }
  }
}

// The states of the last few frames whose hashes the sides compare, for a
// desync's report: the state the hash was taken of, not a later one.
struct Checkpoints {
  static constexpr std::size_t kKept = 3;
  std::vector<std::pair<std::uint64_t, FightState>> states;  // kKept, made once
  std::size_t next = 0;
};

// The state after a frame not yet gone from the rollback's ring: the one
// saved before the next frame, or the present.
const FightState* StateAfter(const RollbackFight& rollback, std::uint64_t frame) {
  if (rollback.fight.frameNumber == frame) return &rollback.fight;
  for (const RollbackFight::Saved& s : rollback.saved)
    if (s.frame == frame + 1) return &s.before;
  return nullptr;
}

void KeepCheckpoint(Checkpoints& kept, const RollbackFight& rollback, std::uint64_t frame) {
  const FightState* after = StateAfter(rollback, frame);
  if (after == nullptr) return;
  if (kept.states.empty()) kept.states.resize(Checkpoints::kKept);
  kept.states[kept.next] = {frame, *after};
  kept.next = (kept.next + 1) % Checkpoints::kKept;
}

const FightState* CheckpointOf(const Checkpoints& kept, std::uint64_t frame) {
  for (const auto& [at, state] : kept.states)
    if (at == frame) return &state;
  return nullptr;
}

std::string TimeStamp() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm parts{};
  localtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &parts);
  return text;
}

void SendDump(NetLink& link, std::uint8_t match, std::uint64_t frame, const std::string& dump) {
  const std::size_t pieceBytes = net::kMostPacketBytes - 32;
  const std::uint32_t total = static_cast<std::uint32_t>(std::min<std::size_t>(dump.size(), net::kMostDumpBytes));
  for (std::uint32_t offset = 0; offset < total; offset += static_cast<std::uint32_t>(pieceBytes)) {
    net::DumpPieceMessage piece;
    piece.match = match;
    piece.frame = static_cast<std::uint32_t>(frame);
    piece.offset = offset;
    piece.total = total;
    piece.bytes = dump.substr(offset, std::min<std::size_t>(pieceBytes, total - offset));
    link.transport.send(link.peer, platform::NetChannel::Reliable, net::Encode(piece));
  }
}

// The report of a desync: this side's state of the frame, the other side's
// (when it came), the replay of the match so far and what was found, in a
// folder of their own. Returns the folder, or nothing when it could not be
// written (said in the log and on standard error).
std::optional<std::filesystem::path> WriteDesyncReport(Game& game, const std::filesystem::path& folder,
                                                      const net::Desync& desync, const std::string& here,
                                                      const std::string& there, const ReplayMatch& record) {
  const std::filesystem::path dir =
      folder / ("desync-" + TimeStamp() + "-frame-" + std::to_string(desync.frame));
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    ReportFailedWrite(game.log, dir, "cannot write the desync report to " + dir.string() + ": " + ec.message());
    return std::nullopt;
  }
  char summary[256];
  std::snprintf(summary, sizeof summary,
                "the two games went out of step at frame %llu\nthis side's state hash: %016llx\n"
                "the other side's: %016llx\n",
                static_cast<unsigned long long>(desync.frame),
                static_cast<unsigned long long>(desync.localHash),
                static_cast<unsigned long long>(desync.remoteHash));
  std::string text = summary;
  if (desync.remoteHash == 0) text += "(the other side found the difference; its hash is in there.json)\n";
  text += there.empty() ? "the other side's state did not arrive\n"
                        : "this side's state is here.json, the other side's there.json\n";
  bool ok = true;
  auto write = [&](const std::filesystem::path& path, const std::string& bytes) {
    const WriteResult written = WriteWholeFile(path, bytes);
    if (!written.ok) {
      ReportFailedWrite(game.log, path, "cannot write " + path.string() + ": " + written.error);
      ok = false;
    }
  };
  write(dir / "report.txt", text);
  write(dir / "here.json", here);
  if (!there.empty()) write(dir / "there.json", there);
  {
    Replay replay;
    replay.matches.push_back(record);
    const WriteResult written = WriteReplayFile(dir / "replay.vdr", replay);
    if (!written.ok) {
      ReportFailedWrite(game.log, dir / "replay.vdr",
                        "cannot write " + (dir / "replay.vdr").string() + ": " + written.error);
      ok = false;
    }
  }
  if (!ok) return std::nullopt;
  return dir;
}

}  // namespace

std::string NetMatchEndText(NetMatchEnd end) {
  switch (end) {
    case NetMatchEnd::Desynced:
      return "the two games went out of step";
    case NetMatchEnd::Lost:
      return "connection lost";
    case NetMatchEnd::OtherLeft:
      return "the other player left";
    case NetMatchEnd::Finished:
    case NetMatchEnd::Quit:
      break;
  }
  return {};
}

namespace {

// A round's end waits this long, at most, for the other side to take this
// side's last inputs before the movies.
constexpr std::uint32_t kRoundLingerMs = 1000;
// A finished match goes on sending at least this long, so that the other
// side gets this side's newest hash more than once.
constexpr std::uint32_t kLingerAtLeastMs = 500;

// Keeps the link going after this side stopped stepping: until the other side
// holds every input of this side (and, with `checks`, this side has compared
// its newest hash and sent its own for a while), the other leaves, or
// `mostMs` pass. True when a desync turned up meanwhile.
bool Linger(NetLink& link, net::RollbackSession& session, MatchMail& mail, std::uint32_t mostMs,
            bool checks) {
  const std::uint32_t since = link.transport.clockMs();
  while (!link.otherGone) {
    const std::uint32_t spent = link.transport.clockMs() - since;
    if (spent >= mostMs) break;
    const bool settled = session.everythingAcknowledged() &&
                         (!checks || (session.newestCheckCompared() && spent >= kLingerAtLeastMs));
    if (settled) break;
    link.transport.waitForEvent(16);
    TakeEvents(link, &session, mail);
    SendAll(link, session);
    if (session.desync() || mail.dump.started) return true;
  }
  return session.desync().has_value() || mail.dump.started;
}

// Passes held at the prediction limit before the fight shows that it waits
// (a tenth of a second: a hold of a frame or two is no news).
constexpr int kHeldPassesShown = 6;
// How long a side waits, after a round's movies and loading, for the other
// to come back from its own before the link counts as lost.
constexpr std::uint32_t kRoundGraceMs = 60000;

NetMatchResult RunNetworkRounds(Game& game, const MatchSetup& setup, std::uint64_t randomState,
                                NetLink& link, const NetMatchOptions& options) {
  game.random.Restore(randomState);
  FightOutputs outputs = options.outputs;
  outputs.syncTest = 0;
  FightSession m(game, setup, outputs);
  // What a desync's report replays, and what the replay file gets.
  ReplayMatch played;
  played.setup = setup;
  played.settings = ReplaySettingsOf(game.settings);
  played.randomState = m.fight.random.state();
  const int local = options.session.localPlayer;
  ComputerAtKeys computer = StartComputerAtKeys(options.computerSeed, options.computerLevel);
  std::vector<FightInputs>& confirmed = played.frames;  // every confirmed frame's inputs
  MatchMail mail;
  mail.match = options.session.match;
  NetMatchResult result;
  bool over = false;
  FrameEnd end = FrameEnd::Running;
  BeginRound(m);
  ++result.match.rounds;
  // The link's silence counts from here: the first round's loading is behind.
  net::RollbackSession session(options.session, link.transport.clockMs());
  RollbackFight rollback(m.fight, options.session.mostPrediction);
  Checkpoints checkpoints;
  int goneStalls = 0;  // passes without a confirmed frame since the other side left
  int heldPasses = 0;  // passes in a row held at the prediction limit
  FramePacer pacer;
  while (!over) {
    const FrameInput frame = ReadFrame(game);
    if (game.QuitRequested) {
      result.end = NetMatchEnd::Quit;
      break;
    }
    const std::uint32_t now = link.transport.clockMs();
    if (link.tend) link.tend(now);
    int due = FramesDue(pacer, now, kFightFramesPerSecond, kMostFramesAPass);
    bool drawn = false;
    for (int k = 0; k < due && !over; ++k) {
      TakeEvents(link, &session, mail);
      // The other side found the games out of step and sends its state.
      if (mail.dump.started) {
        result.end = NetMatchEnd::Desynced;
        over = true;
        break;
      }
      const Settings& s = game.settings;
      PlayerInput keys;
      if (options.computerPlaysLocal) {
        keys = ComputerKeys(computer, rollback.fight, m.slots, local);
      } else {
        // Either of this machine's bindings plays this side's player.
        const FightInputs both = FightButtons(frame, s.Player1Keys, s.Player2Keys,
                                              s.Joystick && game.JoystickCount > 0);
        keys.buttons = static_cast<std::uint8_t>(both[0].buttons | both[1].buttons);
      }
      const NetPass pass = RunNetPass(rollback, m.slots, session, keys, link.transport.clockMs());
      heldPasses = pass.plan.hold == net::Hold::PredictionLimit ? heldPasses + 1 : 0;
      if (outputs.draw && pass.stepped) PlayFightSounds(game, pass.events);
      for (std::uint64_t f = pass.firstConfirmed; f <= pass.lastConfirmed; ++f) {
        if (f % static_cast<std::uint64_t>(options.session.hashInterval) == 0)
          KeepCheckpoint(checkpoints, rollback, f);
        confirmed.push_back(session.confirmedInputs(f));
        if (outputs.frameHashes != nullptr)
          AppendFrameHashLine(*outputs.frameHashes, f, ConfirmedHash(rollback, f), nullptr);
      }
      // "Exit Game" closes the host's game once the frame it was chosen in is
      // confirmed (whether the menu opened at all hangs on the other's keys);
      // the other side sees the host leave.
      if (local == 1 && pass.lastConfirmed >= pass.firstConfirmed) {
        const FightState* settled = StateAfter(rollback, pass.lastConfirmed);
        if (settled != nullptr && settled->leaveGame) game.QuitRequested = true;
      }
      SendAll(link, session);
      FeedWatchers(link, confirmed);
      // What the other side sent before it left may still finish the match
      // (its last inputs and its goodbye come together): it has left once
      // nothing more can be confirmed.
      if (link.otherGone) {
        goneStalls = pass.lastConfirmed >= pass.firstConfirmed || pass.end != FightOutcome::Running
                         ? 0
                         : goneStalls + 1;
        if (goneStalls >= 3 && pass.end == FightOutcome::Running) {
          result.end = NetMatchEnd::OtherLeft;
          over = true;
          break;
        }
      }
      if (pass.plan.hold == net::Hold::Desynced) {
        result.end = NetMatchEnd::Desynced;
        over = true;
        break;
      }
      if (pass.plan.hold == net::Hold::Lost) {
        result.end = NetMatchEnd::Lost;
        over = true;
        break;
      }
      if (game.QuitRequested) {
        result.end = NetMatchEnd::Quit;
        over = true;
        break;
      }
      if (pass.end != FightOutcome::Running) {
        // The round's end is one both sides reached: the movies, then the
        // next round from the same frame on both.
        m.fight = rollback.fight;
        end = pass.end == FightOutcome::MatchOver ? FrameEnd::MatchOver : FrameEnd::RoundOver;
        // The other side may still lack this side's last inputs of the
        // round: they go before the movies keep this side quiet.
        if (end == FrameEnd::RoundOver) Linger(link, session, mail, kRoundLingerMs, false);
        if (outputs.draw && !m.fight.leaveMatch)
          PlayRoundEndMovies(game, m.fight, m.slots, end == FrameEnd::MatchOver);
        if (end == FrameEnd::MatchOver || game.QuitRequested) {
          over = true;
          break;
        }
        BeginRound(m);
        ++result.match.rounds;
        rollback.fight = m.fight;
        RoundBegun(rollback);
        // The other side plays its movies and loads too, as long as they last.
        session.resume(link.transport.clockMs(), kRoundGraceMs);
        pacer = FramePacer{};
        break;
      }
      drawn = k + 1 == due;
    }
    if (outputs.draw && (drawn || due == 0) && !over) {
      const bool waiting = session.health(link.transport.clockMs()) != net::LinkHealth::Fine ||
                           heldPasses >= kHeldPassesShown;
      if (drawn || waiting) {
        DrawFightScene(game, rollback.fight, m.slots, m.view);
        if (waiting) DrawNetworkMessage(game, "waiting for the other player");
        PresentFrame(game.platform, game.display);
      }
    }
    DoEvents(game);
    if (due == 0 && !over) link.transport.waitForEvent(2);
  }
  m.fight = rollback.fight;
  result.stats = session.stats();
  result.desync = session.desync();
  if (result.end == NetMatchEnd::Finished && end == FrameEnd::MatchOver && !m.fight.leaveMatch)
    result.match.winner = Opponent(m.fight.RoundLoser);
  if (result.end == NetMatchEnd::Finished) {
    // The other side may still lack this side's last inputs, or its newest
    // hash: both go until taken, and a difference found meanwhile (here or
    // there) is still a desync.
    if (Linger(link, session, mail, kLingerMs, true)) {
      result.end = NetMatchEnd::Desynced;
      result.match.winner = 0;
      result.desync = session.desync();
    }
  }
  if (result.end == NetMatchEnd::Desynced) {
    // Found here, or there (then the frame is the other side's, and its
    // hash is in its dump).
    const bool foundThere = !result.desync;
    if (foundThere) result.desync = net::Desync{mail.dump.frame, 0, 0};
    const FightState* checkpoint = CheckpointOf(checkpoints, result.desync->frame);
    const FightState& at = checkpoint != nullptr ? *checkpoint : rollback.fight;
    if (foundThere) result.desync->localHash = HashFightState(at);
    const std::string here = FightStateJson(at, m.slots, HashFightState(at));
    SendDump(link, options.session.match, result.desync->frame, here);
    // The other side's dump, for the report, while it comes; this side's
    // packets go on meanwhile, so that the other finds the desync too.
    const std::uint32_t since = link.transport.clockMs();
    while (!mail.dump.complete() && !link.otherGone && link.transport.clockMs() - since < kDumpWaitMs) {
      link.transport.waitForEvent(16);
      TakeEvents(link, &session, mail);
      SendAll(link, session);
      DoEvents(game);
    }
    const std::string there = mail.dump.complete() ? mail.dump.bytes : std::string();
    played.contentFingerprint = options.contentFingerprint;
    if (auto dir = WriteDesyncReport(game, options.reportFolder, *result.desync, here, there, played))
      result.report = *dir;
  }
  if (outputs.record != nullptr) {
    const std::size_t room = static_cast<std::size_t>(std::min<std::uint64_t>(outputs.recordRoom, played.frames.size()));
    result.match.recordFull = room < played.frames.size();
    *outputs.record = played;
    outputs.record->frames.resize(room);
  }
  EndMatch(game, m.fight, result.match);
  return result;
}

NetMatchResult RunWatchedRounds(Game& game, const MatchSetup& setup, std::uint64_t randomState,
                                NetLink& link, FightOutputs outputs) {
  game.random.Restore(randomState);
  outputs.syncTest = 0;
  FightSession m(game, setup, outputs);
  NetMatchResult result;
  MatchMail mail;
  std::deque<FightInputs>& queued = mail.watched;
  // Inputs of this match may have come while the match start was read.
  for (auto it = link.later.begin(); it != link.later.end();) {
    if (net::KindOf(*it) == net::MessageKind::Watching) {
      TakeWatched(mail, *it, link.dropped);
      it = link.later.erase(it);
    } else {
      ++it;
    }
  }
  FrameEnd end = FrameEnd::Running;
  bool over = false;
  std::uint32_t lastHeard = link.transport.clockMs();
  bool roundBegan = true;  // no input has come since the round began
  while (!over) {
    BeginRound(m);
    ++result.match.rounds;
    lastHeard = link.transport.clockMs();
    roundBegan = true;
    FramePacer pacer;
    end = FrameEnd::Running;
    while (end == FrameEnd::Running && !over) {
      const FrameInput frame = ReadFrame(game);
      if (game.QuitRequested) {
        result.end = NetMatchEnd::Quit;
        over = true;
        break;
      }
      const std::uint64_t before = mail.watchedFrames;
      TakeEvents(link, nullptr, mail);
      if (mail.watchedFrames != before) {
        lastHeard = link.transport.clockMs();
        roundBegan = false;
      }
      if (link.otherGone && queued.empty()) {
        result.end = NetMatchEnd::OtherLeft;
        over = true;
        break;
      }
      const std::uint32_t now = link.transport.clockMs();
      // Between rounds the players play their movies and load, as long as
      // that lasts; so may this side, which counts its silence from after.
      if (now - lastHeard > (roundBegan ? kRoundGraceMs : 10000u) && queued.empty()) {
        result.end = NetMatchEnd::Lost;
        over = true;
        break;
      }
      int due = outputs.draw ? FramesDue(pacer, now, kFightFramesPerSecond, kMostFramesAPass) : 8;
      // Far behind (joined late, or a slow patch): catch up faster.
      if (queued.size() > 30) due = std::max(due, 8);
      bool shown = false;
      for (int k = 0; k < due && !queued.empty() && end == FrameEnd::Running; ++k) {
        const FightInputs inputs = queued.front();
        queued.pop_front();
        const bool last = k + 1 == due || queued.empty();
        end = RunFightFrame(m, inputs, frame.ticks, last);
        shown = shown || last;
      }
      if (outputs.draw && !shown && now - lastHeard > 1000) {
        DrawNetworkMessage(game, "waiting for the other player");
        PresentFrame(game.platform, game.display);
      }
      DoEvents(game);
      if (queued.empty()) link.transport.waitForEvent(outputs.draw ? 2 : 10);
    }
    if (end == FrameEnd::MatchOver && !m.fight.leaveMatch) result.match.winner = Opponent(m.fight.RoundLoser);
    if (end != FrameEnd::RoundOver) break;
  }
  EndMatch(game, m.fight, result.match);
  return result;
}

template <typename Run>
NetMatchResult Guarded(Game& game, Run run) {
  try {
    return run();
  } catch (const GameError& e) {
    ReportFatalError(game, "PlayLoop", e);
  } catch (const platform::PlatformError& e) {
    ReportFatalError(game, "PlayLoop", GameError(e.number(), e.what()));
  }
}

}  // namespace

NetMatchResult PlayNetworkMatch(Game& game, const MatchSetup& setup, std::uint64_t randomState,
                                NetLink& link, const NetMatchOptions& options) {
  return Guarded(game, [&] { return RunNetworkRounds(game, setup, randomState, link, options); });
}

NetMatchResult WatchNetworkMatch(Game& game, const MatchSetup& setup, std::uint64_t randomState,
                                 NetLink& link, FightOutputs outputs) {
  return Guarded(game, [&] { return RunWatchedRounds(game, setup, randomState, link, outputs); });
}

}  // namespace vdx
