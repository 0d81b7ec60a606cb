#include "fight/replay.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>
#include <optional>

namespace vdx {
namespace {

constexpr std::string_view kMagic = "VDXR";
constexpr std::size_t kHeaderBytes = 4 + 2 + 8;  // magic, version, file length
constexpr std::size_t kChecksumBytes = 8;

// The version of the first format, whose files hold the machine's ticks, key
// codes and controllers: not read any more.
constexpr std::uint64_t kFirstReplayVersion = 1;

// The fewest bytes a run of frames and a match can take, for checking the
// counts a file claims against the bytes it holds.
constexpr std::size_t kMinRunBytes = 3;                 // both players' buttons, length
constexpr std::size_t kMinMatchBytes = 3 + 5 + 16 + 1;  // names, mode to width, state and
                                                        // fingerprint, run count

// Who the computer plays, by its number in the file.
constexpr std::array<ComputerPlays, 3> kComputerPlays = {
    ComputerPlays::None, ComputerPlays::Player2, ComputerPlays::Both};
// The settings' switches.
constexpr std::uint8_t kWeather = 1;
constexpr std::uint8_t kShadows = 2;
constexpr std::uint8_t kLowDetail = 4;

std::uint64_t ZigZag(std::int64_t v) {
  return (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63);
}

std::string Bytes(std::uint64_t n) {
  return std::to_string(n) + (n == 1 ? " byte" : " bytes");
}

std::string Follow(std::uint64_t n) {
  return Bytes(n) + (n == 1 ? " follows" : " follow");
}

std::int64_t UnZigZag(std::uint64_t u) {
  return static_cast<std::int64_t>(u >> 1) ^ -static_cast<std::int64_t>(u & 1);
}

class Writer {
 public:
  void byte(std::uint8_t b) { out_.push_back(static_cast<char>(b)); }
  void fixed(std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
      byte(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void varint(std::uint64_t v) {
    for (; v >= 0x80; v >>= 7)
      byte(static_cast<std::uint8_t>(v | 0x80));
    byte(static_cast<std::uint8_t>(v));
  }
  void signedVarint(std::int64_t v) { varint(ZigZag(v)); }
  void text(std::string_view s) {
    varint(s.size());
    out_.append(s);
  }
  std::string& bytes() { return out_; }

 private:
  std::string out_;
};

// Thrown inside the decoder only, and turned into a ReplayError there.
struct DecodeFailure {
  std::string message;
};

[[noreturn]] void Fail(std::string message) {
  throw DecodeFailure{std::move(message)};
}

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  std::size_t left() const { return bytes_.size() - pos_; }

  std::uint8_t byte() {
    if (pos_ >= bytes_.size()) Fail("a record runs past the end of the replay");
    return static_cast<std::uint8_t>(bytes_[pos_++]);
  }
  std::uint64_t fixed(int bytes) {
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i)
      v |= std::uint64_t{byte()} << (8 * i);
    return v;
  }
  // Each number has one way of being written: the fewest bytes that hold it.
  // So a replay that decodes encodes back to the same bytes.
  std::uint64_t varint() {
    std::uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
      const std::uint8_t b = byte();
      if (shift == 63 && b > 1) Fail("a number is larger than 64 bits");
      value |= std::uint64_t{b & 0x7Fu} << shift;
      if ((b & 0x80) == 0) {
        if (b == 0 && shift > 0) Fail("a number is written with more bytes than it needs");
        return value;
      }
    }
  }
  template <typename T>
  T ranged(const char* what) {
    const std::int64_t v = UnZigZag(varint());
    if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max())
      Fail(std::string(what) + " is out of range (" + std::to_string(v) + ")");
    return static_cast<T>(v);
  }
  std::string text(const char* what) {
    const std::uint64_t size = varint();
    if (size > left()) Fail(std::string(what) + " runs past the end of the replay");
    std::string s(bytes_.substr(pos_, size));
    pos_ += size;
    return s;
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

// The frames as runs of the same buttons: the number of runs, then each run's
// buttons (player 1's byte, player 2's) and length. Two runs in a row always
// differ, so each stream of frames has one way of being written.
void WriteFrames(Writer& out, const std::vector<FightInputs>& frames) {
  std::size_t runs = 0;
  for (std::size_t f = 0; f < frames.size(); ++f)
    runs += f == 0 || frames[f] != frames[f - 1];
  out.varint(runs);
  for (std::size_t f = 0; f < frames.size();) {
    std::size_t end = f + 1;
    while (end < frames.size() && frames[end] == frames[f])
      ++end;
    out.byte(frames[f][0].buttons);
    out.byte(frames[f][1].buttons);
    out.varint(end - f);
    f = end;
  }
}

void WriteMatch(Writer& out, const ReplayMatch& match, bool withLevels) {
  const MatchSetup& setup = match.setup;
  out.text(setup.player1);
  out.text(setup.player2);
  out.text(setup.stage);
  out.signedVarint(setup.GameMode);
  out.byte(static_cast<std::uint8_t>(
      std::find(kComputerPlays.begin(), kComputerPlays.end(), setup.computer) -
      kComputerPlays.begin()));
  if (withLevels)
    for (const Integer level : setup.levels) out.byte(static_cast<std::uint8_t>(level));
  const ReplaySettings& s = match.settings;
  out.signedVarint(s.Rounds);
  out.byte(static_cast<std::uint8_t>((s.Weather ? kWeather : 0) | (s.Shadows ? kShadows : 0) |
                                     (s.LowDetail ? kLowDetail : 0)));
  out.signedVarint(s.CharacterWidth);
  out.fixed(match.randomState, 8);
  out.fixed(match.contentFingerprint, 8);
  WriteFrames(out, match.frames);
}

// Where the decoder is, for its messages.
struct Place {
  std::size_t match = 0;    // 1-based; 0 before the first
  std::size_t frame = 0;    // 1-based within the match; 0 outside the frames
  std::uint64_t total = 0;  // the frames of every match read so far
};

std::vector<FightInputs> ReadFrames(Reader& in, Place& place) {
  const std::uint64_t count = in.varint();
  if (count > in.left() / kMinRunBytes)
    Fail("it claims " + std::to_string(count) + " runs of frames, but the " + Bytes(in.left()) +
         " left could hold at most " + std::to_string(in.left() / kMinRunBytes));
  std::vector<FightInputs> frames;
  for (std::uint64_t r = 0; r < count; ++r) {
    place.frame = frames.size() + 1;
    FightInputs inputs;
    inputs[0].buttons = in.byte();
    inputs[1].buttons = in.byte();
    if (inputs[1].buttons & kButtonPause) Fail("player 2 presses Pause, which only player 1 has");
    const std::uint64_t length = in.varint();
    if (length == 0) Fail("a run of no frames");
    if (!frames.empty() && frames.back() == inputs)
      Fail("a run has the buttons of the run before it: the two are one run");
    // Checked before a frame is made: the claim alone cannot ask for memory.
    if (length > kMostReplayFrames - place.total)
      Fail("the replay holds more than " + std::to_string(kMostReplayFrames) +
           " frames, the most one may hold");
    place.total += length;
    frames.insert(frames.end(), static_cast<std::size_t>(length), inputs);
  }
  place.frame = 0;
  return frames;
}

ReplayMatch ReadMatch(Reader& in, Place& place, bool withLevels) {
  ReplayMatch match;
  MatchSetup& setup = match.setup;
  setup.player1 = in.text("player 1's name");
  setup.player2 = in.text("player 2's name");
  setup.stage = in.text("the stage's name");
  setup.GameMode = in.ranged<std::int32_t>("the game mode");
  // Only what the menus and the command line can start is played again.
  if (setup.GameMode != 1 && setup.GameMode != 2)
    Fail("the game mode is " + std::to_string(setup.GameMode) +
         ", not 1 (against the computer) or 2 (two players)");
  const std::uint8_t computer = in.byte();
  if (computer >= kComputerPlays.size())
    Fail("the computer's players are " + std::to_string(computer) + ", not 0, 1 or 2");
  setup.computer = kComputerPlays[computer];
  if (setup.GameMode == 2 && setup.computer != ComputerPlays::None)
    Fail("the computer plays in a match of two players (game mode 2); only game mode 1 has it");
  if (setup.GameMode == 1 && setup.computer == ComputerPlays::None)
    Fail("the computer plays nobody in a match against the computer (game mode 1)");
  if (withLevels) {
    for (std::size_t p = 0; p < setup.levels.size(); ++p) {
      const std::uint8_t level = in.byte();
      if (level < kLowestDifficulty || level > kHighestDifficulty)
        Fail("player " + std::to_string(p + 1) + "'s computer level is " + std::to_string(level) +
             ", not " + std::to_string(kLowestDifficulty) + " to " +
             std::to_string(kHighestDifficulty));
      setup.levels[p] = level;
    }
  }
  ReplaySettings& s = match.settings;
  s.Rounds = in.ranged<Integer>("Rounds");
  if (s.Rounds < kFewestRounds || s.Rounds > kMostRounds)
    Fail("Rounds is " + std::to_string(s.Rounds) + ", but a match has " +
         std::to_string(kFewestRounds) + " to " + std::to_string(kMostRounds) + " rounds");
  const std::uint8_t flags = in.byte();
  if (flags > (kWeather | kShadows | kLowDetail)) Fail("unknown settings bits are set");
  s.Weather = (flags & kWeather) != 0;
  s.Shadows = (flags & kShadows) != 0;
  s.LowDetail = (flags & kLowDetail) != 0;
  s.CharacterWidth = in.ranged<Integer>("CharacterWidth");
  match.randomState = in.fixed(8);
  match.contentFingerprint = in.fixed(8);
  match.frames = ReadFrames(in, place);
  return match;
}

Replay ReadBody(Reader& in, Place& place, std::uint16_t version) {
  const bool withLevels = version != kReplayVersionWithoutLevels;
  const std::uint64_t count = in.varint();
  if (count > in.left() / kMinMatchBytes)
    Fail("it claims " + std::to_string(count) + " matches, but the " + Bytes(in.left()) +
         " left could hold at most " + std::to_string(in.left() / kMinMatchBytes));
  Replay replay;
  replay.version = version;
  for (std::uint64_t m = 0; m < count; ++m) {
    place.match = m + 1;
    replay.matches.push_back(ReadMatch(in, place, withLevels));
  }
  place.match = 0;
  if (in.left() != 0) Fail(Follow(in.left()) + " the last match");
  return replay;
}

std::string Hex(std::uint64_t v) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
  return text;
}

}  // namespace

