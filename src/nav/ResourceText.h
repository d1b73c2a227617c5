#pragma once
// The program's resource strings.
#include <windows.h>

#include <string>

namespace nav {

// The string with this id from the executable's string table; fallback when the
// executable has none (a test program without the resources).
std::wstring ResourceString(UINT id, const wchar_t* fallback);

} // namespace nav
