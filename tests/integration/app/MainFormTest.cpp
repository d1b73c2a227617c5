#include "app/MainForm.h"
#include "TwoMonitorsDesktop.h"
#include "gui/Hint.h"
#include "support/Pump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>

using namespace app;
using testing_support::PumpUntilIdle;

namespace {

// A desktop whose pointer the test places; monitors are the system's.
class PointerDesktop : public IDesktop {
public:
    POINT cursor{2000, 2000};
    bool leftDown = false;
    std::optional<RECT> workArea; // the system's unless set
    std::optional<UINT> menuShowDelay; // the system does not tell unless set
    POINT CursorPos() override { return cursor; }
    bool LeftButtonDown() override { return leftDown; }
    HMONITOR MonitorFromPoint(POINT p) override { return SystemDesktop().MonitorFromPoint(p); }
    HMONITOR MonitorFromRect(const RECT& r) override { return SystemDesktop().MonitorFromRect(r); }
    RECT WorkArea(HMONITOR m) override { return workArea ? *workArea : SystemDesktop().WorkArea(m); }
    std::optional<UINT> MenuShowDelay() override { return menuShowDelay; }
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

namespace {

// The colour of a glyph pixel that is black on a light title bar.
COLORREF PixelOf(HBITMAP glyph, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, glyph);
    COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return c;
}

TEST_F(MainFormTest, DarkColoursInvertTheGlyphsAndLightOnesRestoreThem) {
    HBITMAP before = form->ExitBtn().Glyph();
    COLORREF ground = PixelOf(before, 0, 15);
    EXPECT_EQ(ground, RGB(255, 255, 255));
    form->SetBaseColor(RGB(20, 30, 40));
    PumpUntilIdle();
    EXPECT_EQ(form->Color(), RGB(20, 30, 40));
    for (gui::SpeedButton* b : {&form->OptionBtn(), &form->TopmostBtn(), &form->PinningBtn(), &form->ExitBtn()})
        EXPECT_EQ(PixelOf(b->Glyph(), 0, 15), RGB(0, 0, 0)) << b->Tag();
    EXPECT_TRUE(form->Modifies().Contains(cpForm));
    form->SetBaseColor(RGB(250, 250, 250));
    PumpUntilIdle();
    for (gui::SpeedButton* b : {&form->OptionBtn(), &form->TopmostBtn(), &form->PinningBtn(), &form->ExitBtn()})
        EXPECT_EQ(PixelOf(b->Glyph(), 0, 15), RGB(255, 255, 255)) << b->Tag();
}

TEST_F(MainFormTest, ColourShiftOffKeepsTheBaseColour) {
    // Without a neighbour both settings show the base colour; with the shift off the
    // window keeps it even after a neighbour's colour arrived.
    form->SetColorShift(false);
    PostMessageW(form->Handle(), WM_DOCKCHAIN, dcColor, static_cast<LPARAM>(gui::ColorToRGB(gui::clBtnFace)));
    PumpUntilIdle();
    EXPECT_EQ(form->Color(), gui::clBtnFace);
    form->SetColorShift(true);
    EXPECT_NE(form->Color(), gui::clBtnFace);
    EXPECT_EQ(form->BlendColor(), gui::ColorToRGB(gui::clBtnFace));
}

TEST_F(MainFormTest, TopmostAndPinningButtonsSwitchTagsHintsAndState) {
    EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    form->TopmostBtn().Click();
    EXPECT_TRUE(form->Topmost());
    EXPECT_EQ(form->TopmostBtn().Tag(), 2);
    EXPECT_EQ(form->TopmostBtn().Hint(), L"常に最前面で表示");
    EXPECT_NE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(form->Modifies().Contains(cpForm));
    form->TopmostBtn().Click();
    EXPECT_FALSE(form->Topmost());
    EXPECT_EQ(form->TopmostBtn().Tag(), 1);
    EXPECT_EQ(form->TopmostBtn().Hint(), L"標準形式で表示");
    // Windows then takes the window out of the topmost band (HWND_NOTOPMOST); Wine 8
    // keeps an owned window there once it was topmost, so that is not checked here.

    form->PinningBtn().Click(); // collapsed: nothing happens
    EXPECT_EQ(form->Layout(), loCollapsed);
    form->FormClick();
    form->PinningBtn().Click();
    EXPECT_EQ(form->Layout(), loPinned);
    EXPECT_EQ(form->PinningBtn().Tag(), 4);
    EXPECT_EQ(form->PinningBtn().Hint(), L"展開して固定");
    // Pinned: neither the idle hook nor deactivation collapses it.
    form->AppMainEventsIdle();
    EXPECT_FALSE(form->LayoutTimer().Running());
    form->AppMainEventsDeactivate();
    EXPECT_EQ(form->Layout(), loPinned);
    form->PinningBtn().Click();
    EXPECT_EQ(form->Layout(), loExpanded);
    form->AppMainEventsDeactivate();
    EXPECT_EQ(form->Layout(), loCollapsed);
}

TEST_F(MainFormTest, HoverExpandsOnlyWithThePointerInside) {
    form->AppMainEventsIdle();
    ASSERT_TRUE(form->LayoutTimer().Running());
    form->LayoutTimer().OnTimer(); // pointer away
    EXPECT_EQ(form->Layout(), loCollapsed);
    EXPECT_FALSE(form->LayoutTimer().Running());
    RECT r = form->ScreenBounds();
    desktop.cursor = {r.right - 1, r.top + 10}; // right side is exclusive: inside
    form->AppMainEventsIdle();
    form->LayoutTimer().OnTimer();
    EXPECT_EQ(form->Layout(), loExpanded);
    EXPECT_EQ(form->LayoutTimer().Interval(), 400u);
}

TEST_F(MainFormTest, TheOpenPanelRefusesDepthsBelow100) {
    form->FormClick();
    RECT before = form->ScreenBounds();
    form->SetExpandWidth(99);
    EXPECT_EQ(form->ScreenBounds(), before);
    // 100, the smallest width the options dialog accepts, opens the panel at that width.
    form->SetExpandWidth(100);
    EXPECT_EQ(form->Width(), 100);
    form->SetExpandWidth(101);
    EXPECT_EQ(form->Width(), 101);
    EXPECT_EQ(form->ScreenBounds().left, before.left);
    // Collapsing remembers the open width, which the next expansion restores.
    form->SetExpandWidth(420);
    form->AppMainEventsDeactivate();
    EXPECT_EQ(form->Width(), 4);
    form->FormClick();
    EXPECT_EQ(form->Width(), 420);
}

TEST_F(MainFormTest, CollapseSizeChangesTheStripAtOnceOnlyWhileCollapsed) {
    form->SetCollapseSize(12);
    EXPECT_EQ(form->Width(), 12);
    form->FormClick();
    form->SetCollapseSize(20);
    EXPECT_EQ(form->Width(), 300);
    EXPECT_EQ(form->HitPlaceAt({form->ScreenBounds().right - 10, form->ScreenBounds().top + 300}), HTRIGHT);
}

TEST_F(MainFormTest, EachEdgeArrangesTheTitleBar) {
    form->FormClick();
    form->PinningBtn().Click(); // pinned, so that no layout tick closes it meanwhile
    RECT work = WorkArea();
    struct Case {
        TAlign edge;
        RECT bounds;
    } cases[] = {
        {gui::alTop, gui::MakeRect(work.left, work.top, gui::Width(work), 225)},
        {gui::alRight, gui::MakeRect(work.right - 300, work.top, 300, gui::Height(work))},
        {gui::alBottom, gui::MakeRect(work.left, work.bottom - 225, gui::Width(work), 225)},
        {gui::alLeft, gui::MakeRect(work.left, work.top, 300, gui::Height(work))},
    };
    for (const Case& c : cases) {
        form->SetSnapEdge(c.edge);
        PumpUntilIdle();
        EXPECT_EQ(form->ScreenBounds(), c.bounds) << int(c.edge);
        EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWLP_USERDATA), c.edge);
        RECT client = form->ClientRect();
        RECT title = form->TitlePanel().Bounds();
        bool vertical = c.edge == gui::alLeft || c.edge == gui::alRight;
        if (vertical) {
            EXPECT_EQ(gui::Width(title), 25);
            EXPECT_EQ(c.edge == gui::alLeft ? title.left : client.right - title.right, 0) << int(c.edge);
            EXPECT_LT(form->ExitBtn().Top(), form->TopmostBtn().Top());
            EXPECT_GT(form->OptionBtn().Top(), form->TopmostBtn().Top());
        } else {
            EXPECT_EQ(gui::Height(title), 25);
            EXPECT_EQ(c.edge == gui::alTop ? title.top : client.bottom - title.bottom, 0) << int(c.edge);
            EXPECT_LT(form->OptionBtn().Left(), form->TopmostBtn().Left());
            EXPECT_LT(form->TopmostBtn().Left(), form->PinningBtn().Left());
            EXPECT_LT(form->PinningBtn().Left(), form->ExitBtn().Left());
            EXPECT_EQ(form->ExitBtn().Bounds().right, gui::Width(title) - 2);
        }
    }
}

