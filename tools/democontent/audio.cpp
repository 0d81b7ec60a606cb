#include "audio.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "little_endian.h"
#include "raster.h"

namespace democontent {
namespace {

constexpr double kPi = 3.14159265358979323846;

Samples Silence(double seconds, int rate) {
  return Samples(static_cast<std::size_t>(seconds * rate), 0.0f);
}

double Envelope(double t, double attack, double decay) {
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / decay);
}

// A noise burst through a one-pole low-pass filter: thumps and smacks.
Samples Thump(double seconds, double tone, double cutoff, double decay, int seed) {
  Samples s = Silence(seconds, kEffectRate);
  Random rnd(static_cast<std::uint32_t>(seed));
  double lp = 0, phase = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = double(i) / kEffectRate;
    lp += cutoff * ((rnd.next() * 2 - 1) - lp);
    phase += 2 * kPi * tone * (1.0 - 0.6 * t / seconds) / kEffectRate;
    s[i] = static_cast<float>((0.7 * lp * 3 + 0.5 * std::sin(phase)) * Envelope(t, 0.003, decay));
  }
  return s;
}

Samples Sweep(double seconds, double from, double to, double decay, double square) {
  Samples s = Silence(seconds, kEffectRate);
  double phase = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = double(i) / kEffectRate;
    const double f = from * std::pow(to / from, t / seconds);
    phase += 2 * kPi * f / kEffectRate;
    const double sine = std::sin(phase);
    const double wave = (1 - square) * sine + square * (sine > 0 ? 1 : -1);
    s[i] = static_cast<float>(0.6 * wave * Envelope(t, 0.005, decay));
  }
  return s;
}

void MixInto(Samples& into, const Samples& add, std::size_t at, double gain) {
  if (into.size() < at + add.size()) into.resize(at + add.size(), 0.0f);
  for (std::size_t i = 0; i < add.size(); ++i)
    into[at + i] += static_cast<float>(add[i] * gain);
}

void Normalise(Samples& s, double peak) {
  float m = 0;
  for (float v : s)
    m = std::max(m, std::fabs(v));
  if (m > 0)
    for (float& v : s)
      v = static_cast<float>(v / m * peak);
}

double NoteHz(int midi) {
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

}  // namespace

Samples EffectSound(const std::string& name) {
  Samples s;
  if (name == "punch") {
    s = Thump(0.18, 140, 0.35, 0.04, 1);
  } else if (name == "kick") {
    s = Thump(0.25, 90, 0.25, 0.06, 2);
  } else if (name == "hit") {
    s = Thump(0.3, 70, 0.5, 0.07, 3);
    MixInto(s, Sweep(0.15, 900, 300, 0.03, 0.5), 0, 0.3);
  } else if (name == "block") {
    s = Sweep(0.2, 1400, 1100, 0.05, 0.7);
    MixInto(s, Thump(0.12, 200, 0.6, 0.02, 4), 0, 0.5);
  } else if (name == "jump") {
    s = Sweep(0.22, 220, 660, 0.12, 0.2);
  } else if (name == "ko") {
    s = Sweep(1.1, 440, 70, 0.5, 0.35);
    MixInto(s, Thump(0.4, 60, 0.2, 0.15, 5), 0, 0.8);
  } else if (name == "fireball") {
    s = Thump(0.6, 120, 0.08, 0.25, 6);
    MixInto(s, Sweep(0.6, 300, 900, 0.3, 0.0), 0, 0.4);
  } else if (name == "PowerUp") {
    for (int i = 0; i < 5; ++i)
      MixInto(s, Sweep(0.14, NoteHz(72 + i * 4), NoteHz(72 + i * 4), 0.08, 0.4),
              static_cast<std::size_t>(i * 0.07 * kEffectRate), 0.8);
  }
  Normalise(s, 0.9);
  return s;
}

