// The select screens of a network match on the headless platform: this side's
// keys from a script, the other side's select messages from a scripted link
// that lets each one through at its time, and what this side sends recorded.
#include "frontend/network_select.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/keycodes.h"
#include "screens/json_scan.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

struct Timed {
  std::uint32_t atMs = 0;
  net::SelectMessage message;
};

using Sent = std::vector<std::array<int, 3>>;  // screen, cursor, chosen

struct Outcome {
  std::optional<MatchSetup> setup;
  Sent sent;
  std::map<std::string, std::map<std::string, std::string>> states;  // by the script's name
  bool randomTouched = false;
};

// Roster: Random, Kira, Brann, Vex, Mora (disabled). Stages: Dock, Roof
// (disabled), Pier. Player 1's keys Left, Right, A; player 2's J, L, G.
Outcome PlaySelect(int localPlayer, const std::string& script, std::vector<Timed> theirs,
                   std::uint32_t goneAtMs = 0) {
  testing::TestFolder folder;
  folder.write("Game.xml", "<Game/>");
  platform::HeadlessPlatform machine;
  std::string withPaths;
  for (std::size_t at = 0; at < script.size();) {
    const auto end = script.find('\n', at);
    std::string line = script.substr(at, end - at);
    if (line.rfind("state ", 0) == 0)
      line = "state " + (folder.path() / (line.substr(6) + ".json")).string();
    withPaths += line + "\n";
    at = end + 1;
  }
  auto parsed = platform::ParseScript(withPaths);
  EXPECT_TRUE(std::holds_alternative<platform::Script>(parsed));
  machine.runScript(std::get<platform::Script>(std::move(parsed)));
  Game game(machine, folder.path());
  for (const char* name : {"Kira", "Brann", "Vex", "Mora"}) {
    cCharacter c;
    c.Name = name;
    c.Disabled = c.Name == "Mora";
    game.content.Characters.add(c, c.Name);
  }
  for (const char* name : {"Dock", "Roof", "Pier"}) {
    cStage s;
    s.Name = name;
    s.Disabled = s.Name == "Roof";
    game.content.Stages.add(s, s.Name);
  }
  const auto key = [](const char* name) { return static_cast<Integer>(*ParseKey(name)); };
  game.settings.Player1Keys.Backward = key("Left");
  game.settings.Player1Keys.Forward = key("Right");
  game.settings.Player1Keys.Punch = key("A");
  game.settings.Player2Keys.Backward = key("J");
  game.settings.Player2Keys.Forward = key("L");
  game.settings.Player2Keys.Punch = key("G");
  const RandomGenerator randomBefore = game.random;

  Outcome outcome;
  const std::uint32_t start = machine.ticks();
  std::deque<Timed> queue(theirs.begin(), theirs.end());
  SelectLink link;
  link.send = [&](const net::SelectMessage& m) {
    outcome.sent.push_back({m.screen, m.cursor, m.chosen ? 1 : 0});
  };
  link.next = [&]() -> std::optional<net::SelectMessage> {
    if (queue.empty() || machine.ticks() - start < queue.front().atMs) return std::nullopt;
    const net::SelectMessage m = queue.front().message;
    queue.pop_front();
    return m;
  };
  link.gone = [&] { return goneAtMs != 0 && machine.ticks() - start >= goneAtMs; };
  outcome.setup = NetworkSelect(game, link, localPlayer);
  outcome.randomTouched = game.random.state() != randomBefore.state();
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    if (entry.path().extension() != ".json") continue;
    auto& fields = outcome.states[entry.path().stem().string()];
    ::vdx::testing::ScanJsonFields(
        folder.read(entry.path().filename().string()),
        [&](std::size_t, const std::string& k, const std::string& v) { fields[k] = v; });
  }
  return outcome;
}

// A key tapped (held for one menu frame), then let go long enough for the
// next frame to see it gone.
std::string Hold(const std::string& key) {
  return "tap " + key + "\nwait 300\n";
}