ReplaySettings ReplaySettingsOf(const Settings& settings) {
  // A Game.xml without Rounds leaves 0, which plays as one round: recorded as 1,
  // so that the replay reads.
  const Integer rounds = std::clamp(settings.Rounds, kFewestRounds, kMostRounds);
  return ReplaySettings{rounds, settings.Weather, settings.Shadows, settings.LowDetail,
                        settings.CharacterWidth};
}

void ApplyReplaySettings(const ReplaySettings& replay, Settings& settings) {
  settings.Rounds = replay.Rounds;
  settings.Weather = replay.Weather;
  settings.Shadows = replay.Shadows;
  settings.LowDetail = replay.LowDetail;
  settings.CharacterWidth = replay.CharacterWidth;
}

std::uint64_t Fnv1a64(std::string_view bytes, std::uint64_t hash) {
  for (const char c : bytes) {
    hash ^= static_cast<std::uint8_t>(c);
    hash *= 0x100000001B3u;
  }
  return hash;
}

std::uint64_t ContentFingerprint(std::string_view gameXml, std::string_view aiXml,
                                 std::string_view storyXml) {
  std::uint64_t hash = Fnv1a64({});
  for (const std::string_view file : {gameXml, aiXml, storyXml}) {
    Writer length;
    length.fixed(file.size(), 8);
    hash = Fnv1a64(file, Fnv1a64(length.bytes(), hash));
  }
  return hash;
}

