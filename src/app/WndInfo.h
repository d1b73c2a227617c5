#pragma once
// Facts about other windows, used to recognise the windows of other instances.
#include <windows.h>
#include <string>

namespace app {

// The window's text, read into 260 characters (a longer text is cut to 259).
std::wstring WndText(HWND wnd);
// The window's class name, read the same way.
std::wstring WndClassName(HWND wnd);
// Whether the class name matches classMask and the text matches textMask.
bool WndMatches(HWND wnd, const std::wstring& classMask, const std::wstring& textMask);

// File-name mask matching that ignores case: "*" any run, "?" any one character,
// "[abc]" or "[a-z]" any one of the listed characters.
bool MatchesMask(const std::wstring& text, const std::wstring& mask);

} // namespace app
