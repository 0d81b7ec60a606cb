// The real backend: SDL2 for the window, presentation, keyboard and controllers,
// SDL2_mixer for the sound device.
#include <SDL.h>
#include <SDL_mixer.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "platform/bmp_decoder.h"
#include "platform/display_restore.h"
#include "platform/frame_geometry.h"
#include "platform/mixer_decoding.h"
#include "platform/movie_decoder.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_keymap.h"
#include "platform/text_renderer.h"

extern char** environ;

namespace vdx::platform {
namespace {

[[noreturn]] void ThrowSdlError(const char* what) {
  throw PlatformError(1, std::string(what) + ": " + SDL_GetError());
}

// Maps an SDL axis (-32768..32767) to 0..10000 with a 10 % dead zone around the
// centre and full travel reached at 95 %.
std::int32_t AxisToRange(Sint16 raw) {
  const double v = std::clamp(raw / 32767.0, -1.0, 1.0);
  const double magnitude = std::abs(v);
  double scaled = 0.0;
  if (magnitude >= 0.95) {
    scaled = 1.0;
  } else if (magnitude > 0.10) {
    scaled = (magnitude - 0.10) / (0.95 - 0.10);
  }
  return static_cast<std::int32_t>(std::lround(5000.0 + std::copysign(scaled, v) * 5000.0));
}

class SdlPlatform : public Platform {
 public:
  SdlPlatform() {
    // The events subsystem turns SIGINT and SIGTERM into a quit request.
    if (SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) ThrowSdlError("SDL_Init");
  }

  ~SdlPlatform() override {
    closeAudio();
    releaseInput();
    closeDisplay();
    SDL_Quit();
  }

  void setWindowCaption(const std::string& caption) override {
    caption_ = caption;
    if (window_ != nullptr) SDL_SetWindowTitle(window_, caption_.c_str());
  }

  void openDisplay(bool fullScreen) override {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) ThrowSdlError("cannot open the display");
    // With no desktop SDL falls back to drawing nowhere; a player would see
    // nothing, so that counts as no display unless it was asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    if (driver != nullptr &&
        (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) &&
        (asked == nullptr || SDL_strcasecmp(asked, driver) != 0)) {
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      throw PlatformError(1, "no display is available (DISPLAY is not set)");
    }
    videoReady_ = true;
    // Always made as a window first, so that leaving full screen has a windowed
    // size and place to go back to.
    window_ = SDL_CreateWindow(caption_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               kFrameWidth, kFrameHeight, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (window_ == nullptr) ThrowSdlError("cannot create the window");
    fullScreen_ = false;

    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    createRenderer();
    // Only now: an OpenGL renderer may have made the window anew, at its first place.
    if (fullScreen) setFullScreen(true);
  }

  void showWindow() override {
    if (window_ != nullptr) {
      SDL_ShowWindow(window_);
      SDL_RaiseWindow(window_);
    }
  }

  void closeDisplay() override {
    destroyRenderer();
    if (window_ != nullptr) {
      SDL_SetWindowFullscreen(window_, 0);
      SDL_DestroyWindow(window_);
    }
    window_ = nullptr;
    fullScreen_ = false;
  }

  bool isFullScreen() const override { return fullScreen_; }
  PixelFormat displayPixelFormat() const override { return PixelFormat{}; }
  bool presentationIsSoftware() const override { return softwareRenderer_; }

  void present(std::span<const std::uint32_t> frame) override {
    if (renderer_ == nullptr || frame.size() < static_cast<std::size_t>(kFrameWidth) * kFrameHeight)
      return;
    std::copy_n(frame.begin(), presented_.size(), presented_.begin());
    ShowRestoring(
        kDisplayRestores, [this] { return showPresentedFrame(); },
        [this] {
          destroyRenderer();
          createRenderer();
        },
        [] { return std::string(SDL_GetError()); });
  }

  std::span<const std::uint32_t> presentedFrame() const override { return presented_; }

  bool pumpEvents() override {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
      switch (event.type) {
        case SDL_QUIT:
          closeRequested_ = true;
          break;
        case SDL_KEYDOWN:
          if (event.key.repeat == 0)
            if (const KeyCode code = DirectInputCodeOf(event.key.keysym.scancode); code != 0)
              presses_[code] = 0x80;
          handleKeyDown(event.key);
          break;
        case SDL_MOUSEBUTTONDOWN:
          if (event.button.button == SDL_BUTTON_LEFT) leftPressed_ = true;
          break;
        case SDL_RENDER_DEVICE_RESET:
          // Every texture went with the device; the next frame makes them anew.
          deviceLost_ = true;
          break;
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
          controllersChanged_ = true;
          break;
        default:
          break;
      }
    }
    if (controllersChanged_) reopenControllers();
    reapChildren();
    // The loops poll; a millisecond's rest per pass keeps them from taking a
    // whole core while leaving every 16 ms frame on time.
    SDL_Delay(1);
    return closeRequested_;
  }

