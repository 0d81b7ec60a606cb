#include "platform/headless/script.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <utility>

#include "core/files.h"
#include "platform/picture_files.h"
#include "platform/platform.h"

namespace vdx::platform {
namespace {

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

ScriptError ErrorAt(int line, const std::string& what) {
  return ScriptError{line, "line " + std::to_string(line) + ": " + what};
}

// "X Y": a pixel of the frame.
std::optional<std::pair<int, int>> FramePoint(std::string_view text) {
  const auto space = text.find_first_of(" \t");
  if (space == std::string_view::npos) return std::nullopt;
  const std::string_view xs = text.substr(0, space);
  const std::string_view ys = Trim(text.substr(space));
  int x = -1;
  int y = -1;
  auto [xp, xe] = std::from_chars(xs.data(), xs.data() + xs.size(), x);
  auto [yp, ye] = std::from_chars(ys.data(), ys.data() + ys.size(), y);
  if (xe != std::errc() || xp != xs.data() + xs.size() || ye != std::errc() ||
      yp != ys.data() + ys.size())
    return std::nullopt;
  if (x < 0 || y < 0 || x >= kFrameWidth || y >= kFrameHeight) return std::nullopt;
  return std::pair{x, y};
}

}  // namespace

std::variant<Script, ScriptError> ParseScript(std::string_view text) {
  Script script;
  std::uint64_t now = 0;
  int lineNumber = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;

    if (const auto hash = line.find('#'); hash != std::string_view::npos)
      line = line.substr(0, hash);
    line = Trim(line);
    if (line.empty()) {
      if (end == text.size()) break;
      continue;
    }

    const auto space = line.find_first_of(" \t");
    const std::string_view command = line.substr(0, space);
    const std::string_view argument =
        space == std::string_view::npos ? std::string_view{} : Trim(line.substr(space));

    auto needArgument = [&](const char* what) -> std::variant<Script, ScriptError> {
      return ErrorAt(lineNumber, "\"" + std::string(command) + "\" needs " + what);
    };
    auto keyArgument = [&]() -> std::optional<KeyCode> { return ParseKey(argument); };
    auto nowMs = [&now]() {
      return static_cast<std::uint32_t>(std::min<std::uint64_t>(now, UINT32_MAX));
    };

    if (command == "wait") {
      if (argument.empty()) return needArgument("a number of milliseconds");
      std::uint32_t ms = 0;
      auto [p, ec] = std::from_chars(argument.data(), argument.data() + argument.size(), ms);
      if (ec != std::errc() || p != argument.data() + argument.size())
        return ErrorAt(lineNumber,
                       "\"" + std::string(argument) + "\" is not a number of milliseconds");
      now += ms;
    } else if (command == "press" || command == "release" || command == "tap") {
      if (argument.empty()) return needArgument("a key");
      const auto key = keyArgument();
      if (!key) return ErrorAt(lineNumber, "unknown key \"" + std::string(argument) + "\"");
      const auto at = nowMs();
      if (command == "release") {
        script.events.push_back({ScriptEvent::Kind::Release, at, *key, {}, lineNumber});
      } else {
        script.events.push_back({ScriptEvent::Kind::Press, at, *key, {}, lineNumber});
        if (command == "tap") {
          now += kTapHoldMs;
          script.events.push_back({ScriptEvent::Kind::Release, nowMs(), *key, {}, lineNumber});
        }
      }
    } else if (command == "screenshot") {
      if (argument.empty()) return needArgument("a file name");
      if (!PictureFormatOf(argument))
        return ErrorAt(lineNumber, "cannot write \"" + std::string(argument) +
                                       "\": a screenshot's name ends in .png or .bmp");
      script.events.push_back(
          {ScriptEvent::Kind::Screenshot, nowMs(), 0, std::string(argument), lineNumber});
    } else if (command == "state") {
      if (argument.empty()) return needArgument("a file name");
      script.events.push_back(
          {ScriptEvent::Kind::State, nowMs(), 0, std::string(argument), lineNumber});
    } else if (command == "quit") {
      if (!argument.empty()) return ErrorAt(lineNumber, "\"quit\" takes nothing after it");
      script.events.push_back({ScriptEvent::Kind::Quit, nowMs(), 0, {}, lineNumber});
    } else if (command == "move" || command == "click") {
      if (argument.empty()) return needArgument("a point X Y of the frame");
      const auto point = FramePoint(argument);
      if (!point)
        return ErrorAt(lineNumber, "\"" + std::string(argument) +
                                       "\" is not a point X Y inside the 640 x 480 frame");
      ScriptEvent event{ScriptEvent::Kind::MouseMove, nowMs(), 0, {}, lineNumber};
      event.x = point->first;
      event.y = point->second;
      if (command == "click") {
        event.kind = ScriptEvent::Kind::MouseDown;
        script.events.push_back(event);
        now += kTapHoldMs;
        event.kind = ScriptEvent::Kind::MouseUp;
        event.atMs = nowMs();
        now += kClickRestMs;
      }
      script.events.push_back(event);
    } else if (command == "focus") {
      if (argument != "on" && argument != "off")
        return ErrorAt(lineNumber, "\"focus\" needs on or off");
      ScriptEvent event{ScriptEvent::Kind::Focus, nowMs(), 0, {}, lineNumber};
      event.on = argument == "on";
      script.events.push_back(event);
    } else {
      return ErrorAt(lineNumber,
                     "unknown command \"" + std::string(command) +
                         "\" (known: wait, press, release, tap, screenshot, state, quit, move, "
                         "click, focus)");
    }
    if (now > UINT32_MAX) return ErrorAt(lineNumber, "the script runs past 49 days");
    if (end == text.size()) break;
  }
  std::stable_sort(script.events.begin(), script.events.end(),
                   [](const ScriptEvent& a, const ScriptEvent& b) { return a.atMs < b.atMs; });
  script.endMs = static_cast<std::uint32_t>(now);
  return script;
}

std::variant<Script, ScriptError> ReadScriptFile(const std::string& path) {
  const auto text = ReadWholeFile(path);
  if (!text) return ScriptError{0, "cannot read the script " + path};
  auto parsed = ParseScript(*text);
  if (auto* error = std::get_if<ScriptError>(&parsed)) error->message = path + " " + error->message;
  return parsed;
}

}  // namespace vdx::platform
