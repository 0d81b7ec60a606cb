#include "core/log.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#include "core/files.h"

namespace vdx {

std::string LogRecord(std::string_view text) {
  std::string record;
  record.reserve(text.size() + 4);
  record += '"';
  record += text;
  record += "\"\r\n";
  return record;
}

namespace {

void SayOnce(LogFile& log, const std::filesystem::path& file, const std::string& message) {
  if (!log.failedWrites.insert(file.string()).second) return;
  (log.errors != nullptr ? *log.errors : std::cerr) << "vdx: " << message << "\n";
}

template <typename Records>
bool WriteRecords(LogFile& log, LogOpening opening, const Records& records) {
  std::string bytes;
  if (log.started) {
    if (auto existing = ReadWholeFile(log.path)) {
      bytes = std::move(*existing);
    } else if (std::error_code gone; std::filesystem::exists(log.path, gone) || gone) {
      // The run's records are there but cannot be read back (grown past what
      // we read, or made unreadable): writing now would lose them.
      SayOnce(log, log.path, "cannot add to the log " + log.path.string() +
                                 ": it cannot be read back, and writing it anew would lose "
                                 "this run's records");
      return false;
    }
    if (opening == LogOpening::New) bytes += LogRecord(kLogSeparator);
  } else {
    for (const std::string& record : log.heading)
      bytes += LogRecord(record);
  }
  for (std::string_view record : records)
    bytes += LogRecord(record);
  const WriteResult written = WriteWholeFile(log.path, bytes);
  if (written.replaced) log.started = true;
  if (!written.ok) SayOnce(log, log.path, "cannot write the log: " + written.error);
  // Only the folder's flush may have failed: the records are in the file.
  return written.replaced;
}

}  // namespace

bool WriteLog(LogFile& log, LogOpening opening, std::initializer_list<std::string_view> records) {
  return WriteRecords(log, opening, records);
}

bool WriteLog(LogFile& log, LogOpening opening, std::span<const std::string> records) {
  return WriteRecords(log, opening, records);
}

void ReportFailedWrite(LogFile& log, const std::filesystem::path& file,
                       const std::string& message) {
  SayOnce(log, file, message);
  if (file != log.path) WriteLog(log, LogOpening::Append, {message});
}

}  // namespace vdx
