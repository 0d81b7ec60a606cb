// Pipes in place of content files: a reader must refuse one at once, never
// wait for a writer that will not come.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <string>

namespace vdx::testing {

inline void MakeFifo(const std::filesystem::path& path) {
  std::filesystem::create_directories(path.parent_path());
  ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0) << path;
}

// Runs `read` (which opens the pipe at `fifo`) and fails the test when it is
// still waiting after a while. A reader stuck on the pipe is then set free by
// opening the pipe's other end, so a fault fails the test instead of hanging it.
inline void ExpectNoWaitOnPipe(const std::filesystem::path& fifo, std::function<void()> read,
                               const std::string& reader) {
  auto done = std::async(std::launch::async, std::move(read));
  if (done.wait_for(std::chrono::seconds(20)) == std::future_status::ready) {
    done.get();
    return;
  }
  ADD_FAILURE() << reader << " waits on the pipe " << fifo;
  while (done.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
    const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
  }
  done.get();
}

}  // namespace vdx::testing
