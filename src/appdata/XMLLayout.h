#pragma once
// Lays out the document as the data file holds it: UTF-8 with byte-order mark, the
// declaration with the version only, one element per line indented by two spaces per
// level, each value on one line, CR LF after every line. The layout is made here
// from the document object model, never by the library's serializer.
#include "appdata/MsXml.h"

#include <string>
#include <string_view>

namespace appdata {

// The bytes of the file for the tree below rootElement. White-space-only text is left
// out, as are comments, processing instructions and text mixed between child
// elements; attributes found in a file edited by hand are kept. Raises EXMLDocError
// when a text holds a character that XML cannot represent, before anything is written.
std::string LayOutDocument(IXMLDOMNode* rootElement);

// Text content with "&", "<" and ">" as entity references; CR and LF become character
// references, so that a value keeps them and still stands on one line.
void AppendEscapedText(std::wstring& out, std::wstring_view text);

} // namespace appdata
