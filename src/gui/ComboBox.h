#pragma once
// A drop-down list: the user picks one of its items and cannot type.
#include "gui/NativeControl.h"

#include <functional>

namespace gui {

class ComboBox : public NativeControl {
public:
    // The height of bounds is the height of the dropped-down list.
    ComboBox(Window& parent, const RECT& bounds);

    int AddItem(const std::wstring& text, LPARAM data = 0);
    int Count() const { return static_cast<int>(Send(CB_GETCOUNT)); }
    std::wstring ItemText(int index) const;
    LPARAM ItemData(int index) const { return Send(CB_GETITEMDATA, static_cast<WPARAM>(index)); }
    void SetItemData(int index, LPARAM data) { Send(CB_SETITEMDATA, static_cast<WPARAM>(index), data); }
    // -1 when nothing is selected. Setting it fires no event.
    int ItemIndex() const { return static_cast<int>(Send(CB_GETCURSEL)); }
    void SetItemIndex(int index) { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
    bool DroppedDown() const { return Send(CB_GETDROPPEDSTATE) != 0; }
    int DroppedWidth() const { return static_cast<int>(Send(CB_GETDROPPEDWIDTH)); }
    void SetDroppedWidth(int width) { Send(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width)); }
    // The width of a text in the box's font, in pixels.
    int TextWidth(const std::wstring& text) const;

    // The user picked another item.
    std::function<void()> OnChange;
    // The list is about to drop down.
    std::function<void()> OnDropDown;

protected:
    ComboBox(Window& parent, const RECT& bounds, DWORD style);
    // The user picked an item (by the list or by the keyboard).
    virtual void Select();
    bool Notified(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

} // namespace gui
