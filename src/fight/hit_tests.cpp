#include "fight/hit_tests.h"

#include <algorithm>

#include "fight/action_names.h"

namespace vdx {
namespace {

bool HasArea(const Rect& r) {
  return r.Left < r.Right && r.Top < r.Bottom;
}

// Whether the picture holds a drawn pixel at (x, y) of its own coordinates.
bool Drawn(const Surface& picture, std::uint32_t transparent, Long x, Long y, bool mirrored) {
  if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return false;
  if (mirrored) x = picture.width - 1 - x;
  return picture.at(static_cast<int>(x), static_cast<int>(y)) != transparent;
}

std::uint32_t TransparentOf(const Surface& picture) {
  return picture.width > 1 && picture.height > 1 ? picture.at(1, 1) : 0;
}

}  // namespace

Rect PlaceBox(const cCol& box, const FrameOnScreen& frame) {
  Rect r;
  if (frame.mirrored) {
    r.Left = frame.rect.Left + (frame.mirrorWidth - box.xRight);
    r.Right = frame.rect.Left + (frame.mirrorWidth - box.xLeft);
  } else {
    r.Left = frame.rect.Left + box.xLeft;
    r.Right = frame.rect.Left + box.xRight;
  }
  r.Top = frame.rect.Top + box.yTop;
  r.Bottom = frame.rect.Top + box.yBottom;
  return r;
}

FrameOnScreen PlaceFighter(const FighterState& fighter, const FighterSlot& slot) {
  FrameOnScreen out;
  const cAction* action = CurrentAction(slot.character, fighter);
  const bool wide = action != nullptr && (action->AnimationType == "Grab" || action->bLarge);
  const int width = wide ? kWideFrame : 256;
  const Long x = fighter.PlayerX - (wide ? kWideShift : 0);
  const Long y = fighter.PlayerY + (action != nullptr ? action->yOffset : 0);
  out.rect = Rect{x, y, x + width, y + 256};
  out.mirrored = fighter.Facing;
  // Boxes are mirrored about the last column of a normal frame unless the
  // action is marked large, as the boxes were measured (a throw not marked
  // large keeps 255).
  out.mirrorWidth = action != nullptr && action->bLarge ? 363 : 255;
  const auto index = static_cast<std::size_t>(fighter.CurrentFrame - 1);
  if (fighter.CurrentFrame >= 1 && index < slot.frames.frames.size()) {
    out.picture = slot.frames.frames[index].get();
    if (index < slot.frames.boxes.size() && slot.frames.boxes[index])
      out.boxes = slot.frames.boxes[index].get();
  }
  return out;
}

std::optional<Rect> Intersect(const Rect& a, const Rect& b) {
  const Rect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
               std::min(a.Bottom, b.Bottom)};
  if (!HasArea(r)) return std::nullopt;
  return r;
}

std::optional<Rect> TestBoxCollision(const FrameOnScreen& one, const FrameOnScreen& two) {
  if (!Intersect(one.rect, two.rect) || one.boxes == nullptr || two.boxes == nullptr)
    return std::nullopt;
  for (const cCol& a : *one.boxes) {
    const Rect ra = PlaceBox(a, one);
    if (!HasArea(ra)) continue;
    for (const cCol& b : *two.boxes) {
      const Rect rb = PlaceBox(b, two);
      if (!HasArea(rb)) continue;
      if (auto hit = Intersect(ra, rb)) return hit;
    }
  }
  return std::nullopt;
}

bool TestPixelCollision(const PixelSide& a, const PixelSide& b) {
  if (a.picture == nullptr || b.picture == nullptr) return false;
  const auto overlap = Intersect(a.rect, b.rect);
  if (!overlap) return false;
  const std::uint32_t clearA = TransparentOf(*a.picture);
  const std::uint32_t clearB = TransparentOf(*b.picture);
  const Long ax = overlap->Left - a.rect.Left + a.offsetX;
  const Long ay = overlap->Top - a.rect.Top + a.offsetY;
  const Long bx = overlap->Left - b.rect.Left + b.offsetX;
  const Long by = overlap->Top - b.rect.Top + b.offsetY;
  const Long width = overlap->Right - overlap->Left;
  const Long height = overlap->Bottom - overlap->Top;
  for (Long y = 0; y <= height - 2; y += 4)
    for (Long x = 0; x <= width - 2; x += 2)
      if (Drawn(*a.picture, clearA, ax + x, ay + y, a.mirrored) &&
          Drawn(*b.picture, clearB, bx + x, by + y, b.mirrored))
        return true;
  return false;
}

}  // namespace vdx
