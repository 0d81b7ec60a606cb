#include "audio/movie_player.h"

#include <algorithm>
#include <cmath>

#include "core/ticks.h"

namespace vdx {

void clsDShowControl::DS_Remove() {
  stopSoundTrack();
  if (sound_) platform_.freeSound(*sound_);
  sound_.reset();
  movie_.reset();
  running_ = false;
  frameTime_ = -1;
  frame_ = platform::Image{};
}

bool clsDShowControl::DS_OpenFile(const std::string& Filename, int rectTop, int rectLeft,
                                  int rectWidth, int rectHeight) {
  DS_Remove();
  rectTop_ = rectTop;
  rectLeft_ = rectLeft;
  rectWidth_ = rectWidth;
  rectHeight_ = rectHeight;
  movie_ = platform_.openMovie(Filename);
  startPosition_ = 0;
  decodedToEnd_ = false;
  shownTime_ = -2;
  if (!movie_) return false;
  const std::vector<std::uint8_t> track = movie_->soundTrack();
  if (!track.empty()) sound_ = platform_.loadSound(track);
  return true;
}

// The sound track runs from the start whenever the picture starts from the
// start; a jump elsewhere leaves it silent until then.
void clsDShowControl::startSound() {
  if (sound_ && startPosition_ == 0)
    platform_.playSound(*sound_, std::pow(10.0, std::min(volume_, 0) / 2000.0), false);
}

void clsDShowControl::stopSoundTrack() {
  if (sound_) platform_.stopSound(*sound_);
}

double clsDShowControl::DS_GetDuration() const {
  return movie_ ? movie_->duration() : 0.0;
}

double clsDShowControl::DS_GetPosition() {
  if (!running_) return startPosition_;
  const double elapsed = TicksBetween(startTick_, platform_.ticks()) / 1000.0;
  return std::min(startPosition_ + elapsed * rate_, DS_GetDuration());
}

void clsDShowControl::DS_SetPosition(double newPosition) {
  const double position = std::clamp(newPosition, 0.0, DS_GetDuration());
  if (movie_ && position < frameTime_) {
    movie_->rewind();  // going back: decode again from the start
    frameTime_ = -1;
    decodedToEnd_ = false;
  }
  startPosition_ = position;
  startTick_ = platform_.ticks();
}

void clsDShowControl::DS_Play() {
  if (!movie_) return;
  if (DS_GetPosition() >= DS_GetDuration()) DS_SetPosition(0);
  startPosition_ = DS_GetPosition();
  startTick_ = platform_.ticks();
  running_ = true;
  startSound();
}

void clsDShowControl::DS_Pause() {
  startPosition_ = DS_GetPosition();
  running_ = false;
  stopSoundTrack();
}

void clsDShowControl::DS_Stop() {
  DS_Pause();
  DS_SetPosition(0);
}

void clsDShowControl::DS_Seek(double Amount) {
  DS_SetPosition(DS_GetPosition() + Amount);
}

void clsDShowControl::DS_SetRate(double newRate) {
  if (!(newRate > 0)) return;
  startPosition_ = DS_GetPosition();
  startTick_ = platform_.ticks();
  rate_ = newRate;
}

bool clsDShowControl::DS_StillPlaying(std::int32_t msTimeout) {
  (void)msTimeout;
  return movie_ && DS_GetPosition() < DS_GetDuration();
}

bool clsDShowControl::DS_Render(Surface& target) {
  if (!movie_) return false;
  const double position = DS_GetPosition();
  // Decode up to the frame whose time has come.
  platform::Image next;
  double time = 0;
  while (!decodedToEnd_ &&
         (frameTime_ < 0 || frameTime_ + 1.0 / movie_->frameRate() <= position + 1e-9)) {
    if (!movie_->nextFrame(next, time)) {
      decodedToEnd_ = true;
      break;
    }
    frame_ = std::move(next);
    frameTime_ = time;
  }
  if (frame_.width <= 0 || frame_.height <= 0 || frameTime_ == shownTime_) return false;
  shownTime_ = frameTime_;
  // Scale into the rectangle keeping the shape, nearest neighbour.
  const double scale = std::min(static_cast<double>(rectWidth_) / frame_.width,
                                static_cast<double>(rectHeight_) / frame_.height);
  const int w = std::max(1, static_cast<int>(frame_.width * scale));
  const int h = std::max(1, static_cast<int>(frame_.height * scale));
  const int left = rectLeft_ + (rectWidth_ - w) / 2, top = rectTop_ + (rectHeight_ - h) / 2;
  for (int y = rectTop_; y < rectTop_ + rectHeight_; ++y) {
    if (y < 0 || y >= target.height) continue;
    for (int x = rectLeft_; x < rectLeft_ + rectWidth_; ++x) {
      if (x < 0 || x >= target.width) continue;
      std::uint32_t pixel = 0;
      if (x >= left && x < left + w && y >= top && y < top + h)
        pixel =
            frame_.pixels[static_cast<std::size_t>((y - top) * frame_.height / h) * frame_.width +
                          static_cast<std::size_t>((x - left) * frame_.width / w)];
      target.at(x, y) = pixel;
    }
  }
  return true;
}

}  // namespace vdx
