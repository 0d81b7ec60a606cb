// log.txt beside the game: one record a line, each written in quotes and ended
// with CR LF ("Error in ShowMenu " is stored as "\"Error in ShowMenu \"\r\n").
// Writers either start the log anew or append to it; within one run only the
// first writer really starts it, so the file keeps every record of the run.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <iosfwd>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vdx {

enum class LogOpening { New, Append };

// The log of one run, passed by reference to whatever writes to it.
struct LogFile {
  LogFile() = default;
  explicit LogFile(std::filesystem::path logPath) : path(std::move(logPath)) {}

  std::filesystem::path path;
  // A write of this run has reached the file: later ones never start it anew.
  bool started = false;
  // Files whose failed write was said on standard error (log.txt among them):
  // each is said once a run, however often it fails.
  std::set<std::string> failedWrites;
  std::ostream* errors = nullptr;  // where failed writes are said; none: standard error
  // Records that open the log whenever a run starts it (where a run in a
  // read-only game folder writes).
  std::vector<std::string> heading;
};

// The bytes of one record.
std::string LogRecord(std::string_view text);
// The record written in place of starting the log anew a second time in a run.
inline constexpr std::string_view kLogSeparator = "----------------------------------------";

// Writes the records in one opening. The run's first write starts the file
// anew whatever the opening (the log of an earlier run goes); a later New
// appends kLogSeparator and the records. Returns false when the log could not
// be written and flushed to disk (a read-only folder, a full disk), which is
// said once on standard error; callers carry on regardless.
bool WriteLog(LogFile& log, LogOpening opening, std::initializer_list<std::string_view> records);
bool WriteLog(LogFile& log, LogOpening opening, std::span<const std::string> records);

// Says that a file could not be written: on standard error ("vdx: " and the
// message) the first time for that file in the run, and in the log each time.
void ReportFailedWrite(LogFile& log, const std::filesystem::path& file, const std::string& message);

}  // namespace vdx
