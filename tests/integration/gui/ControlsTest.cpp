#include "gui/CaptionBar.h"
#include "gui/ControlDrag.h"
#include "gui/Fonts.h"
#include "gui/Hint.h"
#include "gui/Panel.h"
#include "gui/PopupMenu.h"
#include "gui/ScrollBox.h"
#include "gui/Splitter.h"
#include "support/Pump.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>

using namespace gui;

namespace {

// A hidden top-level window to hold the controls under test.
class Host : public Window {
public:
    Host() : Window(nullptr) {
        SetBounds(MakeRect(100, 100, 400, 300));
        CreateParams params;
        params.className = L"TestHost";
        params.style = WS_POPUP | WS_CLIPCHILDREN;
        CreateHandle(params);
    }
};

TEST(Splitter, ResizesTheControlBeforeItWithinItsLimits) {
    Host host;
    Panel frame(host);
    frame.SetBounds(MakeRect(0, 0, 120, 10));
    frame.SetAlign(alLeft);
    Splitter splitter(host);
    splitter.SetAlign(alLeft);
    splitter.SetResized(&frame);
    splitter.SetMinSize(3);
    int asked = 0;
    splitter.OnCanResize = [&](int size, bool& accept) {
        ++asked;
        accept = size > 50;
    };
    EXPECT_EQ(splitter.Left(), 120);
    splitter.DragBy(30);
    EXPECT_EQ(frame.Width(), 150);
    EXPECT_EQ(splitter.Left(), 150);
    splitter.DragBy(-99); // to 51: allowed
    EXPECT_EQ(frame.Width(), 51);
    splitter.DragBy(-1); // to 50: refused
    EXPECT_EQ(frame.Width(), 51);
    splitter.DragBy(-200); // below the minimum size: asked for the minimum, refused
    EXPECT_EQ(frame.Width(), 51);
    EXPECT_EQ(asked, 4);
}

TEST(Splitter, AtTheTopResizesHeights) {
    Host host;
    Panel frame(host);
    frame.SetBounds(MakeRect(0, 0, 10, 80));
    frame.SetAlign(alTop);
    Splitter splitter(host);
    splitter.SetAlign(alTop);
    splitter.SetResized(&frame);
    splitter.DragBy(20);
    EXPECT_EQ(frame.Height(), 100);
    EXPECT_EQ(splitter.Top(), 100);
    EXPECT_EQ(splitter.Height(), 3);
}

TEST(PopupMenu, BuildsCheckMarksAndTogglesOnChoice) {
    PopupMenu menu;
    int popups = 0;
    menu.OnPopup = [&] { ++popups; };
    MenuItem& lines = menu.Add(L"親子をつなぐ線を表示", 1);
    lines.SetAutoCheck(true);
    MenuItem& plain = menu.Add(L"plain", 7);
    int clicked = -1;
    bool checkedInHandler = false;
    lines.OnClick = [&](MenuItem& item) {
        clicked = item.Tag();
        checkedInHandler = item.Checked();
    };
    plain.SetChecked(true);
    unique_hmenu built = menu.Build();
    EXPECT_EQ(popups, 1);
    ASSERT_EQ(GetMenuItemCount(built.get()), 2);
    wchar_t text[64] = {};
    GetMenuStringW(built.get(), 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"親子をつなぐ線を表示");
    EXPECT_EQ(GetMenuState(built.get(), 0, MF_BYPOSITION) & MF_CHECKED, 0u);
    EXPECT_NE(GetMenuState(built.get(), 1, MF_BYPOSITION) & MF_CHECKED, 0u);

    menu.Choose(GetMenuItemID(built.get(), 0));
    EXPECT_EQ(clicked, 1);
    EXPECT_TRUE(checkedInHandler); // toggled before the handler runs
    menu.Choose(0);
    menu.Choose(99);
    EXPECT_EQ(clicked, 1);
}

class DragTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.Show();
        source.SetBounds(MakeRect(0, 0, 100, 25));
        target.SetBounds(MakeRect(0, 100, 100, 25));
        target.OnDragOver = [this](Window& s, POINT, bool& accept) { accept = &s != &target; };
        target.OnDragDrop = [this](Window& s, POINT) { dropped = &s; };
        source.OnClick = [this] { ++clicks; };
        testing_support::PumpUntilIdle();
    }
    // Queues a move and a release in source's client coordinates.
    void Queue(POINT move, POINT release) {
        PostMessageW(source.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(move.x, move.y));
        PostMessageW(source.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
    }
    POINT Screen(POINT client) {
        ClientToScreen(source.Handle(), &client);
        return client;
    }
    Host host;
    Panel source{host};
    Panel target{host};
    Window* dropped = nullptr;
    int clicks = 0;
};

