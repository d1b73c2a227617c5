#include "app/MainForm.h"
#include "gui/Hint.h"
#include "support/Pump.h"

#include <gtest/gtest.h>

#include <memory>

using namespace app;
using testing_support::PumpUntilIdle;

namespace {

// A desktop whose pointer the test places; monitors are the system's.
class PointerDesktop : public IDesktop {
public:
    POINT cursor{2000, 2000};
    bool leftDown = false;
    POINT CursorPos() override { return cursor; }
    bool LeftButtonDown() override { return leftDown; }
    HMONITOR MonitorFromPoint(POINT p) override { return SystemDesktop().MonitorFromPoint(p); }
    HMONITOR MonitorFromRect(const RECT& r) override { return SystemDesktop().MonitorFromRect(r); }
    RECT WorkArea(HMONITOR m) override { return SystemDesktop().WorkArea(m); }
    UINT MenuShowDelay() override { return 0; }
};

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TMainForm>(desktop);
        PumpUntilIdle();
    }
    void TearDown() override {
        form.reset();
        PumpUntilIdle();
    }
    RECT WorkArea() { return desktop.WorkArea(desktop.MonitorFromRect(form->ScreenBounds())); }

    PointerDesktop desktop;
    std::unique_ptr<TMainForm> form;
};

TEST_F(MainFormTest, IsFoundByClassAndTextAndHasNoTaskbarPresence) {
    EXPECT_EQ(FindWindowW(L"TMainForm", L"Kestrav"), form->Handle());
    HWND owner = GetWindow(form->Handle(), GW_OWNER);
    EXPECT_EQ(owner, gui::Application::Instance().Handle());
    EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
}

TEST_F(MainFormTest, StartsDockedLeftAsCollapsedTranslucentStrip) {
    RECT work = WorkArea();
    RECT bounds = form->ScreenBounds();
    EXPECT_EQ(form->SnapEdge(), gui::alLeft);
    EXPECT_EQ(form->Layout(), loCollapsed);
    EXPECT_EQ(bounds.left, work.left);
    EXPECT_EQ(bounds.top, work.top);
    EXPECT_EQ(gui::Width(bounds), 4);
    EXPECT_EQ(gui::Height(bounds), gui::Height(work));
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(form->Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 64);
    EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWLP_USERDATA), gui::alLeft);
    EXPECT_TRUE(form->Modifies().Empty());
    EXPECT_TRUE(form->HooksAttached());
}

TEST_F(MainFormTest, ExpandsOpaqueWithTitleBarAndCollapsesBack) {
    form->FormClick();
    PumpUntilIdle();
    EXPECT_EQ(form->Layout(), loExpanded);
    EXPECT_EQ(form->Width(), 300);
    EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_TRUE(IsWindowVisible(form->TitlePanel().Handle()));
    // Docked left: the title bar runs down the left side, buttons from the top.
    RECT title = form->TitlePanel().Bounds();
    EXPECT_EQ(title.left, 0);
    EXPECT_EQ(gui::Width(title), 25);
    EXPECT_LT(form->ExitBtn().Top(), form->PinningBtn().Top());
    EXPECT_LT(form->PinningBtn().Top(), form->TopmostBtn().Top());
    EXPECT_GT(form->OptionBtn().Top(), form->TopmostBtn().Top());

    desktop.cursor = {2000, 2000};
    form->AppMainEventsIdle();
    ASSERT_TRUE(form->LayoutTimer().Running());
    form->LayoutTimer().OnTimer();
    EXPECT_EQ(form->Layout(), loCollapsed);
    EXPECT_EQ(form->Width(), 4);
}

TEST_F(MainFormTest, TitleButtonsCarryTagsHintsAndGlyphs) {
    struct Case {
        gui::SpeedButton& button;
        int tag;
        const wchar_t* hint;
    } cases[] = {
        {form->OptionBtn(), 0, L"オプション"},
        {form->TopmostBtn(), 1, L"標準形式で表示"},
        {form->PinningBtn(), 3, L"自動で折り畳む"},
        {form->ExitBtn(), 5, L"終了"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.button.Tag(), c.tag);
        EXPECT_EQ(c.button.Hint(), c.hint);
        EXPECT_EQ(gui::HintOf(c.button), c.hint);
        EXPECT_NE(c.button.Glyph(), nullptr);
    }
    EXPECT_EQ(form->TitleImages().Count(), 6);
}

} // namespace
