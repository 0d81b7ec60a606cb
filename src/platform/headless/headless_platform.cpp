#include "platform/headless/headless_platform.h"

#include <signal.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "platform/bmp_decoder.h"
#include "platform/display_restore.h"
#include "platform/mixer_decoding.h"
#include "platform/movie_decoder.h"
#include "platform/picture_files.h"

namespace vdx::platform {
namespace {

// A signal handler can only leave a mark; pumpEvents() reads it.
volatile std::sig_atomic_t terminalSignalSeen = 0;

// A second signal before the game has closed ends the process at once, the
// way the signal would have without us.
extern "C" void NoteTerminalSignal(int signal) {
  if (terminalSignalSeen != 0) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return;
  }
  terminalSignalSeen = 1;
}

}  // namespace

HeadlessPlatform::HeadlessPlatform()
    : lastFrame_(static_cast<std::size_t>(kFrameWidth) * kFrameHeight, 0) {}

std::unique_ptr<HeadlessPlatform> CreateHeadlessPlatform() {
  return std::make_unique<HeadlessPlatform>();
}

void HeadlessPlatform::advance(std::uint32_t ms) {
  // Stop at each of the script's moments on the way, so that keys change in
  // order and a screenshot at time t shows the frame presented before t. Time
  // is kept as a 64-bit count from the start, so ticks() may wrap without
  // disturbing the order of anything.
  const std::uint64_t target = elapsed_ + ms;
  while (scriptRunning_ && nextScriptEvent_ < script_.events.size() &&
         scriptStart_ + script_.events[nextScriptEvent_].atMs <= target) {
    elapsed_ = std::max(elapsed_, scriptStart_ + script_.events[nextScriptEvent_].atMs);
    applyScriptEventsUpTo(elapsed_);
  }
  elapsed_ = target;
  applyScriptEventsUpTo(elapsed_);
  if (closeAtElapsed_ && elapsed_ >= *closeAtElapsed_) closeRequested_ = true;
}

void HeadlessPlatform::setKey(KeyCode code, bool down) {
  if (down && keys_[code] == 0) presses_[code] = 0x80;
  keys_[code] = down ? 0x80 : 0;
}

void HeadlessPlatform::runScript(Script script) {
  script_ = std::move(script);
  // Script times count from the moment it starts.
  scriptStart_ = elapsed_;
  nextScriptEvent_ = 0;
  scriptRunning_ = true;
  applyScriptEventsUpTo(elapsed_);
}

void HeadlessPlatform::applyScriptEventsUpTo(std::uint64_t elapsed) {
  if (!scriptRunning_) return;
  const std::uint64_t time = elapsed - scriptStart_;
  while (nextScriptEvent_ < script_.events.size() &&
         script_.events[nextScriptEvent_].atMs <= time) {
    const ScriptEvent& e = script_.events[nextScriptEvent_++];
    switch (e.kind) {
      case ScriptEvent::Kind::Press:
        setKey(e.key, true);
        break;
      case ScriptEvent::Kind::Release:
        setKey(e.key, false);
        break;
      case ScriptEvent::Kind::Quit:
        closeRequested_ = true;
        break;
      case ScriptEvent::Kind::MouseMove:
      case ScriptEvent::Kind::MouseDown:
      case ScriptEvent::Kind::MouseUp:
        mouse_.x = e.x;
        mouse_.y = e.y;
        mouse_.over = true;
        if (e.kind != ScriptEvent::Kind::MouseMove)
          mouse_.leftDown = e.kind == ScriptEvent::Kind::MouseDown;
        break;
      case ScriptEvent::Kind::Focus:
        inputFocus_ = e.on;
        break;
      case ScriptEvent::Kind::Screenshot:
        if (WritePicture(e.path, kFrameWidth, kFrameHeight, lastFrame_))
          screenshotsWritten_.push_back(e.path);
        else
          screenshotFailures_.push_back(e.path);
        break;
      case ScriptEvent::Kind::State:
        stateRequests_.push_back(e.path);
        break;
    }
  }
  if (nextScriptEvent_ >= script_.events.size() && time >= script_.endMs) {
    scriptRunning_ = false;
    closeRequested_ = true;
  }
}

void HeadlessPlatform::setControllers(std::vector<ControllerState> controllers) {
  controllers_ = std::move(controllers);
}

void HeadlessPlatform::openDisplay(bool fullScreen) {
  if (failures_.display) throw PlatformError(1, "no display is available");
  displayOpen_ = true;
  fullScreen_ = fullScreen;
}

void HeadlessPlatform::showWindow() {
  if (displayOpen_) windowShown_ = true;
}

void HeadlessPlatform::closeDisplay() {
  displayOpen_ = false;
  windowShown_ = false;
  fullScreen_ = false;
}

void HeadlessPlatform::present(std::span<const std::uint32_t> frame) {
  ShowRestoring(
      kDisplayRestores, [this] { return !failures_.displayLost; }, [this] { ++displayRestores_; },
      [] { return std::string("the device is gone"); });
  const std::size_t n = std::min(frame.size(), lastFrame_.size());
  std::copy_n(frame.begin(), n, lastFrame_.begin());
  ++framesPresented_;
}

