#pragma once
// Start-up and shut-down of the shell helpers.
//
// The program entry constructs one ShellModule on the main thread before it uses any
// shell helper and destroys it after the last use (after every window is gone):
//
//     shell::ShellModule shellModule; // OleInitialize, then the desktop folder
//     ...                             // the message loop
//     // leaving the scope releases the desktop folder, then OleUninitialize
//
// Instances nest: only the outermost one fetches and releases the desktop folder;
// each balances its own OleInitialize.
#include <windows.h>
#include <shlobj.h>

namespace shell {

class ShellModule {
public:
    // Raises gui::HResultError, with the system's code, when the desktop folder
    // cannot be obtained; OLE is then left as it was.
    ShellModule();
    ~ShellModule();
    ShellModule(const ShellModule&) = delete;
    ShellModule& operator=(const ShellModule&) = delete;

private:
    bool oleInitialized_ = false;
};

// The desktop's folder, through which all names are parsed and all ID lists compared.
// Only valid while a ShellModule exists; calling it before is a programming error.
IShellFolder* DesktopFolder();

// Whether a ShellModule currently exists.
bool ShellModuleStarted() noexcept;

} // namespace shell
