// The text of a content file as the XML parser should read it. Files written
// on old Windows desktops are often in Windows-1252 without saying so; read as
// UTF-8 their accented letters would break, and a name written in Game.xml
// would no longer match the same name in story.xml.
#pragma once

#include <string>
#include <string_view>

#include "content/load_report.h"

namespace vdx {

struct DecodedXml {
  std::string text;       // what the parser reads
  bool madeUtf8 = false;  // converted from Windows-1252: parse as UTF-8, whatever it declares
};

// UTF-16 (by its byte order mark) and UTF-8 pass as they are. A file that declares
// Windows-1252 or ISO-8859-1 is converted to UTF-8. A file that declares no
// encoding (or UTF-8) but is not valid UTF-8 is converted from Windows-1252 too,
// and the report says so with the offset of the first bad byte. A UTF-8 byte
// order mark is read as the UTF-8 it announces: the rest is checked alike.
DecodedXml DecodeXmlText(std::string_view bytes, const std::string& fileName, LoadReport& report);

// The offset of the first byte that breaks UTF-8, or npos when there is none.
std::size_t FirstInvalidUtf8(std::string_view bytes);

std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace vdx
