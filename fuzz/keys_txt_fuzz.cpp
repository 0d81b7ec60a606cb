#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "content/xml_encoding.h"
#include "launcher/key_names.h"

// Any bytes read as keys.txt. Whatever the file holds, every name the launcher
// shows is non-empty UTF-8 (text that is not UTF-8 is read as Windows-1252),
// each code is named once and found under its own key, every line is either a
// name, a problem or blank, and every key box has a text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const vdxlaunch::KeyNames read = vdxlaunch::ReadKeysTxt(bytes);

  std::size_t lines = 1;
  for (const char c : bytes)
    if (c == '\n') ++lines;
  if (read.names.size() + read.problems.size() > lines) __builtin_trap();

  for (const vdxlaunch::cKeys& key : read.names) {
    if (key.Description.empty()) __builtin_trap();
    if (vdx::FirstInvalidUtf8(key.Description) != std::string::npos) __builtin_trap();
    const vdxlaunch::cKeys* found = read.names.find(std::to_string(key.ScanCode) + "A");
    if (found != &key) __builtin_trap();
  }
  for (const std::string& problem : read.problems)
    if (!problem.starts_with("keys.txt line ")) __builtin_trap();

  for (int code = 0; code < 256; ++code) {
    const std::string text = vdxlaunch::KeyBoxText(read, code);
    if (text.empty() || vdx::FirstInvalidUtf8(text) != std::string::npos) __builtin_trap();
  }
  return 0;
}
