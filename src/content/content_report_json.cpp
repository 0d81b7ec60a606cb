#include "content/content_report_json.h"

#include <string_view>
#include <vector>

#include "content/content_report.h"
#include "core/json_text.h"

namespace vdx {
namespace {

std::string Json(std::string_view text) {
  return JsonQuoted(text);
}

// "A; B" as the text report joins them, back into a list.
std::string JsonList(std::string_view joined) {
  std::string out = "[";
  std::size_t start = 0;
  while (true) {
    const std::size_t end = joined.find("; ", start);
    if (start > 0) out += ", ";
    out += Json(joined.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
    start = end + 2;
  }
  return out + "]";
}

std::string Problem(const char* kind, const std::string& file, const std::string& neededBy,
                    const std::string& reason) {
  return std::string("    {\"kind\": \"") + kind + "\", \"file\": " + Json(file) +
         ", \"neededBy\": " + JsonList(neededBy) + ", \"reason\": " + Json(reason) + "}";
}

std::string Joined(const std::vector<std::string>& items) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i)
    out += (i == 0 ? "\n" : ",\n") + items[i];
  return out.empty() ? out : out + "\n  ";
}

}  // namespace

bool ReportIsClean(const LoadReport& report) {
  return report.skipped.empty() && report.missing.empty() && report.broken.empty() &&
         report.unknownNames.empty();
}

std::string FormatContentReportJson(const std::string& gameFolder, const Content& content,
                                    const LoadReport& report) {
  const auto [actions, effects, animations] = CountContent(content);

  std::vector<std::string> skipped;
  for (const SkippedStep& s : report.skipped)
    skipped.push_back("    {\"file\": " + Json(s.file) + ", \"line\": " + std::to_string(s.line) +
                      ", \"element\": " + Json(s.element) + ", \"attribute\": " +
                      Json(s.attribute) + ", \"reason\": " + Json(s.reason) + "}");
  std::vector<std::string> problems;
  for (const MissingFile& m : report.missing)
    problems.push_back(
        m.refused ? Problem("refused", m.path, m.owner, "the path would leave the game folder")
                  : Problem("missing", m.path, m.owner, "the file does not exist"));
  for (const BrokenFile& b : report.broken)
    problems.push_back(Problem("broken", b.path, b.owner, b.reason));
  for (const UnknownName& n : report.unknownNames)
    problems.push_back(Problem("unknownName", n.file, n.element, n.reason));

  std::string out = "{\n  \"gameFolder\": " + Json(gameFolder) +
                    ",\n  \"clean\": " + (ReportIsClean(report) ? "true" : "false") +
                    ",\n  \"counts\": {";
  out += "\"characters\": " + std::to_string(content.Characters.size()) +
         ", \"actions\": " + std::to_string(actions) + ", \"effects\": " + std::to_string(effects) +
         ", \"stages\": " + std::to_string(content.Stages.size()) +
         ", \"animations\": " + std::to_string(animations) +
         ", \"events\": " + std::to_string(content.Events.size()) +
         ", \"menuItems\": " + std::to_string(content.MenuItems.size()) +
         ", \"fontChars\": " + std::to_string(content.FontChars.size()) +
         ", \"aiProfiles\": " + std::to_string(content.AIProfiles.size()) +
         ", \"stories\": " + std::to_string(content.Stories.size()) + "},\n";
  out += "  \"skipped\": [" + Joined(skipped) + "],\n";
  out += "  \"problems\": [" + Joined(problems) + "]\n}\n";
  return out;
}

}  // namespace vdx
