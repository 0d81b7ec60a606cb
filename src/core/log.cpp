#include "core/log.h"

#include <iostream>

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
    if (auto existing = ReadWholeFile(log.path)) bytes = std::move(*existing);
    if (opening == LogOpening::New) bytes += LogRecord(kLogSeparator);
  }
  for (std::string_view record : records)
    bytes += LogRecord(record);
  const WriteResult written = WriteWholeFile(log.path, bytes);
  if (written.replaced) log.started = true;
  if (!written.ok) SayOnce(log, log.path, "cannot write the log: " + written.error);
  return written.ok;
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
