// High-contrast themes: the window's chrome in the theme's colours, live.
#include "app/MainForm.h"

namespace app {

void TMainForm::ApplyShownColor() {
    FHighContrast = FContrast.HighContrastOn();
    // The bars first, so that the colour change below draws their glyphs the new way.
    FTitlePanel->SetHighContrast(FHighContrast);
    SetFramesHighContrast();
    // The theme's button face (a system colour, so the panel follows the theme by
    // itself); the strip is drawn in its text colour (EraseBackground).
    SetColor(FHighContrast ? gui::clBtnFace : FChainColor);
    Invalidate();
}

void TMainForm::SetFramesHighContrast() {
    for (const FrameSlot& slot : FFrames)
        slot.frame->CaptionPanel().SetHighContrast(FHighContrast);
}

void TMainForm::SystemColorsChanged() {
    ApplyShownColor();
    // The glyphs hold the colours they were made in.
    FTitlePanel->SystemColorsChanged();
    for (const FrameSlot& slot : FFrames) {
        slot.frame->CaptionPanel().SystemColorsChanged();
        // The Shell's tree view is a common control, which learns of new system colours
        // from its top-level window.
        if (HWND view = slot.frame->NameSpaceTree().TreeViewHandle())
            ::SendMessageW(view, WM_SYSCOLORCHANGE, 0, 0);
    }
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TMainForm::EraseBackground(HDC dc) {
    // The collapsed strip in a high-contrast theme: its text colour, which stands out
    // against the theme's desktop.
    if (FHighContrast && FLayout == loCollapsed) {
        RECT r = ClientRect();
        ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNTEXT));
        return;
    }
    Window::EraseBackground(dc);
}

} // namespace app
