#include "platform/program_folder.h"

#include <system_error>

namespace vdx::platform {

std::filesystem::path ProgramFolder(const char* argv0) {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.parent_path();
  const auto fromArgs = std::filesystem::absolute(argv0, ec);
  return ec ? std::filesystem::current_path() : fromArgs.parent_path();
}

}  // namespace vdx::platform
