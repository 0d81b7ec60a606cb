// The automation script of `vdx --headless --script FILE`: plain text, one command
// a line, played against the headless backend's virtual clock.
//
//   wait MS            let MS milliseconds of game time pass
//   press KEY          hold a key down (a key name such as Left, Return, A, or a code)
//   release KEY        let it go
//   tap KEY            press, hold for 100 ms, release (the 100 ms pass)
//   screenshot F.png   write the frame on screen at that moment, as a PNG; a
//                      name ending in .bmp gives a 24-bit Windows bitmap
//   state F.json       ask the game to write its state at that moment (the
//                      fight writes its fighters, camera and state hash)
//   quit               ask the game to close, as the window's close button does
//   move X Y           put the mouse at pixel (X, Y) of the 640 x 480 frame
//   click X Y          move there, hold the left button for 100 ms, let it go,
//                      and rest 100 ms, so that a program which reads the mouse
//                      once a frame sees two clicks in a row as two
//   focus off|on       the window loses or gets back the keyboard focus, as when
//                      the player switches to another program and back
//   # ...              a comment; blank lines are ignored
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/keycodes.h"

namespace vdx::platform {

inline constexpr std::uint32_t kTapHoldMs = 100;
inline constexpr std::uint32_t kClickRestMs = 100;  // after a click's release

struct ScriptEvent {
  enum class Kind { Press, Release, Screenshot, State, Quit, MouseMove, MouseDown, MouseUp, Focus };
  Kind kind = Kind::Quit;
  std::uint32_t atMs = 0;  // game time from the start of the run
  KeyCode key = 0;         // Press, Release
  std::string path;        // Screenshot, State
  int line = 0;            // line of the script it came from
  int x = 0;               // MouseMove, MouseDown, MouseUp: frame pixels
  int y = 0;
  bool on = false;  // Focus: gained (true) or lost
};

struct Script {
  std::vector<ScriptEvent> events;  // in time order; equal times keep line order
  std::uint32_t endMs = 0;          // the time after the last command
};

struct ScriptError {
  int line = 0;
  std::string message;  // "line 3: unknown command "jump""
};

std::variant<Script, ScriptError> ParseScript(std::string_view text);

// Reads a script file and parses it; the error names the file: "cannot read the
// script run.txt", "run.txt line 3: unknown command ...".
std::variant<Script, ScriptError> ReadScriptFile(const std::string& path);

}  // namespace vdx::platform
