// A draw's way of shading as types, so that each vector loop is compiled once
// per way and keeps only the steps it needs, and the dispatch from a
// SpanShading to those loops.
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

}  // namespace vdx
