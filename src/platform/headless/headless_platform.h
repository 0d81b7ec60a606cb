// The test backend, also used by `vdx --headless`: a manual clock, scripted keys,
// captured frames and a record of every desktop, shell and audio call. The same
// script gives the same frames on every run.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/headless/script.h"
#include "platform/platform.h"
#include "platform/text_renderer.h"

namespace vdx::platform {

struct MessageBoxCall {
  std::string title;
  std::string text;
  MessageBoxIcon icon = MessageBoxIcon::Critical;
};

struct ShellCall {
  enum class Kind { OpenDocument, StartProgram };
  Kind kind = Kind::OpenDocument;
  std::string path;
  std::vector<std::string> args;
};

// The parts of the machine a test can make fail.
struct HeadlessFailures {
  bool display = false;           // openDisplay throws, as with no screen
  bool input = false;             // initInput throws
  bool audio = false;             // openAudio throws, as with no sound device
  bool softwareRenderer = false;  // presentation is software only
  bool soundPlay = false;         // playSound refuses, as when every channel is busy
  bool displayLost = false;       // every frame finds the display lost, even made anew
};

class HeadlessPlatform : public Platform {
 public:
  HeadlessPlatform();
  ~HeadlessPlatform() override;
  HeadlessPlatform(const HeadlessPlatform&) = delete;
  HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

  // --- Driving it -----------------------------------------------------------
  // Every pumpEvents() moves the clock on by this much (default 1 ms), so a
  // loop that waits for time to pass always gets there. 0 freezes the clock.
  void setMsPerPump(std::uint32_t ms) { msPerPump_ = ms; }
  void advance(std::uint32_t ms);
  // Sets what ticks() says now (it starts at kTickBase); the clock goes on from
  // there and wraps past 2^32 - 1 like the system's. Script times and close
  // requests already given keep their distance from now.
  void setTicks(std::uint32_t ticks) { tickBase_ = ticks - static_cast<std::uint32_t>(elapsed_); }
  void setKey(KeyCode code, bool down);
  void setMouse(MouseState mouse) { mouse_ = mouse; }
  // The window has the keyboard focus from the start (once shown) until this
  // takes it away.
  void setInputFocus(bool focused) { inputFocus_ = focused; }
  void requestClose() { closeRequested_ = true; }
  // Asks the game to close once `ms` more milliseconds have passed.
  void requestCloseAfter(std::uint32_t ms) { closeAtElapsed_ = elapsed_ + ms; }
  // Plays a script against the clock; when its last command has passed, the
  // game is asked to close, so a script always ends the run.
  void runScript(Script script);
  HeadlessFailures& failures() { return failures_; }
  // How often the display was made anew after it was lost.
  int displayRestores() const { return displayRestores_; }
  // Makes SIGINT and SIGTERM ask the game to close, as the SDL backend does
  // (for `vdx --headless` run from a terminal).
  void closeOnTerminalSignals();
  void setControllers(std::vector<ControllerState> controllers);

  // --- What happened --------------------------------------------------------
  const std::vector<std::uint32_t>& lastFrame() const { return lastFrame_; }
  int framesPresented() const { return framesPresented_; }
  const std::vector<MessageBoxCall>& messageBoxes() const { return messageBoxes_; }
  const std::vector<ShellCall>& shellCalls() const { return shellCalls_; }
  // "openAudio", "closeAudio", ... in call order: the last kAudioCallsKept
  // calls at least, and at most twice as many.
  static constexpr std::size_t kAudioCallsKept = 10000;
  const std::vector<std::string>& audioCalls() const { return audioCalls_; }
  // Whether audio calls are recorded at all (they are unless turned off).
  void setRecordingAudioCalls(bool on) { recordingAudioCalls_ = on; }
  // Screenshots the script asked for, and the ones that could not be written.
  const std::vector<std::string>& screenshotsWritten() const { return screenshotsWritten_; }
  const std::vector<std::string>& screenshotFailures() const { return screenshotFailures_; }
  const std::string& caption() const { return caption_; }
  bool displayOpen() const { return displayOpen_; }
  bool windowShown() const { return windowShown_; }
  bool cursorVisible() const { return cursorVisible_; }
  bool inputReady() const { return inputReady_; }
  bool audioOpen() const { return audioOpen_; }

