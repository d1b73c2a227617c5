#include "gui/PageControl.h"

#include <algorithm>

namespace gui {

TabSheet::TabSheet(PageControl& owner, const std::wstring& caption) : Window(&owner) {
    SetText(caption);
    CreateParams params;
    params.className = L"GuiTabSheet";
    params.exStyle = WS_EX_CONTROLPARENT;
    CreateHandle(params);
}

PageControl::PageControl(Window& parent, const RECT& bounds) : NativeControl(parent) {
    SetBounds(bounds);
    CreateControl(L"GuiPageControl", WC_TABCONTROLW, WS_CLIPCHILDREN | WS_TABSTOP, WS_EX_CONTROLPARENT);
    Show();
}

TabSheet& PageControl::AddPage(const std::wstring& caption) {
    pages_.push_back(std::make_unique<TabSheet>(*this, caption));
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    std::wstring text = caption;
    item.pszText = text.data();
    Send(TCM_INSERTITEMW, pages_.size() - 1, reinterpret_cast<LPARAM>(&item));
    PlacePages();
    ShowActivePage();
    return *pages_.back();
}

void PageControl::SetActivePageIndex(int index) {
    if (index < 0 || index >= PageCount())
        return;
    Send(TCM_SETCURSEL, static_cast<WPARAM>(index));
    ShowActivePage();
}

void PageControl::SelectNextPage(bool forward) {
    int count = PageCount();
    if (count == 0)
        return;
    int active = std::max(ActivePageIndex(), 0);
    SetActivePageIndex((active + (forward ? 1 : count - 1)) % count);
    if (OnChange)
        OnChange();
}

void PageControl::PlacePages() {
    // The tab control tells the display area its tabs leave free.
    RECT area = ClientRect();
    Send(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (auto& page : pages_)
        page->SetBounds(area);
}

void PageControl::ShowActivePage() {
    int active = ActivePageIndex();
    // A focused control on a page that goes hands the focus to the tabs.
    HWND focus = ::GetFocus();
    for (int i = 0; i < PageCount(); ++i) {
        if (i != active && focus != nullptr && ::IsChild(Page(i).Handle(), focus))
            SetFocus();
    }
    for (int i = 0; i < PageCount(); ++i) {
        if (i == active)
            Page(i).Show();
    }
    for (int i = 0; i < PageCount(); ++i) {
        if (i != active)
            Page(i).Hide();
    }
}

LRESULT PageControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = NativeControl::HandleMessage(message, wParam, lParam);
    if (message == WM_SIZE)
        PlacePages();
    return result;
}

bool PageControl::Notified(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lParam)->code != TCN_SELCHANGE)
        return false;
    ShowActivePage();
    if (OnChange)
        OnChange();
    result = 0;
    return true;
}

} // namespace gui
