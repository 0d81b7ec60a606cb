// log.txt beside the game: one record a line, each written in quotes and ended
// with CR LF ("Error in ShowMenu " is stored as "\"Error in ShowMenu \"\r\n").
// Writers either start the log anew or append to it.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace vdx {

enum class LogOpening { New, Append };

// The bytes of one record.
std::string LogRecord(std::string_view text);

// Writes the records in one opening. Returns false when the log could not be
// written and flushed to disk (a read-only folder, a full disk); callers carry
// on regardless.
bool WriteLog(const std::filesystem::path& logPath, LogOpening opening,
              std::initializer_list<std::string_view> records);
bool WriteLog(const std::filesystem::path& logPath, LogOpening opening,
              std::span<const std::string> records);

}  // namespace vdx