  std::uint32_t ticks() override { return kTickBase + SDL_GetTicks(); }

  void setCursorVisible(bool visible) override {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
  }

  void showMessageBox(const std::string& title, const std::string& text,
                      MessageBoxIcon icon) override {
    const Uint32 flags =
        icon == MessageBoxIcon::Critical ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    // Without a desktop this fails quietly; callers also print the text.
    SDL_ShowSimpleMessageBox(flags, title.c_str(), text.c_str(), window_);
  }

  bool openDocument(const std::string& path) override {
    const std::string url = path.find("://") == std::string::npos ? "file://" + path : path;
    return SDL_OpenURL(url.c_str()) == 0;
  }

  bool startProgram(const std::string& path, const std::vector<std::string>& args) override {
    std::vector<std::string> owned;
    owned.push_back(path);
    owned.insert(owned.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : owned)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return false;
    children_.push_back(pid);
    return true;
  }

  void initInput() override {
    if (!videoReady_) throw PlatformError(1, "the keyboard needs the window");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) {
      controllersReady_ = true;
      reopenControllers();
    }
  }

  void releaseInput() override {
    closeControllers();
    if (controllersReady_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    controllersReady_ = false;
  }

  const KeyboardState& keyboardState() override {
    int count = 0;
    const Uint8* sdlKeys = SDL_GetKeyboardState(&count);
    keys_.fill(0);
    for (int scancode = 0; scancode < count; ++scancode) {
      if (sdlKeys[scancode] == 0) continue;
      if (const KeyCode code = DirectInputCodeOf(static_cast<SDL_Scancode>(scancode)); code != 0)
        keys_[code] = 0x80;
    }
    return keys_;
  }

  KeyboardState takeKeyPresses() override { return std::exchange(presses_, KeyboardState{}); }

  MouseState mouseState() override {
    int x = 0;
    int y = 0;
    const Uint32 buttons = SDL_GetMouseState(&x, &y);
    // A press is kept until it has been read once: a click (or a touchpad's
    // tap) whose press and release fall between two reads is not lost.
    mouse_.leftDown = (buttons & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0 || leftPressed_;
    leftPressed_ = false;
    mouse_.over = false;
    if (window_ == nullptr || renderer_ == nullptr || SDL_GetMouseFocus() != window_) return mouse_;
    int windowWidth = 0;
    int windowHeight = 0;
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetWindowSize(window_, &windowWidth, &windowHeight);
    if (SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight) != 0) return mouse_;
    if (const auto pixel =
            FramePixelAt(x, y, windowWidth, windowHeight, outputWidth, outputHeight)) {
      mouse_.x = pixel->x;
      mouse_.y = pixel->y;
      mouse_.over = true;
    }
    return mouse_;
  }

  bool hasInputFocus() override {
    if (window_ == nullptr) return false;
    const Uint32 flags = SDL_GetWindowFlags(window_);
    return (flags & SDL_WINDOW_SHOWN) != 0 && (flags & SDL_WINDOW_INPUT_FOCUS) != 0;
  }

  int controllerCount() override { return static_cast<int>(controllers_.size()); }

  std::optional<ControllerState> readController(int index) override {
    if (index < 0 || index >= controllerCount()) return std::nullopt;
    SDL_GameController* pad = controllers_[static_cast<std::size_t>(index)];
    if (SDL_GameControllerGetAttached(pad) == SDL_FALSE) return std::nullopt;
    ControllerState state;
    state.x = AxisToRange(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX));
    state.y = AxisToRange(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY));
    // The direction pad counts as the stick pushed all the way.
    if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) state.x = 0;
    if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) state.x = 10000;
    if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_UP)) state.y = 0;
    if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) state.y = 10000;
    state.buttons[0] = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_A) ? 0x80 : 0;
    state.buttons[1] = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_B) ? 0x80 : 0;
    state.buttons[2] = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_X) ? 0x80 : 0;
    state.buttons[kStartButton] =
        SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_START) ? 0x80 : 0;
    return state;
  }

  std::optional<Image> decodeBmp(std::span<const std::uint8_t> bytes) override {
    return DecodeBmp(bytes);
  }

  std::optional<TextImage> renderText(const TextStyle& style, std::string_view utf8) override {
    return text_.render(style, utf8);
  }

  void openAudio() override {
    std::string error;
    if (!OpenMixer(/*silent=*/false, error))
      throw PlatformError(1, "cannot open the sound device: " + error);
    // Enough channels for every fighter's sounds, effects and a looping stage tune.
    Mix_AllocateChannels(32);
    audioOpen_ = true;
  }

  std::optional<SoundId> loadSound(std::span<const std::uint8_t> bytes) override {
    if (!audioOpen_) return std::nullopt;
    Mix_Chunk* chunk = DecodeSoundChunk(bytes);
    if (chunk == nullptr) return std::nullopt;
    for (std::size_t i = 0; i < chunks_.size(); ++i)
      if (chunks_[i] == nullptr) {
        chunks_[i] = chunk;
        return static_cast<SoundId>(i);
      }
    chunks_.push_back(chunk);
    return static_cast<SoundId>(chunks_.size() - 1);
  }

  void freeSound(SoundId sound) override {
    Mix_Chunk* chunk = chunkOf(sound);
    if (chunk == nullptr) return;
    stopSound(sound);
    Mix_FreeChunk(chunk);
    chunks_[static_cast<std::size_t>(sound)] = nullptr;
  }

  bool playSound(SoundId sound, double gain, bool loop) override {
    Mix_Chunk* chunk = chunkOf(sound);
    if (chunk == nullptr) return false;
    // The gain belongs to the channel, not to the chunk the plays share. It is
    // set before the channel starts, so not one buffer is mixed at the volume
    // of the channel's last sound.
    const int channel = Mix_GroupAvailable(-1);
    if (channel < 0) return false;
    Mix_Volume(channel, static_cast<int>(std::lround(std::clamp(gain, 0.0, 1.0) * MIX_MAX_VOLUME)));
    return Mix_PlayChannel(channel, chunk, loop ? -1 : 0) == channel;
  }

  void stopSound(SoundId sound) override {
    Mix_Chunk* chunk = chunkOf(sound);
    if (chunk == nullptr) return;
    for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel)
      if (Mix_GetChunk(channel) == chunk && Mix_Playing(channel)) Mix_HaltChannel(channel);
  }

  std::unique_ptr<Movie> openMovie(const std::string& path) override { return OpenMovieFile(path); }

  bool playMusic(const std::string& path) override {
    if (!audioOpen_) return false;
    stopMusic();
    // Read whole and checked first: the mixer believes what a header says.
    // The bytes stay with us while the mixer streams from them.
    if (ReadMusicFile(path, musicBytes_)) music_ = OpenMusicFromBytes(musicBytes_, path);
    if (music_ == nullptr) {
      musicBytes_.clear();
      return false;
    }
    return Mix_PlayMusic(music_, 1) == 0;
  }

  bool musicPlaying() override { return audioOpen_ && Mix_PlayingMusic() != 0; }

  void stopMusic() override {
    if (!audioOpen_) return;
    Mix_HaltMusic();
    if (music_ != nullptr) Mix_FreeMusic(music_);
    music_ = nullptr;
    musicBytes_.clear();
  }

  void setMusicVolume(int percent) override {
    if (audioOpen_) Mix_VolumeMusic(std::clamp(percent, 0, 100) * MIX_MAX_VOLUME / 100);
  }

  void closeAudio() override {
    if (!audioOpen_) return;
    stopMusic();
    Mix_HaltChannel(-1);
    for (Mix_Chunk*& chunk : chunks_)
      if (chunk != nullptr) Mix_FreeChunk(chunk), chunk = nullptr;
    CloseMixer();
    audioOpen_ = false;
  }

 private:
  // The renderer and the frame's texture, made at the display's opening and
  // again when the graphics device was lost.
  void createRenderer() {
    renderer_ =
        SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (renderer_ == nullptr) {
      renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
      if (renderer_ == nullptr) ThrowSdlError("cannot create a renderer");
    }
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer_, &info);
    softwareRenderer_ = (info.flags & SDL_RENDERER_ACCELERATED) == 0;
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                 kFrameWidth, kFrameHeight);
    if (texture_ == nullptr) ThrowSdlError("cannot create the frame texture");
  }

  void destroyRenderer() {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    texture_ = nullptr;
    renderer_ = nullptr;
    deviceLost_ = false;
  }

  // Shows the presented frame; false when the device was lost or a call failed.
  bool showPresentedFrame() {
    if (deviceLost_ || texture_ == nullptr) return false;
    if (SDL_UpdateTexture(texture_, nullptr, presented_.data(), kFrameWidth * 4) != 0) return false;
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    if (SDL_RenderClear(renderer_) != 0) return false;
    // Asked each frame: the window may have been resized or turned full screen
    // since the last one.
    int outputWidth = 0;
    int outputHeight = 0;
    if (SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight) == 0 && outputWidth > 0 &&
        outputHeight > 0) {
      const FrameRect frameRect = LetterboxRect(outputWidth, outputHeight);
      const SDL_Rect target{frameRect.x, frameRect.y, frameRect.width, frameRect.height};
      if (SDL_RenderCopy(renderer_, texture_, nullptr, &target) != 0) return false;
    }
    SDL_RenderPresent(renderer_);
    return true;
  }

  void handleKeyDown(const SDL_KeyboardEvent& key) {
    const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
    if (!alt || key.repeat != 0) return;
    if (key.keysym.scancode == SDL_SCANCODE_X) {
      // Alt+X stands in for the window menu's Exit.
      closeRequested_ = true;
    } else if (key.keysym.scancode == SDL_SCANCODE_RETURN && window_ != nullptr) {
      setFullScreen(!fullScreen_);
    }
  }

  // Full screen is a request to the window manager. Where none answers it (a
  // bare X server, a kiosk session) SDL takes the window for desktop-sized all
  // the same, draws for that size, and the window shows a corner of the frame;
  // on the way back SDL keeps the desktop size too. So the window is laid over
  // the desktop by us before the request, and given its windowed size and
  // place again after leaving, as a window manager would have done. Where a
  // window manager does answer, this only repeats what it does anyway.
  void setFullScreen(bool on) {
    if (on) {
      SDL_GetWindowPosition(window_, &windowed_.x, &windowed_.y);
      SDL_GetWindowSize(window_, &windowed_.w, &windowed_.h);
      windowedFrame_ = FrameOf(window_);
      SDL_Rect desktop{};
      if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window_), &desktop) == 0) {
        SDL_SetWindowPosition(window_, desktop.x, desktop.y);
        SDL_SetWindowSize(window_, desktop.w, desktop.h);
      }
      SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
      SDL_SetWindowFullscreen(window_, 0);
      SDL_SetWindowSize(window_, windowed_.w, windowed_.h);
      // SDL places a window by its frame, as wide as the borders it knows of
      // now; a window manager has not framed the window again yet. The place
      // asked for makes up the difference, or the window creeps down by a title
      // bar at every return.
      const SDL_Point frame = FrameOf(window_);
      SDL_SetWindowPosition(window_, windowed_.x - windowedFrame_.x + frame.x,
                            windowed_.y - windowedFrame_.y + frame.y);
    }
    fullScreen_ = on;
  }

  void reopenControllers() {
    controllersChanged_ = false;
    if (!controllersReady_) return;
    closeControllers();
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_IsGameController(i) == SDL_FALSE) continue;
      if (SDL_GameController* pad = SDL_GameControllerOpen(i)) controllers_.push_back(pad);
    }
  }

  void closeControllers() {
    for (SDL_GameController* pad : controllers_)
      SDL_GameControllerClose(pad);
    controllers_.clear();
  }

  // Programs we started are not waited for, but their exit status is collected.
  void reapChildren() {
    std::erase_if(children_, [](pid_t pid) {
      int status = 0;
      return waitpid(pid, &status, WNOHANG) != 0;
    });
  }

  // The left and top border a window manager gives the window, as SDL knows them.
  static SDL_Point FrameOf(SDL_Window* window) {
    int top = 0;
    int left = 0;
    if (SDL_GetWindowBordersSize(window, &top, &left, nullptr, nullptr) != 0) return {0, 0};
    return {left, top};
  }

  Mix_Chunk* chunkOf(SoundId sound) const {
    return sound >= 0 && static_cast<std::size_t>(sound) < chunks_.size()
               ? chunks_[static_cast<std::size_t>(sound)]
               : nullptr;
  }

  std::string caption_;
  std::vector<Mix_Chunk*> chunks_;
  Mix_Music* music_ = nullptr;
  std::vector<std::uint8_t> musicBytes_;  // the file music_ streams from
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  // A copy of the frame on screen: the texture cannot be read back.
  std::vector<std::uint32_t> presented_ =
      std::vector<std::uint32_t>(static_cast<std::size_t>(kFrameWidth) * kFrameHeight, 0);
  SDL_Rect windowed_{0, 0, kFrameWidth, kFrameHeight};  // the window's place out of full screen
  SDL_Point windowedFrame_{0, 0};  // its left and top border then (0 without a window manager)
  bool videoReady_ = false;
  bool fullScreen_ = false;
  bool softwareRenderer_ = false;
  bool deviceLost_ = false;
  bool closeRequested_ = false;
  bool controllersReady_ = false;
  bool controllersChanged_ = false;
  bool audioOpen_ = false;
  KeyboardState keys_{};
  KeyboardState presses_{};  // keys that went down since takeKeyPresses()
  MouseState mouse_;
  bool leftPressed_ = false;  // the left button went down since the mouse was last read
  std::vector<SDL_GameController*> controllers_;
  std::vector<pid_t> children_;
  TextRenderer text_;
};

}  // namespace

std::unique_ptr<Platform> CreateSdlPlatform() {
  return std::make_unique<SdlPlatform>();
}

}  // namespace vdx::platform
