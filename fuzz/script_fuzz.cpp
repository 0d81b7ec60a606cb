#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

#include "platform/headless/headless_platform.h"
#include "platform/headless/script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto parsed =
      vdx::platform::ParseScript(std::string_view(reinterpret_cast<const char*>(data), size));
  if (auto* script = std::get_if<vdx::platform::Script>(&parsed)) {
    // Play it without writing files: drop the screenshots.
    std::erase_if(script->events, [](const vdx::platform::ScriptEvent& e) {
      return e.kind == vdx::platform::ScriptEvent::Kind::Screenshot;
    });
    vdx::platform::HeadlessPlatform platform;
    platform.runScript(*script);
    platform.advance(UINT32_MAX / 2);
  }
  return 0;
}
