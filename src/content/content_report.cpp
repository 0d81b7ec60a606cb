#include "content/content_report.h"

#include <algorithm>
#include <sstream>

namespace vdx {

std::string DescribeSkippedStep(const SkippedStep& s) {
  std::string text = s.file;
  if (s.line > 0) text += " line " + std::to_string(s.line);
  if (!s.element.empty()) text += ", " + s.element;
  if (!s.attribute.empty()) text += ", attribute " + s.attribute;
  return text + ": " + s.reason;
}

ContentCounts CountContent(const Content& content) {
  ContentCounts counts;
  for (const cCharacter& c : content.Characters) {
    counts.actions += c.Actions.size();
    counts.effects += c.Effects.size();
  }
  for (const cStage& s : content.Stages)
    counts.animations += s.Animations.size();
  return counts;
}

std::string FormatContentReport(const Content& content, const LoadReport& report) {
  std::ostringstream out;
  const auto [actions, effects, animations] = CountContent(content);

  out << "Read:\n"
      << "  Characters " << content.Characters.size() << " (actions " << actions << ", effects "
      << effects << ")\n"
      << "  Stages " << content.Stages.size() << " (animations " << animations << ")\n"
      << "  Events " << content.Events.size() << "\n"
      << "  MenuItems " << content.MenuItems.size() << "\n"
      << "  FontChars " << content.FontChars.size() << "\n"
      << "  AIProfiles " << content.AIProfiles.size() << "\n"
      << "  Stories " << content.Stories.size() << "\n";

  if (report.skipped.empty()) {
    out << "Skipped: nothing\n";
  } else {
    out << "Skipped (" << report.skipped.size() << "):\n";
    for (const SkippedStep& s : report.skipped)
      out << "  " << DescribeSkippedStep(s) << "\n";
  }
  const auto refused =
      static_cast<std::size_t>(std::count_if(report.missing.begin(), report.missing.end(),
                                             [](const MissingFile& m) { return m.refused; }));
  const std::size_t missing = report.missing.size() - refused;
  if (missing == 0) {
    out << "Missing files: none\n";
  } else {
    out << "Missing files (" << missing << "):\n";
    for (const MissingFile& m : report.missing)
      if (!m.refused) out << "  " << m.path << " (" << m.owner << ")\n";
  }
  if (!report.unknownNames.empty()) {
    out << "Names that match nothing (" << report.unknownNames.size() << "):\n";
    for (const UnknownName& n : report.unknownNames)
      out << "  " << n.file << ", " << n.element << ": " << n.reason << "\n";
  }
  if (!report.broken.empty()) {
    out << "Files the game cannot use (" << report.broken.size() << "):\n";
    for (const BrokenFile& b : report.broken)
      out << "  " << b.path << " (" << b.owner << "): " << b.reason << "\n";
  }
  if (refused > 0) {
    out << "Refused paths, which would leave the game folder (" << refused << "):\n";
    for (const MissingFile& m : report.missing)
      if (m.refused) out << "  " << m.path << " (" << m.owner << ")\n";
  }
  return out.str();
}

std::vector<std::string> DescribeProblems(const LoadReport& report) {
  std::vector<std::string> lines;
  for (const SkippedStep& step : report.skipped)
    lines.push_back(DescribeSkippedStep(step));
  for (const MissingFile& m : report.missing)
    lines.push_back(m.path + " (" + m.owner + "): " +
                    (m.refused ? "refused, it would leave the game folder" : "missing"));
  for (const BrokenFile& b : report.broken)
    lines.push_back(b.path + " (" + b.owner + "): " + b.reason);
  for (const UnknownName& n : report.unknownNames)
    lines.push_back(n.file + ", " + n.element + ": " + n.reason);
  return lines;
}

}  // namespace vdx
