#include "gui/GroupBox.h"

#include "gui/Handles.h"

namespace gui {

GroupBox::GroupBox(Window& parent, const std::wstring& caption, const RECT& bounds) : Window(&parent) {
    SetParentColor(true);
    SetText(caption);
    SetBounds(bounds);
    CreateParams params;
    params.className = L"GuiGroupBox";
    params.exStyle = WS_EX_CONTROLPARENT;
    CreateHandle(params);
    Show();
}

void GroupBox::Paint(HDC dc) {
    SelectGuard select(dc, Font() != nullptr ? Font() : ::GetStockObject(DEFAULT_GUI_FONT));
    std::wstring caption = Text();
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    RECT frame = ClientRect();
    frame.top += extent.cy / 2;
    ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (caption.empty())
        return;
    // The caption interrupts the top line of the frame.
    RECT text{8, 0, 8 + extent.cx + 4, extent.cy};
    unique_hbrush brush(::CreateSolidBrush(ColorToRGB(Color())));
    ::FillRect(dc, &text, brush.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    ::TextOutW(dc, text.left + 2, 0, caption.c_str(), static_cast<int>(caption.size()));
}

} // namespace gui
