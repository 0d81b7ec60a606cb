// Changes attribute values of an XML file in place, byte for byte: comments,
// blanks, line ends, quotes, entity references, the declaration and every
// other byte stay as they are, and only the values asked for change. The text
// must be well-formed XML already (the launcher has parsed it); this scanner
// only finds where the root element, its children and their attributes are.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "launcher/form_settings.h"

namespace vdxlaunch {

struct EditedXml {
  bool ok = false;
  std::string text;   // the whole file with the edits, when ok
  std::string error;  // why not, when not ok
};

// Applies each edit: an attribute that is there gets the new value in its own
// quotes; a missing one is added after the element's last attribute; a child
// element that is missing is added as the root's last child, on a line of its
// own indented like the root's first child, with the file's line end. Refused
// for text in UTF-16 or UTF-32 (nothing there reads as ASCII).
EditedXml ApplyAttributeEdits(std::string_view xml, std::span<const AttributeEdit> edits);

}  // namespace vdxlaunch
