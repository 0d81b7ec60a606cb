// Reads one element's attributes into record fields with the content format's
// conversions. An absent attribute leaves the field alone; one that does not
// convert leaves it alone too and is written down in the load report.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <string>
#include <string_view>

#include "content/collection.h"
#include "content/load_report.h"

namespace vdx {

// Where in which file the reader is, for the report.
class XmlSource {
 public:
  XmlSource(std::string fileName, std::string_view text);
  const std::string& fileName() const { return fileName_; }
  int lineOf(const pugi::xml_node& node) const;

 private:
  std::string fileName_;
  std::vector<std::size_t> lineStarts_;
};

class AttributeReader {
 public:
  // `where` names the element for the report, e.g. Character "Kira" > Action "Punch".
  AttributeReader(const pugi::xml_node& element, std::string where, const XmlSource& source,
                  LoadReport& report);

  // Each returns true when the attribute was present and stored.
  bool text(const char* name, std::string& field);
  bool integer(const char* name, std::int16_t& field);
  bool longValue(const char* name, std::int32_t& field);
  bool single(const char* name, float& field);
  bool doubleValue(const char* name, double& field);
  bool boolean(const char* name, bool& field);
  bool colour(const char* name, std::int32_t& field);
  bool has(const char* name) const;

  // Writes down a step that failed on this element.
  void skip(std::string attribute, std::string reason);
  const std::string& where() const { return where_; }
  int line() const;

 private:
  template <typename T, typename Convert>
  bool read(const char* name, T& field, Convert convert, const char* kind);

  pugi::xml_node element_;
  std::string where_;
  const XmlSource& source_;
  LoadReport& report_;
};

// Adds a record under its key; an empty key or one already taken is written
// down and the record is left out (the first one stays).
template <typename T>
bool AddKeyed(Collection<T>& collection, T item, AttributeReader& r, const std::string& key,
              const char* what) {
  if (key.empty()) {
    r.skip("", std::string("the ") + what + " has no key (Name, Type or id), so it is not added");
    return false;
  }
  if (!collection.add(std::move(item), key)) {
    r.skip("", "the key \"" + key + "\" is already taken by an earlier " + what +
                   "; the first one is kept");
    return false;
  }
  return true;
}

// `Element "Name"`, or just `Element` when it has no Name attribute.
std::string DescribeElement(const pugi::xml_node& element, const char* keyAttribute = "Name");

}  // namespace vdx