Samples Shout(double pitch, int seed) {
  // A vowel-like buzz that rises and falls: "hai!".
  Samples s = Silence(0.35, kEffectRate);
  Random rnd(static_cast<std::uint32_t>(seed));
  double phase = 0, lp = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = double(i) / kEffectRate;
    const double f = 180 * pitch * (1 + 0.4 * std::sin(kPi * t / 0.35));
    phase += 2 * kPi * f / kEffectRate;
    const double buzz = std::fmod(phase, 2 * kPi) / kPi - 1;
    lp += 0.25 * (buzz + 0.2 * (rnd.next() - 0.5) - lp);
    s[i] = static_cast<float>(lp * Envelope(t, 0.02, 0.12));
  }
  Normalise(s, 0.85);
  return s;
}

Samples Music(Tune tune, int rate) {
  struct Style {
    double bpm = 120;
    int root = 57;            // midi note of the key
    std::vector<int> chords;  // scale degrees (semitones from root) per bar
    std::vector<int> melody;  // semitones, -1 = rest, one per eighth note
    double leadSquare = 0;
    bool drums = true;
  };
  Style style;
  switch (tune) {
    case Tune::Menu:
      style = {96,  57,  {0, 8, 3, 10}, {12, -1, 15, 14, 12, -1, 10, 7, 8, -1, 12, 10, 7, -1, 3, 5},
               0.3, true};
      break;
    case Tune::Harbour:
      style = {128, 52,  {0, 0, 5, 7}, {7, 7, 10, 12, 10, 7, 5, 3, 5, -1, 7, 5, 3, 0, -1, 0},
               0.6, true};
      break;
    case Tune::Temple:
      style = {84,           62,
               {0, 5, 7, 5}, {12, -1, 14, 17, 19, -1, 17, 14, 12, -1, 10, 12, 7, -1, -1, -1},
               0.0,          false};
      break;
    case Tune::Neon:
      style = {118,          50,
               {0, 3, 8, 7}, {0, 12, 10, 12, 15, 12, 10, 7, 0, 12, 10, 12, 17, 15, 12, 10},
               0.8,          true};
      break;
  }
  const double beat = 60.0 / style.bpm;
  const int bars = static_cast<int>(style.chords.size()) * 2;
  Samples out = Silence(bars * 4 * beat, rate);
  auto note = [&](double start, double length, double hz, double gain, double square,
                  double decay) {
    const std::size_t from = static_cast<std::size_t>(start * rate);
    const std::size_t n = static_cast<std::size_t>(length * rate);
    double phase = 0;
    for (std::size_t i = 0; i < n && from + i < out.size(); ++i) {
      const double t = double(i) / rate;
      phase += 2 * kPi * hz / rate;
      const double sine = std::sin(phase);
      const double wave = (1 - square) * sine + square * (sine > 0 ? 0.6 : -0.6);
      const double release = std::min(1.0, (length - t) / 0.02);
      out[from + i] += static_cast<float>(gain * wave * Envelope(t, 0.01, decay) * release);
    }
  };
  Random rnd(static_cast<std::uint32_t>(tune) + 3);
  for (int bar = 0; bar < bars; ++bar) {
    const int chord = style.chords[bar % style.chords.size()];
    const double barStart = bar * 4 * beat;
    // Pad: the chord's three notes, held.
    for (int interval : {0, 3 + (chord % 2 == 0 ? 1 : 0), 7})
      note(barStart, 4 * beat, NoteHz(style.root + chord + interval), 0.07, 0.0, 3.0);
    // Bass on every beat.
    for (int b = 0; b < 4; ++b)
      note(barStart + b * beat, beat * 0.9, NoteHz(style.root - 12 + chord + (b == 2 ? 7 : 0)),
           0.22, 0.2, 0.25);
    // Lead: two bars of melody per phrase, eighth notes.
    for (int e = 0; e < 8; ++e) {
      const int m = style.melody[(bar % 2) * 8 + e];
      if (m < 0) continue;
      note(barStart + e * beat / 2, beat / 2 * 0.95, NoteHz(style.root + 12 + m), 0.12,
           style.leadSquare, 0.3);
    }
    if (!style.drums) continue;
    for (int b = 0; b < 4; ++b) {
      const double at = barStart + b * beat;
      // Kick on 1 and 3: a falling sine.
      if (b % 2 == 0) {
        const std::size_t from = static_cast<std::size_t>(at * rate);
        double phase = 0;
        for (std::size_t i = 0; i < static_cast<std::size_t>(0.15 * rate) && from + i < out.size();
             ++i) {
          const double t = double(i) / rate;
          phase += 2 * kPi * (120 - 400 * t) / rate;
          out[from + i] += static_cast<float>(0.45 * std::sin(phase) * std::exp(-t / 0.05));
        }
      }
      // Snare on 2 and 4, hats on the eighths: noise.
      for (int half = 0; half < 2; ++half) {
        const bool snare = (b % 2 == 1) && half == 0;
        const std::size_t from = static_cast<std::size_t>((at + half * beat / 2) * rate);
        const double len = snare ? 0.15 : 0.04;
        for (std::size_t i = 0; i < static_cast<std::size_t>(len * rate) && from + i < out.size();
             ++i) {
          const double t = double(i) / rate;
          out[from + i] += static_cast<float>((snare ? 0.25 : 0.06) * (rnd.next() * 2 - 1) *
                                              std::exp(-t / (snare ? 0.04 : 0.01)));
        }
      }
    }
  }
  Normalise(out, 0.8);
  return out;
}

