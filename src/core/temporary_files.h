// The temporary files of whole-file writes (see WriteWholeFile) that a killed
// writer left behind: ".<name>.<pid>.<n>", complete or not, that nothing else
// would ever remove.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string_view>

namespace vdx {

// The process id in a name of exactly the temporary files' form, or nothing.
std::optional<pid_t> TemporaryFileWriter(std::string_view name);

// Removes from `folder` (not below it) the temporary files whose writer is no
// longer running: only names of that form, only regular files (a link is
// never followed or removed), never one of a process still alive. Returns how
// many were removed.
int RemoveLeftTemporaryFiles(const std::filesystem::path& folder);

}  // namespace vdx