TEST_F(MainFormTest, DraggingTheTitleBarIntoABandRedocks) {
    form->FormClick();
    RECT work = WorkArea();
    // A move of the held title bar to 10 px above the work area's bottom.
    POINT target{work.left + 400, work.bottom - 10};
    POINT client = target;
    ScreenToClient(form->TitlePanel().Handle(), &client);
    SendMessageW(form->TitlePanel().Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    EXPECT_EQ(form->SnapEdge(), gui::alBottom);
    EXPECT_EQ(form->ScreenBounds().bottom, work.bottom);
    // Inside the bands nothing happens; without the button nothing happens.
    target = {work.left + 400, work.top + 300};
    client = target;
    ScreenToClient(form->TitlePanel().Handle(), &client);
    SendMessageW(form->TitlePanel().Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    EXPECT_EQ(form->SnapEdge(), gui::alBottom);
    target = {work.left + 5, work.top + 300};
    client = target;
    ScreenToClient(form->TitlePanel().Handle(), &client);
    SendMessageW(form->TitlePanel().Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    EXPECT_EQ(form->SnapEdge(), gui::alBottom);
}

TEST_F(MainFormTest, InnerBandOfTheOpenPanelStartsSizing) {
    form->FormClick();
    RECT r = form->ScreenBounds();
    LRESULT hit = SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(r.right - 2, r.top + 300));
    EXPECT_EQ(hit, HTCLIENT);
    EXPECT_EQ(form->HitPlace(), HTRIGHT);
    SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 1, r.top + 300));
    EXPECT_EQ(form->HitPlace(), HTCLIENT); // the outer side never sizes
    form->AppMainEventsDeactivate();
    SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 1, r.top + 300));
    EXPECT_EQ(form->HitPlace(), HTCLIENT);
}