namespace {


std::vector<std::uint8_t> WavHeader(std::uint32_t dataBytes, int rate, int bits) {
  std::vector<std::uint8_t> out;
  const std::uint32_t blockAlign = static_cast<std::uint32_t>(bits / 8);
  for (char c : std::string("RIFF"))
    out.push_back(static_cast<std::uint8_t>(c));
  Put32(out, 36 + dataBytes);
  for (char c : std::string("WAVEfmt "))
    out.push_back(static_cast<std::uint8_t>(c));
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, static_cast<std::uint32_t>(rate));
  Put32(out, static_cast<std::uint32_t>(rate) * blockAlign);
  Put16(out, blockAlign);
  Put16(out, static_cast<std::uint32_t>(bits));
  for (char c : std::string("data"))
    out.push_back(static_cast<std::uint8_t>(c));
  Put32(out, dataBytes);
  return out;
}

}  // namespace

std::vector<std::uint8_t> EncodeWav8(const Samples& s, int rate) {
  auto out = WavHeader(static_cast<std::uint32_t>(s.size()), rate, 8);
  for (float v : s)
    out.push_back(static_cast<std::uint8_t>(std::clamp(std::lround(128 + v * 127), 0L, 255L)));
  if (s.size() % 2) out.push_back(128);  // chunks are word-aligned
  return out;
}

std::vector<std::uint8_t> EncodeWav16(const Samples& s, int rate) {
  auto out = WavHeader(static_cast<std::uint32_t>(s.size() * 2), rate, 16);
  for (float v : s) {
    const auto i = static_cast<std::int16_t>(std::clamp(std::lround(v * 32767), -32768L, 32767L));
    Put16(out, static_cast<std::uint16_t>(i));
  }
  return out;
}

std::vector<std::uint8_t> EncodeOgg(const Samples& s, int rate, int serial) {
  std::vector<std::uint8_t> out;
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, 1, rate, 0.3f) != 0)
    throw std::runtime_error("the Vorbis encoder refused its settings");
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "TITLE", "vdx demo tune");
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, serial);
  ogg_packet header, commentHeader, codeHeader;
  vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &commentHeader);
  ogg_stream_packetin(&stream, &codeHeader);
  ogg_page page;
  auto writePage = [&out](const ogg_page& p) {
    out.insert(out.end(), p.header, p.header + p.header_len);
    out.insert(out.end(), p.body, p.body + p.body_len);
  };
  while (ogg_stream_flush(&stream, &page) != 0)
    writePage(page);

  std::size_t done = 0;
  bool finished = false;
  while (!finished) {
    const std::size_t chunk = std::min<std::size_t>(4096, s.size() - done);
    if (chunk == 0) {
      vorbis_analysis_wrote(&dsp, 0);
    } else {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(chunk));
      std::memcpy(buffer[0], s.data() + done, chunk * sizeof(float));
      vorbis_analysis_wrote(&dsp, static_cast<int>(chunk));
      done += chunk;
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) {
          writePage(page);
          if (ogg_page_eos(&page)) finished = true;
        }
      }
    }
    if (chunk == 0 && !finished) {
      while (ogg_stream_flush(&stream, &page) != 0)
        writePage(page);
      finished = true;
    }
  }
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

}  // namespace democontent