std::uint64_t FingerprintFile(std::uint64_t hash, const std::optional<std::string>& bytes) {
  Writer length;
  length.fixed(bytes ? bytes->size() : std::numeric_limits<std::uint64_t>::max(), 8);
  hash = Fnv1a64(length.bytes(), hash);
  return bytes ? Fnv1a64(*bytes, hash) : hash;
}

std::string MatchContentMismatch(std::size_t number, std::uint64_t recorded, std::uint64_t here) {
  if (recorded == here) return {};
  return "Match " + std::to_string(number) +
         " of the replay was played on other content: Game.xml, ai.xml, story.xml or the "
         "fighters' frames differ from this game folder's (recorded " +
         Hex(recorded) + ", here " + Hex(here) + "), so it would not play the same";
}

std::string ContentMismatch(const Replay& replay, std::uint64_t fingerprint) {
  for (std::size_t m = 0; m < replay.matches.size(); ++m) {
    std::string mismatch =
        MatchContentMismatch(m + 1, replay.matches[m].contentFingerprint, fingerprint);
    if (!mismatch.empty()) return mismatch;
  }
  return {};
}

std::string SealReplay(std::string_view body, std::uint16_t version) {
  Writer out;
  out.bytes().append(kMagic);
  out.fixed(version, 2);
  out.fixed(kHeaderBytes + body.size() + kChecksumBytes, 8);
  out.bytes().append(body);
  out.fixed(Fnv1a64(out.bytes()), 8);
  return std::move(out.bytes());
}

