#include "launcher/key_names.h"

#include <cstdio>
#include <optional>

#include "content/xml_encoding.h"
#include "content/xml_values.h"

namespace vdxlaunch {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The next field of a record from `at`, which ends after the field's comma (or
// at the end of the line). A field in double quotes is taken as it stands
// (commas included) and anything between its closing quote and the comma is
// ignored; a bare field is trimmed. nullopt for an opening quote never closed.
std::optional<std::string> NextField(std::string_view line, std::size_t& at) {
  while (at < line.size() && IsBlank(line[at]))
    ++at;
  std::string field;
  if (at < line.size() && line[at] == '"') {
    const std::size_t close = line.find('"', at + 1);
    if (close == std::string_view::npos) return std::nullopt;
    field = line.substr(at + 1, close - at - 1);
    at = close + 1;
    const std::size_t comma = line.find(',', at);
    at = comma == std::string_view::npos ? line.size() : comma + 1;
    return field;
  }
  const std::size_t comma = line.find(',', at);
  const std::size_t end = comma == std::string_view::npos ? line.size() : comma;
  std::size_t last = end;
  while (last > at && IsBlank(line[last - 1]))
    --last;
  field = line.substr(at, last - at);
  at = comma == std::string_view::npos ? line.size() : comma + 1;
  return field;
}

std::string LineProblem(int number, const std::string& what) {
  return "keys.txt line " + std::to_string(number) + ": " + what;
}

}  // namespace

KeyNames ReadKeysTxt(std::string_view bytes) {
  KeyNames result;
  std::string text(bytes);
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  if (vdx::FirstInvalidUtf8(text) != std::string::npos) text = vdx::Windows1252ToUtf8(text);

  std::size_t start = 0;
  int number = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    ++number;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.find_first_not_of(" \t") == std::string_view::npos) continue;

    std::size_t at = 0;
    const auto code = NextField(line, at);
    const auto name = code ? NextField(line, at) : std::nullopt;
    if (!code || !name) {
      result.problems.push_back(LineProblem(number, "a quote is not closed"));
      continue;
    }
    // The code is read as "&H" + the field, as the game reads numbers.
    const auto value = code->empty() ? std::nullopt : vdx::ToInteger("&H" + *code);
    if (!value) {
      result.problems.push_back(
          LineProblem(number, "\"" + *code + "\" is not a key code in hexadecimal"));
      continue;
    }
    if (name->empty()) {
      result.problems.push_back(LineProblem(number, "the key " + *code + " has no name"));
      continue;
    }
    if (!result.names.add(cKeys{*value, *name}, std::to_string(*value) + "A"))
      result.problems.push_back(
          LineProblem(number, "the key " + *code + " is named before; the first name is kept"));
  }
  return result;
}

std::string KeyBoxText(const KeyNames& keyNames, int code) {
  if (const cKeys* key = keyNames.names.find(std::to_string(code) + "A")) return key->Description;
  if (code == 0) return "(none)";
  char text[16];
  std::snprintf(text, sizeof text, "Key 0x%02X", static_cast<unsigned>(code) & 0xFFFFu);
  return text;
}

}  // namespace vdxlaunch
