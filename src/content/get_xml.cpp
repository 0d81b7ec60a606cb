#include "content/get_xml.h"

#include <functional>
#include <string_view>

#include "content/ai_story_reader.h"
#include "content/game_xml_reader.h"
#include "core/files.h"

namespace vdx {
namespace {

// False when the file is missing or cannot be read, or `read` says so.
bool ReadContentFile(const PathResolver& paths, const char* fileName, LoadReport& report,
                     const std::function<bool(std::string_view)>& read) {
  const auto path = paths.find(std::string("\\") + fileName);
  const auto text = path ? ReadWholeFile(*path) : std::nullopt;
  if (!text) {
    report.skipped.push_back(
        {fileName, 0, "", "", "the file is missing or cannot be read, so nothing in it is read"});
    return false;
  }
  return read(*text);
}

}  // namespace

bool GetXML(const PathResolver& paths, Settings& settings, Content& content, LoadReport& report) {
  const bool gameXmlRead = ReadContentFile(paths, "Game.xml", report, [&](std::string_view xml) {
    return ReadGameXml(xml, settings, content, report);
  });
  // Read all the same, so that the content check lists their problems too.
  ReadContentFile(paths, "ai.xml", report, [&](std::string_view xml) {
    ReadAiXml(xml, content, report);
    return true;
  });
  ReadContentFile(paths, "story.xml", report, [&](std::string_view xml) {
    ReadStoryXml(xml, content, report);
    return true;
  });
  return gameXmlRead;
}

}  // namespace vdx
