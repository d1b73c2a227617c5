#include "gui/Panel.h"

#include "gui/CaptionText.h"
#include "gui/Dpi.h"
#include "gui/Handles.h"

namespace gui {

Panel::Panel(Window& parent) : Window(&parent) {
    CreateParams params;
    params.className = L"GuiPanel";
    CreateHandle(params);
    Show();
}

CaptionPanel::CaptionPanel(Window& parent)
    : Panel(parent), accessible_([this] {
          AccessibleFacts facts;
          facts.name = Text();
          facts.role = ROLE_SYSTEM_TITLEBAR;
          return facts;
      }) {}

void CaptionPanel::SetHighContrast(bool on) {
    if (highContrast_ == on)
        return;
    highContrast_ = on;
    Invalidate();
}

COLORREF CaptionPanel::CaptionTextColor() const {
    if (highContrast_)
        return ::GetSysColor(COLOR_BTNTEXT);
    return IsDarkColor(Color()) ? RGB(255, 255, 255) : RGB(0, 0, 0);
}

LRESULT CaptionPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result = 0; accessible_.HandleMessage(Handle(), message, wParam, lParam, result))
        return result;
    LRESULT result = Panel::HandleMessage(message, wParam, lParam);
    if (message == WM_SETTEXT)
        accessible_.NotifyNameChange(Handle());
    return result;
}

void CaptionPanel::EraseBackground(HDC dc) {
    if (!highContrast_) {
        Panel::EraseBackground(dc);
        return;
    }
    RECT r = ClientRect();
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    // Without its own colour the bar is told apart from the tree beside it by a frame.
    ::FrameRect(dc, &r, ::GetSysColorBrush(COLOR_BTNTEXT));
}

CaptionPanel::Placement CaptionPanel::PlaceCaption(int textHeight, int textWidth) const {
    // At 96 dpi the bar is 25 pixels thick; its buttons take 28 pixels at the start and
    // 39 at the end, so the text starts 28 pixels in and has 67 pixels less than the
    // bar's length. All of it grows with the DPI.
    int thickness = ScaleForDpi(25, dpi_);
    int start = ScaleForDpi(28, dpi_);
    int buttons = start + ScaleForDpi(39, dpi_);
    switch (Align()) {
    case alTop:
    case alBottom:
        return {Width() - buttons, start, (thickness - textHeight) / 2};
    case alLeft:
    case alRight:
        return {Height() - buttons, (thickness - textHeight) / 2, Top() + Height() - start};
    default:
        return {textWidth, 0, 0};
    }
}

std::wstring CaptionPanel::FittedCaption(HDC dc, Placement* placement) const {
    SIZE extent{};
    std::wstring caption = Text();
    ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    *placement = PlaceCaption(extent.cy, extent.cx);
    auto measure = [dc](const std::wstring& text) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    return FitCaption(caption, placement->room, measure);
}

std::wstring CaptionPanel::DrawnCaption() const {
    if (Text().empty() || Handle() == nullptr)
        return {};
    HDC dc = ::GetDC(Handle());
    HGDIOBJ old = ::SelectObject(dc, Font() != nullptr ? Font() : ::GetStockObject(DEFAULT_GUI_FONT));
    Placement placement{};
    std::wstring text = FittedCaption(dc, &placement);
    ::SelectObject(dc, old);
    ::ReleaseDC(Handle(), dc);
    return text;
}

void CaptionPanel::Paint(HDC dc) {
    if (Text().empty())
        return;
    SelectGuard select(dc, Font() != nullptr ? Font() : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    Placement placement{};
    std::wstring text = FittedCaption(dc, &placement);
    if (text.empty())
        return;
    ::SetTextColor(dc, CaptionTextColor());
    ::TextOutW(dc, placement.x, placement.y, text.c_str(), static_cast<int>(text.size()));
}

} // namespace gui
