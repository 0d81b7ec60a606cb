#include <cstddef>
#include <cstdint>
#include <string_view>

#include "content/game_xml_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vdx::Settings settings;
  vdx::Content content;
  vdx::LoadReport report;
  vdx::ReadGameXml(std::string_view(reinterpret_cast<const char*>(data), size), settings, content,
                   report);
  return 0;
}
