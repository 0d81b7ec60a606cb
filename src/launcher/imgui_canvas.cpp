#include "launcher/imgui_canvas.h"

#include <SDL.h>

#include <cfloat>
#include <filesystem>
#include <string>

#include "platform/text_renderer.h"

namespace vdxlaunch {
namespace {

using vdx::platform::kFrameHeight;
using vdx::platform::kFrameWidth;

// Whole pixels and no sub-pixel placement, so glyph stems are solid pixels.
ImFont* AddFont(ImGuiIO& io, bool bold, float pixels) {
  const char* file = vdx::platform::FixedFontFile(bold);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return nullptr;
  ImFontConfig config;
  config.OversampleH = 1;
  config.OversampleV = 1;
  config.PixelSnapH = true;
  return io.Fonts->AddFontFromFileTTF(file, pixels, &config);
}

[[noreturn]] void ThrowSdlError(const char* what) {
  throw vdx::platform::PlatformError(1, std::string(what) + ": " + SDL_GetError());
}

}  // namespace

ImGuiCanvas::ImGuiCanvas() : pixels_(static_cast<std::size_t>(kFrameWidth) * kFrameHeight, 0) {
  surface_ = SDL_CreateRGBSurfaceWithFormatFrom(pixels_.data(), kFrameWidth, kFrameHeight, 32,
                                                kFrameWidth * 4, SDL_PIXELFORMAT_RGB888);
  if (surface_ == nullptr) ThrowSdlError("cannot make the form's frame");
  renderer_ = SDL_CreateSoftwareRenderer(surface_);
  if (renderer_ == nullptr) {
    SDL_FreeSurface(surface_);
    ThrowSdlError("cannot make the form's renderer");
  }

  context_ = ImGui::CreateContext();
  ImGui::SetCurrentContext(context_);  // another canvas may be the current one
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;  // no imgui.ini beside the game
  io.LogFilename = nullptr;
  io.DisplaySize = ImVec2(static_cast<float>(kFrameWidth), static_cast<float>(kFrameHeight));
  caption_ = AddFont(io, false, 13.0f);
  title_ = AddFont(io, true, 18.0f);
  if (caption_ == nullptr || title_ == nullptr) {
    io.Fonts->Clear();
    caption_ = title_ = io.Fonts->AddFontDefault();
  }
  unsigned char* atlas = nullptr;
  int width = 0;
  int height = 0;
  io.Fonts->GetTexDataAsRGBA32(&atlas, &width, &height);
  fontTexture_ =
      SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, width, height);
  if (fontTexture_ != nullptr) {
    SDL_UpdateTexture(fontTexture_, nullptr, atlas, width * 4);
    SDL_SetTextureBlendMode(fontTexture_, SDL_BLENDMODE_BLEND);
  }
  io.Fonts->SetTexID(static_cast<ImTextureID>(fontTexture_));

  // Square corners and hard edges: a plain settings form, and the software
  // renderer draws them exactly.
  ImGuiStyle& style = ImGui::GetStyle();
  style.WindowRounding = style.FrameRounding = style.GrabRounding = 0.0f;
  style.WindowBorderSize = 0.0f;
  style.WindowPadding = ImVec2(0, 0);
  style.AntiAliasedLines = style.AntiAliasedLinesUseTex = style.AntiAliasedFill = false;
}

ImGuiCanvas::~ImGuiCanvas() {
  ImGui::DestroyContext(context_);
  for (SDL_Texture* picture : pictures_)
    SDL_DestroyTexture(picture);
  if (fontTexture_ != nullptr) SDL_DestroyTexture(fontTexture_);
  SDL_DestroyRenderer(renderer_);
  SDL_FreeSurface(surface_);
}

ImTextureID ImGuiCanvas::addPicture(const vdx::platform::Image& picture) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height)
    return nullptr;
  SDL_Texture* texture = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888,
                                           SDL_TEXTUREACCESS_STATIC, picture.width, picture.height);
  if (texture == nullptr) return nullptr;
  SDL_UpdateTexture(texture, nullptr, picture.pixels.data(), picture.width * 4);
  pictures_.push_back(texture);
  return static_cast<ImTextureID>(texture);
}

void ImGuiCanvas::beginFrame(const vdx::platform::MouseState& mouse, double seconds) {
  ImGui::SetCurrentContext(context_);
  ImGuiIO& io = ImGui::GetIO();
  io.DeltaTime = static_cast<float>(seconds > 0.001 ? seconds : 0.001);
  io.MousePos = mouse.over ? ImVec2(static_cast<float>(mouse.x), static_cast<float>(mouse.y))
                           : ImVec2(-FLT_MAX, -FLT_MAX);
  io.MouseDown[0] = mouse.leftDown;
  ImGui::NewFrame();
}

std::span<const std::uint32_t> ImGuiCanvas::render() {
  ImGui::SetCurrentContext(context_);
  ImGui::Render();
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderSetClipRect(renderer_, nullptr);
  SDL_RenderClear(renderer_);
  const ImDrawData* data = ImGui::GetDrawData();
  for (int n = 0; n < data->CmdListsCount; ++n) {
    const ImDrawList* list = data->CmdLists[n];
    for (const ImDrawCmd& command : list->CmdBuffer) {
      const SDL_Rect clip{static_cast<int>(command.ClipRect.x),
                          static_cast<int>(command.ClipRect.y),
                          static_cast<int>(command.ClipRect.z - command.ClipRect.x),
                          static_cast<int>(command.ClipRect.w - command.ClipRect.y)};
      if (clip.w <= 0 || clip.h <= 0) continue;
      SDL_RenderSetClipRect(renderer_, &clip);
      const ImDrawVert* vertices = list->VtxBuffer.Data + command.VtxOffset;
      SDL_RenderGeometryRaw(renderer_, static_cast<SDL_Texture*>(command.GetTexID()),
                            &vertices->pos.x, sizeof(ImDrawVert),
                            reinterpret_cast<const SDL_Color*>(&vertices->col), sizeof(ImDrawVert),
                            &vertices->uv.x, sizeof(ImDrawVert),
                            list->VtxBuffer.Size - static_cast<int>(command.VtxOffset),
                            list->IdxBuffer.Data + command.IdxOffset,
                            static_cast<int>(command.ElemCount), sizeof(ImDrawIdx));
    }
  }
  SDL_RenderPresent(renderer_);
  return pixels_;
}

}  // namespace vdxlaunch
