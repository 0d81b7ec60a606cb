#include "net/packets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace vdx::net {
namespace {

using Bytes = std::vector<std::uint8_t>;

// How many of the decoders accept the bytes.
int Decoders(const Bytes& b) {
  return DecodeHello(b).has_value() + DecodeWelcome(b).has_value() + DecodeRefusal(b).has_value() +
         DecodeInputs(b).has_value() + DecodeStateHash(b).has_value() +
         DecodeSelect(b).has_value() + DecodeMatchStart(b).has_value() +
         DecodeChoice(b).has_value() + DecodeGoodbye(b) + DecodeDumpPiece(b).has_value() +
         DecodeWatching(b).has_value();
}

HelloMessage SomeHello() {
  HelloMessage m;
  m.version = "1.4.0";
  m.contentFingerprint = 0x0123456789ABCDEFu;
  m.settings.Rounds = 3;
  m.settings.Weather = true;
  m.settings.LowDetail = true;
  m.settings.CharacterWidth = -2;
  m.inputDelay = 4;
  m.role = PeerRole::Spectator;
  return m;
}

InputsMessage SomeInputs(std::uint8_t count) {
  InputsMessage m;
  m.firstFrame = 0x01020304;
  m.count = count;
  for (std::size_t i = 0; i < count; ++i) m.inputs[i].buttons = static_cast<std::uint8_t>(i * 7);
  m.ackFrame = 77;
  m.frame = 0x01020310;
  m.advantage = -3;
  return m;
}

MatchStartMessage SomeMatchStart() {
  MatchStartMessage m;
  m.setup.player1 = std::string(47, 'k');
  m.setup.player2 = "Brann";
  m.setup.stage = "Harbour";
  m.setup.GameMode = 1;
  m.setup.computer = ComputerPlays::Player2;
  m.randomState = 0xFEEDFACECAFEBEEFu;
  return m;
}

TEST(Packets, EveryMessageReadsBackAsWrittenAndOnlyByItsOwnDecoder) {
  const HelloMessage hello = SomeHello();
  const auto h = DecodeHello(Encode(hello));
  ASSERT_TRUE(h);
  EXPECT_EQ(h->protocol, kProtocolVersion);
  EXPECT_EQ(h->role, PeerRole::Spectator);
  EXPECT_EQ(h->version, "1.4.0");
  EXPECT_EQ(h->contentFingerprint, hello.contentFingerprint);
  EXPECT_EQ(h->settings.Rounds, 3);
  EXPECT_TRUE(h->settings.Weather);
  EXPECT_FALSE(h->settings.Shadows);
  EXPECT_TRUE(h->settings.LowDetail);
  EXPECT_EQ(h->settings.CharacterWidth, -2);
  EXPECT_EQ(h->inputDelay, 4);

  // Little-endian, in the order of the message's fields.
  const Bytes inputs = Encode(SomeInputs(2));
  EXPECT_EQ(inputs, (Bytes{0xD7, 4, 1, 0x04, 0x03, 0x02, 0x01, 2, 0, 7, 77, 0, 0, 0, 0x10, 0x03,
                           0x02, 0x01, 0xFD}));
  // The fullest inputs packet stays small.
  const Bytes full = Encode(SomeInputs(kMostInputsAPacket));
  EXPECT_LE(full.size(), 64u);
  const auto in = DecodeInputs(full);
  ASSERT_TRUE(in);
  EXPECT_EQ(in->count, kMostInputsAPacket);
  EXPECT_EQ(in->inputs[39].buttons, 39 * 7 % 256);
  EXPECT_EQ(in->advantage, -3);
  EXPECT_EQ(in->frame, 0x01020310u);

  const auto start = DecodeMatchStart(Encode(SomeMatchStart()));
  ASSERT_TRUE(start);
  EXPECT_EQ(start->setup.player1, std::string(47, 'k'));
  EXPECT_EQ(start->setup.stage, "Harbour");
  EXPECT_EQ(start->setup.computer, ComputerPlays::Player2);
  EXPECT_EQ(start->randomState, 0xFEEDFACECAFEBEEFu);

  DumpPieceMessage piece{9, 100, 5000, std::string("\0dump\xff", 6)};
  const auto p = DecodeDumpPiece(Encode(piece));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->bytes, piece.bytes);  // a dump is bytes: a NUL is allowed
  EXPECT_EQ(p->total, 5000u);