void HeadlessPlatform::closeOnTerminalSignals() {
  watchSignals_ = true;
  // Without SA_RESTART: a system call that waits is cut short by the signal
  // instead of waiting on.
  struct sigaction action {};
  action.sa_handler = NoteTerminalSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool HeadlessPlatform::pumpEvents() {
  if (msPerPump_ > 0) advance(msPerPump_);
  if (watchSignals_ && terminalSignalSeen != 0) closeRequested_ = true;
  return closeRequested_;
}

void HeadlessPlatform::showMessageBox(const std::string& title, const std::string& text,
                                      MessageBoxIcon icon) {
  messageBoxes_.push_back({title, text, icon});
}

bool HeadlessPlatform::openDocument(const std::string& path) {
  shellCalls_.push_back({ShellCall::Kind::OpenDocument, path, {}});
  return true;
}

bool HeadlessPlatform::startProgram(const std::string& path, const std::vector<std::string>& args) {
  shellCalls_.push_back({ShellCall::Kind::StartProgram, path, args});
  return true;
}

void HeadlessPlatform::initInput() {
  if (failures_.input) throw PlatformError(1, "no keyboard is available");
  inputReady_ = true;
}

std::optional<ControllerState> HeadlessPlatform::readController(int index) {
  if (index < 0 || index >= controllerCount()) return std::nullopt;
  return controllers_[static_cast<std::size_t>(index)];
}

std::optional<Image> HeadlessPlatform::decodeBmp(std::span<const std::uint8_t> bytes) {
  return DecodeBmp(bytes);
}

void HeadlessPlatform::noteAudio(std::string call) {
  if (!recordingAudioCalls_) return;
  // A run of a thousand matches makes hundreds of thousands of calls: only the
  // recent ones are kept, dropped in blocks so that the keeping costs little.
  if (audioCalls_.size() >= 2 * kAudioCallsKept)
    audioCalls_.erase(audioCalls_.begin(),
                      audioCalls_.begin() + static_cast<std::ptrdiff_t>(kAudioCallsKept));
  audioCalls_.push_back(std::move(call));
}

void HeadlessPlatform::openAudio() {
  noteAudio("openAudio");
  if (failures_.audio) throw PlatformError(1, "no audio device is available");
  // The mixer reads sounds and music as in the real game, on SDL's silent
  // driver: what plays there loads here, and what it refuses is refused here.
  std::string error;
  if (!OpenMixer(/*silent=*/true, error))
    throw PlatformError(1, "cannot open the silent sound device: " + error);
  audioOpen_ = true;
}

void HeadlessPlatform::closeAudio() {
  noteAudio("closeAudio");
  if (audioOpen_) CloseMixer();
  audioOpen_ = false;
  musicPlaying_ = false;
}

HeadlessPlatform::~HeadlessPlatform() {
  if (audioOpen_) CloseMixer();
}

// Sounds are read by the mixer and let go at once: nothing is heard, and the
// record of calls is what tests read.
std::optional<SoundId> HeadlessPlatform::loadSound(std::span<const std::uint8_t> bytes) {
  Mix_Chunk* chunk = audioOpen_ ? DecodeSoundChunk(bytes) : nullptr;
  if (chunk == nullptr) {
    noteAudio("loadSound refused");
    return std::nullopt;
  }
  Mix_FreeChunk(chunk);
  const SoundId id = nextSound_++;
  loadedSounds_.insert(id);
  noteAudio("loadSound " + std::to_string(id));
  return id;
}

void HeadlessPlatform::freeSound(SoundId sound) {
  loadedSounds_.erase(sound);
  noteAudio("freeSound " + std::to_string(sound));
}

bool HeadlessPlatform::playSound(SoundId sound, double gain, bool loop) {
  char text[96];
  std::snprintf(text, sizeof text, "playSound %d gain %.4f%s", sound, gain, loop ? " loop" : "");
  noteAudio(text);
  return loadedSounds_.contains(sound) && !failures_.soundPlay;
}

void HeadlessPlatform::stopSound(SoundId sound) {
  noteAudio("stopSound " + std::to_string(sound));
}

std::unique_ptr<Movie> HeadlessPlatform::openMovie(const std::string& path) {
  noteAudio("openMovie " + path);
  return OpenMovieFile(path);
}

bool HeadlessPlatform::playMusic(const std::string& path) {
  noteAudio("playMusic " + path);
  musicPlaying_ = false;
  std::vector<std::uint8_t> bytes;
  if (!audioOpen_ || !ReadMusicFile(path, bytes)) return false;
  Mix_Music* music = OpenMusicFromBytes(bytes, path);
  if (music == nullptr) return false;
  Mix_FreeMusic(music);
  musicPlaying_ = true;
  return true;
}

void HeadlessPlatform::stopMusic() {
  noteAudio("stopMusic");
  musicPlaying_ = false;
}

void HeadlessPlatform::setMusicVolume(int percent) {
  noteAudio("setMusicVolume " + std::to_string(percent));
}

}  // namespace vdx::platform
