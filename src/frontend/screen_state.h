// Answers the automation's "state FILE" requests on the screens around the
// fights: one flat JSON object saying which screen is on show and where its
// cursors stand ({"screen": "menu", "selected": 2}), so that scripts can
// check a step without reading pixels.
#pragma once

#include <string>
#include <vector>

#include "game/game.h"

namespace vdx {

// Writes `json` to every file asked for since the last pass; a file that
// cannot be written is logged.
void WriteScreenState(Game& game, const std::vector<std::string>& requests,
                      const std::string& json);

// The same, building the text only when a script asked for it.
template <typename MakeJson>
void AnswerStateRequests(Game& game, MakeJson makeJson) {
  const std::vector<std::string> requests = game.platform.takeStateRequests();
  if (!requests.empty()) WriteScreenState(game, requests, makeJson());
}

// "\"key\": " followed by the value, quoted when it is text.
std::string JsonField(const std::string& key, const std::string& text);
std::string JsonField(const std::string& key, long number);
std::string JsonField(const std::string& key, bool value);

}  // namespace vdx
