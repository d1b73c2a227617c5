// The edge window moved to a monitor of another DPI: the system's WM_DPICHANGED, sent
// to a real window, re-lays out its chrome; the user's sizes stay in pixels.
#include "app/DockGeometry.h"
#include "app/MainForm.h"
#include "TwoMonitorsDesktop.h"
#include "gui/CaptionBar.h"
#include "gui/Dpi.h"
#include "gui/Fonts.h"
#include "gui/Hint.h"
#include "gui/Splitter.h"
#include "support/Pump.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace app;
using testing_support::PumpUntilIdle;

namespace {

template <typename T> void Collect(gui::Window& window, std::vector<T*>& found) {
    for (gui::Window* child : window.Children()) {
        if (auto* match = dynamic_cast<T*>(child))
            found.push_back(match);
        Collect(*child, found);
    }
}

template <typename T> std::vector<T*> All(gui::Window& window) {
    std::vector<T*> found;
    Collect(window, found);
    return found;
}

int FontHeight(HFONT font) {
    LOGFONTW info{};
    ::GetObjectW(font, sizeof(info), &info);
    return info.lfHeight;
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof(info), &info);
    return {info.bmWidth, info.bmHeight};
}

class MainFormDpiTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TMainForm>(desktop);
        PumpUntilIdle();
        form->FormClick();
        form->PinningBtn().Click();
        DragTitleTo({640, 10});
        ASSERT_EQ(form->SnapEdge(), gui::alTop);
    }
    void TearDown() override {
        form.reset();
        PumpUntilIdle();
    }
    // A title-bar drag with the pointer at a screen point, as the title bar reports it.
    void DragTitleTo(POINT screen) {
        desktop.leftDown = true;
        desktop.cursor = screen;
        POINT client = screen;
        ::ScreenToClient(form->TitlePanel().Handle(), &client);
        ::SendMessageW(form->TitlePanel().Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
        desktop.leftDown = false;
        desktop.cursor = {2000, 2000};
        PumpUntilIdle();
    }
    // What the system sends when the window lands on a monitor of another DPI: the
    // new DPI and its own bounds scaled by the change.
    void SendDpiChanged(int dpi) {
        RECT now = form->ScreenBounds();
        RECT suggested = gui::MakeRect(now.left, now.top, ::MulDiv(gui::Width(now), dpi, form->Dpi()),
                                       ::MulDiv(gui::Height(now), dpi, form->Dpi()));
        ::SendMessageW(form->Handle(), gui::kWMDpiChanged, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&suggested));
        PumpUntilIdle();
    }

    app_test::TwoMonitors desktop;
    std::unique_ptr<TMainForm> form;
};

TEST_F(MainFormDpiTest, ADpiChangeRelaysEveryPartOfTheChromeAndKeepsTheUsersSizes) {
    while (form->OrderedFrames().size() < 3)
        form->AddFrame(-1);
    std::vector<nav::TNavFrame*> frames = form->OrderedFrames();
    frames[0]->SetWidth(260);
    frames[1]->SetCollapsed(true);
    PumpUntilIdle();
    const RECT bounds = form->ScreenBounds();
    LOGFONTW systemCaption{};
    ASSERT_TRUE(gui::SystemCaptionFont(systemCaption));
    LOGFONTW status{};
    ASSERT_TRUE(gui::SystemStatusFont(status));

    for (int dpi : {120, 144, 192, 96}) {
        SCOPED_TRACE(dpi);
        SendDpiChanged(dpi);
        EXPECT_EQ(form->Dpi(), dpi);
        // Docked at the top: the depth is the user's, the length the monitor's.
        EXPECT_EQ(form->ScreenBounds(), bounds);
        EXPECT_EQ(form->GetPadding(), EdgePadding(gui::alTop, dpi));

        // The title bar and the frames' caption bars (up the left side of each frame in
        // a row), their buttons and glyphs: none is left at another DPI.
        EXPECT_EQ(form->TitlePanel().Height(), gui::ScaleForDpi(25, dpi));
        EXPECT_EQ(form->OptionBtn().Width(), gui::ScaleForDpi(21, dpi));
        EXPECT_EQ(FontHeight(form->TitlePanel().CaptionFont()),
                  ::MulDiv(systemCaption.lfHeight, dpi, gui::SystemDpi()));
        std::vector<gui::CaptionBar*> bars = All<gui::CaptionBar>(*form);
        ASSERT_EQ(bars.size(), 1 + frames.size());
        for (gui::CaptionBar* bar : bars) {
            EXPECT_EQ(bar->Dpi(), dpi);
            EXPECT_EQ(bar->Images().Width(), gui::GlyphSizeForDpi(dpi));
            EXPECT_EQ(bar->Images().Count(), bar == &form->TitlePanel() ? 6 : 4);
            int thickness = gui::IsVerticalSide(bar->Align()) ? bar->Width() : bar->Height();
            EXPECT_EQ(thickness, gui::ScaleForDpi(25, dpi));
        }
        int glyphs = 0;
        for (gui::SpeedButton* button : All<gui::SpeedButton>(*form)) {
            if (button->Glyph() == nullptr)
                continue;
            ++glyphs;
            SIZE size = BitmapSize(button->Glyph());
            EXPECT_EQ(size.cx, gui::GlyphSizeForDpi(dpi));
            EXPECT_EQ(size.cy, gui::GlyphSizeForDpi(dpi));
        }
        EXPECT_EQ(glyphs, 4 + 3 * static_cast<int>(frames.size()));
        for (gui::Splitter* splitter : All<gui::Splitter>(*form))
            EXPECT_EQ(splitter->Width(), gui::ScaleForDpi(3, dpi));
        EXPECT_EQ(FontHeight(gui::HintFont()), ::MulDiv(status.lfHeight, dpi, gui::SystemDpi()));

        // The frames keep the widths the user gave them; a collapsed one is as wide as
        // its caption bar.
        EXPECT_EQ(frames[0]->Width(), 260);
        EXPECT_EQ(frames[1]->Width(), frames[1]->CaptionPanel().Width());
    }
}

