#pragma once
// Constants shared by the shell helpers.
#include <windows.h>
#include <shlobj.h>

namespace shell {

// A root designation this long or longer is never a known folder's value name.
inline constexpr size_t kMaxRootFolderNameLength = 256;

// What FindItemByPath enumerates at each level: everything a user may have
// expanded, hidden and system items included.
inline constexpr SHCONTF kItemPathEnumFlags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN |
                                              SHCONTF_NAVIGATION_ENUM | SHCONTF_INCLUDESUPERHIDDEN;

// Texts of a shortcut pass through buffers of this many characters.
inline constexpr int kLinkTextLength = MAX_PATH;

// GetPath of a shortcut prefers the UNC form of a target on a network drive.
inline constexpr DWORD kLinkPathFlags = SLGP_UNCPRIORITY;

// The quote character of delimited text.
inline constexpr wchar_t kDelimitedTextQuote = L'"';

// The delimiters of item paths and of lists of item paths.
inline constexpr wchar_t kItemPathDelimiter = L'\\';
inline constexpr wchar_t kItemPathListDelimiter = L',';

} // namespace shell
