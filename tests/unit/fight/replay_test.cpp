#include "fight/replay.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <variant>

#include "unit/test_folder.h"

namespace vdx {
namespace {

using namespace std::string_literals;

// The first difference between two frame streams, or empty.
std::string FirstDifference(const std::vector<FightInputs>& a, const std::vector<FightInputs>& b) {
  if (a.size() != b.size())
    return std::to_string(a.size()) + " frames against " + std::to_string(b.size());
  for (std::size_t f = 0; f < a.size(); ++f)
    for (std::size_t p = 0; p < 2; ++p)
      if (a[f][p] != b[f][p])
        return "frame " + std::to_string(f + 1) + ": player " + std::to_string(p + 1);
  return {};
}

std::string Varint(std::uint64_t v) {
  std::string out;
  for (; v >= 0x80; v >>= 7)
    out += static_cast<char>(v | 0x80);
  return out + static_cast<char>(v);
}

FightInputs Buttons(std::uint8_t player1, std::uint8_t player2) {
  return {PlayerInput{player1}, PlayerInput{player2}};
}

void Hold(std::vector<FightInputs>& frames, FightInputs inputs, std::size_t count) {
  frames.insert(frames.end(), count, inputs);
}

void ExpectSameReplay(const Replay& a, const Replay& b) {
  ASSERT_EQ(a.matches.size(), b.matches.size());
  for (std::size_t m = 0; m < a.matches.size(); ++m) {
    SCOPED_TRACE("match " + std::to_string(m + 1));
    const ReplayMatch& x = a.matches[m];
    const ReplayMatch& y = b.matches[m];
    EXPECT_EQ(x.setup.player1, y.setup.player1);
    EXPECT_EQ(x.setup.player2, y.setup.player2);
    EXPECT_EQ(x.setup.stage, y.setup.stage);
    EXPECT_EQ(x.setup.GameMode, y.setup.GameMode);
    EXPECT_EQ(x.setup.computer, y.setup.computer);
    EXPECT_EQ(x.setup.levels, y.setup.levels);
    EXPECT_EQ(x.settings.Rounds, y.settings.Rounds);
    EXPECT_EQ(x.settings.Weather, y.settings.Weather);
    EXPECT_EQ(x.settings.Shadows, y.settings.Shadows);
    EXPECT_EQ(x.settings.LowDetail, y.settings.LowDetail);
    EXPECT_EQ(x.settings.CharacterWidth, y.settings.CharacterWidth);
    EXPECT_EQ(x.randomState, y.randomState);
    EXPECT_EQ(x.contentFingerprint, y.contentFingerprint);
    EXPECT_EQ(FirstDifference(x.frames, y.frames), "");
  }
}

Replay Decoded(std::string_view bytes) {
  auto decoded = DecodeReplay(bytes);
  if (const auto* error = std::get_if<ReplayError>(&decoded)) {
    ADD_FAILURE() << error->message;
    return {};
  }
  return std::get<Replay>(decoded);
}

std::string ErrorOf(std::string_view bytes) {
  const auto decoded = DecodeReplay(bytes);
  const auto* error = std::get_if<ReplayError>(&decoded);
  return error ? error->message : "(decoded)";
}

// A stream of frames as play makes them, and worse: buttons held for a while,
// then for a frame or two, any of player 1's eight bits and player 2's seven,
// runs long enough to take two- and three-byte lengths, and a player going back
// to buttons of a run before the last.
std::vector<FightInputs> RandomFrames(std::mt19937& rng, int count) {
  std::uniform_int_distribution<int> percent(0, 99);
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<FightInputs> frames;
  FightInputs inputs;
  while (static_cast<int>(frames.size()) < count) {
    const int roll = percent(rng);
    if (roll < 40) inputs[0].buttons = static_cast<std::uint8_t>(byte(rng));
    if (roll >= 30 && roll < 70)
      inputs[1].buttons = static_cast<std::uint8_t>(byte(rng) & ~kButtonPause);
    if (roll >= 90) inputs = Buttons(0, 0);
    const int hold = percent(rng);
    const int length = hold < 60 ? 1 + hold % 4 : hold < 97 ? 5 + byte(rng) : 16384 + byte(rng);
    Hold(frames, inputs, static_cast<std::size_t>(std::min(length, count - int(frames.size()))));
  }
  return frames;
}

ReplayMatch RandomMatch(std::mt19937& rng, int frames) {
  std::uniform_int_distribution<int> integer(INT16_MIN, INT16_MAX);
  const auto bits = [&rng] { return (static_cast<std::uint64_t>(rng()) << 32) | rng(); };
  ReplayMatch m;
  m.setup.player1 = "K\xC3\xAEra";  // UTF-8
  m.setup.player2 = std::string(static_cast<std::size_t>(rng() % 300), 'x') + '\0' + "after a zero";
  m.setup.stage = "";
  // What the menus and the command line can start: a computer only in mode 1.
  m.setup.GameMode = 1 + static_cast<int>(rng() % 2);
  m.setup.computer = m.setup.GameMode == 2
                         ? ComputerPlays::None
                         : std::array{ComputerPlays::Player2, ComputerPlays::Both}[rng() % 2];
  m.settings.Rounds = static_cast<Integer>(1 + rng() % 7);
  m.settings.Weather = rng() % 2;
  m.settings.Shadows = rng() % 2;
  m.settings.LowDetail = rng() % 2;
  m.settings.CharacterWidth = static_cast<Integer>(integer(rng));
  m.randomState = bits();
  m.contentFingerprint = bits();
  m.setup.levels = {static_cast<Integer>(1 + m.randomState % 8),
                    static_cast<Integer>(1 + m.contentFingerprint % 8)};
  m.frames = RandomFrames(rng, frames);
  return m;
}

TEST(Replay, RandomStreamsComeBackExactly) {
  std::mt19937 rng(20240611);
  for (int run = 0; run < 20; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    Replay replay;
    const int matches = run % 4;  // none is a replay too
    for (int m = 0; m < matches; ++m)
      replay.matches.push_back(RandomMatch(rng, m == 1 ? 0 : 500 + run * 1000));
    const std::string bytes = EncodeReplay(replay);
    const Replay back = Decoded(bytes);
    ExpectSameReplay(back, replay);
    EXPECT_EQ(EncodeReplay(back), bytes) << "one replay, one way of writing it";
  }
}

TEST(Replay, EveryButtonAndEveryWayOfPlayingComeBack) {
  // Each bit alone for each player, all of them at once, nothing, and runs
  // whose lengths take one, two and three bytes; in every mode the menus and
  // the command line start.
  std::vector<FightInputs> frames;
  for (int bit = 0; bit < 8; ++bit) {
    const auto alone = static_cast<std::uint8_t>(1u << bit);
    Hold(frames, Buttons(alone, 0), static_cast<std::size_t>(bit + 1));
    if (alone != kButtonPause) Hold(frames, Buttons(0, alone), 1);
    Hold(frames, Buttons(alone, static_cast<std::uint8_t>(~alone & ~kButtonPause)), 2);
  }
  Hold(frames, Buttons(0xFF, 0x7F), 127);
  Hold(frames, Buttons(0, 0), 128);
  Hold(frames, Buttons(kButtonLeft | kButtonBlock, kButtonRight | kButtonKick), 16384);
  Hold(frames, Buttons(0, 0), 1);
  Replay replay;
  for (const auto& [mode, computer] :
       {std::pair{2, ComputerPlays::None}, std::pair{1, ComputerPlays::Player2},
        std::pair{1, ComputerPlays::Both}}) {
    ReplayMatch m;
    m.setup = MatchSetup{"Kira", "Rook", "Dock", mode, computer, {1, 8}};
    m.settings.Rounds = static_cast<Integer>(replay.matches.size() * 3 + 1);
    m.settings.Weather = computer == ComputerPlays::Player2;
    m.settings.Shadows = computer != ComputerPlays::Player2;
    m.settings.LowDetail = computer == ComputerPlays::Both;
    m.settings.CharacterWidth = static_cast<Integer>(mode == 2 ? -64 : 63);
    m.frames = frames;
    replay.matches.push_back(m);
  }
  const std::string bytes = EncodeReplay(replay);
  ExpectSameReplay(Decoded(bytes), replay);
  // 8 lone bits for player 1, 7 for player 2, 8 pairs, then four runs: 27 runs
  // of 3 bytes, but for the lengths 128 and 16384 that take 2 and 3.
  const std::size_t runBytes = 27 * 3 + 1 + 2;
  EXPECT_EQ(bytes.size(), 14 + 1 + 3 * (15 + 2 + 5 + 16 + 1 + runBytes) + 8);
}

TEST(Replay, TheBytesFollowTheDocumentedLayout) {
  ReplayMatch m;
  m.setup = MatchSetup{"Kira", "Rook", "Dock", 1, ComputerPlays::Player2, {4, 6}};
  m.settings.Rounds = 3;
  m.settings.Weather = true;
  m.settings.Shadows = true;
  m.settings.CharacterWidth = 128;
  m.randomState = 0x0102030405060708u;
  m.contentFingerprint = 0x1112131415161718u;
  Hold(m.frames, Buttons(0, 0), 2);
  Hold(m.frames, Buttons(kButtonRight | kButtonPunch, kButtonKick), 1);
  Hold(m.frames, Buttons(kButtonRight | kButtonPunch, 0), 300);
  Hold(m.frames, Buttons(kButtonPause, kButtonBlock | kButtonDown), 1);
  const std::string body =
      "\x01"                  // one match
      "\x04Kira\x04Rook\x04"  // names: Kira, Rook, Dock
      "Dock"
      "\x02\x01"                           // mode 1, computer plays 2
      "\x04\x06"                           // levels: 4 and 6
      "\x06\x03\x80\x02"                   // 3 rounds, switches, width
      "\x08\x07\x06\x05\x04\x03\x02\x01"s  // generator state
      "\x18\x17\x16\x15\x14\x13\x12\x11"   // content fingerprint
      "\x04"                               // four runs
      "\x00\x00\x02"s                      // two frames of nothing
      "\x12\x20\x01"                       // Right and Punch; Kick
      "\x12\x00\xAC\x02"s                  // held for 300 frames
      "\x80\x48\x01";                      // Pause; Down and Block
  const std::string bytes = EncodeReplay(Replay{{m}});
  ASSERT_EQ(bytes.size(), 14 + body.size() + 8);
  EXPECT_EQ(bytes.substr(0, 6), "VDXR\x03\x00"s);
  EXPECT_EQ(bytes.substr(6, 8),
            std::string(1, static_cast<char>(bytes.size())) + "\0\0\0\0\0\0\0"s);
  EXPECT_EQ(bytes.substr(14, body.size()), body);
  // FNV-1a 64 of its published test vectors.
  EXPECT_EQ(Fnv1a64(""), 0xCBF29CE484222325u);
  EXPECT_EQ(Fnv1a64("a"), 0xAF63DC4C8601EC8Cu);
  EXPECT_EQ(Fnv1a64("foobar"), 0x85944171F73967E8u);
  std::uint64_t checksum = 0;
  for (int i = 7; i >= 0; --i)
    checksum = checksum << 8 | static_cast<std::uint8_t>(bytes[bytes.size() - 8 + i]);
  EXPECT_EQ(checksum, Fnv1a64(std::string_view(bytes).substr(0, bytes.size() - 8)));
  ExpectSameReplay(Decoded(bytes), Replay{{m}});
}

TEST(Replay, AFileWithoutLevelsPlaysAtTheProfilesLevelAndWritesBackAsItCame) {
  // The body of the version before levels: no level bytes after the computer's.
  const std::string body = "\x01\x04Kira\x04Rook\x04"
                           "Dock"
                           "\x02\x01\x06\x03\x80\x02"s +
                           std::string(16, '\x07') + "\x01\x10\x00\x05"s;
  const std::string file = SealReplay(body, kReplayVersionWithoutLevels);
  EXPECT_EQ(file.substr(0, 6), "VDXR\x02\x00"s);
  Replay replay = Decoded(file);
  ASSERT_EQ(replay.matches.size(), 1u);
  EXPECT_EQ(replay.matches[0].setup.levels, (std::array<Integer, 2>{4, 4}));
  EXPECT_EQ(replay.matches[0].frames.size(), 5u);
  EXPECT_EQ(EncodeReplay(replay), file);
  // Sealed as this version, the same body misses its levels and does not read.
  EXPECT_TRUE(std::holds_alternative<ReplayError>(DecodeReplay(SealReplay(body))));
  // A level other than the profile's needs this version to be written.
  replay.matches[0].setup.levels[1] = 2;
  const std::string now = EncodeReplay(replay);
  EXPECT_EQ(now.substr(0, 6), "VDXR\x03\x00"s);
  EXPECT_EQ(Decoded(now).matches[0].setup.levels, (std::array<Integer, 2>{4, 2}));
  // Levels outside 1..8 are refused (they follow the computer's byte, at 18).
  for (const auto& [levels, message] :
       {std::pair{"\x00\x04"s, "player 1's computer level is 0, not 1 to 8"},
        std::pair{"\x04\x09"s, "player 2's computer level is 9, not 1 to 8"}}) {
    std::string bad = body;
    bad.insert(18, levels);
    EXPECT_EQ(ErrorOf(SealReplay(bad)), std::string("the replay does not read: match 1: ") + message);
  }
}

TEST(Replay, AnHourOfPlayTakesKilobytes) {
  // An hour at 60 frames a second: two players pressing and holding a button
  // or two every few frames for a minute, then both standing still.
  std::mt19937 rng(7);
  Replay replay{{RandomMatch(rng, 0)}};
  std::vector<FightInputs>& frames = replay.matches[0].frames;
  FightInputs inputs;
  const std::uint8_t buttons[] = {kButtonLeft,  kButtonRight, kButtonUp,   kButtonDown,
                                  kButtonPunch, kButtonKick,  kButtonBlock};
  std::size_t changes = 0;
  for (int f = 0; f < 3600; ++f) {
    const FightInputs before = inputs;
    if (rng() % 8 == 0) inputs[0].buttons ^= buttons[rng() % std::size(buttons)];
    if (rng() % 8 == 0) inputs[1].buttons ^= buttons[rng() % std::size(buttons)];
    changes += f > 0 && inputs != before;
    frames.push_back(inputs);
  }
  Hold(frames, Buttons(0, 0), 59 * 3600);
  const std::size_t size = EncodeReplay(replay).size();
  EXPECT_LT(size, 3 * (changes + 2) + 400) << "three bytes a change";
  EXPECT_LT(size, 3600u) << "less than a byte a second";
  ExpectSameReplay(Decoded(EncodeReplay(replay)), replay);
}

Replay SmallReplay() {
  std::mt19937 rng(99);
  Replay replay{{RandomMatch(rng, 5), RandomMatch(rng, 3)}};
  replay.matches[0].setup.player2 = "Rook";
  return replay;
}

TEST(Replay, EveryCutIsReportedAsCutShort) {
  const std::string bytes = EncodeReplay(SmallReplay());
  EXPECT_EQ(ErrorOf(""), "the file is empty");
  for (std::size_t length = 1; length < bytes.size(); ++length) {
    const std::string error = ErrorOf(std::string_view(bytes).substr(0, length));
    EXPECT_TRUE(error.starts_with("the file is cut short: ")) << length << ": " << error;
  }
  EXPECT_EQ(ErrorOf(bytes.substr(0, 9)),
            "the file is cut short: it ends inside its 14-byte header");
  EXPECT_EQ(ErrorOf(bytes.substr(0, 60)),
            "the file is cut short: it holds 60 of its " + std::to_string(bytes.size()) + " bytes");
}

TEST(Replay, DamageIsNamedAndNeverReadAsAnotherReplay) {
  const std::string bytes = EncodeReplay(SmallReplay());
  // Every single bit flipped anywhere: refused, never a replay that differs.
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    for (int bit = 0; bit < 8; ++bit) {
      std::string damaged = bytes;
      damaged[at] = static_cast<char>(damaged[at] ^ (1 << bit));
      ASSERT_TRUE(std::holds_alternative<ReplayError>(DecodeReplay(damaged)))
          << "byte " << at << " bit " << bit;
    }
  }
  std::string flipped = bytes;
  flipped[40] ^= 0x10;
  EXPECT_EQ(ErrorOf(flipped), "the replay is damaged: its checksum does not match its bytes");
  EXPECT_EQ(ErrorOf(bytes + "x"), "1 byte follows the end of the replay");
  EXPECT_EQ(ErrorOf(bytes + "xyz"), "3 bytes follow the end of the replay");
  EXPECT_EQ(ErrorOf("\x89PNG\r\n\x1A\n"), "this is not a vdx replay file");
  EXPECT_EQ(ErrorOf("VDXR\x04\x00"s + std::string(30, '\0')),
            "the replay is of format version 4; this vdx reads versions 2 and 3");
  EXPECT_EQ(ErrorOf("VDXR\x00\x01"s), "the file is cut short: it ends inside its 14-byte header")
      << "the version is read only from a whole header";
  EXPECT_EQ(ErrorOf("VDXR\x00\x01"s + std::string(30, '\0')),
            "the replay is of format version 256; this vdx reads versions 2 and 3");
  EXPECT_EQ(ErrorOf("VDXR\x02\x00\x05\x00\x00\x00\x00\x00\x00\x00"s),
            "the replay is damaged: its header gives a length of 5 bytes");
}

// A match of zeros and empty names, up to its number of runs (game mode 1,
// one round), as the version without levels writes it.
const std::string kMatchStart = "\x00\x00\x00\x02\x01\x02\x00\x00"s + std::string(16, '\0');

// A file of the first format, sealed as that version sealed it: magic, version
// 1, the file's length, a body of one match (names, mode, computer, rounds,
// switches, width, 14 key codes, state, fingerprint, then its frames: count,
// tick delta, change bits) and the checksum.
std::string FirstVersionFile() {
  std::string file = "VDXR\x01\x00"s + std::string(8, '\0') +
                     "\x01\x00\x00\x00\x02\x02\x02\x00\x00"s + std::string(14 + 16, '\0') +
                     "\x01\x10\x00"s;
  file[6] = static_cast<char>(file.size() + 8);
  const std::uint64_t checksum = Fnv1a64(file);
  for (int i = 0; i < 8; ++i)
    file += static_cast<char>(checksum >> (8 * i));
  return file;
}

TEST(Replay, AFileOfTheFirstVersionIsToBeRecordedAgain) {
  const std::string message =
      "the replay was recorded by an older version of vdx (replay version 1); record it again";
  const std::string file = FirstVersionFile();
  EXPECT_EQ(ErrorOf(file), message);
  EXPECT_EQ(ErrorOf(file.substr(0, 14)), message) << "whatever follows its header";
  EXPECT_EQ(ErrorOf(file + "more"), message);
  // Sealed as this version, the same body is refused for what it holds: the
  // key codes of the first version are not settings any more.
  EXPECT_TRUE(std::holds_alternative<ReplayError>(
      DecodeReplay(SealReplay(std::string_view(file).substr(14, file.size() - 22)))));

  testing::TestFolder folder;
  const auto path = folder.write("old.vdr", file);
  const auto read = ReadReplayFile(path);
  ASSERT_TRUE(std::holds_alternative<ReplayError>(read));
  EXPECT_EQ(std::get<ReplayError>(read).message, path.string() + ": " + message);
}

TEST(Replay, TheMostFramesReadInAFewBytes) {
  // The most a replay holds, over two matches, in a few dozen bytes; one more
  // frame anywhere is refused (see BadBodies).
  const std::string body = "\x02"s + kMatchStart + "\x02\x01\x00\x01\x00\x00"s + Varint(5'999'999) +
                           kMatchStart + "\x01\x00\x00"s + Varint(4'000'000);
  const Replay replay = Decoded(SealReplay(body, kReplayVersionWithoutLevels));
  ASSERT_EQ(replay.matches.size(), 2u);
  EXPECT_EQ(replay.matches[0].frames.size() + replay.matches[1].frames.size(), kMostReplayFrames);
  EXPECT_EQ(replay.matches[0].frames.front(), Buttons(kButtonLeft, 0));
  EXPECT_EQ(replay.matches[0].frames.back(), Buttons(0, 0));
  EXPECT_EQ(EncodeReplay(replay), SealReplay(body, kReplayVersionWithoutLevels));
}

struct BadBody {
  const char* what;
  std::string body;
  const char* message;  // after "the replay does not read: "
};

class BadBodies : public ::testing::TestWithParam<BadBody> {};

TEST_P(BadBodies, AreRefusedWithTheirReason) {
  EXPECT_EQ(ErrorOf(SealReplay(GetParam().body, kReplayVersionWithoutLevels)),
            std::string("the replay does not read: ") + GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Replay, BadBodies,
    ::testing::Values(
        BadBody{"NoMatchCount", "", "a record runs past the end of the replay"},
        BadBody{"AbsurdMatchCount", "\xFF\xFF\xFF\xFF\x0F"s + std::string(100, '\0'),
                "it claims 4294967295 matches, but the 100 bytes left could hold at most 4"},
        BadBody{"NumberOver64Bits", "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x02"s,
                "a number is larger than 64 bits"},
        BadBody{"LongWrittenNumber", "\x80\x00"s,
                "a number is written with more bytes than it needs"},
        BadBody{"TrailingBytes", "\x00\x00"s, "1 byte follows the last match"},
        BadBody{"AbsurdNameLength", "\x01\xFF\xFF\xFF\xFF\x0F"s + std::string(40, '\0'),
                "match 1: player 1's name runs past the end of the replay"},
        BadBody{"UnknownComputerPlayers", "\x01\x00\x00\x00\x02\x03"s + std::string(40, '\0'),
                "match 1: the computer's players are 3, not 0, 1 or 2"},
        BadBody{"RoundsOutOfRange", "\x01\x00\x00\x00\x02\x01\x80\xF1\x04"s + std::string(40, '\0'),
                "match 1: Rounds is out of range (40000)"},
        // Values no menu and no command line can start.
        BadBody{"NoRounds", "\x01\x00\x00\x00\x02\x01\x00"s + std::string(40, '\0'),
                "match 1: Rounds is 0, but a match has 1 to 7 rounds"},
        BadBody{"NegativeRounds", "\x01\x00\x00\x00\x02\x01\x09"s + std::string(40, '\0'),
                "match 1: Rounds is -5, but a match has 1 to 7 rounds"},
        BadBody{"HundredRounds", "\x01\x00\x00\x00\x02\x01\xC8\x01"s + std::string(40, '\0'),
                "match 1: Rounds is 100, but a match has 1 to 7 rounds"},
        BadBody{"GameMode7", "\x01\x00\x00\x00\x0E\x00\x02"s + std::string(40, '\0'),
                "match 1: the game mode is 7, not 1 (against the computer) or 2 (two players)"},
        BadBody{"GameMode0", "\x01\x00\x00\x00\x00\x00\x02"s + std::string(40, '\0'),
                "match 1: the game mode is 0, not 1 (against the computer) or 2 (two players)"},
        BadBody{"NobodyInComputerMode", "\x01\x00\x00\x00\x02\x00\x02"s + std::string(40, '\0'),
                "match 1: the computer plays nobody in a match against the computer (game mode "
                "1)"},
        BadBody{"ComputerInTwoPlayerMode", "\x01\x00\x00\x00\x04\x01\x02"s + std::string(40, '\0'),
                "match 1: the computer plays in a match of two players (game mode 2); only game "
                "mode 1 has it"},
        BadBody{"UnknownSettingsBits", "\x01\x00\x00\x00\x02\x01\x02\x10"s + std::string(40, '\0'),
                "match 1: unknown settings bits are set"},
        BadBody{"JoystickIsNoLongerASetting",
                "\x01\x00\x00\x00\x02\x01\x02\x08"s + std::string(40, '\0'),
                "match 1: unknown settings bits are set"},
        BadBody{"AbsurdRunCount", "\x01"s + kMatchStart + "\xFF\xFF\xFF\xFF\x0F\x00\x00\x01"s,
                "match 1: it claims 4294967295 runs of frames, but the 3 bytes left could hold "
                "at most 1"},
        BadBody{"CutInsideARun", "\x01"s + kMatchStart + "\x02\x10\x00\x05\x20\x00\x80"s,
                "match 1, frame 6: a record runs past the end of the replay"},
        BadBody{"RunOfNoFrames", "\x01"s + kMatchStart + "\x02\x10\x00\x05\x20\x00\x00"s,
                "match 1, frame 6: a run of no frames"},
        BadBody{"RunsThatAreOne", "\x01"s + kMatchStart + "\x02\x10\x20\x05\x10\x20\x01"s,
                "match 1, frame 6: a run has the buttons of the run before it: the two are one "
                "run"},
        BadBody{"RunsOfNothingThatAreOne", "\x01"s + kMatchStart + "\x02\x00\x00\x01\x00\x00\x01"s,
                "match 1, frame 2: a run has the buttons of the run before it: the two are one "
                "run"},
        BadBody{"LongWrittenRunLength", "\x01"s + kMatchStart + "\x01\x00\x00\x85\x00"s,
                "match 1, frame 1: a number is written with more bytes than it needs"},
        BadBody{"PauseForPlayer2", "\x01"s + kMatchStart + "\x01\x80\x80\x01"s,
                "match 1, frame 1: player 2 presses Pause, which only player 1 has"},
        BadBody{"RunOver64Bits",
                "\x01"s + kMatchStart + "\x01\x00\x00\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x02"s,
                "match 1, frame 1: a number is larger than 64 bits"},
        // A dozen bytes that would ask for exabytes.
        BadBody{"HugeRun",
                "\x01"s + kMatchStart + "\x01\x00\x00\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x01"s,
                "match 1, frame 1: the replay holds more than 10000000 frames, the most one may "
                "hold"},
        BadBody{"OneFrameTooMany",
                "\x01"s + kMatchStart + "\x02\x01\x00\x02\x02\x00"s + Varint(9'999'999),
                "match 1, frame 3: the replay holds more than 10000000 frames, the most one may "
                "hold"},
        BadBody{"TooManyFramesInAll",
                "\x02"s + kMatchStart + "\x01\x00\x00"s + Varint(6'000'000) + kMatchStart +
                    "\x01\x00\x00"s + Varint(4'000'001),
                "match 2, frame 1: the replay holds more than 10000000 frames, the most one may "
                "hold"}),
    [](const ::testing::TestParamInfo<BadBody>& info) { return std::string(info.param.what); });

TEST(Replay, FilesAreWrittenWholeAndReadBack) {
  testing::TestFolder folder;
  const auto path = folder.path() / "fight.vdr";
  const Replay replay = SmallReplay();
  ASSERT_TRUE(WriteReplayFile(path, replay));
  const auto read = ReadReplayFile(path);
  ASSERT_TRUE(std::holds_alternative<Replay>(read)) << std::get<ReplayError>(read).message;
  ExpectSameReplay(std::get<Replay>(read), replay);

  folder.write("cut.vdr", EncodeReplay(replay).substr(0, 20));
  const auto cut = ReadReplayFile(folder.path() / "cut.vdr");
  ASSERT_TRUE(std::holds_alternative<ReplayError>(cut));
  EXPECT_TRUE(std::get<ReplayError>(cut).message.starts_with((folder.path() / "cut.vdr").string() +
                                                             ": the file is cut short"))
      << std::get<ReplayError>(cut).message;
  const auto missing = ReadReplayFile(folder.path() / "none.vdr");
  ASSERT_TRUE(std::holds_alternative<ReplayError>(missing));
  EXPECT_EQ(std::get<ReplayError>(missing).message,
            (folder.path() / "none.vdr").string() + ": the file cannot be read");
}

TEST(Replay, OtherContentIsNamedBeforePlaying) {
  const std::uint64_t here = ContentFingerprint("<Game/>", "<AIProfiles/>", "<Stories/>");
  EXPECT_NE(ContentFingerprint("<Game />", "<AIProfiles/>", "<Stories/>"), here);
  EXPECT_NE(ContentFingerprint("<Game/>", "<AIProfiles/>", "<Stories/> "), here);
  EXPECT_NE(ContentFingerprint("<Game/><AIProfiles/>", "", "<Stories/>"), here)
      << "bytes moved from one file to another are other content";
  EXPECT_EQ(ContentFingerprint("<Game/>", "<AIProfiles/>", "<Stories/>"), here);

  Replay replay = SmallReplay();
  replay.matches[0].contentFingerprint = here;
  replay.matches[1].contentFingerprint = here;
  EXPECT_EQ(ContentMismatch(replay, here), "");
  replay.matches[1].contentFingerprint = 0xABCDEF;
  EXPECT_EQ(
      ContentMismatch(replay, here),
      "Match 2 of the replay was played on other content: Game.xml, ai.xml, story.xml or the "
      "fighters' frames differ from this game folder's (recorded 0000000000abcdef, here " +
          [here] {
            char hex[17];
            std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(here));
            return std::string(hex);
          }() +
          "), so it would not play the same");
}

TEST(Replay, AFileMissingAndAFileEmptyAreOtherContent) {
  const std::uint64_t start = ContentFingerprint("<Game/>", "", "");
  const std::uint64_t missing = FingerprintFile(start, std::nullopt);
  const std::uint64_t empty = FingerprintFile(start, std::string());
  const std::uint64_t picture = FingerprintFile(start, std::string("BM\x01"));
  EXPECT_NE(missing, empty);
  EXPECT_NE(missing, start);
  EXPECT_NE(picture, FingerprintFile(start, std::string("BM\x02"))) << "one byte of a frame";
  EXPECT_NE(FingerprintFile(FingerprintFile(start, std::string("ab")), std::string("c")),
            FingerprintFile(FingerprintFile(start, std::string("a")), std::string("bc")))
      << "bytes moved from one file to the next";
  EXPECT_EQ(FingerprintFile(start, std::string("BM\x01")), picture);
}

TEST(Replay, ItsSettingsGoBackIntoTheGameAlone) {
  Settings played;
  played.Rounds = 5;
  played.Weather = true;
  played.LowDetail = true;
  played.CharacterWidth = 200;
  played.Joystick = true;
  played.Player1Keys.Punch = 0x1E;
  Settings here;
  here.MusicVolume = 30;
  here.GameTitle = "Mine";
  here.Shadows = true;
  here.Player2Keys.Up = 0x11;
  ApplyReplaySettings(ReplaySettingsOf(played), here);
  EXPECT_EQ(here.Rounds, 5);
  played.Rounds = 0;  // Game.xml without Rounds: one round, recorded as such
  EXPECT_EQ(ReplaySettingsOf(played).Rounds, 1);
  EXPECT_TRUE(here.Weather);
  EXPECT_FALSE(here.Shadows);
  EXPECT_TRUE(here.LowDetail);
  EXPECT_EQ(here.CharacterWidth, 200);
  // Frames hold buttons, so the keys and controllers that made them are the
  // player's own, as are the sound and the title.
  EXPECT_FALSE(here.Joystick);
  EXPECT_EQ(here.Player1Keys.Punch, Settings{}.Player1Keys.Punch);
  EXPECT_EQ(here.Player2Keys.Up, 0x11);
  EXPECT_EQ(here.MusicVolume, 30);
  EXPECT_EQ(here.GameTitle, "Mine");
}

}  // namespace
}  // namespace vdx
