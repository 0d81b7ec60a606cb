#include "fight/action_names.h"

#include <cctype>
#include <string>

namespace vdx {

const cAction* CurrentAction(const cCharacter& character, const FighterState& fighter) {
  if (const cAction* a = character.Actions.find(fighter.ActionName)) return a;
  return character.Actions.find("Hit");
}

bool NameHolds(std::string_view name, std::string_view upperPart) {
  if (upperPart.size() > name.size()) return false;
  for (std::size_t at = 0; at + upperPart.size() <= name.size(); ++at) {
    std::size_t k = 0;
    while (k < upperPart.size() &&
           std::toupper(static_cast<unsigned char>(name[at + k])) == upperPart[k])
      ++k;
    if (k == upperPart.size()) return true;
  }
  return false;
}

bool IsJump(const cAction& action) {
  return action.Name.find("Jump") != std::string::npos ||
         action.Name.find("Flip") != std::string::npos;
}

}  // namespace vdx
