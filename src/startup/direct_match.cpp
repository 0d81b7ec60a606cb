#include "startup/direct_match.h"

namespace vdx {
namespace {

template <typename T>
std::string NamesOf(const Collection<T>& records) {
  std::string names;
  for (std::size_t i = 1; i <= records.size(); ++i)
    names += (i > 1 ? ", " : "") + records.keyAt(i);
  return names.empty() ? "none" : names;
}

}  // namespace

std::variant<MatchSetup, std::string> ResolveDirectMatch(const Content& content,
                                                         const std::string& versus,
                                                         const std::optional<std::string>& stage) {
  MatchSetup setup;
  const auto comma = versus.find(',');
  const std::string names[2] = {versus.substr(0, comma), versus.substr(comma + 1)};
  std::string* keys[2] = {&setup.player1, &setup.player2};
  for (int i = 0; i < 2; ++i) {
    const cCharacter* c = content.Characters.find(names[i]);
    if (c == nullptr)
      return "no character \"" + names[i] + "\"; the characters are: " +
             NamesOf(content.Characters);
    *keys[i] = c->Name;
  }
  if (stage) {
    const cStage* s = content.Stages.find(*stage);
    if (s == nullptr)
      return "no stage \"" + *stage + "\"; the stages are: " + NamesOf(content.Stages);
    setup.stage = s->Name;
  } else {
    for (const cStage& s : content.Stages)
      if (!s.Disabled) {
        setup.stage = s.Name;
        break;
      }
    if (setup.stage.empty()) return "no stage is enabled in Game.xml";
  }
  setup.GameMode = 2;
  return setup;
}

}  // namespace vdx
