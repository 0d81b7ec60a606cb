// Draws the settings form with Dear ImGui and turns the player's clicks into
// the form's rules: the menu labels and their colours, the four panels, the
// key boxes, the volume buttons and the check boxes. Laid out by form_layout.
#pragma once

#include <string>

#include "launcher/form_state.h"
#include "launcher/imgui_canvas.h"
#include "platform/platform.h"

namespace vdxlaunch {

// The form's captions, exactly as players know them.
inline constexpr const char* kFormCaption = "Vandrel Unveiled";
inline constexpr const char* kMainTitle = "Game Settings";
inline constexpr const char* kKeyboardTitle = "Keyboard Setup";
inline constexpr const char* kAudioTitle = "Audio Setup";
inline constexpr const char* kGamepadTitle = "Other Settings";
inline constexpr const char* kGamepadMenuLabel = "Other  Settings";  // two blanks on the menu
inline constexpr const char* kStartLabel = "START";
inline constexpr const char* kExitLabel = "EXIT";
inline constexpr const char* kJoystickCaption = "Enable Gamepad support";
inline constexpr const char* kFpsCaption = "Show frame rate (FPS)";

// The menu labels' colours (0x00RRGGBB): light red, and white under the mouse.
inline constexpr std::uint32_t kMenuLabelColour = 0xFFC0C0;
inline constexpr std::uint32_t kMenuLabelHoverColour = 0xFFFFFF;

struct FormLook {
  ImTextureID background = nullptr;  // the picture behind the form; none: a plain colour
  std::string note;                  // a line at the foot of the form, when not empty
};

enum class FormAction { None, Start, Exit };

// One frame of the form between the canvas's beginFrame and render. Returns
// START or EXIT when the player clicked one of them.
FormAction DrawForm(ImGuiCanvas& canvas, FormState& form, const FormLook& look,
                    const vdx::platform::MouseState& mouse);

}  // namespace vdxlaunch
