#include "platform/sound_headers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vdx::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Tag(Bytes& out, const char* tag) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<std::uint8_t>(tag[i]));
}

void Le32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void Be32(Bytes& out, std::uint32_t v) {
  for (int i = 3; i >= 0; --i)
    out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void Be16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

// 8-bit mono PCM: "RIFF" "WAVE", a fmt chunk, `extra` chunks, then a data
// chunk that claims `claimed` bytes and holds `held`.
Bytes Wave(std::uint32_t rate, std::uint32_t claimed, std::size_t held, const Bytes& extra = {}) {
  Bytes out;
  Tag(out, "RIFF");
  Le32(out, 0);  // fixed below
  Tag(out, "WAVE");
  Tag(out, "fmt ");
  Le32(out, 16);
  out.insert(out.end(), {1, 0, 1, 0});  // PCM, one channel
  Le32(out, rate);
  Le32(out, rate);                      // bytes a second
  out.insert(out.end(), {1, 0, 8, 0});  // block of 1 byte, 8 bits
  out.insert(out.end(), extra.begin(), extra.end());
  Tag(out, "data");
  Le32(out, claimed);
  out.insert(out.end(), held, 0x80);
  const auto riff = static_cast<std::uint32_t>(out.size() - 8);
  for (int i = 0; i < 4; ++i)
    out[4 + i] = static_cast<std::uint8_t>(riff >> (8 * i));
  return out;
}

// 8-bit AIFF: COMM claiming `frames` frames of `channels` channels, an SSND
// holding `held` bytes. `rate` is the 80-bit float's exponent and first
// mantissa bytes (44100 Hz: 40 0E AC 44).
Bytes Aiff(std::uint32_t channels, std::uint32_t frames, std::size_t held,
           const Bytes& rate = {0x40, 0x0E, 0xAC, 0x44}, const Bytes& extra = {}) {
  Bytes out;
  Tag(out, "FORM");
  Be32(out, 0);
  Tag(out, "AIFF");
  out.insert(out.end(), extra.begin(), extra.end());
  Tag(out, "COMM");
  Be32(out, 18);
  Be16(out, channels);
  Be32(out, frames);
  Be16(out, 8);
  out.insert(out.end(), rate.begin(), rate.end());
  out.resize(out.size() + 10 - rate.size(), 0);
  Tag(out, "SSND");
  Be32(out, static_cast<std::uint32_t>(8 + held));
  Be32(out, 0);  // offset
  Be32(out, 0);  // block size
  out.insert(out.end(), held, 0);
  return out;
}

TEST(SoundBytesForMixer, CutsAWaveDataChunkToWhatTheFileHolds) {
  const Bytes whole = Wave(11025, 2000, 2000);
  std::vector<std::uint8_t> patched;
  auto checked = SoundBytesForMixer(whole, patched);
  ASSERT_TRUE(checked.has_value());
  EXPECT_EQ(checked->data(), whole.data()) << "a sound file passes as it is";

  // 2000 bytes that claim 4 GB: SDL would allocate the 4 GB first.
  const Bytes cut = Wave(11025, 0xFFFFFFF0, 2000);
  checked = SoundBytesForMixer(cut, patched);
  ASSERT_TRUE(checked.has_value()) << "a cut-off recording still plays what it holds";
  ASSERT_EQ(checked->size(), cut.size());
  EXPECT_EQ(Bytes(checked->begin(), checked->end()), whole)
      << "only the data chunk's length changes, to the 2000 bytes held";

  // Odd-length chunks before the data are padded to even lengths.
  Bytes list;
  Tag(list, "LIST");
  Le32(list, 3);
  list.insert(list.end(), {'a', 'b', 'c', 0});
  const Bytes padded = Wave(11025, 0x7FFFFFFF, 100, list);
  checked = SoundBytesForMixer(padded, patched);
  ASSERT_TRUE(checked.has_value());
  EXPECT_EQ(Bytes(checked->begin(), checked->end()), Wave(11025, 100, 100, list));
}

TEST(SoundBytesForMixer, RefusesRatesNoSoundHas) {
  std::vector<std::uint8_t> patched;
  // 2000 bytes at 8 Hz would be 250 seconds, 44 MB once at 44.1 kHz stereo.
  EXPECT_FALSE(SoundBytesForMixer(Wave(8, 2000, 2000), patched));
  EXPECT_FALSE(SoundBytesForMixer(Wave(kMinSoundRate - 1, 2000, 2000), patched));
  EXPECT_TRUE(SoundBytesForMixer(Wave(kMinSoundRate, 2000, 2000), patched));
  EXPECT_FALSE(SoundBytesForMixer(Aiff(1, 100, 100, {0x40, 0x02, 0x80}), patched)) << "8 Hz";
  EXPECT_TRUE(SoundBytesForMixer(Wave(kMaxSoundRate, 2000, 2000), patched));
  EXPECT_FALSE(SoundBytesForMixer(Wave(kMaxSoundRate + 1, 2000, 2000), patched));
  EXPECT_FALSE(SoundBytesForMixer(Wave(0x2B33504D, 2000, 2000), patched));

  // Music is streamed, but SDL's resampler cannot take such rates either.
  EXPECT_TRUE(MusicHeaderIsSound(Wave(44100, 2000, 2000)));
  EXPECT_FALSE(MusicHeaderIsSound(Wave(0x2B33504D, 2000, 2000)));
  EXPECT_FALSE(MusicHeaderIsSound(Wave(8, 2000, 2000)));
  EXPECT_FALSE(MusicHeaderIsSound(Aiff(1, 100, 100, {0x40, 0x02, 0x80})));
  EXPECT_TRUE(MusicHeaderIsSound(Aiff(1, 100, 100)));
}

TEST(SoundBytesForMixer, RefusesAnAiffThatClaimsMoreThanItHolds) {
  std::vector<std::uint8_t> patched;
  const Bytes whole = Aiff(2, 50, 100);
  auto checked = SoundBytesForMixer(whole, patched);
  ASSERT_TRUE(checked.has_value());
  EXPECT_EQ(checked->data(), whole.data());
  EXPECT_FALSE(SoundBytesForMixer(Aiff(2, 51, 100), patched)) << "one frame more than held";
  EXPECT_FALSE(SoundBytesForMixer(Aiff(0xFFFF, 0x7FFFFFF0, 100), patched));
  Bytes name;
  Tag(name, "NAME");
  Be32(name, 1);
  name.insert(name.end(), {'x', 0});  // padded to an even length
  EXPECT_FALSE(SoundBytesForMixer(Aiff(1, 0x40000000, 100, {0x40, 0x0E, 0xAC}, name), patched))
      << "found past a padded chunk";

  // 8SVX: the BODY chunk's length is what is allocated.
  Bytes svx;
  Tag(svx, "FORM");
  Be32(svx, 0);
  Tag(svx, "8SVX");
  Tag(svx, "VHDR");
  Be32(svx, 20);
  svx.insert(svx.end(), 12, 0);
  Be16(svx, 8000);
  svx.insert(svx.end(), 6, 0);
  Tag(svx, "BODY");
  Be32(svx, 0x40000000);
  svx.insert(svx.end(), 64, 0);
  EXPECT_FALSE(SoundBytesForMixer(svx, patched));

  const Bytes ogg = {'O', 'g', 'g', 'S', 0, 2};
  EXPECT_TRUE(SoundBytesForMixer(ogg, patched)) << "other formats are left to the mixer";
}

// "fLaC", an empty stream-info block, then a last tag block holding `comments`.
Bytes Flac(const std::vector<std::string>& comments) {
  Bytes tags;
  Le32(tags, 1);
  tags.push_back('v');  // the vendor string
  Le32(tags, static_cast<std::uint32_t>(comments.size()));
  for (const std::string& c : comments) {
    Le32(tags, static_cast<std::uint32_t>(c.size()));
    tags.insert(tags.end(), c.begin(), c.end());
  }
  Bytes out;
  Tag(out, "fLaC");
  out.insert(out.end(), {0, 0, 0, 34});
  out.insert(out.end(), 34, 0);
  out.push_back(0x84);  // last block, the tag block
  out.push_back(0);
  Be16(out, static_cast<std::uint32_t>(tags.size()));
  out.insert(out.end(), tags.begin(), tags.end());
  return out;
}

TEST(SoundBytesForMixer, RefusesAFlacWithAnEmptyComment) {
  // libFLAC hands an empty comment to the mixer as a null pointer, which it copies.
  std::vector<std::uint8_t> patched;
  EXPECT_TRUE(SoundBytesForMixer(Flac({"TITLE=x", "A=1"}), patched));
  EXPECT_FALSE(SoundBytesForMixer(Flac({"TITLE=x", ""}), patched));
  EXPECT_FALSE(MusicHeaderIsSound(Flac({""})));
  EXPECT_TRUE(MusicHeaderIsSound(Flac({"LOOPSTART=0"})));

  // Behind an ID3v2 tag of 5 bytes.
  Bytes tagged = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 5, 1, 2, 3, 4, 5};
  const Bytes flac = Flac({""});
  tagged.insert(tagged.end(), flac.begin(), flac.end());
  EXPECT_FALSE(MusicHeaderIsSound(tagged));

  // Behind bytes that are no tag at all: libFLAC looks for its mark past them.
  Bytes junk = {0x83, 0, 0, 0};
  junk.insert(junk.end(), flac.begin(), flac.end());
  EXPECT_FALSE(MusicHeaderIsSound(junk));
  EXPECT_FALSE(SoundBytesForMixer(junk, patched));

  // A comment count larger than the block: only the comments that fit count.
  Bytes cut = Flac({"A=1"});
  cut[cut.size() - 11] = 9;  // nine comments claimed, one there
  EXPECT_TRUE(MusicHeaderIsSound(cut));
}

