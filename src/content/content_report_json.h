// The content check's report as JSON, for tools (editors, build scripts):
//
//   { "gameFolder": "...", "clean": false,
//     "counts": { "characters": 3, "actions": 60, ... },
//     "skipped": [ { "file", "line", "element", "attribute", "reason" } ],
//     "problems": [ { "kind": "missing" | "refused" | "broken" | "unknownName",
//                     "file", "neededBy": [ ... ], "reason" } ] }
#pragma once

#include <string>

#include "content/content.h"
#include "content/load_report.h"

namespace vdx {

std::string FormatContentReportJson(const std::string& gameFolder, const Content& content,
                                    const LoadReport& report);

// Whether the report has nothing to say.
bool ReportIsClean(const LoadReport& report);

}  // namespace vdx
