// DirectInput keyboard codes. Game.xml and keys.txt store key bindings as these
// numbers, so the whole game indexes its 256-byte keyboard state by them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace vdx {

using KeyCode = std::uint8_t;

// The keyboard state handed to the game: one byte per key code, non-zero while held.
inline constexpr int kKeyboardStateSize = 256;

namespace key {
inline constexpr KeyCode Escape = 0x01;
inline constexpr KeyCode Back = 0x0E;  // Backspace
inline constexpr KeyCode Tab = 0x0F;
inline constexpr KeyCode Return = 0x1C;
inline constexpr KeyCode LControl = 0x1D;
inline constexpr KeyCode A = 0x1E;
inline constexpr KeyCode D = 0x20;
inline constexpr KeyCode S = 0x1F;
inline constexpr KeyCode X = 0x2D;
inline constexpr KeyCode LShift = 0x2A;
inline constexpr KeyCode LMenu = 0x38;  // left Alt
inline constexpr KeyCode Space = 0x39;
inline constexpr KeyCode F1 = 0x3B;
inline constexpr KeyCode F2 = 0x3C;
inline constexpr KeyCode F3 = 0x3D;
inline constexpr KeyCode F7 = 0x41;
inline constexpr KeyCode F8 = 0x42;
inline constexpr KeyCode F12 = 0x58;
inline constexpr KeyCode RMenu = 0xB8;  // right Alt
inline constexpr KeyCode Up = 0xC8;
inline constexpr KeyCode Left = 0xCB;
inline constexpr KeyCode Right = 0xCD;
inline constexpr KeyCode Down = 0xD0;
}  // namespace key

struct KeyName {
  KeyCode code;
  std::string_view name;  // DirectInput's name without the DIK_ prefix, e.g. "Return", "Numpad7"
};

// Every key of a PC keyboard (including the multimedia and Japanese keys that
// DirectInput names), in code order.
std::span<const KeyName> AllKeyNames();

// The DirectInput name of a code, or an empty view when the code names no key.
std::string_view KeyNameOf(KeyCode code);

// A key given by name (any letter case; a few everyday aliases such as "Enter",
// "Esc", "PageUp" and "Alt" are accepted) or by its number ("28", "0x1C").
std::optional<KeyCode> ParseKey(std::string_view text);

}  // namespace vdx
