#include "content/xml_document.h"

#include <algorithm>

namespace vdx {

bool LoadXmlDocument(std::string_view xml, const XmlSource& source, pugi::xml_document& document,
                     LoadReport& report, bool utf8) {
  const pugi::xml_parse_result result =
      document.load_buffer(xml.data(), xml.size(), pugi::parse_default,
                           utf8 ? pugi::encoding_utf8 : pugi::encoding_auto);
  if (result) return true;
  const std::size_t offset = static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, result.offset));
  const int line =
      1 + static_cast<int>(std::count(
              xml.begin(), xml.begin() + static_cast<std::ptrdiff_t>(std::min(offset, xml.size())),
              '\n'));
  report.skipped.push_back({source.fileName(), line, "", "",
                            std::string("the file is not well-formed XML (") +
                                result.description() + "), so nothing in it is read"});
  document.reset();
  return false;
}

}  // namespace vdx
