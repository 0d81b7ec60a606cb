#include "frontend/screen_state.h"

#include "core/files.h"
#include "core/json_text.h"
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
  return JsonQuoted(key) + ": " + JsonQuoted(text);
}

std::string JsonField(const std::string& key, long number) {
  return JsonQuoted(key) + ": " + std::to_string(number);
}

std::string JsonField(const std::string& key, bool value) {
  return JsonQuoted(key) + ": " + (value ? "true" : "false");
}

}  // namespace vdx
