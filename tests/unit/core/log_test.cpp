#include "core/log.h"

#include <gtest/gtest.h>

#include "unit/test_folder.h"

namespace vdx {
namespace {

TEST(Log, RecordsAreQuotedAndEndWithCrLf) {
  testing::TestFolder folder;
  const auto log = folder.path() / "log.txt";
  EXPECT_TRUE(WriteLog(log, LogOpening::Append, {"Error in ShowMenu "}));
  EXPECT_EQ(folder.read("log.txt"), "\"Error in ShowMenu \"\r\n") << "append creates the file";
  EXPECT_TRUE(WriteLog(log, LogOpening::Append, {"5 Bad thing", "second"}));
  EXPECT_EQ(folder.read("log.txt"), "\"Error in ShowMenu \"\r\n\"5 Bad thing\"\r\n\"second\"\r\n");
  EXPECT_TRUE(WriteLog(log, LogOpening::New, {"Starting in Fullscreen mode"}));
  EXPECT_EQ(folder.read("log.txt"), "\"Starting in Fullscreen mode\"\r\n") << "new cuts the log";
}

TEST(Log, AnUnwritableFolderIsReportedNotFatal) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes to read-only folders";
  testing::TestFolder folder;
  std::filesystem::permissions(
      folder.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_FALSE(WriteLog(folder.path() / "log.txt", LogOpening::New, {"x"}));
}

TEST(Log, AMissingFolderIsReportedNotFatal) {
  testing::TestFolder folder;
  EXPECT_FALSE(WriteLog(folder.path() / "no" / "log.txt", LogOpening::Append, {"x"}));
}

}  // namespace
}  // namespace vdx
