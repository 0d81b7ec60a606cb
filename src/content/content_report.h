// The text of `vdx --check-content`: what was read, what was skipped and why,
// and which needed files are missing.
#pragma once

#include <string>

#include "content/content.h"
#include "content/load_report.h"

namespace vdx {

std::string FormatContentReport(const Content& content, const LoadReport& report);

// One skipped step in a line: "Game.xml line 3, Character "Kira", attribute
// Health: "lots" is not an Integer".
std::string DescribeSkippedStep(const SkippedStep& step);

}  // namespace vdx