TEST_F(DragTest, AMoveBelowTheThresholdStaysAClick) {
    // The press reaches the source first, as from the user.
    SendMessageW(source.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    Queue({14, 10}, {14, 10});
    EXPECT_EQ(BeginDrag(source, Screen({10, 10}), 5), DragOutcome::NotStarted);
    EXPECT_EQ(dropped, nullptr);
    EXPECT_EQ(clicks, 1);
}

TEST_F(DragTest, APastThresholdDragDropsOnTheTarget) {
    Queue({10, 15}, {10, 110}); // 5 px down starts it; released over the target
    EXPECT_EQ(BeginDrag(source, Screen({10, 10}), 5), DragOutcome::Dropped);
    EXPECT_EQ(dropped, &source);
    EXPECT_EQ(clicks, 0);
}

TEST_F(DragTest, DroppingWhereNothingTakesItIsRefusedAndEscapeCancels) {
    Queue({10, 40}, {10, 60}); // between the panels: the host takes nothing
    EXPECT_EQ(BeginDrag(source, Screen({10, 10}), 5), DragOutcome::Refused);
    PostMessageW(source.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 40));
    PostMessageW(source.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(BeginDrag(source, Screen({10, 10}), 5), DragOutcome::Cancelled);
    EXPECT_EQ(dropped, nullptr);
}

TEST(PastDragThreshold, CountsEitherAxis) {
    EXPECT_FALSE(PastDragThreshold({0, 0}, {4, 4}, 5));
    EXPECT_TRUE(PastDragThreshold({0, 0}, {5, 0}, 5));
    EXPECT_TRUE(PastDragThreshold({0, 0}, {0, -5}, 5));
}

TEST(ScrollBox, ScrollsARowOfChildrenThatIsWiderThanItself) {
    Host host;
    ScrollBox box(host);
    box.SetAlign(alClient);
    std::vector<std::unique_ptr<Panel>> panels;
    for (int i = 0; i < 3; ++i) {
        panels.push_back(std::make_unique<Panel>(box));
        panels.back()->SetBounds(MakeRect(0, 0, 300, 10));
        panels.back()->SetAlign(alLeft);
    }
    testing_support::PumpUntilIdle();
    EXPECT_EQ(box.ContentSize().cx, 900);
    EXPECT_EQ(panels[2]->Left(), 600);
    box.ScrollTo({250, 0});
    EXPECT_EQ(panels[0]->Left(), -250);
    EXPECT_EQ(panels[2]->Left(), 350);
    box.ScrollTo({5000, 0}); // clamped to the end of the row
    RECT client = box.ClientRect();
    EXPECT_EQ(box.ScrollPos().x, 900 - Width(client));
    EXPECT_EQ(panels[2]->Bounds().right, Width(client));
}

} // namespace

namespace {

TEST(CaptionPanel, FitsItsTextIntoTheRoomOfTheBar) {
    Host host;
    CaptionPanel bar(host);
    unique_hfont font = CreateDefaultFont(FW_BOLD);
    bar.SetFont(font.get());
    bar.SetBounds(MakeRect(0, 0, 400, 25));
    bar.SetAlign(alTop);
    bar.SetText(L"Kestrav");
    EXPECT_EQ(bar.DrawnCaption(), L"Kestrav");
    // A long path loses its leading folders first.
    bar.SetText(L"C:\\Users\\someone\\Documents\\Projects\\Kestrav\\notes\\2026\\december.txt");
    std::wstring drawn = bar.DrawnCaption();
    EXPECT_EQ(drawn.rfind(L"C:\\...\\", 0), 0u) << testing::PrintToString(drawn);
    EXPECT_EQ(drawn.substr(drawn.size() - 12), L"december.txt");
    // A bar shorter than 67 pixels along its length has no room at all.
    host.SetBounds(MakeRect(0, 0, 60, 300));
    EXPECT_EQ(bar.DrawnCaption(), L"");
    // Vertical: the room runs along the height, the text starts 28 pixels above the bottom.
    bar.SetAlign(alLeft);
    bar.SetText(L"Kestrav");
    EXPECT_EQ(bar.DrawnCaption(), L"Kestrav");
    CaptionPanel::Placement placement = bar.PlaceCaption(13, 40);
    EXPECT_EQ(placement.room, bar.Height() - 67);
    EXPECT_EQ(placement.y, bar.Top() + bar.Height() - 28);
    EXPECT_EQ(placement.x, (25 - 13) / 2);
}

} // namespace

