#include "gui/PopupMenu.h"

namespace gui {

void MenuItem::Click() {
    if (autoCheck_)
        checked_ = !checked_;
    if (OnClick)
        OnClick(*this);
}

MenuItem& PopupMenu::Add(std::wstring caption, int tag) {
    items_.push_back(std::make_unique<MenuItem>(std::move(caption), tag));
    return *items_.back();
}

unique_hmenu PopupMenu::Build() {
    if (OnPopup)
        OnPopup();
    unique_hmenu menu(::CreatePopupMenu());
    for (size_t i = 0; i < items_.size(); ++i) {
        const MenuItem& item = *items_[i];
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE;
        info.wID = FirstCommandId + static_cast<UINT>(i);
        info.dwTypeData = const_cast<wchar_t*>(item.Caption().c_str());
        info.fState = item.Checked() ? MFS_CHECKED : MFS_UNCHECKED;
        ::InsertMenuItemW(menu.get(), static_cast<UINT>(i), TRUE, &info);
    }
    return menu;
}

void PopupMenu::Popup(POINT screen, HWND owner) {
    unique_hmenu menu = Build();
    // The menu belongs to the owner's top-level window, which must be in the
    // foreground, or the menu would not close when the user clicks elsewhere; a child
    // window cannot be brought there. The posted message lets the menu close properly.
    HWND topLevel = owner != nullptr ? ::GetAncestor(owner, GA_ROOT) : nullptr;
    if (topLevel == nullptr)
        topLevel = owner;
    ::SetForegroundWindow(topLevel);
    UINT chosen =
        static_cast<UINT>(::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                           screen.x, screen.y, 0, topLevel, nullptr));
    ::PostMessageW(topLevel, WM_NULL, 0, 0);
    if (chosen != 0)
        Choose(chosen);
}

void PopupMenu::Choose(UINT commandId) {
    if (commandId < FirstCommandId || commandId - FirstCommandId >= items_.size())
        return;
    items_[commandId - FirstCommandId]->Click();
}

} // namespace gui
