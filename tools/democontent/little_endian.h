// Little-endian numbers for the binary files of the demo folder (BMP, WAV).
#pragma once

#include <cstdint>
#include <vector>

namespace democontent {

inline void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}

inline void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace democontent
