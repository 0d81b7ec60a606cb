// The AVX-512 versions of the sprite renderer's row loops, sixteen pixels at a
// time (x86-64 only; call them when HasAvx512() says so). They give the
// scalar reference's pixels.
#pragma once

#include <cstdint>

#include "graphics/sprite_span.h"

namespace vdx {

void ShadeRowsAvx512(const SpanRows& r, const std::int32_t* columns, int n, const SpanShading& s);

void ShadeTurnedRowsAvx512(Surface& target, const TurnedTexture& texture, const TurnedRow* rows,
                           int count, const SpanShading& s);

}  // namespace vdx
