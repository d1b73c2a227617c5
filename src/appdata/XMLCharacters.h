#pragma once
// Character classes of XML 1.0 that the store checks before it creates an element or
// stores a text, so that a file it writes can always be read back.
#include <string_view>

namespace appdata {

// XML white space: space, tab, carriage return, line feed.
bool IsXmlWhiteSpace(wchar_t c) noexcept;
bool IsXmlWhiteSpace(std::wstring_view text) noexcept;

// A name the store may give a new element: an XML name without ":" (a prefix would
// need a namespace declaration, which the store never writes).
bool IsValidElementName(std::wstring_view name) noexcept;

// Whether every character can stand in an XML 1.0 document (no control characters
// other than tab, CR and LF, no U+FFFE/U+FFFF, surrogates only in pairs).
bool IsXmlText(std::wstring_view text) noexcept;

} // namespace appdata
