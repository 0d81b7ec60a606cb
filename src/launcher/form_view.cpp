#include "launcher/form_view.h"

#include <array>
#include <string_view>

#include "launcher/form_layout.h"

namespace vdxlaunch {
namespace {

constexpr std::array<const char*, kMenuLabelCount> kMenuLabels = {
    kKeyboardTitle, kAudioTitle, kGamepadMenuLabel, kStartLabel, kExitLabel};
constexpr std::array<const char*, 7> kKeyCaptions = {
    "Up Key", "Down Key", "Left  Key", "Right Key", "Punch Key", "Kick Key", "Block Key"};

ImU32 Colour(std::uint32_t rgb, int alpha = 255) {
  return IM_COL32((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF, alpha);
}

constexpr std::uint32_t kBackdrop = 0x281C38;  // behind the form without its picture
constexpr std::uint32_t kPanelFill = 0x141020;
constexpr std::uint32_t kPanelEdge = 0x9C88B0;
constexpr std::uint32_t kTitleColour = 0xFFD070;
constexpr std::uint32_t kCaptionColour = 0xEBEBEB;
constexpr std::uint32_t kBoxEdge = 0x808080;
constexpr std::uint32_t kFocusEdge = 0x0078D7;
constexpr std::uint32_t kButtonFace = 0xD4D0C8;
constexpr std::uint32_t kNoteColour = 0xFFE890;

ImVec2 At(int x, int y) {
  return ImVec2(static_cast<float>(x), static_cast<float>(y));
}

void Text(ImFont* font, int x, int y, std::uint32_t rgb, std::string_view text) {
  ImGui::GetWindowDrawList()->AddText(font, font->FontSize, At(x, y), Colour(rgb), text.data(),
                                      text.data() + text.size());
}

// Text standing in the middle of a rectangle's height.
void TextIn(ImFont* font, const Rect& r, int padX, std::uint32_t rgb, std::string_view text) {
  Text(font, r.x + padX, r.y + (r.height - static_cast<int>(font->FontSize)) / 2, rgb, text);
}

bool InvisibleButtonAt(const Rect& r, const char* id) {
  ImGui::SetCursorScreenPos(At(r.x, r.y));
  return ImGui::InvisibleButton(id,
                                ImVec2(static_cast<float>(r.width), static_cast<float>(r.height)));
}

std::optional<MenuLabel> LabelUnder(const vdx::platform::MouseState& mouse) {
  if (!mouse.over) return std::nullopt;
  for (int i = 0; i < kMenuLabelCount; ++i)
    if (kMenuLabelRects[static_cast<std::size_t>(i)].contains(mouse.x, mouse.y))
      return static_cast<MenuLabel>(i);
  return std::nullopt;
}

FormAction MenuLabels(const ImGuiCanvas& canvas, FormState& form) {
  FormAction action = FormAction::None;
  for (int i = 0; i < kMenuLabelCount; ++i) {
    const Rect& r = kMenuLabelRects[static_cast<std::size_t>(i)];
    const auto label = static_cast<MenuLabel>(i);
    ImGui::PushID(i);
    if (InvisibleButtonAt(r, "label")) {
      switch (label) {
        case MenuLabel::Keyboard:
          ShowPanel(form, Panel::Keyboard);
          break;
        case MenuLabel::Audio:
          ShowPanel(form, Panel::Audio);
          break;
        case MenuLabel::Gamepad:
          ShowPanel(form, Panel::Gamepad);
          break;
        case MenuLabel::Start:
          action = FormAction::Start;
          break;
        case MenuLabel::Exit:
          action = FormAction::Exit;
          break;
      }
    }
    ImGui::PopID();
    TextIn(canvas.titleFont(), r, 0,
           form.hoveredLabel == label ? kMenuLabelHoverColour : kMenuLabelColour,
           kMenuLabels[static_cast<std::size_t>(i)]);
  }
  return action;
}

void PanelFrame(const ImGuiCanvas& canvas, const char* title) {
  const Rect& p = kPanelRect;
  ImDrawList* draw = ImGui::GetWindowDrawList();
  draw->AddRectFilled(At(p.x, p.y), At(p.x + p.width, p.y + p.height), Colour(kPanelFill));
  draw->AddRect(At(p.x, p.y), At(p.x + p.width, p.y + p.height), Colour(kPanelEdge));
  Text(canvas.titleFont(), kPanelTitleX, kPanelTitleY, kTitleColour, title);
}

void KeyboardPanel(const ImGuiCanvas& canvas, FormState& form) {
  PanelFrame(canvas, kKeyboardTitle);
  ImDrawList* draw = ImGui::GetWindowDrawList();
  for (int player = 0; player < 2; ++player)
    Text(canvas.captionFont(), kPlayerColumnX[static_cast<std::size_t>(player)], kColumnTitleY,
         kTitleColour, player == 0 ? "Player 1" : "Player 2");
  for (int i = 0; i < kKeyBoxCount; ++i) {
    const Rect box = KeyBoxRect(i);
    TextIn(canvas.captionFont(), {box.x - kKeyBoxOffsetX, box.y, kKeyBoxOffsetX, box.height}, 0,
           kCaptionColour, kKeyCaptions[static_cast<std::size_t>(i % 7)]);
    ImGui::PushID(100 + i);
    // The focus moves with the press, as a text box takes it.
    InvisibleButtonAt(box, "box");
    if (ImGui::IsItemActivated()) form.FocusedKey = i;
    ImGui::PopID();
    const bool focused = form.FocusedKey == i;
    draw->AddRectFilled(At(box.x, box.y), At(box.x + box.width, box.y + box.height),
                        Colour(0xFFFFFF));
    draw->AddRect(At(box.x, box.y), At(box.x + box.width, box.y + box.height),
                  Colour(focused ? kFocusEdge : kBoxEdge), 0.0f, 0, focused ? 2.0f : 1.0f);
    draw->PushClipRect(At(box.x + 2, box.y + 2), At(box.x + box.width - 2, box.y + box.height - 2),
                       true);
    TextIn(canvas.captionFont(), box, 5, 0x000000, form.keyTexts[static_cast<std::size_t>(i)]);
    draw->PopClipRect();
  }
}

// The look of the small "-" and "+" buttons, pushed and popped around them.
void PushStepButtonStyle(const ImGuiCanvas& canvas) {
  ImGui::PushFont(canvas.captionFont());
  ImGui::PushStyleColor(ImGuiCol_Button, Colour(kButtonFace));
  ImGui::PushStyleColor(ImGuiCol_ButtonHovered, Colour(0xE4E0D8));
  ImGui::PushStyleColor(ImGuiCol_ButtonActive, Colour(0xB4B0A8));
  ImGui::PushStyleColor(ImGuiCol_Text, Colour(0x000000));
  ImGui::PushStyleColor(ImGuiCol_Border, Colour(0x404040));
  ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, 1.0f);
}

void PopStepButtonStyle() {
  ImGui::PopStyleVar();
  ImGui::PopStyleColor(5);
  ImGui::PopFont();
}

bool StepButton(const char* caption, const Rect& r) {
  ImGui::SetCursorScreenPos(At(r.x, r.y));
  return ImGui::Button(caption, ImVec2(static_cast<float>(r.width), static_cast<float>(r.height)));
}

void AudioPanel(const ImGuiCanvas& canvas, FormState& form) {
  PanelFrame(canvas, kAudioTitle);
  TextIn(canvas.captionFont(), kMusicLabelRect, 0, kCaptionColour, MusicLabel(form));
  TextIn(canvas.captionFont(), kEffectsLabelRect, 0, kCaptionColour, EffectsLabel(form));
  PushStepButtonStyle(canvas);
  constexpr std::array<const char*, 4> kCaptions = {"-##music", "+##music", "-##effects",
                                                    "+##effects"};
  for (std::size_t i = 0; i < kVolumeButtonRects.size(); ++i)
    if (StepButton(kCaptions[i], kVolumeButtonRects[i]))
      PressVolumeButton(form, static_cast<VolumeButton>(i));
  PopStepButtonStyle();
}

void GamepadPanel(const ImGuiCanvas& canvas, FormState& form) {
  PanelFrame(canvas, kGamepadTitle);
  ImGui::PushFont(canvas.captionFont());
  ImGui::PushStyleColor(ImGuiCol_Text, Colour(kCaptionColour));
  ImGui::PushStyleColor(ImGuiCol_FrameBg, Colour(0xFFFFFF));
  ImGui::PushStyleColor(ImGuiCol_FrameBgHovered, Colour(0xF0F0F0));
  ImGui::PushStyleColor(ImGuiCol_FrameBgActive, Colour(0xD0D0D0));
  ImGui::PushStyleColor(ImGuiCol_CheckMark, Colour(0x000000));
  ImGui::SetCursorScreenPos(At(kJoystickBoxRect.x, kJoystickBoxRect.y));
  ImGui::Checkbox(kJoystickCaption, &form.settings.JoystickOn);
  ImGui::SetCursorScreenPos(At(kFpsBoxRect.x, kFpsBoxRect.y));
  ImGui::Checkbox(kFpsCaption, &form.ShowFpsOn);
  ImGui::PopStyleColor(5);
  ImGui::PopFont();
  TextIn(canvas.captionFont(), kDifficultyLabelRect, 0, kCaptionColour, DifficultyLabel(form));
  PushStepButtonStyle(canvas);
  if (StepButton("-##level", kDifficultyButtonRects[0])) StepDifficulty(form, -1);
  if (StepButton("+##level", kDifficultyButtonRects[1])) StepDifficulty(form, +1);
  PopStepButtonStyle();
}

}  // namespace

FormAction DrawForm(ImGuiCanvas& canvas, FormState& form, const FormLook& look,
                    const vdx::platform::MouseState& mouse) {
  const std::optional<MenuLabel> overLabel = LabelUnder(mouse);
  MoveMouse(form, overLabel, mouse.over && !overLabel && !kPanelRect.contains(mouse.x, mouse.y));
  // A press anywhere but on a key box takes the focus from the key boxes; a
  // press on one gives it back below.
  if (ImGui::IsMouseClicked(ImGuiMouseButton_Left)) form.FocusedKey.reset();

  ImDrawList* back = ImGui::GetBackgroundDrawList();
  const ImVec2 size = At(vdx::platform::kFrameWidth, vdx::platform::kFrameHeight);
  if (look.background != nullptr)
    back->AddImage(look.background, ImVec2(0, 0), size);
  else
    back->AddRectFilled(ImVec2(0, 0), size, Colour(kBackdrop));

  ImGui::SetNextWindowPos(ImVec2(0, 0));
  ImGui::SetNextWindowSize(size);
  ImGui::Begin("form", nullptr,
               ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoBackground |
                   ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings |
                   ImGuiWindowFlags_NoNav | ImGuiWindowFlags_NoScrollWithMouse);
  const FormAction action = MenuLabels(canvas, form);
  switch (form.panel) {
    case Panel::Main:
      PanelFrame(canvas, kMainTitle);
      break;
    case Panel::Keyboard:
      KeyboardPanel(canvas, form);
      break;
    case Panel::Audio:
      AudioPanel(canvas, form);
      break;
    case Panel::Gamepad:
      GamepadPanel(canvas, form);
      break;
  }
  if (!look.note.empty()) Text(canvas.captionFont(), kNoteX, kNoteY, kNoteColour, look.note);
  ImGui::End();
  return action;
}

}  // namespace vdxlaunch
