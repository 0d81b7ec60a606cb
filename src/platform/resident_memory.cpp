#include "platform/resident_memory.h"

#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <fstream>

namespace vdx::platform {

std::optional<std::uint64_t> ResidentBytes() {
  // statm: the program's size, then its resident pages.
  std::ifstream statm("/proc/self/statm");
  std::uint64_t size = 0, resident = 0;
  if (!(statm >> size >> resident)) return std::nullopt;
  const long page = sysconf(_SC_PAGESIZE);
  if (page <= 0) return std::nullopt;
  return resident * static_cast<std::uint64_t>(page);
}

void ReturnFreeMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace vdx::platform
