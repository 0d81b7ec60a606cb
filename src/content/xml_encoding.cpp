#include "content/xml_encoding.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace vdx {
namespace {

// Windows-1252's letters and signs at 0x80..0x9F; its five unused codes keep
// their C1 control points, as browsers read them.
constexpr std::uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// The encoding named by the XML declaration, in lower case; empty without one.
std::string DeclaredEncoding(std::string_view text) {
  if (!StartsWith(text, "<?xml")) return "";
  const std::string_view declaration = text.substr(0, text.find("?>"));
  const std::size_t name = declaration.find("encoding");
  if (name == std::string_view::npos) return "";
  std::size_t at = declaration.find('=', name);
  if (at == std::string_view::npos) return "";
  at = declaration.find_first_of("\"'", at);
  if (at == std::string_view::npos) return "";
  const std::size_t end = declaration.find(declaration[at], at + 1);
  if (end == std::string_view::npos) return "";
  std::string value(declaration.substr(at + 1, end - at - 1));
  std::transform(value.begin(), value.end(), value.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return value;
}

}  // namespace

std::size_t FirstInvalidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    int length = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07;
    } else {
      return i;  // a continuation byte on its own, an overlong lead or past U+10FFFF
    }
    if (i + static_cast<std::size_t>(length) > bytes.size()) return i;
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) return i;
      code = (code << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (overlong || surrogate || code > 0x10FFFF) return i;
    i += static_cast<std::size_t>(length);
  }
  return std::string_view::npos;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 && byte < 0xA0)
      AppendUtf8(out, kHighControls[byte - 0x80]);
    else
      AppendUtf8(out, byte);
  }
  return out;
}

DecodedXml DecodeXmlText(std::string_view bytes, const std::string& fileName, LoadReport& report) {
  // UTF-16 either way: the parser reads it itself.
  if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF"))
    return {std::string(bytes), false};
  // A UTF-8 mark says what a file without it would be assumed to be, so the rest
  // is read as such a file is, and a stray byte is reported alike.
  const std::size_t mark = StartsWith(bytes, "\xEF\xBB\xBF") ? 3 : 0;
  const std::string_view body = bytes.substr(mark);
  const std::string declared = DeclaredEncoding(body);
  if (mark == 0 && (declared == "windows-1252" || declared == "cp1252" ||
                    declared == "iso-8859-1" || declared == "latin1" || declared == "latin-1"))
    return {Windows1252ToUtf8(body), true};
  if (!declared.empty() && declared != "utf-8" && declared != "utf8" && mark == 0)
    return {std::string(bytes), false};  // the parser's own business
  const std::size_t bad = FirstInvalidUtf8(body);
  if (bad == std::string_view::npos) return {std::string(bytes), false};
  const int line = 1 + static_cast<int>(std::count(
                           body.begin(), body.begin() + static_cast<std::ptrdiff_t>(bad), '\n'));
  report.skipped.push_back({fileName, line, "", "",
                            "the file is not valid UTF-8 (byte " + std::to_string(mark + bad) +
                                ") and declares no other encoding; it is read as Windows-1252"});
  return {Windows1252ToUtf8(body), true};
}

}  // namespace vdx