  WatchingMessage watching;
  watching.firstFrame = 5;
  watching.count = 2;
  watching.frames[1] = {PlayerInput{3}, PlayerInput{200}};
  const auto w = DecodeWatching(Encode(watching));
  ASSERT_TRUE(w);
  EXPECT_EQ(w->frames[1][1].buttons, 200);

  const auto hash = DecodeStateHash(Encode(StateHashMessage{2, 30, 0xAABBCCDDEEFF0011u}));
  ASSERT_TRUE(hash);
  EXPECT_EQ(hash->hash, 0xAABBCCDDEEFF0011u);
  EXPECT_EQ(hash->match, 2);
  const auto select = DecodeSelect(Encode(SelectMessage{2, 5, true}));
  ASSERT_TRUE(select);
  EXPECT_EQ(select->cursor, 5);
  EXPECT_TRUE(select->chosen);
  EXPECT_EQ(DecodeRefusal(Encode(RefusalMessage{"the rounds differ"}))->reason, "the rounds differ");
  const auto welcome = DecodeWelcome(Encode(WelcomeMessage{0, 3, true}));
  ASSERT_TRUE(welcome);
  EXPECT_EQ(welcome->yourPlayer, 0);
  EXPECT_EQ(welcome->matches, 3u);
  EXPECT_TRUE(welcome->picks);
  EXPECT_TRUE(DecodeChoice(Encode(ChoiceMessage{true}))->rematch);

  // Every packet is taken by exactly one decoder, that of its kind.
  const std::vector<Bytes> all = {
      Encode(hello), inputs, full, Encode(SomeMatchStart()), Encode(piece), Encode(watching),
      Encode(StateHashMessage{}), Encode(SelectMessage{1, 0, false}), Encode(RefusalMessage{}),
      Encode(WelcomeMessage{}), Encode(ChoiceMessage{}), EncodeGoodbye(), Encode(InputsMessage{})};
  for (const Bytes& b : all) {
    EXPECT_EQ(Decoders(b), 1) << "kind " << int(b[1]);
    EXPECT_TRUE(KindOf(b));
  }

  // Texts longer than a message holds are cut when written, so the packet
  // is still one that reads.
  RefusalMessage wordy{std::string(300, 'x')};
  const auto cut = DecodeRefusal(Encode(wordy));
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->reason.size(), 200u);
}

