#include "gui/ColorBox.h"

#include "gui/Dpi.h"
#include "gui/Handles.h"

#include <commdlg.h>

namespace gui {
namespace {

// Posted to the box to open the colour dialog.
constexpr UINT WM_PICKCOLOR = WM_APP + 0x3B2;

constexpr TColor System(int index) {
    return 0xFF000000u | static_cast<TColor>(index);
}

} // namespace

const std::vector<NamedColor>& NamedColors() {
    static const std::vector<NamedColor> colors = {
        // Standard colours.
        {L"Black", 0x000000},
        {L"Maroon", 0x000080},
        {L"Green", 0x008000},
        {L"Olive", 0x008080},
        {L"Navy", 0x800000},
        {L"Purple", 0x800080},
        {L"Teal", 0x808000},
        {L"Gray", 0x808080},
        {L"Silver", 0xC0C0C0},
        {L"Red", 0x0000FF},
        {L"Lime", 0x00FF00},
        {L"Yellow", 0x00FFFF},
        {L"Blue", 0xFF0000},
        {L"Fuchsia", 0xFF00FF},
        {L"Aqua", 0xFFFF00},
        {L"White", 0xFFFFFF},
        // Extended colours.
        {L"Money Green", 0xC0DCC0},
        {L"Sky Blue", 0xF0CAA6},
        {L"Cream", 0xF0FBFF},
        {L"Med Gray", 0xA4A0A0},
        // System colours.
        {L"Scroll Bar", System(COLOR_SCROLLBAR)},
        {L"Background", System(COLOR_BACKGROUND)},
        {L"Active Caption", System(COLOR_ACTIVECAPTION)},
        {L"Inactive Caption", System(COLOR_INACTIVECAPTION)},
        {L"Menu", System(COLOR_MENU)},
        {L"Window", System(COLOR_WINDOW)},
        {L"Window Frame", System(COLOR_WINDOWFRAME)},
        {L"Menu Text", System(COLOR_MENUTEXT)},
        {L"Window Text", System(COLOR_WINDOWTEXT)},
        {L"Caption Text", System(COLOR_CAPTIONTEXT)},
        {L"Active Border", System(COLOR_ACTIVEBORDER)},
        {L"Inactive Border", System(COLOR_INACTIVEBORDER)},
        {L"Application Workspace", System(COLOR_APPWORKSPACE)},
        {L"Highlight", System(COLOR_HIGHLIGHT)},
        {L"Highlight Text", System(COLOR_HIGHLIGHTTEXT)},
        {L"Button Face", System(COLOR_BTNFACE)},
        {L"Button Shadow", System(COLOR_BTNSHADOW)},
        {L"Gray Text", System(COLOR_GRAYTEXT)},
        {L"Button Text", System(COLOR_BTNTEXT)},
        {L"Inactive Caption Text", System(COLOR_INACTIVECAPTIONTEXT)},
        {L"Button Highlight", System(COLOR_BTNHIGHLIGHT)},
        {L"3D Dark Shadow", System(COLOR_3DDKSHADOW)},
        {L"3D Light", System(COLOR_3DLIGHT)},
        {L"Info Text", System(COLOR_INFOTEXT)},
        {L"Info Background", System(COLOR_INFOBK)},
        {L"Hot Light", System(COLOR_HOTLIGHT)},
        {L"Gradient Active Caption", System(COLOR_GRADIENTACTIVECAPTION)},
        {L"Gradient Inactive Caption", System(COLOR_GRADIENTINACTIVECAPTION)},
        {L"Menu Highlight", System(COLOR_MENUHILIGHT)},
        {L"Menu Bar", System(COLOR_MENUBAR)},
    };
    return colors;
}

bool ChooseColorDialog(HWND owner, TColor& color) {
    static COLORREF customColors[16] = {};
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = owner;
    choose.rgbResult = ColorToRGB(color);
    choose.lpCustColors = customColors;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!::ChooseColorW(&choose))
        return false;
    color = choose.rgbResult;
    return true;
}

ColorBox::ColorBox(Window& parent, const RECT& bounds)
    : ComboBox(parent, bounds, CBS_OWNERDRAWFIXED | CBS_HASSTRINGS), PickColor(ChooseColorDialog) {
    SetDpi(kDesignDpi);
    AddItem(CustomCaption, static_cast<LPARAM>(clBlack));
    for (const NamedColor& named : NamedColors())
        AddItem(named.name, static_cast<LPARAM>(named.color));
    SetSelected(clBtnFace);
}

