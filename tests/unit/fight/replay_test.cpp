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
std::string FirstDifference(const std::vector<FrameInput>& a, const std::vector<FrameInput>& b) {
  if (a.size() != b.size())
    return std::to_string(a.size()) + " frames against " + std::to_string(b.size());
  for (std::size_t f = 0; f < a.size(); ++f) {
    const std::string at = "frame " + std::to_string(f + 1) + ": ";
    if (a[f].ticks != b[f].ticks) return at + "ticks";
    for (std::size_t k = 0; k < a[f].keys.size(); ++k)
      if (a[f].keys[k] != b[f].keys[k]) return at + "key " + std::to_string(k);
    for (std::size_t c = 0; c < kMaxControllers; ++c) {
      const auto& x = a[f].controllers[c];
      const auto& y = b[f].controllers[c];
      if (x.has_value() != y.has_value() ||
          (x && (x->x != y->x || x->y != y->y || x->buttons != y->buttons)))
        return at + "controller " + std::to_string(c + 1);
    }
  }
  return {};
}

bool SameKeys(const cKeys& a, const cKeys& b) {
  return a.Up == b.Up && a.Down == b.Down && a.Forward == b.Forward && a.Backward == b.Backward &&
         a.Punch == b.Punch && a.Kick == b.Kick && a.Block == b.Block;
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
    EXPECT_EQ(x.settings.Rounds, y.settings.Rounds);
    EXPECT_EQ(x.settings.Weather, y.settings.Weather);
    EXPECT_EQ(x.settings.Shadows, y.settings.Shadows);
    EXPECT_EQ(x.settings.LowDetail, y.settings.LowDetail);
    EXPECT_EQ(x.settings.Joystick, y.settings.Joystick);
    EXPECT_EQ(x.settings.CharacterWidth, y.settings.CharacterWidth);
    EXPECT_TRUE(SameKeys(x.settings.Player1Keys, y.settings.Player1Keys));
    EXPECT_TRUE(SameKeys(x.settings.Player2Keys, y.settings.Player2Keys));
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

// A stream of frames as play makes them, and worse: keys held for a while,
// bursts of many keys, controllers plugged in and out, axes anywhere in their
// range, the clock standing still, jumping and wrapping.
std::vector<FrameInput> RandomFrames(std::mt19937& rng, int count) {
  std::uniform_int_distribution<int> percent(0, 99);
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<FrameInput> frames;
  FrameInput frame;
  frame.ticks = static_cast<std::uint32_t>(rng());
  for (int f = 0; f < count; ++f) {
    const int roll = percent(rng);
    frame.ticks += roll < 90   ? static_cast<std::uint32_t>(16 + roll % 2)
                   : roll < 95 ? 0u
                               : static_cast<std::uint32_t>(rng());
    if (percent(rng) < 30) {
      const int changes = percent(rng) < 5 ? byte(rng) + 1 : 1 + percent(rng) % 3;
      for (int k = 0; k < changes; ++k) {
        std::uint8_t& key = frame.keys[static_cast<std::size_t>(byte(rng))];
        key = percent(rng) < 80 ? key ^ 0x80 : byte(rng);
      }
    }
    for (auto& controller : frame.controllers) {
      if (percent(rng) < 5) {
        controller = controller ? std::nullopt : std::optional(platform::ControllerState{});
      } else if (controller && percent(rng) < 20) {
        if (percent(rng) < 50) controller->x = percent(rng) < 90 ? byte(rng) * 40 : int(rng());
        if (percent(rng) < 50) controller->y = -byte(rng);
        controller->buttons[static_cast<std::size_t>(byte(rng) % 32)] ^= 0x80;
      }
    }
    frames.push_back(frame);
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
  m.setup.computer = m.setup.GameMode == 2 ? ComputerPlays::None
                                           : std::array{ComputerPlays::Player2,
                                                        ComputerPlays::Both}[rng() % 2];
  m.settings.Rounds = static_cast<Integer>(1 + rng() % 7);
  m.settings.Weather = rng() % 2;
  m.settings.Shadows = rng() % 2;
  m.settings.LowDetail = rng() % 2;
  m.settings.Joystick = rng() % 2;
  m.settings.CharacterWidth = static_cast<Integer>(integer(rng));
  for (cKeys* keys : {&m.settings.Player1Keys, &m.settings.Player2Keys})
    *keys = cKeys{static_cast<Integer>(integer(rng)),
                  static_cast<Integer>(integer(rng)),
                  0x1E,
                  -1,
                  INT16_MIN,
                  INT16_MAX,
                  0xC8};
  m.randomState = bits();
  m.contentFingerprint = bits();
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
      replay.matches.push_back(RandomMatch(rng, m == 1 ? 0 : 500 + run * 50));
    const std::string bytes = EncodeReplay(replay);
    const Replay back = Decoded(bytes);
    ExpectSameReplay(back, replay);
    EXPECT_EQ(EncodeReplay(back), bytes) << "one replay, one way of writing it";
  }
}

TEST(Replay, TheBytesFollowTheDocumentedLayout) {
  ReplayMatch m;
  m.setup = MatchSetup{"Kira", "Rook", "Dock", 1, ComputerPlays::Player2};
  m.settings.Rounds = 3;
  m.settings.Weather = true;
  m.settings.Shadows = true;
  m.settings.CharacterWidth = 128;
  m.settings.Player1Keys = cKeys{0xC8, 0xD0, 0xCD, 0xCB, 0x1E, 0x1F, 0x20};
  m.settings.Player2Keys.Punch = 0x24;
  m.randomState = 0x0102030405060708u;
  m.contentFingerprint = 0x1112131415161718u;
  FrameInput frame;
  frame.ticks = 300;
  frame.keys[0x1E] = 0x80;
  m.frames.push_back(frame);
  frame.ticks += 16;
  m.frames.push_back(frame);
  frame.ticks += 17;
  frame.keys[0x1E] = 0;
  frame.controllers[0] = platform::ControllerState{};
  frame.controllers[0]->x = 0;
  frame.controllers[0]->buttons[0] = 0x80;
  m.frames.push_back(frame);
  const std::string body =
      "\x01"                  // one match
      "\x04Kira\x04Rook\x04"  // names: Kira, Rook, Dock
      "Dock"
      "\x02\x01\x06\x03\x80\x02"  // mode 1, computer plays 2, 3 rounds, switches, width
      "\x90\x03\xA0\x03\x9A\x03\x96\x03\x3C\x3E\x40"  // player 1's keys
      "\x00\x00\x00\x00\x48\x00\x00"s                 // player 2's keys
      "\x08\x07\x06\x05\x04\x03\x02\x01"              // generator state
      "\x18\x17\x16\x15\x14\x13\x12\x11"              // content fingerprint
      "\x03"                                          // three frames
      "\xAC\x02\x01\x01\x1E\x80"                      // at 300: key 0x1E down
      "\x10\x00"                                      // 16 ms later, nothing new
      "\x11\x03\x01\x1E\x00\x0B\x00\x01\x00\x80"s;    // key up; controller 1: x 0, button A
  const std::string bytes = EncodeReplay(Replay{{m}});
  ASSERT_EQ(bytes.size(), 14 + body.size() + 8);
  EXPECT_EQ(bytes.substr(0, 6), "VDXR\x01\x00"s);
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
  EXPECT_TRUE(std::holds_alternative<Replay>(DecodeReplay(bytes))) << "a replay that reads";
}

TEST(Replay, AMinuteOfPlayTakesKilobytes) {
  // Sixty seconds at 60 frames a second: two players pressing a key or two
  // every few frames and holding them, one on a controller.
  std::mt19937 rng(7);
  Replay replay{{RandomMatch(rng, 0)}};
  FrameInput frame;
  frame.ticks = 1'000'000'000;
  frame.controllers[1] = platform::ControllerState{};
  const std::uint8_t keys[] = {0xC8, 0xD0, 0xCD, 0xCB, 0x1E, 0x1F, 0x20, 0x11, 0x24};
  for (int f = 0; f < 3600; ++f) {
    frame.ticks += f % 3 == 0 ? 17 : 16;
    if (rng() % 4 == 0) frame.keys[keys[rng() % std::size(keys)]] ^= 0x80;
    if (rng() % 6 == 0) frame.controllers[1]->x = static_cast<std::int32_t>(rng() % 3 * 5000);
    if (rng() % 8 == 0) frame.controllers[1]->buttons[rng() % 3] ^= 0x80;
    replay.matches[0].frames.push_back(frame);
  }
  const std::size_t size = EncodeReplay(replay).size();
  EXPECT_LT(size, 16u * 1024) << "a minute is kilobytes";
  EXPECT_GT(size, 3600u * 2) << "every frame takes at least its delta and change bits";
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
  EXPECT_EQ(ErrorOf("VDXR\x02\x00"s + std::string(30, '\0')),
            "the replay is of format version 2; this vdx reads version 1");
  EXPECT_EQ(ErrorOf("VDXR\x00\x01"s), "the file is cut short: it ends inside its 14-byte header")
      << "the version is read only from a whole header";
  EXPECT_EQ(ErrorOf("VDXR\x00\x01"s + std::string(30, '\0')),
            "the replay is of format version 256; this vdx reads version 1");
  EXPECT_EQ(ErrorOf("VDXR\x01\x00\x05\x00\x00\x00\x00\x00\x00\x00"s),
            "the replay is damaged: its header gives a length of 5 bytes");
}

// A match of zeros and empty names, up to its frame count
// (game mode 1, one round).
const std::string kMatchStart = "\x00\x00\x00\x02\x01\x02\x00\x00"s + std::string(14 + 16, '\0');

struct BadBody {
  const char* what;
  std::string body;
  const char* message;  // after "the replay does not read: "
};

class BadBodies : public ::testing::TestWithParam<BadBody> {};

TEST_P(BadBodies, AreRefusedWithTheirReason) {
  EXPECT_EQ(ErrorOf(SealReplay(GetParam().body)),
            std::string("the replay does not read: ") + GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Replay, BadBodies,
    ::testing::Values(
        BadBody{"NoMatchCount", "", "a record runs past the end of the replay"},
        BadBody{"AbsurdMatchCount", "\xFF\xFF\xFF\xFF\x0F"s + std::string(100, '\0'),
                "it claims 4294967295 matches, but the 100 bytes left could hold at most 2"},
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
        BadBody{"AbsurdFrameCount", "\x01"s + kMatchStart + "\xFF\xFF\xFF\xFF\x0F\x10\x00"s,
                "match 1: it claims 4294967295 frames, but the 2 bytes left could hold at most 1"},
        BadBody{"TickDeltaOver32Bits", "\x01"s + kMatchStart + "\x01\x80\x80\x80\x80\x10\x00"s,
                "match 1, frame 1: the tick delta 4294967296 is larger than 32 bits"},
        BadBody{"UnknownChangeBits", "\x01"s + kMatchStart + "\x01\x10\x08"s,
                "match 1, frame 1: unknown change bits are set"},
        BadBody{"ChangeOfNoKeys", "\x01"s + kMatchStart + "\x01\x10\x01\x00"s,
                "match 1, frame 1: a change of 0 keys"},
        BadBody{"ChangeOfTooManyKeys", "\x01"s + kMatchStart + "\x01\x10\x01\x81\x02"s,
                "match 1, frame 1: a change of 257 keys"},
        BadBody{"KeyThatDidNotChange", "\x01"s + kMatchStart + "\x01\x10\x01\x01\x1E\x00"s,
                "match 1, frame 1: key 30 is written as changed but is not"},
        BadBody{"KeysOutOfOrder", "\x01"s + kMatchStart + "\x01\x10\x01\x02\x1E\x80\x1D\x80"s,
                "match 1, frame 1: key 29 is out of order or range"},
        BadBody{"DetachingNoController", "\x01"s + kMatchStart + "\x01\x10\x02\x00"s,
                "match 1, frame 1: controller 1 is detached but was not attached"},
        BadBody{"ControllerBits", "\x01"s + kMatchStart + "\x01\x10\x04\x10"s,
                "match 1, frame 1: controller 2 has unknown bits set"},
        BadBody{"DetachedWithAState", "\x01"s + kMatchStart + "\x01\x10\x04\x02\x00"s,
                "match 1, frame 1: controller 2 is detached with a state"},
        BadBody{"AxisThatDidNotChange", "\x01"s + kMatchStart + "\x01\x10\x02\x03\x90\x4E"s,
                "match 1, frame 1: controller 1 x is written as changed but is not"},
        BadBody{"AxisOutOfRange", "\x01"s + kMatchStart + "\x01\x10\x02\x05\x80\x80\x80\x80\x10"s,
                "match 1, frame 1: controller 1 y is out of range (2147483648)"},
        BadBody{"ButtonOutOfRange", "\x01"s + kMatchStart + "\x01\x10\x02\x09\x01\x20\x80"s,
                "match 1, frame 1: controller 1 button 32 is out of order or range"},
        BadBody{"ControllerThatDidNotChange",
                "\x01"s + kMatchStart + "\x02\x10\x02\x01\x10\x02\x01"s,
                "match 1, frame 2: controller 1 is written as changed but is not"}),
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
  played.Player1Keys.Punch = 0x1E;
  played.Player2Keys.Block = 0x35;
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
  EXPECT_FALSE(here.Joystick);
  EXPECT_EQ(here.CharacterWidth, 200);
  EXPECT_TRUE(SameKeys(here.Player1Keys, played.Player1Keys));
  EXPECT_TRUE(SameKeys(here.Player2Keys, played.Player2Keys));
  EXPECT_EQ(here.MusicVolume, 30) << "what does not change play stays the player's";
  EXPECT_EQ(here.GameTitle, "Mine");
}

}  // namespace
}  // namespace vdx
