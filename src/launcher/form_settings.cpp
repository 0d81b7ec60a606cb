#include "launcher/form_settings.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>

#include "content/attribute_reader.h"
#include "content/content_report.h"
#include "content/load_report.h"
#include "content/xml_document.h"
#include "content/xml_encoding.h"
#include "content/xml_values.h"

namespace vdxlaunch {
namespace {

constexpr const char* kFileName = "Game.xml";
constexpr std::array<const char*, 7> kKeyAttributes = {"Up",    "Down", "Backword", "Forward",
                                                       "Punch", "Kick", "Block"};

void ReadInteger(const pugi::xml_node& element, const char* name, int& field) {
  if (const pugi::xml_attribute a = element.attribute(name))
    if (const auto value = vdx::ToInteger(a.value())) field = *value;
}

}  // namespace

const char* KeyElementOf(int index) {
  return index < 7 ? "Player1Keys" : "Player2Keys";
}

const char* KeyAttributeOf(int index) {
  return kKeyAttributes[static_cast<std::size_t>(index % 7)];
}

GameXmlSettings ReadFormSettings(std::string_view bytes) {
  GameXmlSettings result;
  vdx::LoadReport report;
  const vdx::DecodedXml decoded = vdx::DecodeXmlText(bytes, kFileName, report);
  const vdx::XmlSource source(kFileName, decoded.text);
  pugi::xml_document document;
  if (!vdx::LoadXmlDocument(decoded.text, source, document, report, decoded.madeUtf8)) {
    result.problem = report.skipped.empty() ? std::string(kFileName) + " is not XML"
                                            : vdx::DescribeSkippedStep(report.skipped.back());
    return result;
  }
  const pugi::xml_node root = document.document_element();
  if (!root) {
    result.problem = std::string(kFileName) + " has no root element";
    return result;
  }
  result.readable = true;
  FormSettings& s = result.settings;
  ReadInteger(root, "MusicVolume", s.MusicVolumePct);
  ReadInteger(root, "SoundVolume", s.EffectsVolumePct);
  if (const pugi::xml_attribute a = root.attribute("Joystick"))
    if (const auto value = vdx::ToBoolean(a.value())) s.JoystickOn = *value;
  ReadInteger(root, "Difficulty", s.Difficulty);
  s.Difficulty = std::clamp(s.Difficulty, kLowestLevel, kHighestLevel);
  for (const pugi::xml_node& child : root.children()) {
    if (child.type() != pugi::node_element) continue;
    const bool first = std::strcmp(child.name(), KeyElementOf(0)) == 0;
    const bool second = std::strcmp(child.name(), KeyElementOf(7)) == 0;
    if (!first && !second) continue;
    for (int i = 0; i < 7; ++i)
      ReadInteger(child, KeyAttributeOf(i),
                  s.KeyCodes[static_cast<std::size_t>(first ? i : i + 7)]);
  }
  return result;
}

std::vector<AttributeEdit> ChangedAttributes(const FormSettings& loaded, const FormSettings& now) {
  std::vector<AttributeEdit> edits;
  if (now.MusicVolumePct != loaded.MusicVolumePct)
    edits.push_back({"", "MusicVolume", std::to_string(now.MusicVolumePct)});
  if (now.EffectsVolumePct != loaded.EffectsVolumePct)
    edits.push_back({"", "SoundVolume", std::to_string(now.EffectsVolumePct)});
  if (now.JoystickOn != loaded.JoystickOn)
    edits.push_back({"", "Joystick", now.JoystickOn ? "True" : "False"});
  if (now.Difficulty != loaded.Difficulty)
    edits.push_back({"", "Difficulty", std::to_string(now.Difficulty)});
  for (int i = 0; i < kKeyBoxCount; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (now.KeyCodes[k] != loaded.KeyCodes[k])
      edits.push_back({KeyElementOf(i), KeyAttributeOf(i), std::to_string(now.KeyCodes[k])});
  }
  return edits;
}

}  // namespace vdxlaunch
