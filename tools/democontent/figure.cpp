#include "figure.h"

#include <algorithm>
#include <cmath>

namespace democontent {
namespace {

constexpr double kPi = 3.14159265358979323846;

Vec Direction(double degrees) {
  const double r = degrees * kPi / 180.0;
  return {std::sin(r), std::cos(r)};
}

Vec Rotate(Vec p, Vec centre, double degrees) {
  const double r = degrees * kPi / 180.0;
  const Vec d = p - centre;
  return {centre.x + d.x * std::cos(r) - d.y * std::sin(r),
          centre.y + d.x * std::sin(r) + d.y * std::cos(r)};
}

struct Joints {
  Vec hip, chest, neck, headC;
  Vec fKnee, fAnkle, fToe, bKnee, bAnkle, bToe;
  Vec fShoulder, fElbow, fHand, bShoulder, bElbow, bHand;
};

Joints Solve(const Build& b, const Pose& p, Vec hip) {
  Joints j;
  j.hip = hip;
  const double lean = p.torso * kPi / 180.0;
  const Vec spine = {std::sin(lean), -std::cos(lean)};
  j.chest = hip + spine * b.torso;
  j.neck = j.chest + spine * b.neck;
  const double headLean = (p.torso + p.head) * kPi / 180.0;
  j.headC = j.neck + Vec{std::sin(headLean), -std::cos(headLean)} * (b.head * 0.95);
  j.fKnee = hip + Direction(p.frontThigh) * b.thigh;
  j.fAnkle = j.fKnee + Direction(p.frontShin) * b.shin;
  j.fToe = j.fAnkle + Direction(p.frontFoot) * b.foot;
  const Vec backHip = hip + Vec{-3, 0};
  j.bKnee = backHip + Direction(p.backThigh) * b.thigh;
  j.bAnkle = j.bKnee + Direction(p.backShin) * b.shin;
  j.bToe = j.bAnkle + Direction(p.backFoot) * b.foot;
  j.fShoulder = j.chest + Vec{2, 2};
  j.bShoulder = j.chest + Vec{-4, 0};
  j.fElbow = j.fShoulder + Direction(p.frontUpper) * b.upperArm;
  j.fHand = j.fElbow + Direction(p.frontFore) * b.forearm;
  j.bElbow = j.bShoulder + Direction(p.backUpper) * b.upperArm;
  j.bHand = j.bElbow + Direction(p.backFore) * b.forearm;
  return j;
}

void Spin(Joints& j, double degrees) {
  if (degrees == 0) return;
  const Vec c = j.hip + (j.chest - j.hip) * 0.3;
  for (Vec* v :
       {&j.hip, &j.chest, &j.neck, &j.headC, &j.fKnee, &j.fAnkle, &j.fToe, &j.bKnee, &j.bAnkle,
        &j.bToe, &j.fShoulder, &j.fElbow, &j.fHand, &j.bShoulder, &j.bElbow, &j.bHand})
    *v = Rotate(*v, c, degrees);
}

double LowestPoint(const Joints& j, const Build& b) {
  double y = -1e9;
  for (Vec v : {j.fAnkle, j.fToe, j.bAnkle, j.bToe, j.headC, j.fHand, j.bHand, j.fKnee, j.bKnee,
                j.hip, j.chest})
    y = std::max(y, v.y);
  return y + b.shinR * 0.6;
}

void DrawLeg(Image& img, const Build& b, const Outfit& o, Vec hip, Vec knee, Vec ankle, Vec toe,
             double dim, Paint paint) {
  Capsule(img, hip, knee, b.thighR, b.thighR * 0.85, Scale(o.pants, dim), 1.6, paint);
  Capsule(img, knee, ankle, b.thighR * 0.85, b.shinR, Scale(o.pants, dim), 1.6, paint);
  // Boot: from the ankle over the foot.
  Capsule(img, ankle + (knee - ankle) * 0.22, ankle, b.shinR * 1.05, b.shinR * 1.1,
          Scale(o.boots, dim), 1.6, paint);
  Capsule(img, ankle, toe, b.shinR * 1.05, b.shinR * 0.7, Scale(o.boots, dim), 1.6, paint);
}

void DrawArm(Image& img, const Build& b, const Outfit& o, Vec shoulder, Vec elbow, Vec hand,
             double dim, Paint paint) {
  const Rgb upper = o.sleeves ? o.top : o.skin;
  const Rgb lower = o.longSleeves ? o.top : o.skin;
  Capsule(img, shoulder, elbow, b.upperArmR, b.forearmR * 1.05, Scale(upper, dim), 1.6, paint);
  Capsule(img, elbow, hand, b.forearmR * 1.05, b.forearmR * 0.9, Scale(lower, dim), 1.6, paint);
  // Wraps at the wrist, then the fist.
  Capsule(img, elbow + (hand - elbow) * 0.7, hand, b.forearmR, b.forearmR,
          Scale(o.gloves, dim * 0.92), 1.6, paint);
  Ball(img, hand, b.fist, Scale(o.gloves, dim), 1.6, paint);
}

void DrawHead(Image& img, const Build& b, const Outfit& o, const Joints& j, double tilt,
              Paint paint) {
  const Vec c = j.headC;
  const double r = b.head;
  const Vec fwd = Direction(90 + tilt);  // towards the face
  Capsule(img, j.chest, j.neck + (c - j.neck) * 0.3, b.head * 0.42, b.head * 0.4, o.skin, 1.2,
          paint);
  switch (o.hair_style) {
    case Hair::Ponytail: {
      const Vec tie = c + fwd * (-r * 0.95) + Vec{0, -r * 0.3};
      Capsule(img, tie, tie + Vec{-r * 0.9, r * 1.3}, r * 0.32, r * 0.18, o.hair, 1.6, paint);
      break;
    }
    case Hair::Hood:
      Capsule(img, c + fwd * (-r * 0.6), c + fwd * (-r * 1.6) + Vec{0, r * 0.8}, r * 0.7, r * 0.3,
              o.hair, 1.6, paint);
      break;
    default:
      break;
  }
  Ball(img, c, r, o.skin, 1.6, paint);
  if (paint == Paint::OutlineOnly) return;
  // Hair cap: the top and back of the head.
  auto cap = [&](Rgb colour, double from, double to, double thickness) {
    std::vector<Vec> pts;
    for (int i = 0; i <= 16; ++i) {
      const double a = (from + (to - from) * i / 16.0 + tilt) * kPi / 180.0;
      pts.push_back(c + Vec{std::sin(a), -std::cos(a)} * (r + 1.2));
    }
    for (int i = 16; i >= 0; --i) {
      const double a = (from + (to - from) * i / 16.0 + tilt) * kPi / 180.0;
      pts.push_back(c + Vec{std::sin(a), -std::cos(a)} * (r - thickness));
    }
    FillPolygon(img, pts, colour);
  };
  switch (o.hair_style) {
    case Hair::Ponytail:
      cap(Shade(o.hair, 0.55), -120, 70, r * 0.55);
      FillCircle(img, c + fwd * (-r * 0.35) + Vec{0, -r * 0.2}, r * 0.55, Shade(o.hair, 0.45));
      // Headband.
      cap(o.accent, -100, 80, r * 0.12);
      break;
    case Hair::Topknot:
      cap(Shade(o.hair, 0.5), -115, 60, r * 0.4);
      Ball(img, c + Vec{-r * 0.2, -r * 1.15}, r * 0.38, o.hair, 1.2);
      break;
    case Hair::BaldBeard: {
      // Beard along the jaw.
      std::vector<Vec> beard = {
          c + fwd * (r * 0.1) + Vec{0, r * 0.1}, c + fwd * (r * 0.95) + Vec{0, r * 0.35},
          c + fwd * (r * 0.7) + Vec{0, r * 1.05}, c + fwd * (-r * 0.1) + Vec{0, r * 0.9}};
      FillPolygon(img, beard, Shade(o.hair, 0.4));
      cap(Shade(o.hair, 0.35), -100, -30, r * 0.2);  // a little hair at the back
      break;
    }
    case Hair::Hood: {
      cap(Shade(o.hair, 0.5), -140, 95, r * 0.5);
      // Mask over the lower face.
      std::vector<Vec> mask = {
          c + fwd * (-r * 0.2) + Vec{0, r * 0.05}, c + fwd * (r * 1.02) + Vec{0, r * 0.05},
          c + fwd * (r * 0.8) + Vec{0, r * 0.85}, c + fwd * (-r * 0.3) + Vec{0, r * 0.95}};
      FillPolygon(img, mask, Shade(o.accent, 0.45));
      break;
    }
  }
  // Eye and brow, looking forward.
  const Vec eye = c + fwd * (r * 0.55) + Vec{0, -r * 0.08};
  FillEllipse(img, eye, r * 0.16, r * 0.12, Rgb{240, 240, 235});
  FillCircle(img, eye + fwd * (r * 0.06), r * 0.08, o.eyes);
  Capsule(img, eye + Vec{-r * 0.18, -r * 0.22}, eye + Vec{r * 0.16, -r * 0.26}, 0.8, 0.8,
          Shade(o.hair_style == Hair::BaldBeard ? o.hair : o.hair, 0.3), 0.5);
}

void DrawTorso(Image& img, const Build& b, const Outfit& o, const Joints& j, Paint paint) {
  // Pelvis in the trousers, the torso in the top, a belt between.
  Ball(img, j.hip, b.waist * 1.05, o.pants, 1.6, paint);
  Capsule(img, j.hip + (j.chest - j.hip) * 0.15, j.chest, b.waist, b.chest, o.top, 1.6, paint);
  Capsule(img, j.hip + (j.chest - j.hip) * 0.12, j.hip + (j.chest - j.hip) * 0.22, b.waist * 1.08,
          b.waist * 1.1, o.accent, 1.2, paint);
  if (o.shoulderPads) Ball(img, j.bShoulder + Vec{0, -2}, b.upperArmR * 1.25, o.accent, 1.6, paint);
  if (o.scarf) {
    const Vec n = j.neck;
    const double w = b.head * 0.3;
    Capsule(img, n + Vec{-2, 2}, n + Vec{-b.head * 1.8, b.head * 0.6}, w, w * 0.55, o.accent, 1.2,
            paint);
    Capsule(img, n + Vec{-b.head * 1.8, b.head * 0.6}, n + Vec{-b.head * 2.9, b.head * 0.2},
            w * 0.55, w * 0.4, o.accent, 1.2, paint);
    Capsule(img, n + Vec{-3, 0}, n + Vec{5, 2}, w * 1.1, w * 1.1, o.accent, 1.2, paint);
  }
}

Build Scaled(Build b, double s) {
  for (double* v :
       {&b.torso, &b.thigh, &b.shin, &b.upperArm, &b.forearm, &b.neck, &b.head, &b.chest, &b.waist,
        &b.thighR, &b.shinR, &b.upperArmR, &b.forearmR, &b.fist, &b.foot})
    *v *= s;
  return b;
}

// Every figure is drawn this much larger than its build's numbers.
constexpr double kFigureScale = 1.22;

}  // namespace

Pose Lerp(const Pose& a, const Pose& b, double t) {
  auto l = [t](double x, double y) { return x + (y - x) * t; };
  Pose p;
  p.hipX = l(a.hipX, b.hipX);
  p.lift = l(a.lift, b.lift);
  p.grounded = t < 0.5 ? a.grounded : b.grounded;
  p.torso = l(a.torso, b.torso);
  p.head = l(a.head, b.head);
  p.frontThigh = l(a.frontThigh, b.frontThigh);
  p.frontShin = l(a.frontShin, b.frontShin);
  p.frontFoot = l(a.frontFoot, b.frontFoot);
  p.backThigh = l(a.backThigh, b.backThigh);
  p.backShin = l(a.backShin, b.backShin);
  p.backFoot = l(a.backFoot, b.backFoot);
  p.frontUpper = l(a.frontUpper, b.frontUpper);
  p.frontFore = l(a.frontFore, b.frontFore);
  p.backUpper = l(a.backUpper, b.backUpper);
  p.backFore = l(a.backFore, b.backFore);
  p.spin = l(a.spin, b.spin);
  return p;
}

void DrawFighter(Image& img, const Fighter& f, const Pose& pose, double offsetX, double offsetY) {
  const Build b = Scaled(f.build, kFigureScale);
  const Outfit& o = f.outfit;
  // Standing puts the hips where straight-ish legs reach the ground.
  Joints j = Solve(b, pose, {pose.hipX, 0});
  Spin(j, pose.spin);
  double shift = 0;
  if (pose.grounded) {
    shift = kGroundY - LowestPoint(j, b) - pose.lift;
  } else {
    const Joints stand = Solve(b, Pose{}, {pose.hipX, 0});
    shift = kGroundY - LowestPoint(stand, b) - pose.lift;
  }
  j = Solve(b, pose, {pose.hipX + offsetX, shift + offsetY});
  Spin(j, pose.spin);

  // Back to front, in three layers, each outlined on its own: the far limbs (in
  // shadow), the body with the near leg and the head, the near arm.
  constexpr double kFar = 0.72;
  for (Paint pass : {Paint::OutlineOnly, Paint::FillOnly}) {
    DrawArm(img, b, o, j.bShoulder, j.bElbow, j.bHand, kFar, pass);
    DrawLeg(img, b, o, j.hip + Vec{-3, 0}, j.bKnee, j.bAnkle, j.bToe, kFar, pass);
  }
  for (Paint pass : {Paint::OutlineOnly, Paint::FillOnly}) {
    DrawTorso(img, b, o, j, pass);
    DrawLeg(img, b, o, j.hip, j.fKnee, j.fAnkle, j.fToe, 1.0, pass);
    DrawHead(img, b, o, j, pose.torso + pose.head + pose.spin, pass);
  }
  for (Paint pass : {Paint::OutlineOnly, Paint::FillOnly})
    DrawArm(img, b, o, j.fShoulder, j.fElbow, j.fHand, 1.0, pass);
}

void KeepOffKeyColour(Image& img) {
  for (Rgb& c : img.pixels) {
    if (c == Rgb{}) continue;
    if (c.r < 8 && c.g < 4 && c.b < 8) c = Rgb{9, 6, 10};
  }
}

}  // namespace democontent
