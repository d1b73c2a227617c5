#include "shell/DelimitedText.h"

#include "gui/Error.h"
#include "shell/ShellConsts.h"

namespace shell {
namespace {

constexpr wchar_t kQuote = kDelimitedTextQuote;

// Blanks and control characters separate components when they are not quoted.
constexpr bool IsBlank(wchar_t c) noexcept {
    return c >= 1 && c <= 32;
}

bool NeedsQuotes(std::wstring_view component, wchar_t delimiter) noexcept {
    for (wchar_t c : component)
        if (c == kQuote || c == delimiter || c == L'\0' || IsBlank(c))
            return true;
    return false;
}

void AppendQuoted(std::wstring& text, std::wstring_view component) {
    text += kQuote;
    for (wchar_t c : component) {
        if (c == kQuote)
            text += kQuote;
        text += c;
    }
    text += kQuote;
}

} // namespace

std::wstring EncodeDelimitedText(const std::vector<std::wstring>& components, wchar_t delimiter) {
    CHECK(delimiter != kQuote);
    if (components.size() == 1 && components.front().empty())
        return std::wstring(2, kQuote);
    std::wstring text;
    for (size_t i = 0; i < components.size(); ++i) {
        if (i > 0)
            text += delimiter;
        if (NeedsQuotes(components[i], delimiter))
            AppendQuoted(text, components[i]);
        else
            text += components[i];
    }
    return text;
}

std::vector<std::wstring> DecodeDelimitedText(std::wstring_view text, wchar_t delimiter) {
    CHECK(delimiter != kQuote);
    std::vector<std::wstring> components;
    const size_t n = text.size();
    size_t p = 0;
    auto skipBlanks = [&] {
        while (p < n && IsBlank(text[p]))
            ++p;
    };

    skipBlanks();
    while (p < n) {
        std::wstring component;
        if (text[p] == kQuote) {
            // Up to the next quote that is not doubled, or to the end.
            ++p;
            while (p < n) {
                if (text[p] == kQuote) {
                    if (p + 1 < n && text[p + 1] == kQuote) {
                        component += kQuote;
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                component += text[p++];
            }
        } else {
            const size_t start = p;
            while (p < n && text[p] != delimiter && !IsBlank(text[p]))
                ++p;
            component.assign(text.substr(start, p - start));
        }
        components.push_back(std::move(component));

        skipBlanks();
        if (p < n && text[p] == delimiter) {
            if (p == n - 1)
                components.emplace_back();
            ++p;
            skipBlanks();
        }
    }
    return components;
}

} // namespace shell
