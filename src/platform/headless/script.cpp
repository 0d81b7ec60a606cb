#include "platform/headless/script.h"

#include <algorithm>
#include <charconv>

#include "platform/picture_files.h"

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
      const auto at = static_cast<std::uint32_t>(std::min<std::uint64_t>(now, UINT32_MAX));
      if (command == "release") {
        script.events.push_back({ScriptEvent::Kind::Release, at, *key, {}, lineNumber});
      } else {
        script.events.push_back({ScriptEvent::Kind::Press, at, *key, {}, lineNumber});
        if (command == "tap") {
          now += kTapHoldMs;
          const auto up = static_cast<std::uint32_t>(std::min<std::uint64_t>(now, UINT32_MAX));
          script.events.push_back({ScriptEvent::Kind::Release, up, *key, {}, lineNumber});
        }
      }
    } else if (command == "screenshot") {
      if (argument.empty()) return needArgument("a file name");
      if (!PictureFormatOf(argument))
        return ErrorAt(lineNumber, "cannot write \"" + std::string(argument) +
                                       "\": a screenshot's name ends in .png or .bmp");
      const auto at = static_cast<std::uint32_t>(std::min<std::uint64_t>(now, UINT32_MAX));
      script.events.push_back(
          {ScriptEvent::Kind::Screenshot, at, 0, std::string(argument), lineNumber});
    } else if (command == "state") {
      if (argument.empty()) return needArgument("a file name");
      const auto at = static_cast<std::uint32_t>(std::min<std::uint64_t>(now, UINT32_MAX));
      script.events.push_back(
          {ScriptEvent::Kind::State, at, 0, std::string(argument), lineNumber});
    } else if (command == "quit") {
      if (!argument.empty()) return ErrorAt(lineNumber, "\"quit\" takes nothing after it");
      const auto at = static_cast<std::uint32_t>(std::min<std::uint64_t>(now, UINT32_MAX));
      script.events.push_back({ScriptEvent::Kind::Quit, at, 0, {}, lineNumber});
    } else {
      return ErrorAt(lineNumber, "unknown command \"" + std::string(command) +
                                     "\" (known: wait, press, release, tap, screenshot, state, quit)");
    }
    if (now > UINT32_MAX) return ErrorAt(lineNumber, "the script runs past 49 days");
    if (end == text.size()) break;
  }
  std::stable_sort(script.events.begin(), script.events.end(),
                   [](const ScriptEvent& a, const ScriptEvent& b) { return a.atMs < b.atMs; });
  script.endMs = static_cast<std::uint32_t>(now);
  return script;
}

}  // namespace vdx::platform
