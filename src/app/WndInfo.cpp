#include "app/WndInfo.h"

#include <cwctype>

namespace app {
namespace {

wchar_t Fold(wchar_t c) {
    wchar_t buffer[2] = {c, 0};
    ::CharUpperBuffW(buffer, 1);
    return buffer[0];
}

// Matches a bracketed set at mask[m] (which is '['); returns the index after ']' or
// npos when the set is not closed (then '[' is taken literally).
size_t MatchSet(const std::wstring& mask, size_t m, wchar_t c, bool& matched) {
    size_t i = m + 1;
    matched = false;
    bool first = true;
    while (i < mask.size() && (mask[i] != L']' || first)) {
        first = false;
        wchar_t low = Fold(mask[i]);
        wchar_t high = low;
        if (i + 2 < mask.size() && mask[i + 1] == L'-' && mask[i + 2] != L']') {
            high = Fold(mask[i + 2]);
            i += 2;
        }
        if (low <= c && c <= high)
            matched = true;
        ++i;
    }
    return i < mask.size() ? i + 1 : std::wstring::npos;
}

} // namespace

bool MatchesMask(const std::wstring& text, const std::wstring& mask) {
    // Iterative matching with one backtrack point for the last star: linear in
    // practice, and never recursive however many stars a mask has.
    size_t t = 0, m = 0;
    size_t starMask = std::wstring::npos, starText = 0;
    while (t < text.size()) {
        wchar_t c = Fold(text[t]);
        if (m < mask.size()) {
            wchar_t k = mask[m];
            if (k == L'*') {
                starMask = ++m;
                starText = t;
                continue;
            }
            if (k == L'?') {
                ++m;
                ++t;
                continue;
            }
            if (k == L'[') {
                bool matched = false;
                size_t next = MatchSet(mask, m, c, matched);
                if (next != std::wstring::npos) {
                    if (matched) {
                        m = next;
                        ++t;
                        continue;
                    }
                } else if (c == L'[') {
                    ++m;
                    ++t;
                    continue;
                }
            } else if (Fold(k) == c) {
                ++m;
                ++t;
                continue;
            }
        }
        if (starMask == std::wstring::npos)
            return false;
        m = starMask;
        t = ++starText;
    }
    while (m < mask.size() && mask[m] == L'*')
        ++m;
    return m == mask.size();
}

std::wstring WndText(HWND wnd) {
    wchar_t buffer[260] = {};
    int length = ::GetWindowTextW(wnd, buffer, 260);
    return std::wstring(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

std::wstring WndClassName(HWND wnd) {
    wchar_t buffer[260] = {};
    int length = ::GetClassNameW(wnd, buffer, 260);
    return std::wstring(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

bool WndMatches(HWND wnd, const std::wstring& classMask, const std::wstring& textMask) {
    return MatchesMask(WndClassName(wnd), classMask) && MatchesMask(WndText(wnd), textMask);
}

} // namespace app
