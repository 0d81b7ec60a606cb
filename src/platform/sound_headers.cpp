#include "platform/sound_headers.h"

#include <algorithm>
#include <string_view>

namespace vdx::platform {
namespace {

// Reads like SDL's readers: bytes past the end read as zero.
std::uint32_t ByteAt(std::span<const std::uint8_t> b, std::uint64_t at) {
  return at < b.size() ? b[static_cast<std::size_t>(at)] : 0u;
}

std::uint32_t Le32(std::span<const std::uint8_t> b, std::uint64_t at) {
  return ByteAt(b, at) | ByteAt(b, at + 1) << 8 | ByteAt(b, at + 2) << 16 | ByteAt(b, at + 3) << 24;
}

std::uint32_t Le16(std::span<const std::uint8_t> b, std::uint64_t at) {
  return ByteAt(b, at) | ByteAt(b, at + 1) << 8;
}

std::uint32_t Be32(std::span<const std::uint8_t> b, std::uint64_t at) {
  return ByteAt(b, at) << 24 | ByteAt(b, at + 1) << 16 | ByteAt(b, at + 2) << 8 | ByteAt(b, at + 3);
}

std::uint32_t Be16(std::span<const std::uint8_t> b, std::uint64_t at) {
  return ByteAt(b, at) << 8 | ByteAt(b, at + 1);
}

bool TagAt(std::span<const std::uint8_t> b, std::uint64_t at, std::string_view tag) {
  for (std::size_t i = 0; i < tag.size(); ++i)
    if (ByteAt(b, at + i) != static_cast<std::uint8_t>(tag[i])) return false;
  return true;
}

// The bytes left from `at` on.
std::uint64_t Left(std::span<const std::uint8_t> b, std::uint64_t at) {
  return at < b.size() ? b.size() - at : 0;
}

// The AIFF sample rate, an 80-bit float, as the mixer reads it (0: none).
std::uint32_t AiffRate(std::span<const std::uint8_t> b, std::uint64_t at) {
  const std::uint32_t e0 = ByteAt(b, at), e1 = ByteAt(b, at + 1);
  if ((e0 & 0x80) != 0 || e0 <= 0x3F || e0 > 0x40 || (e0 == 0x40 && e1 > 0x1C)) return 0;
  return (ByteAt(b, at + 2) << 23 | ByteAt(b, at + 3) << 15 | ByteAt(b, at + 4) << 7 |
          ByteAt(b, at + 5) >> 1) >>
         (29 - e1);
}

// A WAV file for SDL's reader: the first fmt chunk gives the rate, the first
// data chunk is allocated whole. A data chunk longer than the file (a cut-off
// recording) is cut to what the file holds in `patched`; SDL would read no
// more than that anyway, and its decoders handle the short chunk as before.
std::optional<std::span<const std::uint8_t>> WaveForMixer(std::span<const std::uint8_t> b,
                                                          std::vector<std::uint8_t>& patched) {
  // "RIFF" size "WAVE" chunks..., or the form type alone: "WAVE" chunks...
  std::uint64_t at = TagAt(b, 0, "RIFF") ? 12 : 4;
  bool haveFormat = false;
  for (int count = 0; count < 10000 && at + 8 <= b.size(); ++count) {
    const std::uint32_t length = Le32(b, at + 4);
    if (!haveFormat && TagAt(b, at, "fmt ")) {
      haveFormat = true;
      if (length >= 8 && !SoundRateIsSound(Le32(b, at + 12))) return std::nullopt;
    } else if (TagAt(b, at, "data")) {
      if (length <= Left(b, at + 8)) return b;
      patched.assign(b.begin(), b.end());
      const auto held = static_cast<std::uint32_t>(Left(b, at + 8));
      for (int i = 0; i < 4; ++i)
        patched[static_cast<std::size_t>(at + 4 + i)] = static_cast<std::uint8_t>(held >> (8 * i));
      return std::span<const std::uint8_t>(patched);
    }
    at += 8 + std::uint64_t{length} + (length & 1);
  }
  return b;  // no data chunk: SDL refuses it without allocating
}

// An AIFF or 8SVX file for the mixer's sound reader, which allocates
// channels x frames x bytes per sample (from COMM, or BODY's length), then
// fails when the file holds less: such a file is refused before.
std::optional<std::span<const std::uint8_t>> AiffForMixer(std::span<const std::uint8_t> b) {
  // "FORM" size "AIFF" chunks... The reader also takes a size whose bytes,
  // read the other way round, spell the form type, and then finds the chunks
  // at byte 8.
  std::uint64_t at = 12;
  bool aiff = TagAt(b, 8, "AIFF");
  if (TagAt(b, 4, "FFIA")) {
    at = 8;
    aiff = true;
  } else if (!aiff && !TagAt(b, 8, "8SVX")) {
    return b;  // the reader refuses it by itself
  }
  bool ssnd = false, comm = false, vhdr = false, body = false;
  std::uint32_t channels = 0, frames = 0, bits = 0, rate = 0;
  std::uint64_t start = 0;
  // Reads past the end give zeros, and the reader's position stops at the end.
  while (at < b.size()) {
    const std::uint32_t length = Be32(b, at + 4);
    const std::uint64_t payload = std::min<std::uint64_t>(at + 8, b.size());
    if (length == 0) break;
    if (TagAt(b, at, "SSND")) {
      ssnd = true;
      start = std::min<std::uint64_t>(payload + 8, b.size()) + Be32(b, payload);
    } else if (TagAt(b, at, "COMM")) {
      comm = true;
      channels = Be16(b, payload);
      frames = Be32(b, payload + 2);
      bits = Be16(b, payload + 6);
      rate = AiffRate(b, payload + 8);
    } else if (TagAt(b, at, "VHDR")) {
      vhdr = true;
      rate = Be16(b, payload + 12);
      channels = 1;
      bits = 8;
    } else if (TagAt(b, at, "BODY")) {
      body = true;
      frames = length;
      start = payload;
    }
    if (aiff ? ssnd && comm : vhdr && body) break;
    at = std::min<std::uint64_t>(payload + length + (length & 1), b.size());
  }
  if (!(aiff ? ssnd && comm : vhdr && body)) return b;  // the reader refuses it by itself
  if (rate != 0 && !SoundRateIsSound(rate)) return std::nullopt;
  // The reader's own 32-bit arithmetic, wrap-around included.
  const std::uint32_t size = channels * frames * (bits / 8);
  if (start + size > b.size()) return std::nullopt;
  return b;
}

// The metadata blocks of a FLAC stream whose "fLaC" starts at `at`: false when
// its tag block holds an empty comment.
bool FlacBlocksAreSound(std::span<const std::uint8_t> b, std::uint64_t at) {
  at += 4;
  while (at + 4 <= b.size()) {
    const std::uint32_t header = ByteAt(b, at);
    const std::uint64_t length =
        ByteAt(b, at + 1) << 16 | ByteAt(b, at + 2) << 8 | ByteAt(b, at + 3);
    const std::uint64_t end = at + 4 + length;
    if ((header & 0x7F) == 4) {  // the tag block: vendor string, then the comments
      std::uint64_t pos = at + 8 + std::uint64_t{Le32(b, at + 4)};
      if (pos + 4 <= end) {
        const std::uint32_t count = Le32(b, pos);
        pos += 4;
        // libFLAC keeps the comments that fit in the block.
        for (std::uint32_t i = 0; i < count && pos + 4 <= end; ++i) {
          const std::uint32_t comment = Le32(b, pos);
          if (comment == 0) return false;
          pos += 4 + std::uint64_t{comment};
          if (pos > end) break;
        }
      }
    }
    if ((header & 0x80) != 0) break;  // the last metadata block
    at = end;
  }
  return true;
}

// The mixer's FLAC reader (libFLAC) copies every comment of the tag block
// with strdup, and libFLAC hands an empty comment over as a null pointer: the
// program would crash. libFLAC looks for its "fLaC" past ID3v2 tags and any
// other bytes in front of it, so every "fLaC" in the file is taken for a
// possible start: false when any of them leads to an empty comment.
bool FlacCommentsAreSound(std::span<const std::uint8_t> b) {
  constexpr std::string_view kMark = "fLaC";
  const std::string_view text(reinterpret_cast<const char*>(b.data()), b.size());
  for (std::size_t at = text.find(kMark); at != std::string_view::npos;
       at = text.find(kMark, at + 1))
    if (!FlacBlocksAreSound(b, at)) return false;
  return true;
}

}  // namespace

bool SoundRateIsSound(std::uint32_t rate) {
  return rate >= kMinSoundRate && rate <= kMaxSoundRate;
}
bool MusicChannelsAreSound(std::uint32_t channels) {
  const std::uint32_t kept = channels & 0xFF;
  return kept >= 1 && kept <= 8;
}

// The bytes to hand to the mixer for a sound decoded whole (loadSound):
// nullopt to refuse, else `bytes` or a patched copy of them kept in `patched`.
// FLAC is checked for empty comments; other formats pass as they are.
std::optional<std::span<const std::uint8_t>> SoundBytesForMixer(
    std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& patched) {
  if (TagAt(bytes, 0, "RIFF") || TagAt(bytes, 0, "WAVE")) return WaveForMixer(bytes, patched);
  if (TagAt(bytes, 0, "FORM")) return AiffForMixer(bytes);
  if (!FlacCommentsAreSound(bytes)) return std::nullopt;
  return bytes;
}

// Whether the mixer may stream this music file. Its WAV and AIFF readers read
// some chunks (LIST, smpl and id3 tags; NAME, AUTH, (c) and ID3 ones) whole
// into memory they allocate first, and refuse the file when it holds less: such
// a file is refused here before. The sample data itself is streamed. WAV and
// AIFF files with rates outside kMinSoundRate..kMaxSoundRate or channel
// counts SDL cannot convert, and FLAC files with an empty comment (see
// FlacCommentsAreSound), are refused too: SDL or the mixer would crash on them.
bool MusicHeaderIsSound(std::span<const std::uint8_t> b) {
  if (!FlacCommentsAreSound(b)) return false;
  if (TagAt(b, 0, "RIFF") || TagAt(b, 0, "WAVE")) {
    // The reader walks from byte 12 with no padding and stops at a zero length.
    for (std::uint64_t at = 12;; at += 8 + std::uint64_t{Le32(b, at + 4)}) {
      const std::uint32_t length = Le32(b, at + 4);
      if (length == 0) return true;
      if ((TagAt(b, at, "LIST") || TagAt(b, at, "smpl") || TagAt(b, at, "id3 ")) &&
          length > Left(b, at + 8))
        return false;
      if (TagAt(b, at, "fmt ") && length >= 16 &&
          (!MusicChannelsAreSound(Le16(b, at + 10)) || !SoundRateIsSound(Le32(b, at + 12))))
        return false;
    }
  }
  if (TagAt(b, 0, "FORM")) {
    // Chunks padded to even lengths, walked while they start inside the file.
    std::uint64_t at = 12;
    do {
      const std::uint32_t length = Be32(b, at + 4);
      if ((TagAt(b, at, "NAME") || TagAt(b, at, "AUTH") || TagAt(b, at, "(c) ") ||
           TagAt(b, at, "ID3 ")) &&
          length > Left(b, at + 8))
        return false;
      if (TagAt(b, at, "COMM")) {
        const std::uint32_t rate = AiffRate(b, at + 16);
        if (!MusicChannelsAreSound(Be16(b, at + 8))) return false;
        if (rate != 0 && !SoundRateIsSound(rate)) return false;
      }
      at += 8 + std::uint64_t{length} + (length & 1);
    } while (at < b.size());
  }
  return true;
}

bool ReadyMusicForMixer(std::vector<std::uint8_t>& bytes) {
  if (!MusicHeaderIsSound(bytes)) return false;
  const std::span<const std::uint8_t> b(bytes);
  const auto hide = [&bytes](std::uint64_t at) {
    std::copy_n("JUNK", 4, bytes.begin() + static_cast<std::ptrdiff_t>(at));
  };
  if (TagAt(b, 0, "RIFF") || TagAt(b, 0, "WAVE")) {
    // As MusicHeaderIsSound walks it: from byte 12, no padding, to a zero length.
    for (std::uint64_t at = 12; at + 8 <= b.size(); at += 8 + std::uint64_t{Le32(b, at + 4)}) {
      if (Le32(b, at + 4) == 0) break;
      if (TagAt(b, at, "LIST") || TagAt(b, at, "id3 ")) hide(at);
    }
  } else if (TagAt(b, 0, "FORM")) {
    for (std::uint64_t at = 12; at + 8 <= b.size();) {
      const std::uint32_t length = Be32(b, at + 4);
      if (TagAt(b, at, "NAME") || TagAt(b, at, "AUTH") || TagAt(b, at, "(c) ") ||
          TagAt(b, at, "ANNO") || TagAt(b, at, "ID3 "))
        hide(at);
      at += 8 + std::uint64_t{length} + (length & 1);
    }
  }
  return true;
}

}  // namespace vdx::platform
