#include "fight/fight_hash.h"

#include <cstring>
#include <string_view>

#include "fight/fight_state_visit.h"
#include "fight/replay.h"

namespace vdx {
namespace {

class Fnv1a {
 public:
  void bytes(const void* data, std::size_t size) {
    hash_ = Fnv1a64(std::string_view(static_cast<const char*>(data), size), hash_);
  }
  std::uint64_t result() const { return hash_; }

  template <typename T>
  void operator()(const char*, const T& value) {
    if constexpr (std::is_arithmetic_v<T> || std::is_enum_v<T>) {
      bytes(&value, sizeof value);
    } else if constexpr (IsSmallText<T>::value) {
      bytes(&value.length, sizeof value.length);
      bytes(value.chars.data(), value.length);
    } else if constexpr (IsStdArray<T>::value) {
      for (const auto& item : value) (*this)("", item);
    } else {
      VisitFields(*this, value);
    }
  }

 private:
  std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

}  // namespace

std::uint64_t HashFightState(const FightState& fight) {
  Fnv1a h;
  h("", fight);
  return h.result();
}

std::uint64_t HashPicture(const Surface& picture) {
  Fnv1a h;
  h.bytes(&picture.width, sizeof picture.width);
  h.bytes(&picture.height, sizeof picture.height);
  h.bytes(picture.pixels.data(), picture.pixels.size() * sizeof(std::uint32_t));
  return h.result();
}

}  // namespace vdx
