#pragma once
// What the real-Shell tests of the shell helpers share beyond the general file helpers
// in support/: comparisons of ID lists and paths. Its .cpp also starts the module for
// the whole program.
#include <windows.h>
#include <shlobj.h>

#include <string>

namespace shelltest {

// Whether the desktop folder finds the two absolute ID lists equal.
bool SameIDList(PCIDLIST_ABSOLUTE a, PCIDLIST_ABSOLUTE b);

// Whether two file-system paths name the same file (letters compared without case).
bool SamePath(const std::wstring& a, const std::wstring& b);

} // namespace shelltest
