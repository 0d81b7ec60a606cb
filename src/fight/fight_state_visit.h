// The one description of the fight's state: VisitFields calls the visitor
// with the name and the value of every field of a state record, in order,
// and Visit walks a value whole: a number, a text, an array or a record. The
// state hash, the state dump and the test that holds the state and this list
// together all go through it, so a field cannot be left out of the hash
// without the test seeing it.
#pragma once

#include <array>
#include <type_traits>

#include "fight/fight_state.h"

namespace vdx {

template <typename S, typename T>
concept StateRecord = std::is_same_v<std::remove_const_t<S>, T>;

template <typename T>
struct IsPerPlayer : std::false_type {};
template <typename T>
struct IsPerPlayer<PerPlayer<T>> : std::true_type {};

template <typename V, typename S>
  requires IsPerPlayer<std::remove_const_t<S>>::value
void VisitFields(V& v, S& p) {
  v("players", p.players);
}

template <typename V, typename S>
  requires StateRecord<S, Rect>
void VisitFields(V& v, S& r) {
  v("Left", r.Left);
  v("Top", r.Top);
  v("Right", r.Right);
  v("Bottom", r.Bottom);
}

template <typename V, typename S>
  requires StateRecord<S, TrailImage>
void VisitFields(V& v, S& t) {
  v("frame", t.frame);
  v("x", t.x);
  v("y", t.y);
  v("width", t.width);
  v("facing", t.facing);
}

template <typename V, typename S>
  requires StateRecord<S, KeyEntry>
void VisitFields(V& v, S& e) {
  v("key", e.key);
  v("time", e.time);
}

template <typename V, typename S>
  requires StateRecord<S, KeyHistory>
void VisitFields(V& v, S& h) {
  v("entries", h.entries);
  v("count", h.count);
  v("lastCommand", h.lastCommand);
  v("KeySequence", h.KeySequence);
}

template <typename V, typename S>
  requires StateRecord<S, FighterPose>
void VisitFields(V& v, S& p) {
  v("drawn", p.drawn);
  v("held", p.held);
  v("frame", p.frame);
  v("rect", p.rect);
  v("facing", p.facing);
  v("trail", p.trail);
  v("trailImages", p.trailImages);
}

template <typename V, typename S>
  requires StateRecord<S, MetersPose>
void VisitFields(V& v, S& m) {
  v("drawn", m.drawn);
  v("health", m.health);
  v("comboCount", m.comboCount);
  v("roundWins", m.roundWins);
  v("finisher", m.finisher);
}

template <typename V, typename S>
  requires StateRecord<S, BallPose>
void VisitFields(V& v, S& b) {
  v("drawn", b.drawn);
  v("rect", b.rect);
  v("power", b.power);
}

template <typename V, typename S>
  requires StateRecord<S, TurnPose>
void VisitFields(V& v, S& t) {
  v("fighter", t.fighter);
  v("meters", t.meters);
  v("ball", t.ball);
  v("pauseMenu", t.pauseMenu);
  v("pauseItem", t.pauseItem);
  v("bubbles", t.bubbles);
}

template <typename V, typename S>
  requires StateRecord<S, ScenePose>
void VisitFields(V& v, S& s) {
  v("fight", s.fight);
  v("order", s.order);
  v("turns", s.turns);
  v("sparks", s.sparks);
  v("background", s.background);
  v("backgroundCamera", s.backgroundCamera);
  v("nextBackground", s.nextBackground);
  v("nextBackgroundCamera", s.nextBackgroundCamera);
  v("endMeters", s.endMeters);
  v("endPauseMenu", s.endPauseMenu);
  v("endPauseItem", s.endPauseItem);
}

template <typename V, typename S>
  requires StateRecord<S, FighterState>
void VisitFields(V& v, S& f) {
  v("ActionName", f.ActionName);
  v("MoveState", f.MoveState);
  v("previousAction", f.previousAction);
  v("CurrentFrame", f.CurrentFrame);
  v("frameCounter", f.frameCounter);
  v("AnimDue", f.AnimDue);
  v("PlayerX", f.PlayerX);
  v("PlayerY", f.PlayerY);
  v("Facing", f.Facing);
  v("Health", f.Health);
  v("holdCounter", f.holdCounter);
  v("turnedBack", f.turnedBack);
  v("specialMatched", f.specialMatched);
  v("HitFlag", f.HitFlag);
  v("blockMarker", f.blockMarker);
  v("DamageMultiplier", f.DamageMultiplier);
  v("FighterRect", f.FighterRect);
  v("ignoredLetters", f.ignoredLetters);
  v("ComboCount", f.ComboCount);
  v("ComboDeadline", f.ComboDeadline);
  v("attackBlocked", f.attackBlocked);
  v("grabCaught", f.grabCaught);
  v("PowerMode", f.PowerMode);
  v("PowerModeEnds", f.PowerModeEnds);
  v("trail", f.trail);
  v("trailRefreshed", f.trailRefreshed);
  v("HeldCommand", f.HeldCommand);
  v("history", f.history);
}

template <typename V, typename S>
  requires StateRecord<S, Flash>
void VisitFields(V& v, S& f) {
  v("x", f.x);
  v("y", f.y);
  v("start", f.start);
  v("duration", f.duration);
  v("angle", f.angle);
  v("lastTurn", f.lastTurn);
}

template <typename V, typename S>
  requires StateRecord<S, PickUp>
void VisitFields(V& v, S& p) {
  v("PowerUpKind", p.PowerUpKind);
  v("falling", p.falling);
  v("x", p.x);
  v("y", p.y);
  v("lifeEnds", p.lifeEnds);
  v("nextFall", p.nextFall);
}

template <typename V, typename S>
  requires StateRecord<S, PauseMenu>
void VisitFields(V& v, S& m) {
  v("selected", m.selected);
  v("chosen", m.chosen);
  v("polled", m.polled);
  v("lastPoll", m.lastPoll);
}

template <typename V, typename S>
  requires StateRecord<S, ComputerState>
void VisitFields(V& v, S& c) {
  v("plays", c.plays);
  v("decisionDelay", c.decisionDelay);
  v("lastDecision", c.lastDecision);
  v("state", c.state);
  v("lastSeenAction", c.lastSeenAction);
  v("wantsCloseAttack", c.wantsCloseAttack);
  v("wantsFarAttack", c.wantsFarAttack);
  v("backOffMark", c.backOffMark);
}

template <typename V, typename S>
  requires StateRecord<S, RoundEndState>
void VisitFields(V& v, S& r) {
  v("active", r.active);
  v("matchOver", r.matchOver);
  v("began", r.began);
  v("firstFrame", r.firstFrame);
}

template <typename V, typename S>
  requires StateRecord<S, EffectPose>
void VisitFields(V& v, S& p) {
  v("drawn", p.drawn);
  v("bFlip", p.bFlip);
  v("X", p.X);
  v("Y", p.Y);
  v("Width", p.Width);
  v("Height", p.Height);
  v("CurFrame", p.CurFrame);
  v("Alpha", p.Alpha);
  v("Angle", p.Angle);
}

template <typename V, typename S>
  requires StateRecord<S, EffectRun>
void VisitFields(V& v, S& r) {
  v("bActive", r.bActive);
  v("bFlip", r.bFlip);
  v("HasHit", r.HasHit);
  v("bFirst", r.bFirst);
  v("X", r.X);
  v("Y", r.Y);
  v("Width", r.Width);
  v("Height", r.Height);
  v("CurFrame", r.CurFrame);
  v("Duration", r.Duration);
  v("LastTickCount", r.LastTickCount);
  v("LastAngleTick", r.LastAngleTick);
  v("LastAlphaTick", r.LastAlphaTick);
  v("LastScaleTick", r.LastScaleTick);
  v("DelayCount", r.DelayCount);
  v("Alpha", r.Alpha);
  v("AlphaChange", r.AlphaChange);
  v("Angle", r.Angle);
  v("AngleChange", r.AngleChange);
  v("shown", r.shown);
}

template <typename V, typename S>
  requires StateRecord<S, AnimRun>
void VisitFields(V& v, S& r) {
  v("bFirst", r.bFirst);
  v("X", r.X);
  v("Y", r.Y);
  v("CurFrame", r.CurFrame);
  v("LastTickCount", r.LastTickCount);
  v("LastAngleTick", r.LastAngleTick);
  v("LastAlphaTick", r.LastAlphaTick);
  v("Alpha", r.Alpha);
  v("AlphaChange", r.AlphaChange);
  v("Angle", r.Angle);
  v("AngleChange", r.AngleChange);
  v("next", r.next);
  v("shown", r.shown);
}

template <typename V, typename S>
  requires StateRecord<S, EffectRuns>
void VisitFields(V& v, S& r) {
  v("runs", r.runs);
  v("count", r.count);
}

template <typename V, typename S>
  requires StateRecord<S, SceneryRuns>
void VisitFields(V& v, S& r) {
  v("runs", r.runs);
  v("count", r.count);
}

template <typename V, typename S>
  requires StateRecord<S, Particle>
void VisitFields(V& v, S& p) {
  v("x", p.x);
  v("y", p.y);
  v("vx", p.vx);
  v("vy", p.vy);
  v("fade", p.fade);
  v("alpha", p.alpha);
  v("colour", p.colour);
  v("r", p.r);
  v("g", p.g);
  v("b", p.b);
  v("dr", p.dr);
  v("dg", p.dg);
  v("db", p.db);
  v("endR", p.endR);
  v("endG", p.endG);
  v("endB", p.endB);
  v("life", p.life);
  v("dead", p.dead);
  v("direction", p.direction);
  v("width", p.width);
  v("height", p.height);
}

template <typename V, typename S>
  requires StateRecord<S, cParticle>
void VisitFields(V& v, S& e) {
  v("Gravity", e.Gravity);
  v("Wind", e.Wind);
  v("nParticles", e.nParticles);
  v("YVariation", e.YVariation);
  v("XVariation", e.XVariation);
  v("LifeTime", e.LifeTime);
  v("Active", e.Active);
  v("RotChange", e.RotChange);
  v("UpOnly", e.UpOnly);
  v("BlendMode", e.BlendMode);
  v("ScaleChange", e.ScaleChange);
  v("angle", e.angle);
  v("scale", e.scale);
  v("count", e.count);
  v("particles", e.particles);
  v("advancePending", e.advancePending);
}

template <typename V, typename S>
  requires StateRecord<S, RainDrop>
void VisitFields(V& v, S& d) {
  v("state", d.state);
  v("x", d.x);
  v("y", d.y);
  v("length", d.length);
  v("speed", d.speed);
  v("ground", d.ground);
  v("splash", d.splash);
}

template <typename V, typename S>
  requires StateRecord<S, clsRain>
void VisitFields(V& v, S& r) {
  v("CTick", r.CTick);
  v("Wind", r.Wind);
  v("nRainDrops", r.nRainDropsRef());
  v("drops", r.dropsRef());
}

template <typename V, typename S>
  requires StateRecord<S, SnowFlake>
void VisitFields(V& v, S& f) {
  v("x", f.x);
  v("y", f.y);
  v("fall", f.fall);
  v("phase", f.phase);
  v("kind", f.kind);
}

template <typename V, typename S>
  requires StateRecord<S, Snow>
void VisitFields(V& v, S& s) {
  v("flakes", s.flakes);
  v("width", s.width);
}

template <typename V, typename S>
  requires StateRecord<S, RandomGenerator>
void VisitFields(V& v, S& r) {
  v("state", r.stateRef());
}

template <typename V, typename S>
  requires StateRecord<S, FightState>
void VisitFields(V& v, S& s) {
  v("frameNumber", s.frameNumber);
  v("random", s.random);
  v("fighters", s.fighters);
  v("RoundWins", s.RoundWins);
  v("round", s.round);
  v("RoundLoser", s.RoundLoser);
  v("FightStarted", s.FightStarted);
  v("PauseRequested", s.PauseRequested);
  v("pauseCommand", s.pauseCommand);
  v("pauseMenu", s.pauseMenu);
  v("leaveMatch", s.leaveMatch);
  v("leaveGame", s.leaveGame);
  v("CameraX", s.CameraX);
  v("stageWidth", s.stageWidth);
  v("firstPlayer", s.firstPlayer);
  v("pickUp", s.pickUp);
  v("flashes", s.flashes);
  v("flashCount", s.flashCount);
  v("sparks", s.sparks);
  v("bubbles", s.bubbles);
  v("effects", s.effects);
  v("scenery", s.scenery);
  v("raining", s.raining);
  v("snowing", s.snowing);
  v("rain", s.rain);
  v("snow", s.snow);
  v("roundBegins", s.roundBegins);
  v("bannerScale", s.bannerScale);
  v("bannerStep", s.bannerStep);
  v("roundEnd", s.roundEnd);
  v("computer", s.computer);
  v("scene", s.scene);
}

template <typename T>
struct IsStdArray : std::false_type {};
template <typename T, std::size_t N>
struct IsStdArray<std::array<T, N>> : std::true_type {};

template <typename T>
struct IsSmallText : std::false_type {};
template <std::size_t N>
struct IsSmallText<SmallText<N>> : std::true_type {};

// The kinds of values a visitor meets at the leaves.
template <typename T>
concept StateLeaf = std::is_arithmetic_v<T> || std::is_enum_v<T> || IsSmallText<T>::value;

}  // namespace vdx
