// Reading back the state dumps that scripts ask for ("state FILE.json").
#pragma once

#include <cstddef>
#include <string>

namespace vdx::testing {

// Calls visit(position, key, value) for each "key": value pair of `json`, in
// order; a quoted value comes without its quotes, "[" opens a list. (Plain
// scanning: the dumps are flat, and std::regex trips GCC 12's warnings in the
// sanitizer build.)
template <typename Visit>
void ScanJsonFields(const std::string& json, Visit visit) {
  std::size_t at = 0;
  while ((at = json.find('"', at)) != std::string::npos) {
    const auto keyEnd = json.find('"', at + 1);
    if (keyEnd == std::string::npos) break;
    if (json.compare(keyEnd + 1, 2, ": ") != 0) {
      at = keyEnd + 1;
      continue;
    }
    const std::string key = json.substr(at + 1, keyEnd - at - 1);
    std::size_t valueAt = keyEnd + 3, valueEnd;
    std::string value;
    if (json[valueAt] == '"') {
      valueEnd = json.find('"', valueAt + 1);
      value = json.substr(valueAt + 1, valueEnd - valueAt - 1);
      ++valueEnd;
    } else {
      valueEnd = json.find_first_of(",}\n", valueAt);
      value = json.substr(valueAt, valueEnd - valueAt);
    }
    visit(at, key, value);
    at = valueEnd;
  }
}

}  // namespace vdx::testing
