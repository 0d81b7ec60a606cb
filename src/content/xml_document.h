// Parses a content file's text; a file that is not well-formed XML is written
// down in the report and then reads as if it were missing.
#pragma once

#include <pugixml.hpp>

#include <string_view>

#include "content/attribute_reader.h"
#include "content/load_report.h"

namespace vdx {

bool LoadXmlDocument(std::string_view xml, const XmlSource& source, pugi::xml_document& document,
                     LoadReport& report);

}  // namespace vdx
