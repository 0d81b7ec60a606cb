// The AVX2 versions of the sprite renderer's inner loops (x86-64 only; call
// them when HasAvx2() says so). They give the scalar reference's pixels.
#pragma once

#include <cstdint>

#include "graphics/sprite_span.h"

namespace vdx {

void ShadeRowsAvx2(const SpanRows& r, const std::int32_t* columns, int n, const SpanShading& s);

// Spans narrower than a group of eight: rows are packed together. Rows must
// not overlap (a stride of at least n) and must not have runs.
void ShadeNarrowRowsAvx2(const SpanRows& r, const std::int32_t* columns, int n,
                         const SpanShading& s);

void ShadeTurnedRowsAvx2(Surface& target, const TurnedTexture& texture, const TurnedRow* rows,
                         int count, const SpanShading& s);

}  // namespace vdx
