// XML through the system's own parser and writer, XmlLite (xmllite.dll, in every Windows since
// Vista and in Wine), loaded when first needed. Documents are the plain trees of model/xml_tree.h.
#pragma once

#include <string>
#include <string_view>

#include "model/xml_tree.h"

namespace win {

// Parses a whole document (UTF-8 or UTF-16, as its byte-order mark or declaration says) into
// `root`. False when it is not well-formed XML (or XmlLite is missing); `error` then says where
// and what, in UTF-8.
bool ParseXml(std::string_view bytes, quillorb::XmlElement& root, std::string& error);

// The document as UTF-8 with a byte-order mark, the declaration
// <?xml version="1.0" encoding="utf-8" standalone="yes"?>, each element on a line of its own
// indented by tabs, lines ended by CR LF. The bytes are read back before they are handed out: a
// document that would not read back as `root` is not written. False with `error` (UTF-8) then.
bool SerializeXml(const quillorb::XmlElement& root, std::string& bytes, std::string& error);

}  // namespace win
