#include "nav/ItemOpen.h"

#include "gui/Handles.h"

#include <shlguid.h>
#include <wrl/client.h>

namespace nav {

static_assert(sizeof(CMINVOKECOMMANDINFO) == 56, "the Shell expects the 64-bit record of 56 bytes");

void OpenShellItem(IShellItem* item, HWND window) noexcept {
    if (item == nullptr)
        return;
    try {
        Microsoft::WRL::ComPtr<IContextMenu> menu;
        if (FAILED(item->BindToHandler(nullptr, BHID_SFUIObject, IID_PPV_ARGS(&menu))) || !menu)
            return;
        gui::unique_hmenu popup(::CreatePopupMenu());
        if (!popup)
            return;
        menu->QueryContextMenu(popup.get(), 0, 1, 0x7FFF, CMF_EXPLORE);
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof(info);
        info.hwnd = window;
        info.lpVerb = "open";
        info.nShow = SW_SHOWNORMAL;
        menu->InvokeCommand(&info);
    } catch (...) {
        // Opening is silent about its failures, out of memory included.
    }
}

} // namespace nav
