#include "content/attribute_reader.h"

#include <algorithm>

#include "content/xml_values.h"

namespace vdx {

XmlSource::XmlSource(std::string fileName, std::string_view text) : fileName_(std::move(fileName)) {
  lineStarts_.push_back(0);
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n') lineStarts_.push_back(i + 1);
}

int XmlSource::lineOf(const pugi::xml_node& node) const {
  const std::ptrdiff_t offset = node.offset_debug();
  if (offset < 0) return 0;
  const auto it =
      std::upper_bound(lineStarts_.begin(), lineStarts_.end(), static_cast<std::size_t>(offset));
  return static_cast<int>(it - lineStarts_.begin());
}

AttributeReader::AttributeReader(const pugi::xml_node& element, std::string where,
                                 const XmlSource& source, LoadReport& report)
    : element_(element), where_(std::move(where)), source_(source), report_(report) {}

int AttributeReader::line() const {
  return source_.lineOf(element_);
}

void AttributeReader::skip(std::string attribute, std::string reason) {
  report_.skipped.push_back(
      {source_.fileName(), line(), where_, std::move(attribute), std::move(reason)});
}

bool AttributeReader::has(const char* name) const {
  return !element_.attribute(name).empty();
}

template <typename T, typename Convert>
bool AttributeReader::read(const char* name, T& field, Convert convert, const char* kind) {
  const pugi::xml_attribute attribute = element_.attribute(name);
  if (attribute.empty()) return false;
  const auto value = convert(std::string_view(attribute.value()));
  if (!value) {
    skip(name, "\"" + std::string(attribute.value()) + "\" is not " + kind);
    return false;
  }
  field = *value;
  return true;
}

bool AttributeReader::text(const char* name, std::string& field) {
  const pugi::xml_attribute attribute = element_.attribute(name);
  if (attribute.empty()) return false;
  field = attribute.value();
  return true;
}

bool AttributeReader::integer(const char* name, std::int16_t& field) {
  return read(name, field, ToInteger, "an Integer (a whole number from -32768 to 32767)");
}

bool AttributeReader::longValue(const char* name, std::int32_t& field) {
  return read(name, field, ToLong, "a Long (a 32-bit whole number)");
}

bool AttributeReader::single(const char* name, float& field) {
  return read(name, field, ToSingle, "a number");
}

bool AttributeReader::doubleValue(const char* name, double& field) {
  return read(name, field, ToDouble, "a number");
}

bool AttributeReader::boolean(const char* name, bool& field) {
  return read(name, field, ToBoolean, "True, False or a number");
}

bool AttributeReader::colour(const char* name, std::int32_t& field) {
  return read(name, field, ToColour, "a colour (H followed by hexadecimal digits, e.g. H0000FF)");
}

std::string DescribeElement(const pugi::xml_node& element, const char* keyAttribute) {
  std::string description = element.name();
  const pugi::xml_attribute key = element.attribute(keyAttribute);
  if (!key.empty()) description += " \"" + std::string(key.value()) + "\"";
  return description;
}

}  // namespace vdx