  // --- Platform ---------------------------------------------------------------
  void setWindowCaption(const std::string& caption) override { caption_ = caption; }
  void openDisplay(bool fullScreen) override;
  void showWindow() override;
  void closeDisplay() override;
  bool isFullScreen() const override { return fullScreen_; }
  PixelFormat displayPixelFormat() const override { return PixelFormat{}; }
  bool presentationIsSoftware() const override { return failures_.softwareRenderer; }
  void present(std::span<const std::uint32_t> frame) override;
  std::span<const std::uint32_t> presentedFrame() const override { return lastFrame_; }
  bool pumpEvents() override;
  std::uint32_t ticks() override { return tickBase_ + static_cast<std::uint32_t>(elapsed_); }
  void setCursorVisible(bool visible) override { cursorVisible_ = visible; }
  void showMessageBox(const std::string& title, const std::string& text,
                      MessageBoxIcon icon) override;
  bool openDocument(const std::string& path) override;
  bool startProgram(const std::string& path, const std::vector<std::string>& args) override;
  void initInput() override;
  void releaseInput() override { inputReady_ = false; }
  const KeyboardState& keyboardState() override { return keys_; }
  KeyboardState takeKeyPresses() override { return std::exchange(presses_, KeyboardState{}); }
  MouseState mouseState() override { return mouse_; }
  bool hasInputFocus() override { return windowShown_ && inputFocus_; }
  int controllerCount() override { return static_cast<int>(controllers_.size()); }
  std::optional<ControllerState> readController(int index) override;
  std::optional<Image> decodeBmp(std::span<const std::uint8_t> bytes) override;
  std::optional<TextImage> renderText(const TextStyle& style, std::string_view utf8) override {
    return text_.render(style, utf8);
  }
  void openAudio() override;
  void closeAudio() override;
  std::optional<SoundId> loadSound(std::span<const std::uint8_t> bytes) override;
  void freeSound(SoundId sound) override;
  bool playSound(SoundId sound, double gain, bool loop) override;
  void stopSound(SoundId sound) override;
  std::unique_ptr<Movie> openMovie(const std::string& path) override;
  bool playMusic(const std::string& path) override;
  bool musicPlaying() override { return musicPlaying_; }
  std::vector<std::string> takeStateRequests() override {
    std::vector<std::string> requests;
    requests.swap(stateRequests_);
    return requests;
  }
  void stopMusic() override;
  void setMusicVolume(int percent) override;

  // The piece of music now playing comes to its end (as a tune does).
  void endMusic() { musicPlaying_ = false; }
  int soundsLoaded() const { return static_cast<int>(loadedSounds_.size()); }

 private:
  void applyScriptEventsUpTo(std::uint64_t elapsed);

  // The clock: milliseconds since the platform was made (never wraps), and what
  // ticks() said at that moment.
  std::uint64_t elapsed_ = 0;
  std::uint32_t tickBase_ = kTickBase;
  std::uint32_t msPerPump_ = 1;
  bool closeRequested_ = false;
  std::optional<std::uint64_t> closeAtElapsed_;
  bool watchSignals_ = false;
  KeyboardState keys_{};
  KeyboardState presses_{};  // keys that went down since takeKeyPresses()
  MouseState mouse_;
  bool inputFocus_ = true;
  std::vector<ControllerState> controllers_;
  HeadlessFailures failures_;
  int displayRestores_ = 0;

  Script script_;
  std::uint64_t scriptStart_ = 0;  // elapsed_ when the script started; its times count from it
  bool scriptRunning_ = false;
  std::size_t nextScriptEvent_ = 0;

  std::vector<std::uint32_t> lastFrame_;
  int framesPresented_ = 0;
  std::vector<MessageBoxCall> messageBoxes_;
  std::vector<ShellCall> shellCalls_;
  std::vector<std::string> audioCalls_;
  void noteAudio(std::string call);
  bool recordingAudioCalls_ = true;
  std::vector<std::string> screenshotsWritten_;
  std::vector<std::string> screenshotFailures_;
  std::vector<std::string> stateRequests_;
  std::string caption_;
  bool displayOpen_ = false;
  bool windowShown_ = false;
  bool fullScreen_ = false;
  bool cursorVisible_ = true;
  bool inputReady_ = false;
  bool audioOpen_ = false;
  bool musicPlaying_ = false;
  std::set<SoundId> loadedSounds_;
  int nextSound_ = 0;
  TextRenderer text_{FontChoice::Fixed};
};

std::unique_ptr<HeadlessPlatform> CreateHeadlessPlatform();

}  // namespace vdx::platform
