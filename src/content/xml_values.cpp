#include "content/xml_values.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vdx {
namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
    s.remove_suffix(1);
  return s;
}

// "&H" + 1..8 hexadecimal digits, as the two's-complement pattern of a 16-bit
// value (up to 4 digits) or a 32-bit value (5 to 8 digits).
std::optional<std::int64_t> HexValue(std::string_view s) {
  if (s.size() < 3 || s[0] != '&' || (s[1] != 'H' && s[1] != 'h')) return std::nullopt;
  const std::string_view digits = s.substr(2);
  if (digits.size() > 8) return std::nullopt;
  std::uint32_t raw = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), raw, 16);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  if (digits.size() <= 4) return static_cast<std::int16_t>(static_cast<std::uint16_t>(raw));
  return static_cast<std::int32_t>(raw);
}

std::optional<double> DecimalValue(std::string_view s) {
  s = TrimBlanks(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty() || s.front() == '+' || s.front() == ' ') return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

template <typename Int>
std::optional<Int> ToWhole(std::string_view text) {
  const std::string_view s = TrimBlanks(text);
  if (auto hex = HexValue(s)) {
    if (*hex < std::numeric_limits<Int>::min() || *hex > std::numeric_limits<Int>::max())
      return std::nullopt;
    return static_cast<Int>(*hex);
  }
  const auto value = DecimalValue(s);
  if (!value) return std::nullopt;
  const double rounded = RoundHalfEven(*value);
  if (rounded < std::numeric_limits<Int>::min() || rounded > std::numeric_limits<Int>::max())
    return std::nullopt;
  return static_cast<Int>(rounded);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

double RoundHalfEven(double value) {
  return std::nearbyint(value);
}

std::optional<std::int16_t> ToInteger(std::string_view text) {
  return ToWhole<std::int16_t>(text);
}

std::optional<std::int32_t> ToLong(std::string_view text) {
  return ToWhole<std::int32_t>(text);
}

std::optional<double> ToDouble(std::string_view text) {
  const std::string_view s = TrimBlanks(text);
  if (auto hex = HexValue(s)) return static_cast<double>(*hex);
  return DecimalValue(s);
}

std::optional<float> ToSingle(std::string_view text) {
  const auto value = ToDouble(text);
  if (!value || std::abs(*value) > std::numeric_limits<float>::max()) return std::nullopt;
  return static_cast<float>(*value);
}

std::optional<bool> ToBoolean(std::string_view text) {
  const std::string_view s = TrimBlanks(text);
  if (EqualsIgnoringCase(s, "true")) return true;
  if (EqualsIgnoringCase(s, "false")) return false;
  const auto value = ToDouble(s);
  if (!value) return std::nullopt;
  return *value != 0.0;
}

std::optional<std::int32_t> ToColour(std::string_view text) {
  return ToLong("&" + std::string(text));
}

std::string NumberToText(double value) {
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (ec != std::errc()) return "0";
  return std::string(buffer, end);
}

}  // namespace vdx
