#pragma once
// The error dialog of the item commands.
#include <windows.h>

#include <string>

namespace nav {

// Shows text in a modal error dialog with one OK button, owned by owner and centred on
// the screen, and returns when the user closed it.
void ShowErrorDialog(HWND owner, const std::wstring& text);

} // namespace nav
