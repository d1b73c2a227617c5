#include "nav/ResourceText.h"

namespace nav {

std::wstring ResourceString(UINT id, const wchar_t* fallback) {
    const wchar_t* text = nullptr;
    int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring(fallback);
}

} // namespace nav
