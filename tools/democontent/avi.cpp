#include "avi.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "image_files.h"

namespace democontent {
namespace {

class Writer {
 public:
  void fourcc(const char* c) { out_.insert(out_.end(), c, c + 4); }
  void u16(std::uint32_t v) {
    out_.push_back(v & 0xFF);
    out_.push_back((v >> 8) & 0xFF);
  }
  void u32(std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  }
  void bytes(const std::vector<std::uint8_t>& b) { out_.insert(out_.end(), b.begin(), b.end()); }
  // Starts a chunk or list; returns where its size goes.
  std::size_t begin(const char* id, const char* listType = nullptr) {
    fourcc(id);
    const std::size_t at = out_.size();
    u32(0);
    if (listType) fourcc(listType);
    return at;
  }
  void end(std::size_t sizeAt) {
    const std::uint32_t size = static_cast<std::uint32_t>(out_.size() - sizeAt - 4);
    for (int i = 0; i < 4; ++i)
      out_[sizeAt + i] = (size >> (8 * i)) & 0xFF;
    if (out_.size() % 2) out_.push_back(0);
  }
  std::size_t size() const { return out_.size(); }
  std::vector<std::uint8_t>& data() { return out_; }

 private:
  std::vector<std::uint8_t> out_;
};

}  // namespace

std::vector<std::uint8_t> EncodeAvi(const std::vector<Image>& frames, int fps, const Samples& sound,
                                    int soundRate) {
  const int width = frames.empty() ? 16 : frames[0].width;
  const int height = frames.empty() ? 16 : frames[0].height;
  std::vector<std::vector<std::uint8_t>> jpegs;
  std::uint32_t largest = 0;
  for (const Image& f : frames) {
    jpegs.push_back(EncodeJpeg(f, 85));
    largest = std::max<std::uint32_t>(largest, static_cast<std::uint32_t>(jpegs.back().size()));
  }
  // The sound in pieces, one per video frame, so the two interleave.
  std::vector<std::vector<std::uint8_t>> pcm;
  if (!sound.empty()) {
    const std::size_t perFrame = static_cast<std::size_t>(soundRate / fps);
    for (std::size_t f = 0; f < frames.size(); ++f) {
      std::vector<std::uint8_t> piece;
      for (std::size_t i = f * perFrame; i < (f + 1) * perFrame; ++i) {
        const float v = i < sound.size() ? sound[i] : 0.0f;
        piece.push_back(
            static_cast<std::uint8_t>(std::clamp(std::lround(128 + v * 127), 0L, 255L)));
      }
      pcm.push_back(std::move(piece));
    }
  }
  const bool withSound = !pcm.empty();

  Writer w;
  const std::size_t riff = w.begin("RIFF", "AVI ");
  const std::size_t hdrl = w.begin("LIST", "hdrl");
  const std::size_t avih = w.begin("avih");
  w.u32(static_cast<std::uint32_t>(1000000 / fps));
  w.u32(largest * static_cast<std::uint32_t>(fps) + (withSound ? soundRate : 0));
  w.u32(0);
  w.u32(0x10);  // has an index
  w.u32(static_cast<std::uint32_t>(frames.size()));
  w.u32(0);
  w.u32(withSound ? 2 : 1);
  w.u32(largest);
  w.u32(static_cast<std::uint32_t>(width));
  w.u32(static_cast<std::uint32_t>(height));
  for (int i = 0; i < 4; ++i)
    w.u32(0);
  w.end(avih);

  const std::size_t videoList = w.begin("LIST", "strl");
  const std::size_t strh = w.begin("strh");
  w.fourcc("vids");
  w.fourcc("MJPG");
  w.u32(0);
  w.u32(0);
  w.u32(0);
  w.u32(1);
  w.u32(static_cast<std::uint32_t>(fps));
  w.u32(0);
  w.u32(static_cast<std::uint32_t>(frames.size()));
  w.u32(largest);
  w.u32(0xFFFFFFFF);
  w.u32(0);
  w.u16(0);
  w.u16(0);
  w.u16(static_cast<std::uint32_t>(width));
  w.u16(static_cast<std::uint32_t>(height));
  w.end(strh);
  const std::size_t strf = w.begin("strf");
  w.u32(40);
  w.u32(static_cast<std::uint32_t>(width));
  w.u32(static_cast<std::uint32_t>(height));
  w.u16(1);
  w.u16(24);
  w.fourcc("MJPG");
  w.u32(static_cast<std::uint32_t>(width * height * 3));
  for (int i = 0; i < 4; ++i)
    w.u32(0);
  w.end(strf);
  w.end(videoList);

  if (withSound) {
    const std::size_t audioList = w.begin("LIST", "strl");
    const std::size_t ash = w.begin("strh");
    w.fourcc("auds");
    w.u32(0);
    w.u32(0);
    w.u32(0);
    w.u32(0);
    w.u32(1);
    w.u32(static_cast<std::uint32_t>(soundRate));
    w.u32(0);
    w.u32(static_cast<std::uint32_t>(pcm.size() * pcm[0].size()));
    w.u32(static_cast<std::uint32_t>(pcm[0].size()));
    w.u32(0xFFFFFFFF);
    w.u32(1);
    for (int i = 0; i < 4; ++i)
      w.u16(0);
    w.end(ash);
    const std::size_t asf = w.begin("strf");
    w.u16(1);
    w.u16(1);
    w.u32(static_cast<std::uint32_t>(soundRate));
    w.u32(static_cast<std::uint32_t>(soundRate));
    w.u16(1);
    w.u16(8);
    w.u16(0);
    w.end(asf);
    w.end(audioList);
  }
  w.end(hdrl);

  struct IndexEntry {
    const char* id;
    std::uint32_t offset, size;
  };
  std::vector<IndexEntry> index;
  const std::size_t movi = w.begin("LIST", "movi");
  const std::size_t moviStart = movi + 4;  // offsets count from the "movi" tag
  for (std::size_t f = 0; f < jpegs.size(); ++f) {
    if (withSound) {
      index.push_back({"01wb", static_cast<std::uint32_t>(w.size() - moviStart),
                       static_cast<std::uint32_t>(pcm[f].size())});
      const std::size_t c = w.begin("01wb");
      w.bytes(pcm[f]);
      w.end(c);
    }
    index.push_back({"00dc", static_cast<std::uint32_t>(w.size() - moviStart),
                     static_cast<std::uint32_t>(jpegs[f].size())});
    const std::size_t c = w.begin("00dc");
    w.bytes(jpegs[f]);
    w.end(c);
  }
  w.end(movi);
  const std::size_t idx = w.begin("idx1");
  for (const IndexEntry& e : index) {
    w.fourcc(e.id);
    w.u32(0x10);  // every frame is a key frame
    w.u32(e.offset);
    w.u32(e.size);
  }
  w.end(idx);
  w.end(riff);
  return std::move(w.data());
}

}  // namespace democontent
