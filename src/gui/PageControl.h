#pragma once
// A tab control whose tabs switch between pages; each page holds controls. The tabs are
// a tab stop of their own, where the arrow keys switch pages.
#include "gui/NativeControl.h"

#include <memory>
#include <vector>

namespace gui {

class PageControl;

class TabSheet : public Window {
public:
    TabSheet(PageControl& owner, const std::wstring& caption);
};

class PageControl : public NativeControl {
public:
    PageControl(Window& parent, const RECT& bounds);

    TabSheet& AddPage(const std::wstring& caption);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TabSheet& Page(int index) { return *pages_.at(static_cast<size_t>(index)); }
    int ActivePageIndex() const { return static_cast<int>(Send(TCM_GETCURSEL)); }
    // Shows the page and selects its tab; fires no event.
    void SetActivePageIndex(int index);
    // Shows the next page (or the previous one), round from the last to the first, as a
    // click on its tab would: OnChange fires.
    void SelectNextPage(bool forward);

    std::function<void()> OnChange;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool Notified(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void PlacePages();
    void ShowActivePage();

    std::vector<std::unique_ptr<TabSheet>> pages_;
};

} // namespace gui
