#include "launcher/xml_attribute_edit.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace vdxlaunch {
namespace {

struct Attribute {
  std::string_view name;
  std::size_t valueBegin = 0;  // after the opening quote
  std::size_t valueEnd = 0;    // at the closing quote
  char quote = '"';
};

struct StartTag {
  std::string_view name;
  std::size_t nameEnd = 0;
  std::vector<Attribute> attributes;
  std::size_t close = 0;  // the '>', or the '/' of "/>"
  bool selfClosing = false;
};

struct Layout {
  StartTag root;
  std::optional<std::size_t> rootEndTag;  // the '<' of the root's end tag
  std::vector<StartTag> children;         // the root's child elements, in order
};

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

class Scanner {
 public:
  explicit Scanner(std::string_view text) : s_(text) {}

  std::optional<Layout> scan() {
    if (s_.starts_with("\xEF\xBB\xBF")) at_ = 3;
    if (!skipProlog()) return std::nullopt;
    Layout layout;
    auto root = startTag();
    if (!root) return std::nullopt;
    layout.root = *root;
    if (root->selfClosing) return layout;
    int depth = 1;
    while (true) {
      const std::size_t open = s_.find('<', at_);
      if (open == std::string_view::npos) return std::nullopt;
      at_ = open;
      if (startsWith("<!--")) {
        if (!skipPast("-->")) return std::nullopt;
      } else if (startsWith("<![CDATA[")) {
        if (!skipPast("]]>")) return std::nullopt;
      } else if (startsWith("<?")) {
        if (!skipPast("?>")) return std::nullopt;
      } else if (startsWith("</")) {
        if (--depth == 0) {
          layout.rootEndTag = open;
          return layout;
        }
        if (!skipPast(">")) return std::nullopt;
      } else if (startsWith("<!")) {
        return std::nullopt;
      } else {
        auto tag = startTag();
        if (!tag) return std::nullopt;
        if (depth == 1) layout.children.push_back(*tag);
        if (!tag->selfClosing) ++depth;
      }
    }
  }

 private:
  bool startsWith(std::string_view token) const { return s_.substr(at_).starts_with(token); }

  bool skipPast(std::string_view token) {
    const std::size_t found = s_.find(token, at_);
    if (found == std::string_view::npos) return false;
    at_ = found + token.size();
    return true;
  }

  void skipSpace() {
    while (at_ < s_.size() && IsSpace(s_[at_]))
      ++at_;
  }

  // The declaration, comments, processing instructions and a document type
  // before the root element.
  bool skipProlog() {
    while (true) {
      skipSpace();
      if (startsWith("<?")) {
        if (!skipPast("?>")) return false;
      } else if (startsWith("<!--")) {
        if (!skipPast("-->")) return false;
      } else if (startsWith("<!")) {
        if (!skipDocumentType()) return false;
      } else {
        return startsWith("<");
      }
    }
  }

  // Up to the '>' that is outside quotes and outside the internal subset.
  bool skipDocumentType() {
    int brackets = 0;
    char quote = 0;
    for (; at_ < s_.size(); ++at_) {
      const char c = s_[at_];
      if (quote != 0) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '[') {
        ++brackets;
      } else if (c == ']') {
        --brackets;
      } else if (c == '>' && brackets <= 0) {
        ++at_;
        return true;
      }
    }
    return false;
  }

  std::string_view name() {
    const std::size_t begin = at_;
    while (at_ < s_.size() && !IsSpace(s_[at_]) && s_[at_] != '/' && s_[at_] != '>' &&
           s_[at_] != '=')
      ++at_;
    return s_.substr(begin, at_ - begin);
  }

  // At the '<' of a start tag; ends after its '>'.
  std::optional<StartTag> startTag() {
    StartTag tag;
    ++at_;
    tag.name = name();
    if (tag.name.empty()) return std::nullopt;
    tag.nameEnd = at_;
    while (true) {
      skipSpace();
      if (at_ >= s_.size()) return std::nullopt;
      if (s_[at_] == '>' || startsWith("/>")) {
        tag.close = at_;
        tag.selfClosing = s_[at_] == '/';
        at_ += tag.selfClosing ? 2 : 1;
        return tag;
      }
      Attribute attribute;
      attribute.name = name();
      if (attribute.name.empty()) return std::nullopt;
      skipSpace();
      if (at_ >= s_.size() || s_[at_] != '=') return std::nullopt;
      ++at_;
      skipSpace();
      if (at_ >= s_.size() || (s_[at_] != '"' && s_[at_] != '\'')) return std::nullopt;
      attribute.quote = s_[at_];
      attribute.valueBegin = ++at_;
      const std::size_t close = s_.find(attribute.quote, at_);
      if (close == std::string_view::npos) return std::nullopt;
      attribute.valueEnd = close;
      at_ = close + 1;
      tag.attributes.push_back(attribute);
    }
  }

  std::string_view s_;
  std::size_t at_ = 0;
};

// A piece of the new file: `length` bytes at `at` become `text`.
struct Splice {
  std::size_t at = 0;
  std::size_t length = 0;
  std::string text;
};

std::string Escaped(std::string_view value, char quote) {
  std::string out;
  for (const char c : value) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == quote)
      out += quote == '"' ? "&quot;" : "&apos;";
    else
      out += c;
  }
  return out;
}