TEST(MusicHeaderIsSound, RefusesChannelCountsSdlDividesByZero) {
  Bytes wave = Wave(44100, 100, 100);
  const std::size_t channels = 22;  // in the fmt chunk
  ASSERT_EQ(wave[channels], 1);
  EXPECT_TRUE(MusicHeaderIsSound(wave));
  wave[channels] = 0;
  EXPECT_FALSE(MusicHeaderIsSound(wave)) << "no channels";
  wave[channels + 1] = 1;
  EXPECT_FALSE(MusicHeaderIsSound(wave)) << "256 channels: the mixer keeps the low byte, 0";
  wave[channels] = 8;
  wave[channels + 1] = 0;
  EXPECT_TRUE(MusicHeaderIsSound(wave));
  wave[channels] = 9;
  EXPECT_FALSE(MusicHeaderIsSound(wave));
  EXPECT_FALSE(MusicHeaderIsSound(Aiff(0, 100, 100)));
  EXPECT_FALSE(MusicHeaderIsSound(Aiff(0x100, 100, 100)));
  EXPECT_TRUE(MusicHeaderIsSound(Aiff(2, 50, 100)));
}

TEST(MusicHeaderIsSound, RefusesTagChunksLongerThanTheFile) {
  EXPECT_TRUE(MusicHeaderIsSound(Wave(44100, 0xFFFFFFF0, 2000)))
      << "the sample data is streamed: a cut-off tune plays what it holds";
  Bytes list;
  Tag(list, "LIST");
  Le32(list, 0xC0000000);  // 3 GB of tags
  list.insert(list.end(), {'I', 'N', 'F', 'O'});
  EXPECT_FALSE(MusicHeaderIsSound(Wave(44100, 100, 100, list)));
  Bytes smallList;
  Tag(smallList, "LIST");
  Le32(smallList, 4);
  smallList.insert(smallList.end(), {'I', 'N', 'F', 'O'});
  EXPECT_TRUE(MusicHeaderIsSound(Wave(44100, 100, 100, smallList)));

  Bytes name;
  Tag(name, "NAME");
  Be32(name, 0x80000000);
  EXPECT_FALSE(MusicHeaderIsSound(Aiff(1, 100, 100, {0x40, 0x0E, 0xAC}, name)));
  EXPECT_TRUE(MusicHeaderIsSound(Aiff(1, 100, 100)));
  const Bytes ogg = {'O', 'g', 'g', 'S', 0, 2};
  EXPECT_TRUE(MusicHeaderIsSound(ogg));
}

