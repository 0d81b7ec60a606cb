// Saving the form into Game.xml: EXIT and the first step of START.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "launcher/form_settings.h"
#include "launcher/form_state.h"

namespace vdxlaunch {

inline constexpr const char* kCannotSaveTitle = "Cannot save";
inline constexpr const char* kDuplicateKeysMessage =
    "Cannot save.  Two, or more of you keys are bound to the same action.";

enum class SaveOutcome {
  Saved,      // the changes are in Game.xml (or there were none)
  Duplicate,  // two key boxes show the same key: nothing saved
  Refused,    // Game.xml could not be read or written: kept as it was
};

struct SaveResult {
  SaveOutcome outcome = SaveOutcome::Saved;
  std::string message;  // for the player, when not saved
};

// Writes what the player changed since `loaded` was read into the file at
// `gameXml` (nullopt: there was none), through the safe write: only the values
// of the changed attributes differ afterwards, byte for byte. The file is read
// again first, so changes made to it meanwhile by others stay; a file that
// was not readable when the launcher started, or is not readable now, is
// never written over. With `writeTo` the edited bytes go there instead (the
// player's copy beside a read-only game folder), made from the file at
// `gameXml` all the same.
SaveResult SaveForm(const FormState& form, const GameXmlSettings& loaded,
                    const std::optional<std::filesystem::path>& gameXml,
                    const std::optional<std::filesystem::path>& writeTo = std::nullopt);

}  // namespace vdxlaunch