TEST_F(MainFormDpiTest, AFrameAddedAfterTheChangeComesAtTheNewDpi) {
    SendDpiChanged(144);
    nav::TNavFrame& frame = form->AddFrame(-1);
    PumpUntilIdle();
    EXPECT_EQ(frame.CaptionPanel().Dpi(), 144);
    EXPECT_EQ(frame.CaptionPanel().Width(), gui::ScaleForDpi(25, 144));
    ASSERT_NE(form->SplitterOf(frame), nullptr);
    EXPECT_EQ(form->SplitterOf(frame)->Width(), gui::ScaleForDpi(3, 144));
}

TEST_F(MainFormDpiTest, ATitleDragDocksWithinTheBandOfTheDpi) {
    struct Case {
        int dpi;
        int x; // pointer distance from the left side of the work area
        TAlign edge;
    } cases[] = {
        {96, 30, gui::alTop},  {192, 30, gui::alLeft}, {192, 49, gui::alLeft},
        {192, 51, gui::alTop}, {120, 30, gui::alLeft}, {120, 31, gui::alTop},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dpi << " dpi, " << c.x << " px in");
        DragTitleTo({640, 10});
        ASSERT_EQ(form->SnapEdge(), gui::alTop);
        SendDpiChanged(c.dpi);
        DragTitleTo({c.x, 400});
        EXPECT_EQ(form->SnapEdge(), c.edge);
    }
}

TEST_F(MainFormDpiTest, ADockedWindowAsksNotToBeScaledAndBrokenMessagesAreHarmless) {
    SIZE size{1, 1};
    EXPECT_EQ(::SendMessageW(form->Handle(), gui::kWMGetDpiScaledSize, 192, reinterpret_cast<LPARAM>(&size)),
              TRUE);
    EXPECT_EQ(size.cx, form->Width());
    EXPECT_EQ(size.cy, form->Height());

    const RECT bounds = form->ScreenBounds();
    const int dpi = form->Dpi();
    ::SendMessageW(form->Handle(), gui::kWMDpiChanged, MAKEWPARAM(192, 192), 0); // no rectangle
    EXPECT_EQ(form->Dpi(), dpi);
    ::SendMessageW(form->Handle(), gui::kWMGetDpiScaledSize, 192, 0);
    RECT suggested = gui::MakeRect(0, 0, 5, 5);
    ::SendMessageW(form->Handle(), gui::kWMDpiChanged, 0, reinterpret_cast<LPARAM>(&suggested)); // no DPI
    PumpUntilIdle();
    EXPECT_EQ(form->Dpi(), 96);
    EXPECT_EQ(form->TitlePanel().Height(), 25);
    EXPECT_EQ(form->ScreenBounds(), bounds);
}

} // namespace
