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

// Runs Kernel::Run<M> with the mode of the shading.
template <class Kernel, SpriteBlend B, class... Args>
void RunTinted(const SpanShading& s, Args&... args) {
  const bool untinted = s.red == 255 && s.green == 255 && s.blue == 255;
  if (untinted)
    s.keyed ? Kernel::template Run<Mode<B, true, true, false>>(args..., s)
            : Kernel::template Run<Mode<B, false, true, false>>(args..., s);
  else
    s.keyed ? Kernel::template Run<Mode<B, true, false, false>>(args..., s)
            : Kernel::template Run<Mode<B, false, false, false>>(args..., s);
}

template <class Kernel, class... Args>
void RunInMode(const SpanShading& s, Args&... args) {
  if (IsPlainCopy(s)) {
    s.keyed ? Kernel::template Run<Mode<SpriteBlend::Alpha, true, true, true>>(args..., s)
            : Kernel::template Run<Mode<SpriteBlend::Alpha, false, true, true>>(args..., s);
    return;
  }
  switch (s.blend) {
    case SpriteBlend::Alpha:
      RunTinted<Kernel, SpriteBlend::Alpha>(s, args...);
      return;
    case SpriteBlend::Additive:
      RunTinted<Kernel, SpriteBlend::Additive>(s, args...);
      return;
    case SpriteBlend::Black:
      s.keyed ? Kernel::template Run<Mode<SpriteBlend::Black, true, true, false>>(args..., s)
              : Kernel::template Run<Mode<SpriteBlend::Black, false, true, false>>(args..., s);
      return;
    case SpriteBlend::ColourWeighted:
      RunTinted<Kernel, SpriteBlend::ColourWeighted>(s, args...);
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
