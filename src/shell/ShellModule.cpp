#include "shell/ShellModule.h"

#include <wrl/client.h>

#include "gui/Error.h"

namespace shell {
namespace {

// The module's state: the shell helpers run on the main thread only.
Microsoft::WRL::ComPtr<IShellFolder> desktopFolder;
int moduleCount = 0;

} // namespace

ShellModule::ShellModule() {
    oleInitialized_ = SUCCEEDED(::OleInitialize(nullptr));
    if (moduleCount == 0) {
        HRESULT hr = ::SHGetDesktopFolder(desktopFolder.ReleaseAndGetAddressOf());
        if (FAILED(hr) || desktopFolder == nullptr) {
            desktopFolder.Reset();
            if (oleInitialized_)
                ::OleUninitialize();
            throw gui::HResultError(FAILED(hr) ? hr : E_UNEXPECTED);
        }
    }
    ++moduleCount;
}

ShellModule::~ShellModule() {
    if (--moduleCount == 0)
        desktopFolder.Reset();
    if (oleInitialized_)
        ::OleUninitialize();
}

IShellFolder* DesktopFolder() {
    CHECK(desktopFolder != nullptr);
    return desktopFolder.Get();
}

bool ShellModuleStarted() noexcept {
    return desktopFolder != nullptr;
}

} // namespace shell
