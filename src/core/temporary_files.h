// The temporary files of whole-file writes (see WriteWholeFile) that a killed
// writer left behind: ".<name>.<pid>.<n>", complete or not, that nothing else
// would ever remove.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string_view>

namespace vdx {

// The process id in a name of exactly the temporary files' form, or nothing.
std::optional<pid_t> TemporaryFileWriter(std::string_view name);

// The name of the file a temporary file was meant to replace ("save.dat" for
// ".save.dat.4242.1"), or nothing when the name is not of that form.
std::optional<std::string_view> TemporaryFileTarget(std::string_view name);

// Removes from `folder` (not below it) the temporary files whose writer is no
// longer running and that were meant to replace one of `targets` (compared
// without letter case): only names of that form, only regular files (a link is
// never followed or removed), never one of a process still alive. Another
// program's hidden files of the same shape, in a folder named by mistake, are
// left alone. Returns how many were removed.
int RemoveLeftTemporaryFiles(const std::filesystem::path& folder,
                             std::initializer_list<std::string_view> targets);

}  // namespace vdx
