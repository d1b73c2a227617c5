#pragma once
// A pop-up menu of text items with tags and check marks.
#include "gui/Handles.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace gui {

class MenuItem {
public:
    MenuItem(std::wstring caption, int tag) : caption_(std::move(caption)), tag_(tag) {}
    const std::wstring& Caption() const { return caption_; }
    int Tag() const { return tag_; }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked) { checked_ = checked; }
    // A click toggles the check mark before OnClick runs.
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool autoCheck) { autoCheck_ = autoCheck; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    // What a click of the user does: the check mark toggles first (AutoCheck), then
    // OnClick runs.
    void Click();

    std::function<void(MenuItem&)> OnClick;

private:
    std::wstring caption_;
    int tag_;
    bool checked_ = false;
    bool autoCheck_ = false;
    bool visible_ = true;
    bool enabled_ = true;
};

class PopupMenu {
public:
    MenuItem& Add(std::wstring caption, int tag);
    const std::vector<std::unique_ptr<MenuItem>>& Items() const { return items_; }

    // Runs before the menu shows, so that check marks can be brought up to date.
    std::function<void()> OnPopup;

    // Shows the menu at a screen point for an owner window and handles the chosen item.
    void Popup(POINT screen, HWND owner);
    // Builds the menu as it would show now (OnPopup included), for tests and callers
    // that insert it elsewhere.
    unique_hmenu Build();
    // Handles the item with this command id as a click of the user would.
    void Choose(UINT commandId);
    static constexpr UINT FirstCommandId = 1;

private:
    std::vector<std::unique_ptr<MenuItem>> items_;
};

} // namespace gui
