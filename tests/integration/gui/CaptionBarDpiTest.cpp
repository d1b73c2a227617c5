// Caption bars, splitters, hints and drags at another DPI, with real windows.
#include "gui/CaptionBar.h"
#include "gui/Dpi.h"
#include "gui/Fonts.h"
#include "gui/Hint.h"
#include "gui/Splitter.h"

#include <gtest/gtest.h>

#include <commctrl.h>

using namespace gui;

namespace {

class DpiHost : public Window {
public:
    DpiHost() : Window(nullptr) {
        SetBounds(MakeRect(100, 100, 400, 300));
        CreateParams params;
        params.className = L"TestDpiHost";
        params.style = WS_POPUP | WS_CLIPCHILDREN;
        CreateHandle(params);
    }
};

LOGFONTW InfoOf(HFONT font) {
    LOGFONTW info{};
    ::GetObjectW(font, sizeof(info), &info);
    return info;
}

TEST(CaptionBarDpi, ScalesThicknessButtonsFontAndGlyphsAndComesBack) {
    DpiHost host;
    CaptionBar bar(host, {});
    ASSERT_EQ(bar.Dpi(), DpiOfWindow(host.Handle()));
    bar.SetDpi(96);
    LOGFONTW font = DefaultLogFont(FW_BOLD); // -11 at 96 dpi
    bar.SetCaptionFont(font);
    using Place = CaptionBar::ButtonPlace;
    SpeedButton& start = bar.AddButton(Place::Start, 0);
    SpeedButton& end = bar.AddButton(Place::End, 1, {21, 19});

    // Across the bar the layout gives the buttons its room inside the padding.
    struct Case {
        int dpi;
        int thickness;
        int padding;
        int buttonLength; // 21 at 96 dpi
        int fontHeight;
        int images;
    } cases[] = {
        {120, 31, 3, 26, -14, 20},
        {144, 38, 3, 32, -17, 24},
        {192, 50, 4, 42, -22, 32},
        {96, 25, 2, 21, -11, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        bar.SetDpi(c.dpi);
        EXPECT_EQ(bar.Dpi(), c.dpi);
        EXPECT_EQ(bar.Bounds(), MakeRect(0, 0, 400, c.thickness));
        for (SpeedButton* button : {&start, &end}) {
            EXPECT_EQ(button->Width(), c.buttonLength);
            EXPECT_EQ(button->Top(), c.padding);
            EXPECT_EQ(button->Height(), c.thickness - 2 * c.padding);
        }
        EXPECT_EQ(start.Left(), c.padding);
        EXPECT_EQ(end.Bounds().right, 400 - c.padding);
        EXPECT_EQ(InfoOf(bar.Font()).lfHeight, c.fontHeight);
        EXPECT_EQ(bar.Images().Width(), c.images);
        EXPECT_EQ(bar.Images().Height(), c.images);
        // The caption's room starts after the start button's place at this DPI.
        EXPECT_EQ(bar.PlaceCaption(10, 40).x, ScaleForDpi(28, c.dpi));
    }

    // Up the side at 192 dpi: the bar is 50 wide, the buttons turn with it, the
    // rotated font is made at that DPI too.
    bar.SetDpi(192);
    bar.SetBarAlign(alLeft);
    EXPECT_EQ(bar.Bounds(), MakeRect(0, 0, 50, 300));
    EXPECT_EQ(end.Height(), 42);
    EXPECT_EQ(end.Width(), 50 - 2 * 4);
    EXPECT_EQ(InfoOf(bar.Font()).lfHeight, -22);
    EXPECT_EQ(InfoOf(bar.Font()).lfEscapement, 900);
    // Back at 96 dpi while vertical: the width goes back, not the height.
    bar.SetDpi(96);
    EXPECT_EQ(bar.Bounds(), MakeRect(0, 0, 25, 300));
    EXPECT_EQ(end.Height(), 21);
    EXPECT_EQ(end.Width(), 25 - 2 * 2);
}

TEST(CaptionBarDpi, AFontDescribedAtAnotherDpiIsMadeForTheBars) {
    DpiHost host;
    CaptionBar bar(host, {});
    bar.SetDpi(144);
    LOGFONTW font = DefaultLogFont(FW_BOLD);
    font.lfHeight = -22; // the system's caption font of a 192-dpi screen
    bar.SetCaptionFont(font, 192);
    EXPECT_EQ(InfoOf(bar.Font()).lfHeight, -17);
}

TEST(CaptionBarDpi, BrokenDpiValuesGiveASafeSize) {
    DpiHost host;
    CaptionBar bar(host, {});
    bar.SetDpi(0);
    EXPECT_EQ(bar.Height(), 25);
    bar.SetDpi(0xFFFF);
    EXPECT_EQ(bar.Height(), ScaleForDpi(25, 1536));
}

TEST(SplitterDpi, KeepsItsLengthAndScalesItsThickness) {
    DpiHost host;
    Splitter column(host);
    column.SetAlign(alTop);
    Splitter row(host);
    row.SetAlign(alLeft);
    column.SetDpi(96);
    row.SetDpi(96);
    host.Realign();
    ASSERT_EQ(column.Height(), 3);
    int length = column.Width();
    column.SetDpi(192);
    row.SetDpi(192);
    host.Realign();
    EXPECT_EQ(column.Height(), 6);
    EXPECT_EQ(column.Width(), length);
    EXPECT_EQ(row.Width(), 6);
    EXPECT_EQ(row.Thickness(), 6);
}

TEST(HintDpi, TheTooltipFontFollowsTheDpi) {
    LOGFONTW status{};
    ASSERT_TRUE(SystemStatusFont(status));
    // The tooltip may keep a copy of the font it is given: what counts is the height it
    // draws with.
    auto tooltipFontHeight = [] {
        return InfoOf(reinterpret_cast<HFONT>(::SendMessageW(HintWindow(), WM_GETFONT, 0, 0))).lfHeight;
    };
    for (int dpi : {192, 120, 144}) {
        SetHintDpi(dpi);
        ASSERT_NE(HintFont(), nullptr);
        int expected = ::MulDiv(status.lfHeight, dpi, SystemDpi());
        EXPECT_EQ(InfoOf(HintFont()).lfHeight, expected) << dpi;
        EXPECT_EQ(tooltipFontHeight(), expected) << dpi;
        EXPECT_EQ(::SendMessageW(HintWindow(), TTM_GETMAXTIPWIDTH, 0, 0), ScaleForDpi(400, dpi)) << dpi;
    }
    SetHintDpi(SystemDpi());
}

} // namespace