TEST(MainFormTiming, TheLayoutTimerFollowsTheMenuShowDelay) {
    // A delay of 0 asks for instant reveal: the shortest interval the system allows.
    struct Case {
        std::optional<UINT> delay;
        UINT interval;
    } cases[] = {{std::nullopt, 400}, {0, USER_TIMER_MINIMUM}, {250, 250}, {1, USER_TIMER_MINIMUM}};
    for (const Case& c : cases) {
        PointerDesktop desktop;
        desktop.menuShowDelay = c.delay;
        TMainForm form(desktop);
        EXPECT_EQ(form.LayoutTimer().Interval(), c.interval) << (c.delay ? int(*c.delay) : -1);
    }
    PumpUntilIdle();
}

TEST_F(MainFormTest, ChainMessagesFromStrangersChangeNothing) {
    HWND stranger = CreateWindowExW(0, L"STATIC", L"Kestrav", WS_POPUP, 0, 0, 4, 800, nullptr, nullptr, nullptr, nullptr);
    RECT before = form->ScreenBounds();
    for (WPARAM code : {0, 1, 2, 5, 6, 7, 99})
        PostMessageW(form->Handle(), WM_DOCKCHAIN, code, reinterpret_cast<LPARAM>(stranger));
    PostMessageW(form->Handle(), WM_DOCKCHAIN, dcAccept, 0x12345678);
    PumpUntilIdle();
    EXPECT_EQ(form->PrevWnd(), form->Handle());
    EXPECT_EQ(form->NextWnd(), form->Handle());
    EXPECT_EQ(form->ScreenBounds(), before);
    DestroyWindow(stranger);
}

} // namespace

