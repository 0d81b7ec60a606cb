#include "frontend/screen_state.h"

#include "core/files.h"
#include "core/log.h"

namespace vdx {

void WriteScreenState(Game& game, const std::vector<std::string>& requests,
                      const std::string& json) {
  for (const std::string& path : requests) {
    const WriteResult written = WriteWholeFile(path, json);
    if (!written.ok)
      ReportFailedWrite(game.log, path,
                        "Cannot write the screen's state to " + path + ": " + written.error);
  }
}

std::string JsonField(const std::string& key, const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    if (static_cast<unsigned char>(c) >= 0x20) quoted += c;
  }
  return "\"" + key + "\": " + quoted + "\"";
}

std::string JsonField(const std::string& key, long number) {
  return "\"" + key + "\": " + std::to_string(number);
}

std::string JsonField(const std::string& key, bool value) {
  return "\"" + key + "\": " + (value ? "true" : "false");
}

}  // namespace vdx
