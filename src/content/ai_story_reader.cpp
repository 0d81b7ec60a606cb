#include "content/ai_story_reader.h"

#include <pugixml.hpp>

#include <cstring>
#include <functional>
#include <string>

#include "content/attribute_reader.h"
#include "content/xml_document.h"
#include "content/xml_encoding.h"

namespace vdx {
namespace {

// Both files list Character elements under a root of any name; other elements
// are passed over together with their children.
void ForEachCharacter(std::string_view xml, const char* fileName, LoadReport& report,
                      const std::function<void(const pugi::xml_node&, const XmlSource&)>& read) {
  const DecodedXml decoded = DecodeXmlText(xml, fileName, report);
  const XmlSource source(fileName, decoded.text);
  pugi::xml_document document;
  if (!LoadXmlDocument(decoded.text, source, document, report, decoded.madeUtf8)) return;
  for (const pugi::xml_node& root : document.children()) {
    if (root.type() != pugi::node_element) continue;
    for (const pugi::xml_node& child : root.children())
      if (child.type() == pugi::node_element && std::strcmp(child.name(), "Character") == 0)
        read(child, source);
  }
}

}  // namespace

void ReadAiXml(std::string_view xml, Content& content, LoadReport& report) {
  ForEachCharacter(xml, "ai.xml", report, [&](const pugi::xml_node& element, const XmlSource& src) {
    AttributeReader r(element, DescribeElement(element), src, report);
    cAI profile;
    r.integer("Aggression", profile.Aggression);
    r.integer("Attack", profile.Attack);
    r.integer("AttackFar", profile.AttackFar);
    r.integer("Block", profile.Block);
    r.integer("Retreat", profile.Retreat);
    for (const pugi::xml_node& child : element.children()) {
      if (child.type() != pugi::node_element) continue;
      AttributeReader mr(child, r.where() + " > " + DescribeElement(child), src, report);
      cMoves move;
      mr.text("Name", move.Name);
      mr.text("Type", move.mType);
      mr.text("Region", move.Region);
      move.Attack = true;
      mr.boolean("Attack", move.Attack);
      const std::string key = move.Name;
      AddKeyed(profile.Moves, std::move(move), mr, key, "move");
    }
    std::string name;
    r.text("Name", name);
    AddKeyed(content.AIProfiles, std::move(profile), r, name, "profile");
  });
}

void ReadStoryXml(std::string_view xml, Content& content, LoadReport& report) {
  ForEachCharacter(
      xml, "story.xml", report, [&](const pugi::xml_node& element, const XmlSource& src) {
        AttributeReader r(element, DescribeElement(element), src, report);
        cStory story;
        r.text("Name", story.Character);
        r.integer("Opponents", story.OpponentCount);
        r.text("WinFile", story.WinFile);
        for (const pugi::xml_node& child : element.children()) {
          if (child.type() != pugi::node_element) continue;
          AttributeReader orr(child, r.where() + " > " + DescribeElement(child), src, report);
          cOpponents opponent;
          orr.text("Name", opponent.Name);
          orr.text("BeforeFile", opponent.beforefile);
          orr.text("Stage", opponent.stage);
          const std::string key = opponent.Name;
          AddKeyed(story.Opponents, std::move(opponent), orr, key, "opponent");
        }
        std::string name;
        r.text("Name", name);
        AddKeyed(content.Stories, std::move(story), r, name, "story");
      });
}

}  // namespace vdx
