// An XML document as plain data: elements with their attributes in the file's order, their child
// elements and the character data directly inside them. Comments, processing instructions and the
// white space between elements are not kept. Names and values are UTF-8. The system's XML parser
// fills it and its writer writes it (win/xml_lite.h); the program only reads and edits it.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillorb {

struct XmlElement {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<XmlElement> children;
  std::string text;

  bool operator==(const XmlElement&) const = default;

  // The value of the attribute `key`, or nullptr when the element has none.
  const std::string* Attribute(std::string_view key) const {
    for (const auto& [k, value] : attributes) {
      if (k == key) return &value;
    }
    return nullptr;
  }
  // Replaces the attribute's value where it stands; a new attribute goes last.
  void SetAttribute(std::string_view key, std::string value) {
    for (auto& [k, v] : attributes) {
      if (k == key) {
        v = std::move(value);
        return;
      }
    }
    attributes.emplace_back(std::string(key), std::move(value));
  }
};

}  // namespace quillorb
