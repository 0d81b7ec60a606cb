// Parses a content file's text; a file that is not well-formed XML is written
// down in the report and then reads as if it were missing.
#pragma once

#include <pugixml.hpp>

#include <string_view>

#include "content/attribute_reader.h"
#include "content/load_report.h"

namespace vdx {

// `utf8`: the text is known to be UTF-8 (made so from another encoding); else
// the parser finds the encoding from byte order marks and the declaration.
bool LoadXmlDocument(std::string_view xml, const XmlSource& source, pugi::xml_document& document,
                     LoadReport& report, bool utf8 = false);

}  // namespace vdx