TEST(Packets, MalformedPacketsDecodeToNothing) {
  const Bytes inputs = Encode(SomeInputs(3));
  const Bytes hello = Encode(SomeHello());
  const Bytes start = Encode(SomeMatchStart());
  auto with = [](Bytes b, std::size_t at, std::uint8_t value) {
    b[at] = value;
    return b;
  };
  auto cut = [](Bytes b, std::size_t less) {
    b.erase(b.end() - static_cast<std::ptrdiff_t>(std::min(less, b.size())), b.end());
    return b;
  };
  auto longer = [](Bytes b) {
    b.push_back(0);
    return b;
  };
  // The offset of Hello's text length, and of MatchStart's mode.
  const std::size_t versionLength = 2 + 2 + 1;
  // Header, protocol, role, version, fingerprint, settings (5 bytes); zeros follow.
  const std::size_t helloDelay = 2 + 2 + 1 + 1 + SomeHello().version.size() + 8 + 5;
  const std::size_t startMode = 2 + 3 * 1 + 47 + 5 + 7;
  Bytes bigName = start;
  bigName[2] = 48;  // a name of 48 bytes
  bigName.insert(bigName.begin() + 3, 'k');
  Bytes nulName = start;
  nulName[3 + 10] = 0;
  DumpPieceMessage piece{1, 4000, 4100, std::string(200, 'd')};
  struct Case {
    const char* what;
    Bytes bytes;
  };
  const std::vector<Case> cases = {
      {"nothing", {}},
      {"the magic alone", {0xD7}},
      {"a wrong magic", with(inputs, 0, 0xD6)},
      {"an unknown kind", with(inputs, 1, 12)},
      {"kind zero", with(inputs, 1, 0)},
      {"cut by a byte", cut(inputs, 1)},
      {"cut in its inputs", cut(inputs, 11)},
      {"a byte too many", longer(inputs)},
      {"41 inputs", with(inputs, 7, 41)},
      {"more inputs claimed than held", with(inputs, 7, 4)},
      {"frames past the last frame number",
       [&] {
         InputsMessage m = SomeInputs(3);
         m.firstFrame = 0xFFFFFFFE;
         return Encode(m);
       }()},
      {"a role that is none", with(hello, 4, 3)},
      {"a version of 33 bytes", with(hello, versionLength, 33)},
      {"a version with a terminal's escape", with(hello, versionLength + 1, 0x1B)},
      {"an input delay of 5", with(hello, helloDelay, 5)},
      {"a hello short of its zeros", cut(hello, 1)},
      {"a hello with more than zeros after its fields", with(hello, hello.size() - 1, 1)},
      {"rounds 0", with(with(hello, helloDelay - 5, 0), helloDelay - 4, 0)},
      {"rounds 8", with(hello, helloDelay - 5, 8)},
      {"unknown settings bits", with(hello, helloDelay - 3, 8)},
      {"a name of 48 bytes", bigName},
      {"a name with a NUL", nulName},
      {"game mode 3", with(start, startMode, 3)},
      {"computer 3", with(start, startMode + 1, 3)},
      {"the computer in a two players' match", with(start, startMode, 2)},
      {"nobody for the computer in a match against it", with(start, startMode + 1, 0)},
      {"a refusal with a NUL", with(Encode(RefusalMessage{"abc"}), 3, 0)},
      {"a refusal with a terminal's escape", with(Encode(RefusalMessage{"abc"}), 4, 0x1B)},
      {"a select screen 3", Encode(SelectMessage{3, 0, false})},
      {"a choice of 2", with(Encode(ChoiceMessage{}), 2, 2)},
      {"a chosen of 2", with(Encode(SelectMessage{1, 0, false}), 4, 2)},
      {"welcome to player 3", Encode(WelcomeMessage{3})},
      {"a series too long", Encode(WelcomeMessage{2, kMostSeriesMatches + 1})},
      {"goodbye with a byte", longer(EncodeGoodbye())},
      {"a dump piece past the dump's end", Encode(piece)},
      {"a dump bigger than a dump may be",
       Encode(DumpPieceMessage{1, 0, kMostDumpBytes + 1, "x"})},
      {"watching 41 frames", with(Encode(WatchingMessage{}), 6, 41)},
      {"longer than any packet", [] {
         Bytes b = Encode(DumpPieceMessage{1, 0, 5000, std::string(1180, 'd')});
         b.insert(b.end(), 30, 0);
         b[14] = 0xBA;  // claims 1210 bytes of piece, which it holds
         b[15] = 0x04;
         return b;
       }()},
  };
  for (const Case& c : cases) EXPECT_EQ(Decoders(c.bytes), 0) << c.what;
}

TEST(Packets, HelloMismatchNamesEveryDifferenceInWords) {
  HelloMessage here = SomeHello();
  EXPECT_EQ(HelloMismatch(here, here), "");
  HelloMessage there = here;
  there.contentFingerprint ^= 1;
  EXPECT_EQ(HelloMismatch(here, there), "the content differs (the game folders are not the same)");
  // Shadows change no fight, but the replays both sides keep.
  there = here;
  there.settings.Shadows = !here.settings.Shadows;
  EXPECT_EQ(HelloMismatch(here, there), "the shadows differ: off here, on there");
  // Two players must keep the same delay; a spectator takes confirmed inputs.
  here.role = PeerRole::Player;
  there = here;
  there.settings.Rounds = 5;
  there.inputDelay = 2;
  EXPECT_EQ(HelloMismatch(here, there),
            "the rounds differ: 3 here, 5 there; the input delay differs: 4 here, 2 there");
  there.role = PeerRole::Spectator;
  EXPECT_EQ(HelloMismatch(here, there), "the rounds differ: 3 here, 5 there");
  there = here;
  there.protocol = kProtocolVersion + 1;
  there.version = "1.5.0";
  there.settings.Weather = false;
  there.settings.LowDetail = false;
  there.settings.CharacterWidth = 1;
  EXPECT_EQ(HelloMismatch(here, there),
            "the programs speak different network versions: " + std::to_string(kProtocolVersion) +
                " here, " + std::to_string(kProtocolVersion + 1) + " there; "
            "the program versions differ: 1.4.0 here, 1.5.0 there; "
            "the weather differs: on here, off there; "
            "the low detail setting differs: on here, off there; "
            "the character width differs: -2 here, 1 there");
}

}  // namespace
}  // namespace vdx::net