namespace {

TEST_F(MainFormTest, ADisplayChangeRedocksIntoTheNewWorkArea) {
    RECT work = WorkArea();
    desktop.workArea = RECT{work.left, work.top + 40, work.right, work.bottom - 40};
    SendMessageW(form->Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
    EXPECT_EQ(form->ScreenBounds(), gui::MakeRect(work.left, work.top + 40, 4, gui::Height(work) - 80));
}

TEST_F(MainFormTest, EdgesThatDoNotDockKeepTheBounds) {
    // Edges a hand-edited data file may hold: 0 docks nothing, 5 and 6 are never
    // written by the program. The window keeps its place and still opens and closes.
    for (int edge : {5, 6, 0}) {
        RECT before = form->ScreenBounds();
        form->SetSnapEdge(static_cast<TAlign>(edge));
        EXPECT_EQ(form->ScreenBounds(), before) << edge;
        form->FormClick();
        EXPECT_EQ(form->Layout(), loExpanded);
        EXPECT_EQ(form->ScreenBounds(), before) << edge;
        EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
        EXPECT_TRUE(IsWindowVisible(form->TitlePanel().Handle()));
        form->AppMainEventsDeactivate();
        EXPECT_EQ(form->ScreenBounds(), before) << edge;
        EXPECT_NE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    }
    // Dragging the title bar into a band docks it normally again.
    form->FormClick();
    RECT work = WorkArea();
    POINT client{work.left + 400, work.top + 5};
    ScreenToClient(form->TitlePanel().Handle(), &client);
    SendMessageW(form->TitlePanel().Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    EXPECT_EQ(form->SnapEdge(), gui::alTop);
    EXPECT_EQ(form->ScreenBounds().top, work.top);
    EXPECT_EQ(form->Width(), gui::Width(work));
}

TEST_F(MainFormTest, FocusComesBackToTheControlThatHadItWhenCollapsing) {
    form->FormClick();
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, form->ScrollBox().Handle(),
                                nullptr, nullptr, nullptr);
    SetForegroundWindow(form->Handle());
    SetFocus(edit);
    ASSERT_EQ(GetFocus(), edit);
    form->AppMainEventsDeactivate();
    SetFocus(form->Handle());
    form->FormClick();
    PumpUntilIdle();
    EXPECT_EQ(GetFocus(), edit);
    DestroyWindow(edit);
    // A control that has gone meanwhile is simply not focused.
    form->AppMainEventsDeactivate();
    form->FormClick();
    EXPECT_EQ(form->Layout(), loExpanded);
}

} // namespace

namespace {

using app_test::TwoMonitors;

TEST(MainFormMonitors, DraggingTheTitleBarToTheSecondMonitorsBottomDocksThere) {
    TwoMonitors desktop;
    TMainForm form(desktop);
    form.FormClick();
    form.PinningBtn().Click();
    ASSERT_EQ(form.ScreenBounds(), gui::MakeRect(0, 0, 300, 800));
    // The button is held while the pointer enters the bottom band of the right monitor.
    desktop.leftDown = true;
    desktop.cursor = {1600, 750};
    POINT client = desktop.cursor;
    ScreenToClient(form.TitlePanel().Handle(), &client);
    SendMessageW(form.TitlePanel().Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    EXPECT_EQ(form.SnapEdge(), gui::alBottom);
    EXPECT_EQ(form.ScreenBounds(), gui::MakeRect(1280, 760 - 225, 1280, 225));
    // The title bar lies along the bottom, the buttons at its right end.
    EXPECT_EQ(form.TitlePanel().Align(), gui::alBottom);
    EXPECT_GT(form.ExitBtn().Left(), form.PinningBtn().Left());
    // Back onto the left monitor's right band: docked there, at the full height.
    desktop.cursor = {1270, 400};
    client = desktop.cursor;
    ScreenToClient(form.TitlePanel().Handle(), &client);
    SendMessageW(form.TitlePanel().Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    EXPECT_EQ(form.SnapEdge(), gui::alRight);
    EXPECT_EQ(form.ScreenBounds(), gui::MakeRect(1280 - 300, 0, 300, 800));
    // Collapsed and opened again on the right edge, the right side never moves.
    form.PinningBtn().Click();
    form.AppMainEventsDeactivate();
    EXPECT_EQ(form.ScreenBounds(), gui::MakeRect(1276, 0, 4, 800));
    form.FormClick();
    EXPECT_EQ(form.ScreenBounds(), gui::MakeRect(980, 0, 300, 800));
}

} // namespace
