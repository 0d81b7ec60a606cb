#include <cstddef>
#include <cstdint>
#include <string_view>

#include "content/ai_story_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view xml(reinterpret_cast<const char*>(data), size);
  vdx::Content content;
  vdx::LoadReport report;
  vdx::ReadAiXml(xml, content, report);
  vdx::ReadStoryXml(xml, content, report);
  return 0;
}