TEST(NetworkSelect, EachSideMovesItsOwnCursorFollowsTheOtherAndTheHostPicksTheStage) {
  // The host: Right skips the joining player's Brann to Vex. The other cursor
  // goes to Random, past cursors out of range, a disabled pick and a stage
  // message. Player 2's binding moves the host's cursor back to Brann.
  const Outcome host = PlaySelect(1,
                                  "wait 300\n" + Hold("Right") + "wait 300\nstate afterGarbage\n" +
                                      Hold("J") + Hold("A") + "wait 400\n" + Hold("Right") +
                                      Hold("A") + Hold("Right") + Hold("A") + "wait 2000\n",
                                  {{500, {1, 1, false}},
                                   {600, {1, 0, false}},
                                   {610, {1, 6, false}},
                                   {620, {1, 5, true}},
                                   {630, {2, 2, false}},
                                   {1500, {1, 1, true}}});
  ASSERT_TRUE(host.setup.has_value());
  EXPECT_EQ(host.sent, (Sent{{1, 4, 0}, {1, 3, 0}, {1, 3, 1}, {2, 2, 0}, {2, 3, 0}, {2, 3, 1}}))
      << "the disabled Roof cannot be picked";
  EXPECT_EQ(host.states.at("afterGarbage").at("cursor2"), "1");
  EXPECT_EQ(host.states.at("afterGarbage").at("chosen2"), "");
  EXPECT_EQ(host.setup->player1, "Brann");
  EXPECT_TRUE(host.setup->player2 == "Kira" || host.setup->player2 == "Vex" ||
              host.setup->player2 == "Mora")
      << "Random drawn from the others: " << host.setup->player2;
  EXPECT_EQ(host.setup->stage, "Pier");
  EXPECT_EQ(host.setup->GameMode, 2);
  EXPECT_EQ(host.setup->computer, ComputerPlays::None);
  EXPECT_TRUE(host.randomTouched);

  // The joining side: Right skips the host's Vex to the disabled Mora, which
  // cannot be picked; on to Random. Its keys do nothing to the stage, which
  // follows the host's cursor but not its bad values.
  const Outcome joining =
      PlaySelect(2,
                 "wait 300\n" + Hold("L") + Hold("G") + Hold("Right") + Hold("A") + "wait 500\n" +
                     Hold("Right") + Hold("A") + "wait 600\nstate stage\nwait 3000\n",
                 {{100, {1, 4, false}},
                  {1300, {1, 4, true}},
                  {1400, {2, 3, false}},
                  {1500, {2, 9, false}},
                  {1600, {2, 2, true}},
                  {1700, {1, 2, false}},
                  {4500, {2, 3, true}}});
  ASSERT_TRUE(joining.setup.has_value());
  EXPECT_EQ(joining.sent, (Sent{{1, 5, 0}, {1, 1, 0}, {1, 1, 1}}));
  EXPECT_EQ(joining.states.at("stage").at("cursor"), "3");
  EXPECT_EQ(joining.setup->player1, "Vex");
  EXPECT_NE(joining.setup->player2, "Vex");
  EXPECT_NE(joining.setup->player2, "Random");
  EXPECT_EQ(joining.setup->stage, "Pier");
  EXPECT_FALSE(joining.randomTouched) << "the host draws for the match";
}

TEST(NetworkSelect, EscapeTheOtherLeavingOrClosingGiveNothing) {
  struct Case {
    const char* what;
    int localPlayer;
    std::string script;
    std::vector<Timed> theirs;
    std::uint32_t goneAtMs;
    Sent sent;
  };
  const std::vector<Case> cases = {
      {"Escape on the character select",
       1,
       "wait 300\n" + Hold("Right") + Hold("Escape"),
       {},
       0,
       {{1, 4, 0}}},
      {"Escape on the joining side's stage select",
       2,
       "wait 300\n" + Hold("A") + "wait 500\n" + Hold("Escape") + "wait 5000\n",
       {{100, {1, 2, true}}, {900, {2, 2, false}}},
       0,
       {{1, 3, 1}}},
      {"the other leaves", 1, "wait 300\n" + Hold("A") + "wait 5000\n", {}, 800, {{1, 2, 1}}},
      {"the game closes",
       2,
       "wait 300\n" + Hold("A") + "wait 500\n",
       {{100, {1, 2, true}}},
       0,
       {{1, 3, 1}}},
  };
  for (const Case& c : cases) {
    const Outcome outcome = PlaySelect(c.localPlayer, c.script, c.theirs, c.goneAtMs);
    EXPECT_FALSE(outcome.setup.has_value()) << c.what;
    EXPECT_EQ(outcome.sent, c.sent) << c.what;
  }
}

