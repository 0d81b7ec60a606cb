// Text of a fixed capacity kept inside a value: copying it copies bytes and
// never allocates, so a state that holds names and key letters saves and
// restores as plain memory. Text beyond the capacity is cut off; callers keep
// what they store within it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vdx {

template <std::size_t Capacity>
struct SmallText {
  static_assert(Capacity < 256);
  std::array<char, Capacity> chars{};
  std::uint8_t length = 0;

  SmallText() = default;
  SmallText(std::string_view text) { assign(text); }  // NOLINT: text is text
  SmallText(const char* text) : SmallText(std::string_view(text)) {}  // NOLINT

  void assign(std::string_view text) {
    length = static_cast<std::uint8_t>(text.size() < Capacity ? text.size() : Capacity);
    for (std::size_t i = 0; i < length; ++i) chars[i] = text[i];
    for (std::size_t i = length; i < Capacity; ++i) chars[i] = 0;
  }
  SmallText& operator=(std::string_view text) {
    assign(text);
    return *this;
  }
  SmallText& operator=(const char* text) { return *this = std::string_view(text); }

  std::string_view view() const { return {chars.data(), length}; }
  operator std::string_view() const { return view(); }  // NOLINT: reads as text
  std::size_t size() const { return length; }
  bool empty() const { return length == 0; }
  char operator[](std::size_t i) const { return chars[i]; }
  void clear() { assign({}); }
  void push_back(char c) {
    if (length < Capacity) chars[length++] = c;
  }
  SmallText& operator+=(std::string_view text) {
    for (const char c : text) push_back(c);
    return *this;
  }
  std::size_t find(char c) const { return view().find(c); }
  void erase(std::size_t at, std::size_t count) {
    if (at >= length) return;
    if (count > length - at) count = length - at;
    for (std::size_t i = at; i + count < length; ++i) chars[i] = chars[i + count];
    for (std::size_t i = length - count; i < length; ++i) chars[i] = 0;
    length = static_cast<std::uint8_t>(length - count);
  }

  friend bool operator==(const SmallText& a, std::string_view b) { return a.view() == b; }
};

}  // namespace vdx