namespace {

int EscapementOf(HFONT font) {
    LOGFONTW info{};
    ::GetObjectW(font, sizeof(info), &info);
    return info.lfEscapement;
}

TEST(CaptionBar, KeepsItsButtonsAtBothEndsAndTurnsWithItsSide) {
    Host host;
    CaptionBar bar(host, {});
    using Place = CaptionBar::ButtonPlace;
    SpeedButton& start = bar.AddButton(Place::Start, 0);
    SpeedButton& end = bar.AddButton(Place::End, 1);
    SpeedButton& inner = bar.AddButton(Place::End, 2, {21, 19});
    EXPECT_EQ(inner.Tag(), 2);

    // Across the top: the first end button at the far right, the next one inwards.
    EXPECT_EQ(bar.Bounds(), MakeRect(0, 0, 400, 25));
    EXPECT_EQ(start.Bounds(), MakeRect(2, 2, 21, 21));
    EXPECT_EQ(end.Bounds(), MakeRect(400 - 2 - 21, 2, 21, 21));
    EXPECT_EQ(inner.Bounds().right, end.Left());
    EXPECT_EQ(EscapementOf(bar.Font()), 0);

    // Up the left side: the end buttons from the top down, the start one at the bottom,
    // the text running upwards.
    bar.SetBarAlign(alLeft);
    EXPECT_EQ(bar.Bounds(), MakeRect(0, 0, 25, 300));
    EXPECT_EQ(end.Bounds(), MakeRect(2, 2, 21, 21));
    EXPECT_EQ(inner.Top(), end.Bounds().bottom);
    EXPECT_EQ(start.Bounds().bottom, 300 - 2);
    EXPECT_EQ(EscapementOf(bar.Font()), 900);

    // A new font keeps the orientation; back across the top it is upright again.
    LOGFONTW font = DefaultLogFont(FW_NORMAL);
    bar.SetCaptionFont(font);
    EXPECT_EQ(EscapementOf(bar.Font()), 900);
    bar.SetBarAlign(alBottom);
    EXPECT_EQ(bar.Bounds(), MakeRect(0, 300 - 25, 400, 25));
    EXPECT_EQ(EscapementOf(bar.Font()), 0);
    EXPECT_EQ(end.Bounds().right, 400 - 2);

    // The bar and its buttons follow the colour of the window it sits on.
    host.SetColor(RGB(10, 10, 60));
    EXPECT_EQ(bar.Color(), RGB(10, 10, 60));
    EXPECT_EQ(inner.Color(), RGB(10, 10, 60));
}

} // namespace

namespace {

int ToolCount() {
    return static_cast<int>(::SendMessageW(HintWindow(), TTM_GETTOOLCOUNT, 0, 0));
}

TEST(SpeedButton, TakesItsHintAlongWhenItGoes) {
    Host host;
    int before = ToolCount();
    auto first = std::make_unique<SpeedButton>(host);
    auto second = std::make_unique<SpeedButton>(host);
    first->SetHint(L"閉じる");
    second->SetHint(L"展開");
    ASSERT_EQ(ToolCount(), before + 2);
    EXPECT_EQ(HintOf(*first), L"閉じる");
    first.reset();
    EXPECT_EQ(ToolCount(), before + 1);
    // A button whose window went with its parent's leaves no tool either.
    auto panel = std::make_unique<Panel>(host);
    auto inner = std::make_unique<SpeedButton>(*panel);
    inner->SetHint(L"表示形式");
    ASSERT_EQ(ToolCount(), before + 2);
    ::DestroyWindow(panel->Handle());
    EXPECT_EQ(ToolCount(), before + 1);
    inner.reset();
    panel.reset();
    second.reset();
    EXPECT_EQ(ToolCount(), before);
}

} // namespace
