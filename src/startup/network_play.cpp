#include "startup/network_play.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <memory>
#include <variant>

#include "core/log.h"
#include "fight/replay.h"
#include "frontend/network_select.h"
#include "game/do_events.h"
#include "game/player_files.h"
#include "match/network_match.h"
#include "net/packets.h"
#include "platform/network.h"
#include "startup/direct_match.h"
#include "startup/replay_run.h"

namespace vdx {
namespace {

// Spectators a host lets watch at once.
constexpr int kMostWatchers = 4;
constexpr std::uint32_t kConnectTimeoutMs = 5000;
// How long a side waits for the other's answer, set-up or next match.
constexpr std::uint32_t kAnswerTimeoutMs = 15000;
// How long a player may think over a rematch.
constexpr std::uint32_t kChoiceTimeoutMs = 10 * 60 * 1000;
// A peer that connects says hello within this long, or is let go.
constexpr std::uint32_t kHelloTimeoutMs = 5000;
// How long the words of a match's bad end stay on screen.
constexpr std::uint32_t kEndWordsMs = 2500;

std::string PortText(const NetworkOptions& net) {
  return net.host + ":" + std::to_string(net.port);
}

void Say(Game& game, const std::string& text) {
  std::cerr << "vdx: " << text << "\n";
  WriteLog(game.log, LogOpening::Append, {text});
}

net::HelloMessage OurHello(Game& game, net::PeerRole role, int inputDelay) {
  net::HelloMessage hello;
  hello.role = role;
  hello.version = VDX_VERSION;
  hello.contentFingerprint = GameFolderFingerprint(game.paths, game.content);
  hello.settings = ReplaySettingsOf(game.settings);
  hello.inputDelay = static_cast<std::uint8_t>(inputDelay);
  return hello;
}

// A refusal no longer than the hello that asked (hellos are long enough for
// every refusal we word; a stranger's few bytes never make us send more).
std::vector<std::uint8_t> RefusalFor(std::string reason, std::size_t askedBytes) {
  std::vector<std::uint8_t> packet = net::Encode(net::RefusalMessage{reason});
  while (packet.size() > askedBytes && !reason.empty()) {
    reason.resize(reason.size() > 8 ? reason.size() - 8 : 0);
    packet = net::Encode(net::RefusalMessage{reason});
  }
  return packet.size() <= askedBytes ? packet : std::vector<std::uint8_t>();
}

// What a waiting side shows: a line of words on black.
void ShowWords(Game& game, const std::string& text, bool draw) {
  if (!draw) return;
  std::fill(game.display.backBuffer.pixels.begin(), game.display.backBuffer.pixels.end(), 0u);
  DrawNetworkMessage(game, text);
  PresentFrame(game.platform, game.display);
}

// Words a player must have time to read (a match's bad end, a refusal).
void ShowWordsAWhile(Game& game, NetLink& link, const std::string& text, bool draw) {
  if (!draw) return;
  const std::uint32_t since = link.transport.clockMs();
  while (!game.QuitRequested && link.transport.clockMs() - since < kEndWordsMs) {
    ReadFrame(game);
    DoEvents(game);
    ShowWords(game, text, true);
    link.transport.waitForEvent(16);
  }
}

// The next reliable message of the other player, kept or new; nothing when
// it leaves, the game closes or `timeoutMs` pass without one.
std::optional<std::vector<std::uint8_t>> NextMessage(Game& game, NetLink& link,
                                                     std::uint32_t timeoutMs, bool draw,
                                                     const std::string& words) {
  const std::uint32_t since = link.transport.clockMs();
  while (true) {
    if (!link.later.empty()) {
      auto message = std::move(link.later.front());
      link.later.pop_front();
      return message;
    }
    // One message at a time: what follows stays with the transport for
    // whoever reads next (a spectator's inputs, the match).
    while (link.later.empty()) {
      auto event = link.transport.nextEvent();
      if (!event) break;
      if (event->peer != link.peer) {
        if (link.fromOthers) link.fromOthers(*event);
      } else if (event->kind == platform::NetEvent::Kind::Disconnected) {
        link.otherGone = true;
      } else if (event->kind == platform::NetEvent::Kind::Received) {
        if (event->channel == platform::NetChannel::Reliable) {
          if (net::DecodeGoodbye(event->bytes)) link.otherGone = true;
          else if (link.later.size() < kMostKeptMessages) link.later.push_back(std::move(event->bytes));
          else ++link.dropped;
        }
        // Inputs of a match that has ended on this side are of no more use.
      }
    }
    if (!link.later.empty()) continue;
    if (link.tend) link.tend(link.transport.clockMs());
    if (link.otherGone || game.QuitRequested) return std::nullopt;
    if (link.transport.clockMs() - since > timeoutMs) return std::nullopt;
    ReadFrame(game);
    DoEvents(game);
    ShowWords(game, words, draw);
    link.transport.waitForEvent(16);
  }
}

// After a match: Rematch or Menu, on both machines; a rematch needs both.
bool BothWantRematch(Game& game, NetLink& link, bool draw, bool computerPlays) {
  bool rematch = true;
  if (draw && !computerPlays) {
    // A key still held from the match (Punch skips its last movie) chooses nothing.
    ReadFrameAndPoll(game);
    std::string last = game.input.HeldCommand[1] + game.input.HeldCommand[2];
    int item = 1;
    while (!game.QuitRequested) {
      ReadFrameAndPoll(game);
      const std::string letters = game.input.HeldCommand[1] + game.input.HeldCommand[2];
      const bool pressed = letters != last;
      last = letters;
      if (pressed && letters.find('U') != std::string::npos) item = 1;
      if (pressed && letters.find('D') != std::string::npos) item = 2;
      if (pressed && letters.find('P') != std::string::npos) break;
      std::fill(game.display.backBuffer.pixels.begin(), game.display.backBuffer.pixels.end(), 0u);
      DrawNetworkMessage(game, item == 1 ? "> Rematch <     Menu" : "  Rematch     > Menu <");
      PresentFrame(game.platform, game.display);
      DoEvents(game);
      // Keep the link's packets moving (nothing of them is needed here).
      link.transport.waitForEvent(10);
    }
    rematch = item == 1 && !game.QuitRequested;
  }
  link.transport.send(link.peer, platform::NetChannel::Reliable, net::Encode(net::ChoiceMessage{rematch}));
  while (true) {
    // The other player may take its time; a link that dies shows as gone.
    const auto message = NextMessage(game, link, kChoiceTimeoutMs, draw, "waiting for the other player");
    if (!message) return false;
    if (auto choice = net::DecodeChoice(*message)) return rematch && choice->rematch;
    // A message of the next match that came first stays for it.
    link.later.push_front(*message);
    return false;
  }
}

std::string ResultLine(int number, const MatchSetup& setup, const NetMatchResult& r) {
  const std::string names[3] = {"", setup.player1, setup.player2};
  std::string line = "match " + std::to_string(number) + ": ";
  if (r.match.winner != 0)
    line += names[r.match.winner] + " (player " + std::to_string(r.match.winner) + ") won";
  else
    line += r.end == NetMatchEnd::Finished ? "not finished" : NetMatchEndText(r.end);
  char figures[200];
  std::snprintf(figures, sizeof figures,
                ", %d rounds, %llu frames; %llu rollbacks, the longest %llu frames, %llu frames "
                "stepped again",
                r.match.rounds, static_cast<unsigned long long>(r.match.frames),
                static_cast<unsigned long long>(r.stats.rollbacks),
                static_cast<unsigned long long>(r.stats.longestRollback),
                static_cast<unsigned long long>(r.stats.framesRestepped));
  return line + figures;
}

// The run's replay, when asked.
int WriteRecord(Game& game, const RunRequest& request, const Replay& recorded) {
  if (!request.record) return 0;
  const std::filesystem::path file = ReplayFileForWriting(game, *request.record);
  const WriteResult written = WriteReplayFile(file, recorded);
  if (!written.ok) {
    ReportFailedWrite(game.log, file, "cannot write the replay " + file.string() + ": " + written.error);
    return kStatusNotWritten;
  }
  return 0;
}

// What a side plays the matches with.
struct Series {
  Replay recorded;
  std::uint64_t recordedFrames = 0;
  int status = 0;
};

// Plays one match of the series and says how it went; false when the series
// cannot go on.
bool PlayOne(Game& game, const RunRequest& request, NetLink& link, std::string* frameHashes,
             int localPlayer, int inputDelay, const net::MatchStartMessage& start, int number,
             Series& series) {
  NetMatchOptions options;
  options.session.localPlayer = localPlayer;
  options.session.inputDelay = inputDelay;
  options.computerPlaysLocal = request.network->computerPlaysLocal;
  options.computerLevel = request.network->computerLevel;
  options.computerSeed = start.randomState ^ static_cast<std::uint64_t>(localPlayer) * 0x9E3779B97F4A7C15u;
  options.outputs.frameHashes = frameHashes;
  options.outputs.draw = request.draw;
  if (request.record) {
    options.outputs.record = &series.recorded.matches.emplace_back();
    options.outputs.recordRoom = kMostReplayFrames - series.recordedFrames;
  }
  options.reportFolder = game.folders.data / "desyncs";
  options.session.match = static_cast<std::uint8_t>(number);
  options.contentFingerprint = MatchFingerprint(game.paths, game.content, start.setup);
  const NetMatchResult result = PlayNetworkMatch(game, start.setup, start.randomState, link, options);
  if (options.outputs.record != nullptr) {
    options.outputs.record->contentFingerprint = options.contentFingerprint;
    series.recordedFrames += options.outputs.record->frames.size();
  }
  if (result.end == NetMatchEnd::Quit) return false;
  std::cout << ResultLine(number, start.setup, result) << "\n" << std::flush;
  if (result.end != NetMatchEnd::Finished) {
    std::string words = NetMatchEndText(result.end);
    if (result.end == NetMatchEnd::Desynced && result.desync) {
      char where[96];
      std::snprintf(where, sizeof where, " at frame %llu", static_cast<unsigned long long>(result.desync->frame));
      words += where;
      if (!result.report.empty()) words += "; the report is in " + result.report.string();
    }
    Say(game, words);
    ShowWordsAWhile(game, link, NetMatchEndText(result.end), request.draw);
    series.status = kStatusNetwork;
    return false;
  }
  return true;
}

int HostMatches(Game& game, const RunRequest& request, std::string* frameHashes) {
  const NetworkOptions& net = *request.network;
  std::optional<MatchSetup> fixed;
  if (request.versus) {
    const auto match = ResolveDirectMatch(game.content, *request.versus, request.stage);
    if (const auto* problem = std::get_if<std::string>(&match)) {
      std::cerr << "vdx: " << *problem << "\n";
      return kStatusRefused;
    }
    fixed = std::get<MatchSetup>(match);
  }
  std::string error;
  auto transport = platform::ListenOnPort(net.port, 1 + kMostWatchers, error);
  if (!transport) {
    Say(game, "cannot wait for a player on port " + std::to_string(net.port) + ": " + error);
    return kStatusNetwork;
  }
  const net::HelloMessage ours = OurHello(game, net::PeerRole::Player, net.inputDelay);
  // A series the players do not choose: --matches, or a computer at this side.
  const int seriesLength = request.matchesGiven ? request.matches : (net.computerPlaysLocal ? 1 : 0);
  NetLink link(*transport);
  std::map<platform::PeerId, std::string> addresses;
  std::optional<net::MatchStartMessage> running;
  // Peers connected and not yet heard: each says hello within a few seconds,
  // once, or is let go, so that idle strangers cannot hold the host's places.
  std::map<platform::PeerId, std::uint32_t> unheard;  // since when
  link.tend = [&](std::uint32_t nowMs) {
    for (auto it = unheard.begin(); it != unheard.end();) {
      if (nowMs - it->second < kHelloTimeoutMs) {
        ++it;
        continue;
      }
      link.transport.disconnect(it->first);
      addresses.erase(it->first);
      it = unheard.erase(it);
    }
  };
  link.fromOthers = [&](const platform::NetEvent& event) {
    using Kind = platform::NetEvent::Kind;
    if (event.kind == Kind::Connected) {
      addresses[event.peer] = event.address;
      unheard[event.peer] = link.transport.clockMs();
      return;
    }
    if (event.kind == Kind::Disconnected) {
      std::erase_if(link.watchers, [&](const NetLink::Watcher& w) { return w.peer == event.peer; });
      addresses.erase(event.peer);
      unheard.erase(event.peer);
      return;
    }
    // A welcomed spectator has nothing more to say; a stranger's first word
    // is a hello, or it is let go.
    const bool firstWord = unheard.erase(event.peer) > 0;
    const auto hello = firstWord && event.channel == platform::NetChannel::Reliable
                           ? net::DecodeHello(event.bytes)
                           : std::nullopt;
    if (!hello) {
      ++link.dropped;
      if (firstWord) {
        link.transport.disconnect(event.peer);
        addresses.erase(event.peer);
      }
      return;
    }
    const std::string from = addresses.count(event.peer) ? addresses[event.peer] : "an unknown address";
    std::string refusal = net::HelloMismatch(*hello, ours);
    if (refusal.empty() && hello->role == net::PeerRole::Player && link.peer != 0)
      refusal = "a match is already being played there";
    if (!refusal.empty()) {
      const std::string told = net::HelloMismatch(ours, *hello);
      Say(game, (hello->role == net::PeerRole::Player ? "a player at " : "a spectator at ") + from +
                    " cannot join: " + (told.empty() ? refusal : told));
      const auto packet = RefusalFor(refusal, event.bytes.size());
      if (!packet.empty()) link.transport.send(event.peer, platform::NetChannel::Reliable, packet);
      link.transport.disconnect(event.peer);
      return;
    }
    net::WelcomeMessage welcome;
    welcome.matches = static_cast<std::uint32_t>(seriesLength);
    welcome.picks = !fixed.has_value();
    if (hello->role == net::PeerRole::Player) {
      welcome.yourPlayer = 2;
      link.peer = event.peer;
      Say(game, "a player joined from " + from);
    } else {
      welcome.yourPlayer = 0;
      if (static_cast<int>(link.watchers.size()) >= kMostWatchers) {
        const auto packet = RefusalFor("too many spectators", event.bytes.size());
        if (!packet.empty()) link.transport.send(event.peer, platform::NetChannel::Reliable, packet);
        link.transport.disconnect(event.peer);
        return;
      }
      link.watchers.push_back({event.peer, 0});
      Say(game, "a spectator watches from " + from);
    }
    link.transport.send(event.peer, platform::NetChannel::Reliable, net::Encode(welcome));
    if (hello->role == net::PeerRole::Spectator && running)
      link.transport.send(event.peer, platform::NetChannel::Reliable, net::Encode(*running));
  };

  Say(game, "waiting for a player on port " + std::to_string(net.port));
  while (link.peer == 0 && !game.QuitRequested) {
    while (auto event = link.transport.nextEvent()) link.fromOthers(*event);
    link.tend(link.transport.clockMs());
    ReadFrame(game);
    DoEvents(game);
    ShowWords(game, "waiting for a player on port " + std::to_string(net.port), request.draw);
    link.transport.waitForEvent(16);
  }
  if (game.QuitRequested) return 0;

  Series series;
  for (int number = 1; !game.QuitRequested; ++number) {
    MatchSetup setup;
    if (fixed) {
      setup = *fixed;
    } else {
      SelectLink select = SelectLinkOf(link);
      const auto chosen = NetworkSelect(game, select, 1);
      if (!chosen) break;
      setup = *chosen;
    }
    setup.GameMode = 2;
    setup.computer = ComputerPlays::None;
    net::MatchStartMessage start{setup, game.random.state()};
    running = start;
    link.transport.send(link.peer, platform::NetChannel::Reliable, net::Encode(start));
    for (NetLink::Watcher& w : link.watchers) {
      w.sentUpTo = 0;
      link.transport.send(w.peer, platform::NetChannel::Reliable, net::Encode(start));
    }
    if (!PlayOne(game, request, link, frameHashes, 1, net.inputDelay, start, number, series)) break;
    running.reset();
    if (seriesLength > 0 ? number >= seriesLength
                         : !BothWantRematch(game, link, request.draw, net.computerPlaysLocal))
      break;
    // A rematch is the same fighters on the same stage.
    fixed = setup;
  }
  link.transport.send(link.peer, platform::NetChannel::Reliable, net::EncodeGoodbye());
  for (const NetLink::Watcher& w : link.watchers)
    link.transport.send(w.peer, platform::NetChannel::Reliable, net::EncodeGoodbye());
  if (seriesLength > 0) game.QuitRequested = true;
  const int written = WriteRecord(game, request, series.recorded);
  // Played by players, a match that ends badly goes back to the menu, as any
  // match does; a series says it in its exit status.
  const int status = seriesLength > 0 ? series.status : 0;
  return status != 0 ? status : written;
}

// Connects and says hello; the link's peer is the host once it welcomes us.
std::optional<net::WelcomeMessage> Introduce(Game& game, const RunRequest& request, NetLink& link,
                                             net::PeerRole role) {
  const NetworkOptions& net = *request.network;
  const std::uint32_t since = link.transport.clockMs();
  while (link.peer == 0 && !game.QuitRequested) {
    while (auto event = link.transport.nextEvent()) {
      if (event->kind == platform::NetEvent::Kind::Connected) link.peer = event->peer;
      if (event->kind == platform::NetEvent::Kind::Disconnected) {
        Say(game, "nobody answers at " + PortText(net));
        return std::nullopt;
      }
    }
    if (link.transport.clockMs() - since > kConnectTimeoutMs + 1000) {
      Say(game, "nobody answers at " + PortText(net));
      return std::nullopt;
    }
    ReadFrame(game);
    DoEvents(game);
    ShowWords(game, "connecting to " + PortText(net), request.draw);
    link.transport.waitForEvent(16);
  }
  if (game.QuitRequested) return std::nullopt;
  link.transport.send(link.peer, platform::NetChannel::Reliable,
                      net::Encode(OurHello(game, role, net.inputDelay)));
  const auto answer = NextMessage(game, link, kAnswerTimeoutMs, request.draw, "waiting for the host");
  if (!answer) {
    if (!game.QuitRequested) Say(game, "the host at " + PortText(net) + " did not answer");
    return std::nullopt;
  }
  if (auto refusal = net::DecodeRefusal(*answer)) {
    Say(game, "the host at " + PortText(net) + " refused: " + refusal->reason);
    ShowWordsAWhile(game, link, "the host refused: " + refusal->reason, request.draw);
    return std::nullopt;
  }
  auto welcome = net::DecodeWelcome(*answer);
  if (!welcome) Say(game, "the host at " + PortText(net) + " answered with something else than a welcome");
  return welcome;
}

int JoinMatches(Game& game, const RunRequest& request, std::string* frameHashes) {
  const NetworkOptions& net = *request.network;
  const bool watching = net.role == NetworkRole::Watch;
  std::string error;
  auto transport = platform::ConnectToHost(net.host, net.port, kConnectTimeoutMs, error);
  if (!transport) {
    Say(game, "cannot reach " + PortText(net) + ": " + error);
    return kStatusNetwork;
  }
  NetLink link(*transport);
  link.fromOthers = [&link](const platform::NetEvent&) { ++link.dropped; };
  const auto welcome =
      Introduce(game, request, link, watching ? net::PeerRole::Spectator : net::PeerRole::Player);
  if (!welcome) return game.QuitRequested ? 0 : kStatusNetwork;
  const int seriesLength = static_cast<int>(welcome->matches);
  Series series;
  for (int number = 1; !game.QuitRequested; ++number) {
    if (!watching && welcome->picks && number == 1) {
      // Both players pick; the host sends what came of it.
      SelectLink select = SelectLinkOf(link);
      if (!NetworkSelect(game, select, 2) && !link.otherGone && !game.QuitRequested) break;
    }
    std::optional<net::MatchStartMessage> start;
    while (!start) {
      const auto message = NextMessage(game, link, watching ? 24 * 3600 * 1000u : kAnswerTimeoutMs,
                                       request.draw, "waiting for the match");
      if (!message) break;
      start = net::DecodeMatchStart(*message);
      if (!start) ++link.dropped;  // a late choice or select message of a match gone by
    }
    if (!start) {
      if (link.otherGone) Say(game, "the host has ended the session");
      else if (!game.QuitRequested) {
        Say(game, "connection lost");
        series.status = kStatusNetwork;
      }
      break;
    }
    if (!game.content.Characters.contains(start->setup.player1) ||
        !game.content.Characters.contains(start->setup.player2) ||
        !game.content.Stages.contains(start->setup.stage)) {
      Say(game, "the host's match names what this game folder lacks");
      series.status = kStatusNetwork;
      break;
    }
    if (watching) {
      FightOutputs outputs{frameHashes, nullptr};
      outputs.draw = request.draw;
      const NetMatchResult result = WatchNetworkMatch(game, start->setup, start->randomState, link, outputs);
      if (result.end == NetMatchEnd::Quit) break;
      std::cout << ResultLine(number, start->setup, result) << "\n" << std::flush;
      if (result.end == NetMatchEnd::Lost) {
        Say(game, NetMatchEndText(result.end));
        series.status = kStatusNetwork;
        break;
      }
      continue;
    }
    if (!PlayOne(game, request, link, frameHashes, welcome->yourPlayer, net.inputDelay, *start,
                 number, series))
      break;
    if (seriesLength > 0) {
      if (number >= seriesLength) break;
      continue;
    }
    if (!BothWantRematch(game, link, request.draw, net.computerPlaysLocal)) break;
  }
  link.transport.send(link.peer, platform::NetChannel::Reliable, net::EncodeGoodbye());
  // A series, a computer at this side's keys or a spectator ends the run
  // with its matches, and says in its exit status how they ended; played by
  // a player, a match that ends badly goes back to the menu, as any match does.
  const bool endsRun = seriesLength > 0 || watching || net.computerPlaysLocal;
  if (endsRun) game.QuitRequested = true;
  const int written = WriteRecord(game, request, series.recorded);
  const int status = endsRun ? series.status : 0;
  return status != 0 ? status : written;
}

}  // namespace

int PlayNetwork(Game& game, const RunRequest& request, std::string* frameHashes) {
  if (request.network->role == NetworkRole::Host) return HostMatches(game, request, frameHashes);
  return JoinMatches(game, request, frameHashes);
}

}  // namespace vdx
