// What the vector files share: a draw's way of shading as types, so that each
// vector loop is compiled once per way and keeps only the steps it needs; the
// dispatch from a SpanShading to those loops; and the turned rows whose
// coordinates would leave 32 bits.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "graphics/sprite_span.h"

namespace vdx {

// How a draw shades, fixed for its whole loop so the compiler keeps only the
// steps that draw needs.
template <SpriteBlend B, bool Keyed, bool Untinted, bool Copy>
struct Mode {
  static constexpr SpriteBlend blend = B;
  static constexpr bool keyed = Keyed;
  static constexpr bool untinted = Untinted;  // the source is the texel itself
  static constexpr bool copy = Copy;          // and it replaces what is below
};

// Calls run(Mode<...>{}) with the mode of the shading; `run` is a generic
// lambda that calls the loop compiled for that mode.
template <SpriteBlend B, class Run>
void RunTinted(const SpanShading& s, Run&& run) {
  const bool untinted = s.red == 255 && s.green == 255 && s.blue == 255;
  if (untinted)
    s.keyed ? run(Mode<B, true, true, false>{}) : run(Mode<B, false, true, false>{});
  else
    s.keyed ? run(Mode<B, true, false, false>{}) : run(Mode<B, false, false, false>{});
}

template <class Run>
void RunInMode(const SpanShading& s, Run&& run) {
  if (IsPlainCopy(s)) {
    s.keyed ? run(Mode<SpriteBlend::Alpha, true, true, true>{})
            : run(Mode<SpriteBlend::Alpha, false, true, true>{});
    return;
  }
  switch (s.blend) {
    case SpriteBlend::Alpha:
      RunTinted<SpriteBlend::Alpha>(s, run);
      return;
    case SpriteBlend::Additive:
      RunTinted<SpriteBlend::Additive>(s, run);
      return;
    case SpriteBlend::Black:
      s.keyed ? run(Mode<SpriteBlend::Black, true, true, false>{})
              : run(Mode<SpriteBlend::Black, false, true, false>{});
      return;
    case SpriteBlend::ColourWeighted:
      RunTinted<SpriteBlend::ColourWeighted>(s, run);
      return;
  }
}

// Offsets of a span whose coordinates cannot leave 32 bits (else the scalar
// 64-bit loop is used).
inline bool OffsetsFit(int n, std::int32_t u, std::int32_t v, const TurnedTexture& t) {
  const std::int64_t reach =
      std::int64_t{n} * std::max(std::abs(std::int64_t{t.du}), std::abs(std::int64_t{t.dv}));
  return std::abs(std::int64_t{u}) + reach < (std::int64_t{1} << 30) &&
         std::abs(std::int64_t{v}) + reach < (std::int64_t{1} << 30);
}

// A turned row whose coordinates would leave 32 bits: its texel offsets by
// the reference's 64-bit steps, handed to shade(out, offsets, count) `group`
// pixels at a time (fewer at the end).
template <class Shade>
void ShadeFarTurnedRow(std::uint32_t* span, const TurnedRow& row, const TurnedTexture& texture,
                       int group, Shade&& shade) {
  constexpr int kChunk = 1024;
  std::int32_t offsets[kChunk];
  for (int start = 0; start < row.count; start += kChunk) {
    const int n = std::min(kChunk, row.count - start);
    const auto at = [&](std::int32_t c, std::int32_t d) {
      return static_cast<std::int32_t>(c + static_cast<std::int64_t>(d) * start);
    };
    TexelOffsets(offsets, n, at(row.u, texture.du), at(row.v, texture.dv), texture,
                 RasterPath::Scalar);
    for (int i = 0; i < n; i += group)
      shade(span + start + i, offsets + i, std::min(group, n - i));
  }
}

}  // namespace vdx
