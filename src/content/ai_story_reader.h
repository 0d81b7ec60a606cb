// Reads ai.xml (the computer opponent's profile per character) and story.xml
// (each character's ladder of opponents).
#pragma once

#include <string_view>

#include "content/content.h"
#include "content/load_report.h"

namespace vdx {

void ReadAiXml(std::string_view xml, Content& content, LoadReport& report);
void ReadStoryXml(std::string_view xml, Content& content, LoadReport& report);

}  // namespace vdx
