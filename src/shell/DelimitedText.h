#pragma once
// The program's one list encoding: components joined by a delimiter, a component
// written in double quotes (quotes in it doubled) when it holds the delimiter, a
// quote, a NUL or a character with a code from 1 to 32. Item paths use it with the
// backslash, lists of item paths with the comma.
#include <string>
#include <string_view>
#include <vector>

namespace shell {

// No components give the empty text, one empty component gives "".
std::wstring EncodeDelimitedText(const std::vector<std::wstring>& components, wchar_t delimiter);

// Reads what EncodeDelimitedText writes, and any other text without fail: characters
// with codes 1 to 32 around components are skipped, a quoted component without its
// closing quote runs to the end, a stray quote inside an unquoted component is kept,
// and a delimiter that ends the text adds one empty component. The delimiter must not
// be the double quote.
std::vector<std::wstring> DecodeDelimitedText(std::wstring_view text, wchar_t delimiter);

} // namespace shell
