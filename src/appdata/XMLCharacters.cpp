#include "appdata/XMLCharacters.h"

namespace appdata {
namespace {

bool IsHighSurrogate(wchar_t c) noexcept {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t c) noexcept {
    return c >= 0xDC00 && c <= 0xDFFF;
}

bool IsNameStartChar(char32_t c) noexcept {
    return (c >= U'A' && c <= U'Z') || c == U'_' || (c >= U'a' && c <= U'z') || (c >= 0xC0 && c <= 0xD6) ||
           (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) || (c >= 0x370 && c <= 0x37D) ||
           (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF) ||
           (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool IsNameChar(char32_t c) noexcept {
    return IsNameStartChar(c) || c == U'-' || c == U'.' || (c >= U'0' && c <= U'9') || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

// The code point at text[i], advancing i; 0xFFFFFFFF for a lone surrogate.
char32_t NextCodePoint(std::wstring_view text, size_t& i) noexcept {
    wchar_t c = text[i++];
    if (IsHighSurrogate(c)) {
        if (i < text.size() && IsLowSurrogate(text[i])) {
            char32_t low = text[i++];
            return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (low - 0xDC00);
        }
        return 0xFFFFFFFF;
    }
    if (IsLowSurrogate(c))
        return 0xFFFFFFFF;
    return c;
}

} // namespace

bool IsXmlWhiteSpace(wchar_t c) noexcept {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

bool IsXmlWhiteSpace(std::wstring_view text) noexcept {
    for (wchar_t c : text)
        if (!IsXmlWhiteSpace(c))
            return false;
    return true;
}

bool IsValidElementName(std::wstring_view name) noexcept {
    if (name.empty())
        return false;
    size_t i = 0;
    if (!IsNameStartChar(NextCodePoint(name, i)))
        return false;
    while (i < name.size())
        if (!IsNameChar(NextCodePoint(name, i)))
            return false;
    return true;
}

bool IsXmlText(std::wstring_view text) noexcept {
    size_t i = 0;
    while (i < text.size()) {
        char32_t c = NextCodePoint(text, i);
        bool allowed = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
                       (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
        if (!allowed)
            return false;
    }
    return true;
}

} // namespace appdata