std::string EncodeReplay(const Replay& replay) {
  bool withLevels = replay.version != kReplayVersionWithoutLevels;
  for (const ReplayMatch& match : replay.matches)
    for (const Integer level : match.setup.levels)
      withLevels = withLevels || level != kProfileDifficulty;
  Writer body;
  body.varint(replay.matches.size());
  for (const ReplayMatch& match : replay.matches)
    WriteMatch(body, match, withLevels);
  return SealReplay(body.bytes(), withLevels ? kReplayVersion : kReplayVersionWithoutLevels);
}

std::variant<Replay, ReplayError> DecodeReplay(std::string_view bytes) {
  if (bytes.empty()) return ReplayError{"the file is empty"};
  if (!kMagic.starts_with(bytes.substr(0, kMagic.size())))
    return ReplayError{"this is not a vdx replay file"};
  if (bytes.size() < kHeaderBytes)
    return ReplayError{"the file is cut short: it ends inside its " + std::to_string(kHeaderBytes) +
                       "-byte header"};
  Reader header(bytes.substr(kMagic.size()));
  const std::uint64_t version = header.fixed(2);
  if (version == kFirstReplayVersion)
    return ReplayError{"the replay was recorded by an older version of vdx (replay version " +
                       std::to_string(version) + "); record it again"};
  if (version != kReplayVersion && version != kReplayVersionWithoutLevels)
    return ReplayError{"the replay is of format version " + std::to_string(version) +
                       "; this vdx reads versions " +
                       std::to_string(kReplayVersionWithoutLevels) + " and " +
                       std::to_string(kReplayVersion)};
  const std::uint64_t length = header.fixed(8);
  if (length < kHeaderBytes + kChecksumBytes)
    return ReplayError{"the replay is damaged: its header gives a length of " +
                       std::to_string(length) + " bytes"};
  if (bytes.size() < length)
    return ReplayError{"the file is cut short: it holds " + std::to_string(bytes.size()) +
                       " of its " + Bytes(length)};
  if (bytes.size() > length)
    return ReplayError{Follow(bytes.size() - length) + " the end of the replay"};
  const std::string_view sealed = bytes.substr(0, length - kChecksumBytes);
  if (Reader(bytes.substr(sealed.size())).fixed(8) != Fnv1a64(sealed))
    return ReplayError{"the replay is damaged: its checksum does not match its bytes"};

  Reader in(sealed.substr(kHeaderBytes));
  Place place;
  try {
    return ReadBody(in, place, static_cast<std::uint16_t>(version));
  } catch (const DecodeFailure& failure) {
    std::string where;
    if (place.match > 0) where += "match " + std::to_string(place.match);
    if (place.frame > 0) where += ", frame " + std::to_string(place.frame);
    return ReplayError{"the replay does not read: " + (where.empty() ? "" : where + ": ") +
                       failure.message};
  }
}

WriteResult WriteReplayFile(const std::filesystem::path& path, const Replay& replay) {
  return WriteWholeFile(path, EncodeReplay(replay));
}

std::variant<Replay, ReplayError> ReadReplayFile(const std::filesystem::path& path) {
  const auto bytes = ReadWholeFile(path);
  if (!bytes) return ReplayError{path.string() + ": the file cannot be read"};
  auto replay = DecodeReplay(*bytes);
  if (auto* error = std::get_if<ReplayError>(&replay))
    error->message = path.string() + ": " + error->message;
  return replay;
}

}  // namespace vdx
