#include "core/log.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <sstream>

#include "unit/test_folder.h"

namespace vdx {
namespace {

std::string Records(std::initializer_list<std::string_view> texts) {
  std::string bytes;
  for (std::string_view text : texts)
    bytes += LogRecord(text);
  return bytes;
}

TEST(Log, RecordsAreQuotedAndEndWithCrLf) {
  EXPECT_EQ(LogRecord("Error in ShowMenu "), "\"Error in ShowMenu \"\r\n");
  EXPECT_EQ(LogRecord(""), "\"\"\r\n");
}

// The first writer of a run starts the file, whatever it asks; later writers
// that ask for a new log append a separator instead, so nothing of the run is
// lost; the next run starts the file anew.
TEST(Log, ARunKeepsEveryRecordAndTheNextRunStartsAnew) {
  testing::TestFolder folder;
  folder.write("log.txt", "\"the run before\"\r\n");
  LogFile run(folder.path() / "log.txt");
  EXPECT_TRUE(WriteLog(run, LogOpening::Append, {"5 problems in Game.xml"}));
  EXPECT_EQ(folder.read("log.txt"), Records({"5 problems in Game.xml"}))
      << "the first write of a run, even an append, drops the last run's records";
  EXPECT_TRUE(WriteLog(run, LogOpening::New, {"Red mask 16711680 Green Mask 65280 Blue Mask 255"}));
  EXPECT_TRUE(WriteLog(run, LogOpening::Append, {"Screenshot screenshots\\vdx0001.png"}));
  EXPECT_TRUE(WriteLog(run, LogOpening::New, {"Loading Character Portraits", "second"}));
  EXPECT_EQ(folder.read("log.txt"), Records({"5 problems in Game.xml", kLogSeparator,
                                             "Red mask 16711680 Green Mask 65280 Blue Mask 255",
                                             "Screenshot screenshots\\vdx0001.png", kLogSeparator,
                                             "Loading Character Portraits", "second"}));

  LogFile nextRun(folder.path() / "log.txt");
  EXPECT_TRUE(WriteLog(nextRun, LogOpening::New, {"Starting in Fullscreen mode"}));
  EXPECT_EQ(folder.read("log.txt"), Records({"Starting in Fullscreen mode"}));
  EXPECT_TRUE(WriteLog(nextRun, LogOpening::Append, {"x"}));
  EXPECT_EQ(folder.read("log.txt"), Records({"Starting in Fullscreen mode", "x"}));
}

// A log that cannot be written (here log.txt is a folder, which stops root as
// well) is said once on standard error, however often it is tried; a failed
// write of another file is said once per file there, and each time in the log.
TEST(Log, FailedWritesAreSaidOncePerFile) {
  testing::TestFolder folder;
  std::filesystem::create_directory(folder.path() / "log.txt");
  std::ostringstream errors;
  LogFile log(folder.path() / "log.txt");
  log.errors = &errors;
  for (int frame = 0; frame < 5; ++frame)
    EXPECT_FALSE(WriteLog(log, LogOpening::Append, {"No sound named x.wav"}));
  EXPECT_FALSE(log.started);
  EXPECT_EQ(errors.str(), "vdx: cannot write the log: replace " +
                              (folder.path() / "log.txt").string() + ": not a regular file\n");

  errors.str("");
  ReportFailedWrite(log, folder.path() / "save.dat", "The finished story of Kira is not recorded");
  ReportFailedWrite(log, folder.path() / "save.dat", "The finished story of Kira is not recorded");
  ReportFailedWrite(log, folder.path() / "a.png", "Screenshot a.png could not be written");
  EXPECT_EQ(errors.str(),
            "vdx: The finished story of Kira is not recorded\n"
            "vdx: Screenshot a.png could not be written\n");

  std::filesystem::create_directory(folder.path() / "writable");
  LogFile good(folder.path() / "writable" / "log.txt");
  good.errors = &errors;
  errors.str("");
  ReportFailedWrite(good, folder.path() / "save.dat", "save.dat: no");
  ReportFailedWrite(good, folder.path() / "save.dat", "save.dat: no");
  EXPECT_EQ(errors.str(), "vdx: save.dat: no\n");
  EXPECT_EQ(folder.read("writable/log.txt"), Records({"save.dat: no", "save.dat: no"}));
}

// Once the run has written, a log that can no longer be read back (here a pipe
// put in its place) is never started anew, which would lose the run's records.
TEST(Log, ALogThatCannotBeReadBackIsNotStartedAnew) {
  testing::TestFolder folder;
  std::ostringstream errors;
  LogFile log(folder.path() / "log.txt");
  log.errors = &errors;
  EXPECT_TRUE(WriteLog(log, LogOpening::Append, {"first"}));
  std::filesystem::remove(folder.path() / "log.txt");
  ASSERT_EQ(::mkfifo((folder.path() / "log.txt").c_str(), 0600), 0);
  EXPECT_FALSE(WriteLog(log, LogOpening::Append, {"second"}));
  EXPECT_FALSE(WriteLog(log, LogOpening::Append, {"third"}));
  EXPECT_EQ(errors.str(), "vdx: cannot add to the log " + (folder.path() / "log.txt").string() +
                              ": it cannot be read back, and writing it anew would lose this "
                              "run's records\n");
  EXPECT_TRUE(std::filesystem::is_fifo(folder.path() / "log.txt"));

  // A log removed during the run is simply started again.
  std::filesystem::remove(folder.path() / "log.txt");
  EXPECT_TRUE(WriteLog(log, LogOpening::Append, {"fourth"}));
  EXPECT_EQ(folder.read("log.txt"), Records({"fourth"}));
}

TEST(Log, AnUnwritableFolderIsReportedNotFatal) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes to read-only folders";
  testing::TestFolder folder;
  std::filesystem::permissions(
      folder.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  std::ostringstream errors;
  LogFile log(folder.path() / "log.txt");
  log.errors = &errors;
  EXPECT_FALSE(WriteLog(log, LogOpening::New, {"x"}));
  EXPECT_NE(errors.str().find("cannot write the log"), std::string::npos);
}

TEST(Log, AMissingFolderIsReportedNotFatal) {
  testing::TestFolder folder;
  std::ostringstream errors;
  LogFile log(folder.path() / "no" / "log.txt");
  log.errors = &errors;
  EXPECT_FALSE(WriteLog(log, LogOpening::Append, {"x"}));
  EXPECT_NE(errors.str().find("No such file or directory"), std::string::npos) << errors.str();
}

}  // namespace
}  // namespace vdx