void ColorBox::SetDpi(int dpi) {
    int height = ScaleForDpi(16, dpi);
    Send(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height); // the selection field
    Send(CB_SETITEMHEIGHT, 0, height);                       // the rows of the list
}

TColor ColorBox::Selected() const {
    int index = ItemIndex();
    return index < 0 ? clBlack : static_cast<TColor>(ItemData(index));
}

void ColorBox::SetSelected(TColor color) {
    int found = 0;
    for (int i = 1; i < Count(); ++i) {
        if (static_cast<TColor>(ItemData(i)) == color) {
            found = i;
            break;
        }
    }
    if (found == 0)
        SetItemData(0, static_cast<LPARAM>(color));
    SetItemIndex(found);
    lastIndex_ = found;
}

void ColorBox::Choose() {
    lastIndex_ = ItemIndex();
    ComboBox::Select();
}

void ColorBox::Select() {
    // The colour dialog is on its way; it decides.
    if (pickPosted_)
        return;
    if (ItemIndex() != 0) {
        customInList_ = false;
        Choose();
        return;
    }
    // In the dropped-down list the custom entry waits for the list to close on it; on
    // the closed box it is a colour like the others.
    if (dropped_)
        customInList_ = true;
    else
        Choose();
}

void ColorBox::ListClosed() {
    dropped_ = false;
    bool custom = customInList_;
    customInList_ = false;
    if (ItemIndex() == 0 && closesOnSelection_) {
        PostPick();
        return;
    }
    // What the box shows now is what counts: the list may have gone back to the entry it
    // showed before without saying so.
    if (ItemIndex() >= 0 && (ItemIndex() != lastIndex_ || custom))
        Choose();
}

void ColorBox::PostPick() {
    if (pickPosted_)
        return;
    pickPosted_ = ::PostMessageW(Handle(), WM_PICKCOLOR, 0, 0) != FALSE;
}

void ColorBox::Pick() {
    pickPosted_ = false;
    TColor color = static_cast<TColor>(ItemData(0));
    if (!PickColor || !PickColor(Handle(), color)) {
        // Cancelled: the box shows again what it showed before.
        SetItemIndex(lastIndex_);
        return;
    }
    SetItemData(0, static_cast<LPARAM>(color));
    SetItemIndex(0);
    Invalidate();
    Choose();
}

LRESULT ColorBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PICKCOLOR:
        Pick();
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // The keys that close the list on its selection; the platform reports some of
        // them as a cancel.
        if (dropped_ &&
            (wParam == VK_F4 || (message == WM_SYSKEYDOWN && (wParam == VK_UP || wParam == VK_DOWN))))
            closesOnSelection_ = true;
        break;
    default:
        break;
    }
    return ComboBox::HandleMessage(message, wParam, lParam);
}

bool ColorBox::Notified(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }
    if (message == WM_COMMAND) {
        switch (HIWORD(wParam)) {
        case CBN_DROPDOWN:
            dropped_ = true;
            customInList_ = false;
            closesOnSelection_ = false;
            break;
        case CBN_SELENDOK:
            // A click on an entry or Enter (the platform may say so on the closed box as
            // well): the custom entry opens the dialog even when it was chosen already.
            if (dropped_)
                closesOnSelection_ = true;
            result = 0;
            return true;
        case CBN_SELENDCANCEL:
            result = 0;
            return true;
        case CBN_CLOSEUP:
            ListClosed();
            result = 0;
            return true;
        default:
            break;
        }
    }
    return ComboBox::Notified(message, wParam, lParam, result);
}

void ColorBox::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    ::SetBkColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    if (item.itemID == static_cast<UINT>(-1))
        return;
    int index = static_cast<int>(item.itemID);
    RECT swatch{r.left + 2, r.top + 2, r.left + 2 + (r.bottom - r.top - 4), r.bottom - 2};
    {
        unique_hbrush brush(::CreateSolidBrush(ColorToRGB(static_cast<TColor>(ItemData(index)))));
        ::FillRect(dc, &swatch, brush.get());
        ::FrameRect(dc, &swatch, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    RECT text = r;
    text.left = swatch.right + 4;
    std::wstring caption = ItemText(index);
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0)
        ::DrawFocusRect(dc, &r);
}

} // namespace gui