TEST(ReadyMusicForMixer, HidesTheTextChunksAndKeepsTheRest) {
  // A LIST of tags whose text has no ending zero: the mixer would read past it.
  Bytes list;
  Tag(list, "LIST");
  Le32(list, 16);
  list.insert(list.end(), {'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 4, 0, 0, 0, 'T', 'u', 'n', 'e'});
  Bytes smpl;  // loop points: kept, the mixer loops by them
  Tag(smpl, "smpl");
  Le32(smpl, 4);
  Le32(smpl, 0);
  Bytes extra = list;
  extra.insert(extra.end(), smpl.begin(), smpl.end());
  const Bytes wave = Wave(44100, 100, 100, extra);
  Bytes ready = wave;
  ASSERT_TRUE(ReadyMusicForMixer(ready));
  ASSERT_EQ(ready.size(), wave.size());
  const std::size_t at = 36;  // where the extra chunks start
  EXPECT_EQ(std::string(ready.begin() + at, ready.begin() + at + 4), "JUNK");
  for (std::size_t i = 0; i < ready.size(); ++i)
    if (i < at || i >= at + 4) {
      ASSERT_EQ(ready[i], wave[i]) << "byte " << i << " is kept";
    }

  Bytes name;
  Tag(name, "NAME");
  Be32(name, 3);
  name.insert(name.end(), {'a', 'b', 'c', 0});  // padded to an even length
  const Bytes aiff = Aiff(1, 100, 100, {0x40, 0x0E, 0xAC, 0x44}, name);
  Bytes readyAiff = aiff;
  ASSERT_TRUE(ReadyMusicForMixer(readyAiff));
  EXPECT_EQ(std::string(readyAiff.begin() + 12, readyAiff.begin() + 16), "JUNK");
  EXPECT_EQ(std::string(readyAiff.begin() + 24, readyAiff.begin() + 28), "COMM")
      << "the walk goes on past the padding";

  Bytes refused = Wave(44100, 100, 100);
  refused[22] = 0;  // no channels
  EXPECT_FALSE(ReadyMusicForMixer(refused));
  Bytes ogg = {'O', 'g', 'g', 'S', 0, 2};
  EXPECT_TRUE(ReadyMusicForMixer(ogg));
  EXPECT_EQ(ogg, (Bytes{'O', 'g', 'g', 'S', 0, 2}));
}

}  // namespace
}  // namespace vdx::platform
