// Dear ImGui drawn into a 640 x 480 frame of 0x00RRGGBB pixels by SDL's
// software renderer. The launcher hands the finished frame to the platform, so
// its window and its headless runs show the very same pixels.
#pragma once

#include <imgui.h>

#include <cstdint>
#include <span>
#include <vector>

#include "platform/platform.h"

struct SDL_Renderer;
struct SDL_Surface;
struct SDL_Texture;

namespace vdxlaunch {

class ImGuiCanvas {
 public:
  // Creates the ImGui context with two faces of DejaVu Sans (ImGui's own font
  // where that is not installed). Throws vdx::platform::PlatformError when the
  // software renderer cannot be made.
  ImGuiCanvas();
  ~ImGuiCanvas();
  ImGuiCanvas(const ImGuiCanvas&) = delete;
  ImGuiCanvas& operator=(const ImGuiCanvas&) = delete;

  ImFont* captionFont() const { return caption_; }  // 13 px
  ImFont* titleFont() const { return title_; }      // 18 px bold

  // A picture for ImDrawList::AddImage; it lives as long as the canvas.
  // nullptr when it cannot be made.
  ImTextureID addPicture(const vdx::platform::Image& picture);

  // Starts a frame with the mouse as the platform reads it; `seconds` have
  // passed since the last one.
  void beginFrame(const vdx::platform::MouseState& mouse, double seconds);
  // Ends the frame and draws it; the pixels stay valid until the next call.
  std::span<const std::uint32_t> render();

 private:
  ImGuiContext* context_ = nullptr;
  ImFont* caption_ = nullptr;
  ImFont* title_ = nullptr;
  std::vector<std::uint32_t> pixels_;
  SDL_Surface* surface_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* fontTexture_ = nullptr;
  std::vector<SDL_Texture*> pictures_;
};

}  // namespace vdxlaunch
