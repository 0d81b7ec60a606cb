#include "graphics/sprite_quad.h"

#include <algorithm>
#include <cmath>

namespace vdx {
namespace {

std::uint32_t Byte(float v) {
  // Nearest, halves up (all values here are positive), worked out in double so
  // that adding the half is exact.
  const double scaled = static_cast<double>(std::clamp(v, 0.0f, 1.0f) * 255.0f);
  return static_cast<std::uint32_t>(scaled + 0.5);
}

// A texture coordinate edge / extent; a piece whose far edge is texel 0 would
// divide by zero, and then the coordinate keeps its value (0).
float Coordinate(std::int32_t numerator, std::int32_t denominator) {
  if (denominator == 0) return 0.0f;
  return static_cast<float>(static_cast<double>(numerator) / denominator);
}

void Build(SpriteQuad& quad, const SpriteRect& s, const SpriteRect& d, float red, float green,
           float blue, float alpha, float angle, bool mirrored) {
  const std::uint32_t diffuse = DiffuseColour(red, green, blue, alpha);
  const float uLeft = Coordinate(s.left, s.right);
  const float uRight = Coordinate(s.right + 1, s.right);
  const float vTop = Coordinate(s.top, s.bottom);
  const float vBottom = Coordinate(s.bottom + 1, s.bottom);
  const float left = static_cast<float>(mirrored ? d.right : d.left);
  const float right = static_cast<float>(mirrored ? d.left : d.right);
  const float top = static_cast<float>(d.top), bottom = static_cast<float>(d.bottom);
  const float corners[4][2] = {{left, bottom}, {left, top}, {right, bottom}, {right, top}};
  const float us[4] = {uLeft, uLeft, uRight, uRight};
  const float vs[4] = {vBottom, vTop, vBottom, vTop};

  // The centre of rotation is the middle of the drawn rectangle, one pixel up
  // and left of the exact middle for even sizes.
  const float cx = static_cast<float>(d.left + static_cast<double>(d.right - d.left - 1) / 2.0);
  const float cy = static_cast<float>(d.top + static_cast<double>(d.bottom - d.top - 1) / 2.0);
  // The same sine and cosine serve every corner (they are the same numbers
  // however often they are worked out).
  const double sine = angle == 0.0f ? 0.0 : std::sin(static_cast<double>(angle));
  const double cosine = angle == 0.0f ? 1.0 : std::cos(static_cast<double>(angle));
  for (int i = 0; i < 4; ++i) {
    SpriteVertex& v = quad[i];
    v.z = 0.0f;
    v.rhw = 1.0f;
    v.diffuse = diffuse;
    v.specular = 0;
    v.u = us[i];
    v.v = vs[i];
    const double x = corners[i][0], y = corners[i][1];
    if (angle == 0.0f) {
      v.x = static_cast<float>(x);
      v.y = static_cast<float>(y);
    } else {
      // 0 is the special case of no turn; otherwise the picture turns by
      // angle - pi/2 clockwise on screen.
      v.x = static_cast<float>(cx + (x - cx) * sine + (y - cy) * cosine);
      v.y = static_cast<float>(cy + (y - cy) * sine - (x - cx) * cosine);
    }
  }
}

}  // namespace

std::uint32_t DiffuseColour(float red, float green, float blue, float alpha) {
  return (Byte(alpha) << 24) | (Byte(red) << 16) | (Byte(green) << 8) | Byte(blue);
}

void BuildSpriteQuad(SpriteQuad& quad, const Surface& surface, const SpriteRect& s,
                     const SpriteRect& d, float red, float green, float blue, float alpha,
                     float angle) {
  (void)surface;  // the coordinates map the whole surface, which is the piece's size
  Build(quad, s, d, red, green, blue, alpha, angle, false);
}

void BuildMirroredSpriteQuad(SpriteQuad& quad, const Surface& surface, const SpriteRect& s,
                             const SpriteRect& d, float red, float green, float blue, float alpha,
                             float angle) {
  (void)surface;
  Build(quad, s, d, red, green, blue, alpha, angle, true);
}

}  // namespace vdx
