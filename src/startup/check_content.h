// `vdx --check-content`: reads a game folder as the game would and reports.
#pragma once

#include <filesystem>
#include <ostream>

namespace vdx {

// Returns 0 when nothing was skipped and every needed file is there and
// decodes, else 1.
// `json`: the same report as JSON (content/content_report_json.h has its shape).
int RunContentCheck(const std::filesystem::path& gameDir, std::ostream& out, bool json = false);

}  // namespace vdx
