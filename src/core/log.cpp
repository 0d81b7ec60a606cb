#include "core/log.h"

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

template <typename Records>
bool WriteRecords(const std::filesystem::path& logPath, LogOpening opening,
                  const Records& records) {
  std::string bytes;
  if (opening == LogOpening::Append) {
    if (auto existing = ReadWholeFile(logPath)) bytes = std::move(*existing);
  }
  for (std::string_view record : records)
    bytes += LogRecord(record);
  return WriteWholeFile(logPath, bytes).ok;
}

}  // namespace

bool WriteLog(const std::filesystem::path& logPath, LogOpening opening,
              std::initializer_list<std::string_view> records) {
  return WriteRecords(logPath, opening, records);
}

bool WriteLog(const std::filesystem::path& logPath, LogOpening opening,
              std::span<const std::string> records) {
  return WriteRecords(logPath, opening, records);
}

}  // namespace vdx
