#include "content/cross_references.h"

#include <string>

namespace vdx {
namespace {

std::string Quoted(const std::string& s) {
  return "\"" + s + "\"";
}

}  // namespace

// The actions the fight looks for by name, and what it does without them;
// the actions and effects that follow others.
void FindMissingActions(const Content& content, LoadReport& report) {
  for (const cCharacter& c : content.Characters) {
    const std::string who = "Character " + Quoted(c.Name);
    if (!c.Actions.contains("Hit"))
      report.unknownNames.push_back(
          {"Game.xml", who,
           "has no Action \"Hit\": a fighter that is hit keeps its frame and stands up"});
    if (!c.Actions.contains("KO"))
      report.unknownNames.push_back(
          {"Game.xml", who,
           "has no Action \"KO\": a knocked-out fighter is drawn with its \"Hit\" frames"});
    for (const cAction& a : c.Actions)
      if (!a.NextAction.empty() && !c.Actions.contains(a.NextAction))
        report.unknownNames.push_back(
            {"Game.xml", who + " > Action " + Quoted(a.Name),
             "NextAction names no Action " + Quoted(a.NextAction) + " of the character"});
    for (const cEffect& e : c.Effects)
      if (!e.NextEffect.empty() && !c.Effects.contains(e.NextEffect))
        report.unknownNames.push_back({"Game.xml", who + " > Effect " + Quoted(e.Name),
                                       "NextEffect names no Effect " + Quoted(e.NextEffect) +
                                           " of the character: the effect ends without one"});
  }
}

// Menu items the menu cannot use: a Type that starts nothing, or an item past
// the last strip of the menu picture (512 rows of 45-row strips: 11 items).
void FindUnusableMenuItems(const Content& content, LoadReport& report) {
  constexpr std::size_t kStripsInPicture = 11;
  for (std::size_t i = 1; i <= content.MenuItems.size(); ++i) {
    const cMenu& item = *content.MenuItems.at(i);
    const std::string where = "Menu > Item " + Quoted(item.Name);
    if (item.mType < 1 || item.mType > 5)
      report.unknownNames.push_back(
          {"Game.xml", where,
           "has Type " + std::to_string(item.mType) +
               ", which starts nothing (1 one player, 2 two players, 3 exit, 4 story, "
               "5 training)"});
    if (i > kStripsInPicture)
      report.unknownNames.push_back({"Game.xml", where,
                                     "is item " + std::to_string(i) +
                                         ": text.bmp has strips for 11 items, so it is not drawn"});
  }
}

void FindUnknownNames(const Content& content, LoadReport& report) {
  FindMissingActions(content, report);
  FindUnusableMenuItems(content, report);
  for (std::size_t i = 1; i <= content.AIProfiles.size(); ++i) {
    const std::string& name = content.AIProfiles.keyAt(i);
    const std::string profile = "Profile " + Quoted(name);
    const cCharacter* fighter = content.Characters.find(name);
    if (fighter == nullptr) {
      report.unknownNames.push_back(
          {"ai.xml", profile, "names no Character " + Quoted(name) + " of Game.xml"});
      continue;
    }
    for (const cMoves& move : content.AIProfiles.at(i)->Moves)
      if (!fighter->Actions.contains(move.Name))
        report.unknownNames.push_back({"ai.xml", profile + " > Move " + Quoted(move.Name),
                                       "names no Action of Character " + Quoted(fighter->Name)});
  }
  // Any character may meet the computer: Random in the select screen and the
  // story ladders pass over Disabled.
  for (const cCharacter& c : content.Characters)
    if (!content.AIProfiles.contains(c.Name))
      report.unknownNames.push_back(
          {"ai.xml", "Character " + Quoted(c.Name),
           "has no profile: played by the computer it walks, waits and blocks but never attacks"});
  for (const cStory& story : content.Stories) {
    const std::string ladder = "Story " + Quoted(story.Character);
    if (!content.Characters.contains(story.Character))
      report.unknownNames.push_back(
          {"story.xml", ladder, "names no Character " + Quoted(story.Character) + " of Game.xml"});
    for (const cOpponents& rung : story.Opponents) {
      const std::string where = ladder + " > Opponent " + Quoted(rung.Name);
      if (!content.Characters.contains(rung.Name))
        report.unknownNames.push_back(
            {"story.xml", where, "names no Character " + Quoted(rung.Name) + " of Game.xml"});
      if (!rung.stage.empty() && !content.Stages.contains(rung.stage))
        report.unknownNames.push_back(
            {"story.xml", where, "names no Stage " + Quoted(rung.stage) + " of Game.xml"});
    }
  }
}

}  // namespace vdx