// A transport that hands out the events it was given and keeps what is sent.
class ScriptedTransport : public platform::NetTransport {
 public:
  std::deque<platform::NetEvent> events;
  std::vector<std::pair<platform::NetChannel, std::vector<std::uint8_t>>> sent;
  void send(platform::PeerId peer, platform::NetChannel channel,
            std::span<const std::uint8_t> bytes) override {
    if (peer == 7)
      sent.emplace_back(channel, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  }
  std::optional<platform::NetEvent> nextEvent() override {
    if (events.empty()) return std::nullopt;
    platform::NetEvent event = std::move(events.front());
    events.pop_front();
    return event;
  }
  void waitForEvent(std::uint32_t) override {}
  std::uint32_t clockMs() const override { return 0; }
  void disconnect(platform::PeerId) override {}
  std::uint64_t oversizedDropped() const override { return 0; }
};

platform::NetEvent From(platform::PeerId peer, platform::NetChannel channel,
                        std::vector<std::uint8_t> bytes) {
  platform::NetEvent event;
  event.peer = peer;
  event.channel = channel;
  event.bytes = std::move(bytes);
  return event;
}

// The screens take the select messages, wherever they wait; everything else
// the other player sent stays for the match, in order.
TEST(NetworkSelect, TheLinkTakesSelectMessagesAndLeavesTheRestInOrder) {
  using platform::NetChannel;
  ScriptedTransport transport;
  NetLink link(transport);
  link.peer = 7;
  int fromOthers = 0;
  link.fromOthers = [&](const platform::NetEvent&) { ++fromOthers; };
  const auto select = [](int cursor) {
    return net::Encode(net::SelectMessage{1, static_cast<std::uint8_t>(cursor), false});
  };
  const auto earlier = net::Encode(net::ChoiceMessage{true});
  const auto later = net::Encode(net::ChoiceMessage{false});
  auto cut = select(9);
  cut.resize(2);
  link.later = {earlier, select(2)};
  transport.events.push_back(From(7, NetChannel::Reliable, select(3)));
  transport.events.push_back(From(7, NetChannel::Unreliable, select(8)));
  transport.events.push_back(From(7, NetChannel::Reliable, cut));
  transport.events.push_back(From(9, NetChannel::Reliable, select(8)));
  transport.events.push_back(From(7, NetChannel::Reliable, later));
  transport.events.push_back(From(7, NetChannel::Reliable, select(4)));

  SelectLink other = SelectLinkOf(link);
  std::vector<int> cursors;
  while (const auto message = other.next())
    cursors.push_back(message->cursor);
  EXPECT_EQ(cursors, (std::vector<int>{2, 3, 4}));
  EXPECT_EQ(link.later, (std::deque<std::vector<std::uint8_t>>{earlier, later}));
  EXPECT_EQ(link.dropped, 1u) << "the cut select message";
  EXPECT_EQ(fromOthers, 1);
  EXPECT_FALSE(other.gone());

  other.send(net::SelectMessage{2, 3, true});
  ASSERT_EQ(transport.sent.size(), 1u);
  EXPECT_EQ(transport.sent[0].first, NetChannel::Reliable);
  EXPECT_EQ(transport.sent[0].second, net::Encode(net::SelectMessage{2, 3, true}));

  transport.events.push_back(From(7, NetChannel::Reliable, net::EncodeGoodbye()));
  EXPECT_TRUE(other.gone());
  EXPECT_FALSE(other.next().has_value());
}

}  // namespace
}  // namespace vdx
