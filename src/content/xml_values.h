// How the content files' attribute strings become numbers, truth values and
// colours. Each conversion gives nullopt when the text does not convert; the
// reader then leaves its target as it was.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vdx {

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// A decimal number ("12", "-3.5", " 7 ", "1e3"), a fraction rounded halves to
// even, or hexadecimal "&H" + digits (up to 4 digits are a 16-bit pattern, up to
// 8 a 32-bit one, so "&HFFFF" is -1 as an Integer). Fails outside -32768..32767.
std::optional<std::int16_t> ToInteger(std::string_view text);
// The same with the 32-bit range.
std::optional<std::int32_t> ToLong(std::string_view text);
// A decimal number with "." as separator, whatever the machine's locale.
std::optional<double> ToDouble(std::string_view text);
std::optional<float> ToSingle(std::string_view text);
// "True"/"False" in any letter case, or a number: 0 is false, anything else true.
std::optional<bool> ToBoolean(std::string_view text);
// "H" + hexadecimal digits, read as "&H..." into a Long: "H0000FF" is 255.
// Colours are laid out 0x00BBGGRR (red in the low byte).
std::optional<std::int32_t> ToColour(std::string_view text);

// The shortest text that reads back as the same number ("8", "2.5", "-0.125").
std::string NumberToText(double value);

}  // namespace vdx
