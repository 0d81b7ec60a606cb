// clsDShowControl: plays one movie file into the back buffer. The loops that
// show movies ask it to draw the frame due now and present the buffer.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "graphics/surface.h"
#include "platform/platform.h"

namespace vdx {

class clsDShowControl {
 public:
  explicit clsDShowControl(platform::Platform& platform) : platform_(platform) {}

  void DS_Remove();
  // Opens a file (a real path) to be shown in the rectangle; false when it
  // cannot be decoded (the previous file is released either way).
  bool DS_OpenFile(const std::string& Filename, int rectTop, int rectLeft, int rectWidth,
                   int rectHeight);
  void DS_Play();  // rewinds first when at the end
  void DS_Pause();
  void DS_Stop();               // pauses and goes back to the beginning
  void DS_Seek(double Amount);  // seconds forward (or back, negative)
  // True while the movie has not reached its end. Nothing here waits: the
  // loops that ask poll again on their next pass.
  bool DS_StillPlaying(std::int32_t msTimeout);
  double DS_GetRate() const { return rate_; }
  void DS_SetRate(double newRate);
  double DS_GetDuration() const;
  double DS_GetPosition();
  void DS_SetPosition(double newPosition);
  std::int32_t DS_GetVolume() const { return volume_; }
  void DS_SetVolume(std::int32_t newVolume) { volume_ = newVolume; }
  std::int32_t DS_GetBalance() const { return balance_; }
  void DS_SetBalance(std::int32_t newBalance) { balance_ = newBalance; }

  // Draws the frame of the current position, scaled into the rectangle keeping
  // its shape (black around it), when it differs from the one drawn last.
  // False when there is nothing new to show.
  bool DS_Render(Surface& target);

  ~clsDShowControl() { DS_Remove(); }

 private:
  platform::Platform& platform_;
  std::unique_ptr<platform::Movie> movie_;
  int rectTop_ = 0, rectLeft_ = 0, rectWidth_ = 640, rectHeight_ = 480;
  bool running_ = false;
  double startPosition_ = 0;  // position when the clock last started, seconds
  std::uint32_t startTick_ = 0;
  double rate_ = 1.0;
  std::int32_t volume_ = 0, balance_ = 0;
  void startSound();
  void stopSoundTrack();

  std::optional<platform::SoundId> sound_;  // the movie's sound track, played by the mixer
  platform::Image frame_;                   // the last decoded frame
  double frameTime_ = -1;                   // its time; -1 before the first
  bool decodedToEnd_ = false;
  double shownTime_ = -2;  // the time of the frame drawn last
};

}  // namespace vdx
