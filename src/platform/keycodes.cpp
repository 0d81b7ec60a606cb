#include "platform/keycodes.h"

#include <array>
#include <cctype>
#include <charconv>
#include <string>

namespace vdx {
namespace {

constexpr std::array kKeyNames = {
    KeyName{0x01, "Escape"},
    KeyName{0x02, "1"},
    KeyName{0x03, "2"},
    KeyName{0x04, "3"},
    KeyName{0x05, "4"},
    KeyName{0x06, "5"},
    KeyName{0x07, "6"},
    KeyName{0x08, "7"},
    KeyName{0x09, "8"},
    KeyName{0x0A, "9"},
    KeyName{0x0B, "0"},
    KeyName{0x0C, "Minus"},
    KeyName{0x0D, "Equals"},
    KeyName{0x0E, "Back"},
    KeyName{0x0F, "Tab"},
    KeyName{0x10, "Q"},
    KeyName{0x11, "W"},
    KeyName{0x12, "E"},
    KeyName{0x13, "R"},
    KeyName{0x14, "T"},
    KeyName{0x15, "Y"},
    KeyName{0x16, "U"},
    KeyName{0x17, "I"},
    KeyName{0x18, "O"},
    KeyName{0x19, "P"},
    KeyName{0x1A, "LBracket"},
    KeyName{0x1B, "RBracket"},
    KeyName{0x1C, "Return"},
    KeyName{0x1D, "LControl"},
    KeyName{0x1E, "A"},
    KeyName{0x1F, "S"},
    KeyName{0x20, "D"},
    KeyName{0x21, "F"},
    KeyName{0x22, "G"},
    KeyName{0x23, "H"},
    KeyName{0x24, "J"},
    KeyName{0x25, "K"},
    KeyName{0x26, "L"},
    KeyName{0x27, "Semicolon"},
    KeyName{0x28, "Apostrophe"},
    KeyName{0x29, "Grave"},
    KeyName{0x2A, "LShift"},
    KeyName{0x2B, "Backslash"},
    KeyName{0x2C, "Z"},
    KeyName{0x2D, "X"},
    KeyName{0x2E, "C"},
    KeyName{0x2F, "V"},
    KeyName{0x30, "B"},
    KeyName{0x31, "N"},
    KeyName{0x32, "M"},
    KeyName{0x33, "Comma"},
    KeyName{0x34, "Period"},
    KeyName{0x35, "Slash"},
    KeyName{0x36, "RShift"},
    KeyName{0x37, "Multiply"},
    KeyName{0x38, "LMenu"},
    KeyName{0x39, "Space"},
    KeyName{0x3A, "Capital"},
    KeyName{0x3B, "F1"},
    KeyName{0x3C, "F2"},
    KeyName{0x3D, "F3"},
    KeyName{0x3E, "F4"},
    KeyName{0x3F, "F5"},
    KeyName{0x40, "F6"},
    KeyName{0x41, "F7"},
    KeyName{0x42, "F8"},
    KeyName{0x43, "F9"},
    KeyName{0x44, "F10"},
    KeyName{0x45, "Numlock"},
    KeyName{0x46, "Scroll"},
    KeyName{0x47, "Numpad7"},
    KeyName{0x48, "Numpad8"},
    KeyName{0x49, "Numpad9"},
    KeyName{0x4A, "Subtract"},
    KeyName{0x4B, "Numpad4"},
    KeyName{0x4C, "Numpad5"},
    KeyName{0x4D, "Numpad6"},
    KeyName{0x4E, "Add"},
    KeyName{0x4F, "Numpad1"},
    KeyName{0x50, "Numpad2"},
    KeyName{0x51, "Numpad3"},
    KeyName{0x52, "Numpad0"},
    KeyName{0x53, "Decimal"},
    KeyName{0x56, "OEM_102"},
    KeyName{0x57, "F11"},
    KeyName{0x58, "F12"},
    KeyName{0x64, "F13"},
    KeyName{0x65, "F14"},
    KeyName{0x66, "F15"},
    KeyName{0x70, "Kana"},
    KeyName{0x73, "AbntC1"},
    KeyName{0x79, "Convert"},
    KeyName{0x7B, "NoConvert"},
    KeyName{0x7D, "Yen"},
    KeyName{0x7E, "AbntC2"},
    KeyName{0x8D, "NumpadEquals"},
    KeyName{0x90, "PrevTrack"},
    KeyName{0x91, "At"},
    KeyName{0x92, "Colon"},
    KeyName{0x93, "Underline"},
    KeyName{0x94, "Kanji"},
    KeyName{0x95, "Stop"},
    KeyName{0x96, "Ax"},
    KeyName{0x97, "Unlabeled"},
    KeyName{0x99, "NextTrack"},
    KeyName{0x9C, "NumpadEnter"},
    KeyName{0x9D, "RControl"},
    KeyName{0xA0, "Mute"},
    KeyName{0xA1, "Calculator"},
    KeyName{0xA2, "PlayPause"},
    KeyName{0xA4, "MediaStop"},
    KeyName{0xAE, "VolumeDown"},
    KeyName{0xB0, "VolumeUp"},
    KeyName{0xB2, "WebHome"},
    KeyName{0xB3, "NumpadComma"},
    KeyName{0xB5, "Divide"},
    KeyName{0xB7, "SysRq"},
    KeyName{0xB8, "RMenu"},
    KeyName{0xC5, "Pause"},
    KeyName{0xC7, "Home"},
    KeyName{0xC8, "Up"},
    KeyName{0xC9, "Prior"},
    KeyName{0xCB, "Left"},
    KeyName{0xCD, "Right"},
    KeyName{0xCF, "End"},
    KeyName{0xD0, "Down"},
    KeyName{0xD1, "Next"},
    KeyName{0xD2, "Insert"},
    KeyName{0xD3, "Delete"},
    KeyName{0xDB, "LWin"},
    KeyName{0xDC, "RWin"},
    KeyName{0xDD, "Apps"},
    KeyName{0xDE, "Power"},
    KeyName{0xDF, "Sleep"},
    KeyName{0xE3, "Wake"},
    KeyName{0xE5, "WebSearch"},
    KeyName{0xE6, "WebFavorites"},
    KeyName{0xE7, "WebRefresh"},
    KeyName{0xE8, "WebStop"},
    KeyName{0xE9, "WebForward"},
    KeyName{0xEA, "WebBack"},
    KeyName{0xEB, "MyComputer"},
    KeyName{0xEC, "Mail"},
    KeyName{0xED, "MediaSelect"},
};

// Names people type that DirectInput spells differently.
constexpr std::array kAliases = {
    KeyName{0x01, "Esc"},          KeyName{0x1C, "Enter"},       KeyName{0x0E, "Backspace"},
    KeyName{0x38, "Alt"},          KeyName{0x38, "LAlt"},        KeyName{0xB8, "RAlt"},
    KeyName{0x1D, "Ctrl"},         KeyName{0x1D, "LCtrl"},       KeyName{0x9D, "RCtrl"},
    KeyName{0x2A, "Shift"},        KeyName{0xC9, "PageUp"},      KeyName{0xD1, "PageDown"},
    KeyName{0x3A, "CapsLock"},     KeyName{0x0C, "-"},           KeyName{0x0D, "="},
    KeyName{0x37, "NumpadStar"},   KeyName{0x4A, "NumpadMinus"}, KeyName{0x4E, "NumpadPlus"},
    KeyName{0x53, "NumpadPeriod"}, KeyName{0xB5, "NumpadSlash"},
};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

std::optional<KeyCode> ParseKeyNumber(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  unsigned value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (ec != std::errc() || end != text.data() + text.size() || value == 0 || value > 255)
    return std::nullopt;
  return static_cast<KeyCode>(value);
}

}  // namespace

std::span<const KeyName> AllKeyNames() {
  return kKeyNames;
}

std::string_view KeyNameOf(KeyCode code) {
  for (const KeyName& k : kKeyNames)
    if (k.code == code) return k.name;
  return {};
}

std::optional<KeyCode> ParseKey(std::string_view text) {
  if (text.empty()) return std::nullopt;
  for (const KeyName& k : kKeyNames)
    if (SameIgnoringCase(k.name, text)) return k.code;
  for (const KeyName& k : kAliases)
    if (SameIgnoringCase(k.name, text)) return k.code;
  // Single digits are key names ("1" is the key 1), so numbers need two or more digits
  // or the 0x form to stand for a code.
  return ParseKeyNumber(text);
}

}  // namespace vdx
