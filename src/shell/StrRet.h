#pragma once
// The text of a STRRET, as IShellFolder::GetDisplayNameOf returns it.
#include <windows.h>
#include <shtypes.h>

#include <string>

namespace shell {

// The text of a STRRET that GetDisplayNameOf gave for idList (the list is needed
// only for STRRET_OFFSET). A STRRET_WSTR's string is freed and its pointer cleared,
// so every STRRET is consumed exactly once.
//
// Malformed input gives the empty string instead of a read out of bounds: a nil
// ID list or an offset outside the first item for STRRET_OFFSET, a buffer without
// its terminating NUL for STRRET_CSTR, an unknown kind.
//
// A text that begins with a question mark followed by an ASCII digit loses every
// question mark ("?12" gives "12").
std::wstring StrRetToText(PCUIDLIST_RELATIVE idList, STRRET& strRet);

} // namespace shell
