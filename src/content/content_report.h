// The text of `vdx --check-content`: what was read, what was skipped and why,
// and which needed files are missing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "content/content.h"
#include "content/load_report.h"

namespace vdx {

// The records read, as both reports count them.
struct ContentCounts {
  std::size_t actions = 0;     // of all characters
  std::size_t effects = 0;     // of all characters
  std::size_t animations = 0;  // of all stages
};
ContentCounts CountContent(const Content& content);

std::string FormatContentReport(const Content& content, const LoadReport& report);

// Every problem of the report, one line each, for the log: skipped steps,
// then missing, refused and unusable files, then names that match nothing.
std::vector<std::string> DescribeProblems(const LoadReport& report);

// One skipped step in a line: "Game.xml line 3, Character "Kira", attribute
// Health: "lots" is not an Integer".
std::string DescribeSkippedStep(const SkippedStep& step);

}  // namespace vdx