std::string AttributeText(std::string_view name, std::string_view value, char quote) {
  return " " + std::string(name) + "=" + quote + Escaped(value, quote) + quote;
}

// Where a new attribute goes: after the last one, else after the name.
std::size_t AttributeEnd(const StartTag& tag) {
  return tag.attributes.empty() ? tag.nameEnd : tag.attributes.back().valueEnd + 1;
}

void EditTag(const StartTag& tag, const AttributeEdit& edit, std::vector<Splice>& splices) {
  bool found = false;
  for (const Attribute& a : tag.attributes) {
    if (a.name != edit.attribute) continue;
    splices.push_back({a.valueBegin, a.valueEnd - a.valueBegin, Escaped(edit.value, a.quote)});
    found = true;
  }
  if (found) return;
  const char quote = tag.attributes.empty() ? '"' : tag.attributes.back().quote;
  splices.push_back({AttributeEnd(tag), 0, AttributeText(edit.attribute, edit.value, quote)});
}

std::string LineEndOf(std::string_view xml) {
  const std::size_t newline = xml.find('\n');
  return newline != std::string_view::npos && newline > 0 && xml[newline - 1] == '\r' ? "\r\n"
                                                                                      : "\n";
}

// The blanks before the root's first child on its line, or two spaces.
std::string ChildIndentOf(std::string_view xml, const Layout& layout) {
  if (layout.children.empty()) return "  ";
  std::size_t lt = layout.children.front().nameEnd - layout.children.front().name.size() - 1;
  std::size_t begin = lt;
  while (begin > 0 && (xml[begin - 1] == ' ' || xml[begin - 1] == '\t'))
    --begin;
  if (begin > 0 && xml[begin - 1] != '\n') return "  ";
  return std::string(xml.substr(begin, lt - begin));
}

void AddElements(std::string_view xml, const Layout& layout,
                 const std::vector<std::string>& elements, std::vector<Splice>& splices) {
  const std::string eol = LineEndOf(xml);
  const std::string indent = ChildIndentOf(xml, layout);
  if (!layout.rootEndTag) {
    // <Root .../> opens up to hold them.
    std::string text = ">" + eol;
    for (const std::string& e : elements)
      text += indent + e + eol;
    text += "</" + std::string(layout.root.name) + ">";
    splices.push_back({layout.root.close, 2, text});
    return;
  }
  const std::size_t endTag = *layout.rootEndTag;
  std::size_t lineStart = endTag;
  while (lineStart > 0 && (xml[lineStart - 1] == ' ' || xml[lineStart - 1] == '\t'))
    --lineStart;
  if (lineStart == 0 || xml[lineStart - 1] == '\n') {
    std::string text;
    for (const std::string& e : elements)
      text += indent + e + eol;
    splices.push_back({lineStart, 0, text});
  } else {
    std::string text;
    for (const std::string& e : elements)
      text += e;
    splices.push_back({endTag, 0, text});
  }
}

bool IsWideText(std::string_view xml) {
  return xml.starts_with("\xFE\xFF") || xml.starts_with("\xFF\xFE") ||
         xml.find('\0') != std::string_view::npos;
}

}  // namespace

EditedXml ApplyAttributeEdits(std::string_view xml, std::span<const AttributeEdit> edits) {
  if (IsWideText(xml))
    return {false,
            {},
            "it is written in UTF-16 or UTF-32; only UTF-8 and one-byte encodings can be changed"};
  const auto layout = Scanner(xml).scan();
  if (!layout) return {false, {}, "its elements cannot be found (it is not well-formed XML)"};

  std::vector<Splice> splices;
  std::vector<std::string> newElements;
  std::vector<std::string> newElementNames;
  for (const AttributeEdit& edit : edits) {
    if (edit.element.empty()) {
      EditTag(layout->root, edit, splices);
      continue;
    }
    bool present = false;
    for (const StartTag& child : layout->children) {
      if (child.name != edit.element) continue;
      EditTag(child, edit, splices);
      present = true;
    }
    if (present) continue;
    const auto known = std::find(newElementNames.begin(), newElementNames.end(), edit.element);
    const std::string attribute = AttributeText(edit.attribute, edit.value, '"');
    if (known == newElementNames.end()) {
      newElementNames.push_back(edit.element);
      newElements.push_back("<" + edit.element + attribute);
    } else {
      newElements[static_cast<std::size_t>(known - newElementNames.begin())] += attribute;
    }
  }
  if (!newElements.empty()) {
    for (std::string& e : newElements)
      e += "/>";
    AddElements(xml, *layout, newElements, splices);
  }

  // Pieces at the same place keep the order they were made in.
  std::stable_sort(splices.begin(), splices.end(),
                   [](const Splice& a, const Splice& b) { return a.at < b.at; });
  EditedXml result;
  std::size_t cursor = 0;
  for (const Splice& splice : splices) {
    if (splice.at < cursor) return {false, {}, "two changes fall on the same bytes"};
    result.text.append(xml.substr(cursor, splice.at - cursor));
    result.text += splice.text;
    cursor = splice.at + splice.length;
  }
  result.text.append(xml.substr(cursor));
  result.ok = true;
  return result;
}

}  // namespace vdxlaunch
