// The game's only door to the machine: window, presentation, clock, keyboard,
// controllers, desktop calls, picture decoding and the audio device. The game
// above this folder never includes SDL or FFmpeg; tests use the headless backend.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vdx::platform {

inline constexpr int kFrameWidth = 640;
inline constexpr int kFrameHeight = 480;

// Where every backend's clock starts, as on a machine that has been on for
// about eleven days.
inline constexpr std::uint32_t kTickBase = 1'000'000'000;

// A failure of the machine (no display, no audio device, ...). `number` and
// `description` are what the start-up and error reports show.
class PlatformError : public std::runtime_error {
 public:
  PlatformError(int number, const std::string& description)
      : std::runtime_error(description), number_(number) {}
  int number() const { return number_; }

 private:
  int number_;
};

// A decoded picture: 32-bit pixels 0x00RRGGBB, rows top to bottom.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// The colour layout of the frames we present (always 32-bit here).
struct PixelFormat {
  int bitsPerPixel = 32;
  std::uint32_t redMask = 0xFF0000;
  std::uint32_t greenMask = 0x00FF00;
  std::uint32_t blueMask = 0x0000FF;
};

// One game controller as read by a poll: axes in 0..10000 (5000 centred), after a
// 10 % dead zone and 95 % saturation; buttons 0, 1, 2 are A, B, X, and
// kStartButton is Start.
inline constexpr int kStartButton = 7;
struct ControllerState {
  std::int32_t x = 5000;
  std::int32_t y = 5000;
  std::array<std::uint8_t, 32> buttons{};
};

enum class MessageBoxIcon { Critical, Information };

// A system-font text style: the typeface as the content names it, the size in
// points (of a 96 dpi desktop), bold and italic.
struct TextStyle {
  std::string typeface;
  int pointSize = 10;
  bool bold = false;
  bool italic = false;
};

// Rendered text: coverage 0..255 per pixel, rows top to bottom.
struct TextImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;
};

using KeyboardState = std::array<std::uint8_t, 256>;

// The mouse as the frame sees it: the pixel of the 640 x 480 frame under the
// pointer, and whether the left button is held. `over` is false while the
// pointer is off the window or on the black bars beside the frame; x and y then
// keep the last pixel it was over.
struct MouseState {
  int x = 0;
  int y = 0;
  bool over = false;
  bool leftDown = false;
};

using SoundId = int;

// A movie opened for decoding: video frames in order, each with its time.
class Movie {
 public:
  virtual ~Movie() = default;
  virtual int width() const = 0;
  virtual int height() const = 0;
  virtual double duration() const = 0;   // seconds
  virtual double frameRate() const = 0;  // frames a second
  // The next frame (0x00RRGGBB) and its time in seconds; false at the end.
  virtual bool nextFrame(Image& frame, double& seconds) = 0;
  // Back to the beginning.
  virtual bool rewind() = 0;
  // The whole sound track as a 16-bit WAV file in memory (empty without one),
  // for the platform's loadSound.
  virtual std::vector<std::uint8_t> soundTrack() = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // The caption of the game window (kept until the window exists).
  virtual void setWindowCaption(const std::string& caption) = 0;
  // Creates the window and its presentation: full screen, or a 640 x 480 window
  // that scales the frame keeping the 4:3 shape. Throws PlatformError.
  virtual void openDisplay(bool fullScreen) = 0;
  virtual void showWindow() = 0;
  // Gives the desktop back (leaves full screen) and closes the window.
  virtual void closeDisplay() = 0;
  virtual bool isFullScreen() const = 0;
  virtual PixelFormat displayPixelFormat() const = 0;
  // True when presentation runs on a software renderer only.
  virtual bool presentationIsSoftware() const = 0;
  // Shows a finished 640 x 480 frame (0x00RRGGBB pixels).
  virtual void present(std::span<const std::uint32_t> frame) = 0;
  // The frame on screen: the last one present() showed, black before the first.
  virtual std::span<const std::uint32_t> presentedFrame() const = 0;

  // Handles pending window and device events. Returns true when the player asked
  // the game to close (window closed, Alt+X, SIGTERM or Ctrl+C in a terminal).
  virtual bool pumpEvents() = 0;

  // The files a test script asked the game's state to be written to since the
  // last call (the headless backend's "state FILE"); the window never asks.
  virtual std::vector<std::string> takeStateRequests() { return {}; }
  // Milliseconds since some fixed moment; wraps after 49 days like GetTickCount.
  // Both backends start at kTickBase, never near 0, so a timer that keeps 0 for
  // "not set" cannot meet a real tick of 0 at start-up; compare tick counts by
  // their difference.
  virtual std::uint32_t ticks() = 0;

  virtual void setCursorVisible(bool visible) = 0;
  virtual void showMessageBox(const std::string& title, const std::string& text,
                              MessageBoxIcon icon) = 0;
  // Opens a document with the desktop's default handler; false when that failed.
  virtual bool openDocument(const std::string& path) = 0;
  // Starts another program without waiting for it; false when it could not start.
  virtual bool startProgram(const std::string& path, const std::vector<std::string>& args) = 0;

  // Keyboard and controllers. initInput throws PlatformError when there is no keyboard.
  virtual void initInput() = 0;
  virtual void releaseInput() = 0;
  // The held keys, indexed by DirectInput key code, non-zero while held.
  virtual const KeyboardState& keyboardState() = 0;
  // The keys that went down since the last call, non-zero once each however
  // short the press: a tap that starts and ends between two reads of
  // keyboardState() is still seen here. Key repeat does not count.
  virtual KeyboardState takeKeyPresses() = 0;
  virtual MouseState mouseState() = 0;
  // True while the window is shown and has the keyboard focus: the player is
  // working in it, not in another program.
  virtual bool hasInputFocus() = 0;
  virtual int controllerCount() = 0;
  virtual std::optional<ControllerState> readController(int index) = 0;

  // Decodes a Windows bitmap (1, 4, 8, 16, 24, 32 bits, RLE); nullopt when it is not one.
  virtual std::optional<Image> decodeBmp(std::span<const std::uint8_t> bytes) = 0;

  // Renders one line of text in a system font; nullopt when no font can be had.
  virtual std::optional<TextImage> renderText(const TextStyle& style, std::string_view utf8) = 0;

  // Opens the sound device for effects and music. Throws PlatformError.
  virtual void openAudio() = 0;
  virtual void closeAudio() = 0;

  // Sounds: decoded whole (WAV and the other formats of the mixer); nullopt
  // when the bytes are not a sound. Several sounds play at once.
  virtual std::optional<SoundId> loadSound(std::span<const std::uint8_t> bytes) = 0;
  virtual void freeSound(SoundId sound) = 0;
  // Plays a sound at a linear gain (1 = as recorded), once or looping. Each
  // play keeps its own gain, so one sound can sound twice at two volumes.
  // False when the play did not start: no such sound, every channel busy, or
  // the device closed.
  virtual bool playSound(SoundId sound, double gain, bool loop) = 0;
  virtual void stopSound(SoundId sound) = 0;

  // Movies: decoded by FFmpeg; nullptr when the file is missing or cannot be decoded.
  virtual std::unique_ptr<Movie> openMovie(const std::string& path) = 0;

  // Music: one piece at a time, streamed from a file, played once from its
  // beginning; false when it cannot be played.
  virtual bool playMusic(const std::string& path) = 0;
  virtual bool musicPlaying() = 0;
  virtual void stopMusic() = 0;
  virtual void setMusicVolume(int percent) = 0;  // 0..100
};

std::unique_ptr<Platform> CreateSdlPlatform();

}  // namespace vdx::platform
