#include "launcher/save_settings.h"

#include "core/files.h"
#include "launcher/xml_attribute_edit.h"

namespace vdxlaunch {
namespace {

SaveResult Refused(const std::string& why) {
  return {SaveOutcome::Refused,
          "The settings are not saved, and Game.xml is kept as it was: " + why};
}

}  // namespace

SaveResult SaveForm(const FormState& form, const GameXmlSettings& loaded,
                    const std::optional<std::filesystem::path>& gameXml,
                    const std::optional<std::filesystem::path>& writeTo) {
  if (HasDuplicateBinding(form)) return {SaveOutcome::Duplicate, kDuplicateKeysMessage};
  if (!gameXml || !loaded.readable)
    return Refused(loaded.problem.empty() ? "Game.xml could not be read" : loaded.problem);

  const std::vector<AttributeEdit> edits = ChangedAttributes(loaded.settings, form.settings);
  if (edits.empty()) return {};

  const auto current = vdx::ReadWholeFile(*gameXml);
  if (!current) return Refused("Game.xml cannot be read any more");
  if (const GameXmlSettings now = ReadFormSettings(*current); !now.readable)
    return Refused("Game.xml was changed since the launcher started and cannot be read now (" +
                   now.problem + ")");
  const EditedXml edited = ApplyAttributeEdits(*current, edits);
  if (!edited.ok) return Refused("Game.xml cannot be changed: " + edited.error);
  // Only the folder's flush failing still leaves the new file in place.
  if (const vdx::WriteResult written = vdx::WriteWholeFile(writeTo.value_or(*gameXml), edited.text);
      !written && !written.replaced)
    return Refused(written.error);
  return {};
}

}  // namespace vdxlaunch
