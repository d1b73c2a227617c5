// Not part of the suite: the open panel with two frames in a high-contrast theme (the
// system's colours set to a black theme, high contrast reported on), shown for a few
// seconds so that a screenshot can be taken, then the collapsed strip for a few more; the
// theme is switched while the panel shows, so the picture also shows that it follows the
// change. Run with
//   GTEST_ALSO_RUN_DISABLED_TESTS=1 GTEST_FILTER='*HighContrastScreenshot*'
//   tools/screenshot strip.png --wait 9 --exe build/tests/integration_app.exe
//     --action 'import -window root panel.png; sleep 6'
#include "app/MainForm.h"
#include "support/Pump.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class ContrastOn : public gui::IHighContrastSetting {
public:
    bool HighContrastOn() override { return true; }
};

TEST(HighContrastScreenshot, DISABLED_ShowsThePanelInABlackHighContrastTheme) {
    ContrastOn contrast;
    app::TMainForm form(app::SystemDesktop(), contrast);
    form.SetBaseColor(RGB(200, 100, 50));
    form.FormClick();
    form.PinningBtn().Click();
    form.AddDesktop();
    form.AddDesktop();
    std::vector<nav::TNavFrame*> frames = form.OrderedFrames();
    for (nav::TNavFrame* frame : frames)
        frame->SetExpandHeight(330);
    frames[1]->SetCollapsed(true);
    testing_support::PumpUntilIdle();
    // A selected item names the caption bar.
    frames[0]->CaptionPanel().SetText(L"C:\\users\\root\\Desktop");
    frames[1]->CaptionPanel().SetText(L"C:\\users\\root\\Documents");

    // A black theme as Windows' own: white text on black, yellow links, cyan selection.
    const int elements[] = {COLOR_WINDOW,    COLOR_WINDOWTEXT,    COLOR_BTNFACE,    COLOR_BTNTEXT,
                            COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT,   COLOR_HOTLIGHT,
                            COLOR_3DSHADOW,  COLOR_3DHILIGHT,     COLOR_BACKGROUND, COLOR_3DDKSHADOW,
                            COLOR_SCROLLBAR};
    const COLORREF black[] = {RGB(0, 0, 0),       RGB(255, 255, 255), RGB(0, 0, 0),     RGB(255, 255, 255),
                              RGB(26, 235, 255),  RGB(0, 0, 0),       RGB(63, 242, 63), RGB(255, 255, 0),
                              RGB(255, 255, 255), RGB(255, 255, 255), RGB(0, 0, 0),     RGB(255, 255, 255),
                              RGB(0, 0, 0)};
    std::vector<COLORREF> before;
    for (int element : elements)
        before.push_back(GetSysColor(element));
    // The system tells every window (WM_SYSCOLORCHANGE); the panel follows.
    SetSysColors(static_cast<int>(std::size(elements)), elements, black);
    testing_support::PumpUntil([] { return false; }, 7000);
    // Then the collapsed strip, in the theme's text colour.
    form.PinningBtn().Click();
    form.SetLayout(app::loCollapsed);
    testing_support::PumpUntil([] { return false; }, 5000);
    SetSysColors(static_cast<int>(std::size(elements)), elements, before.data());
    testing_support::PumpUntilIdle();
}

} // namespace
