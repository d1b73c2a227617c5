#pragma once
// A look at a document before the parser sees it. Not every MSXML honours the request
// to refuse document type declarations, and a declaration is where entity expansion
// bombs and external entities live, so the store refuses such files itself; and it
// bounds what the parser would build.
#include <cstdint>
#include <string_view>

namespace appdata {

// Whether the document in bytes declares a document type (or anything else beginning
// with "<!" other than a comment) before its root element. The encoding family is
// told from the first bytes: UTF-32 and UTF-16 in either byte order, else a byte
// encoding that agrees with ASCII on markup characters (UTF-8, Shift_JIS, Latin-1...).
// Whatever is not recognised is left to the parser, which refuses it if malformed.
bool HasDocumentTypeDeclaration(std::string_view bytes) noexcept;

// An upper bound of the markup in a document, whatever its encoding: the bytes that are
// "<" (which begins every element, end tag, comment and instruction) or "=" (which
// every attribute has). What the parser builds grows with them.
uint64_t MarkupCount(std::string_view bytes) noexcept;

} // namespace appdata
