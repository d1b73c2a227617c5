#include "app/FrameIds.h"
#include "gui/Error.h"
#include "app/MainForm.h"
#include "gui/ControlDrag.h"
#include "gui/Hint.h"
#include "support/Pump.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>

using namespace app;
using testing_support::PumpUntilIdle;

namespace {

// An edge window whose frames or splitters can be made to fail on creation, as a
// window or a Shell tree that cannot be created would.
class FailingMainForm : public TMainForm {
public:
    bool failFrame = false;
    bool failSplitter = false;

protected:
    std::unique_ptr<nav::TNavFrame> CreateFrame(int id) override {
        if (failFrame)
            throw gui::UserError(L"frame refused");
        return TMainForm::CreateFrame(id);
    }
    std::unique_ptr<gui::Splitter> CreateSplitter(nav::TNavFrame& frame) override {
        if (failSplitter)
            throw gui::UserError(L"splitter refused");
        return TMainForm::CreateSplitter(frame);
    }
};

class FrameContainerTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<FailingMainForm>();
        form->FormClick();
        form->PinningBtn().Click(); // stays open while the test pumps messages
        PumpUntilIdle();
    }
    void TearDown() override {
        form.reset();
        PumpUntilIdle();
    }
    nav::TNavFrame& FrameAt(size_t position) { return *form->OrderedFrames().at(position); }
    gui::Splitter& SplitterAt(size_t position) {
        gui::Splitter* splitter = form->SplitterOf(FrameAt(position));
        EXPECT_NE(splitter, nullptr);
        return *splitter;
    }
    std::vector<int> Ids() {
        std::vector<int> ids;
        for (nav::TNavFrame* frame : form->OrderedFrames())
            ids.push_back(frame->ID());
        return ids;
    }
    // The frames and splitters as they should lie on screen: each frame followed by its splitter.
    std::vector<gui::Window*> DisplayOrder() {
        std::vector<gui::Window*> controls;
        for (nav::TNavFrame* frame : form->OrderedFrames()) {
            controls.push_back(frame);
            controls.push_back(form->SplitterOf(*frame));
        }
        return controls;
    }
    std::unique_ptr<FailingMainForm> form;
};

TEST_F(FrameContainerTest, StartsWithOneDesktopFrameThatIsNoChange) {
    ASSERT_EQ(form->OrderedFrames().size(), 1u);
    nav::TNavFrame& frame = FrameAt(0);
    EXPECT_EQ(frame.ID(), 0);
    ASSERT_EQ(frame.NameSpaceTree().Roots().Count(), 1);
    auto& root = frame.NameSpaceTree().Roots()[0];
    EXPECT_EQ(root.Path(), L"rfDesktop");
    EXPECT_TRUE(root.Styles().Contains(shellctrls::nstcrsExpanded));
    EXPECT_EQ(root.Filters().Bits(), 6);
    EXPECT_EQ(frame.NameSpaceTree().Styles().Bits(), 0x10061u);
    EXPECT_GE(frame.ExpandHeight(), 225);
    EXPECT_FALSE(form->Modifies().Contains(cpFrame));
    EXPECT_EQ(SplitterAt(0).Resized(), &frame);
}

TEST_F(FrameContainerTest, IdsAreReusedAndEveryFrameIsFollowedByItsSplitter) {
    form->AddFrame(-1);
    form->AddFrame(-1);
    EXPECT_EQ(Ids(), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(form->Modifies().Contains(cpFrame));
    form->DelFrame(FrameAt(1));
    EXPECT_EQ(Ids(), (std::vector<int>{0, 2}));
    form->AddFrame(-1);
    EXPECT_EQ(Ids(), (std::vector<int>{0, 2, 1}));
    for (size_t i = 0; i < form->OrderedFrames().size(); ++i)
        EXPECT_EQ(SplitterAt(i).Resized(), &FrameAt(i));
    try {
        form->AddFrame(2);
        FAIL() << "an id in use was given twice";
    } catch (const gui::UserError& error) {
        EXPECT_EQ(error.Message(), L"Id.2 はすでに使われています");
    }
    EXPECT_EQ(form->OrderedFrames().size(), 3u);
}

TEST_F(FrameContainerTest, AFrameThatCannotBeMadeLeavesTheIdFreeAndTheFramesAsTheyWere) {
    form->AddFrame(-1);
    form->SetModifies({});
    struct Case {
        const char* what;
        int id;
        bool failFrame, failSplitter;
        std::wstring message;
    } cases[] = {
        {"an id in use", 1, false, false, L"Id.1 はすでに使われています"},
        {"the frame fails", -1, true, false, L"frame refused"},
        {"the splitter fails", -1, false, true, L"splitter refused"},
        {"the splitter of a stored id fails", 5, false, true, L"splitter refused"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        size_t children = form->ScrollBox().Children().size();
        form->failFrame = c.failFrame;
        form->failSplitter = c.failSplitter;
        try {
            form->AddFrame(c.id);
            ADD_FAILURE() << "no error";
        } catch (const gui::UserError& error) {
            EXPECT_EQ(error.Message(), c.message);
        }
        EXPECT_EQ(Ids(), (std::vector<int>{0, 1}));
        EXPECT_EQ(form->ScrollBox().Children().size(), children);
        EXPECT_TRUE(FrameIds().IsFrameIdFree(2));
        EXPECT_TRUE(FrameIds().IsFrameIdFree(5));
        EXPECT_TRUE(form->Modifies().Empty());
    }
    form->failFrame = form->failSplitter = false;
    EXPECT_EQ(form->AddFrame(-1).ID(), 2);
    EXPECT_EQ(form->AddFrame(5).ID(), 5);
    EXPECT_EQ(Ids(), (std::vector<int>{0, 1, 2, 5}));
}

TEST_F(FrameContainerTest, MovingAFrameTakesTheOtherOnesPlace) {
    form->AddFrame(-1);
    form->AddFrame(-1);
    struct Case {
        size_t from, onto;
        std::vector<int> order;
    } cases[] = {
        {0, 2, {1, 2, 0}}, // the first onto the third
        {2, 0, {0, 1, 2}}, // and back
        {1, 1, {0, 1, 2}}, // onto itself: nothing moves
        {2, 1, {0, 2, 1}},
    };
    for (const Case& c : cases) {
        form->SetModifies({});
        form->MoveFrame(FrameAt(c.from), FrameAt(c.onto));
        EXPECT_EQ(Ids(), c.order);
        EXPECT_TRUE(form->Modifies().Contains(cpFrame));
        // On screen the column follows the list: each frame below the one before.
        std::vector<gui::Window*> controls = DisplayOrder();
        for (size_t i = 1; i < controls.size(); ++i)
            EXPECT_GE(controls[i]->Top(), controls[i - 1]->Bounds().bottom) << i;
    }
}

TEST_F(FrameContainerTest, TheColumnTurnsIntoARowOnATopEdge) {
    form->AddFrame(-1);
    form->AddFrame(-1);
    form->SetSnapEdge(gui::alTop);
    PumpUntilIdle();
    EXPECT_EQ(Ids(), (std::vector<int>{0, 1, 2}));
    std::vector<gui::Window*> controls = DisplayOrder();
    for (size_t i = 0; i < controls.size(); ++i) {
        EXPECT_EQ(controls[i]->Align(), gui::alLeft);
        if (i > 0) {
            EXPECT_EQ(controls[i]->Left(), controls[i - 1]->Bounds().right) << i;
        }
    }
    EXPECT_EQ(FrameAt(0).CaptionPanel().Align(), gui::alLeft);
    EXPECT_EQ(FrameAt(0).CaptionPanel().Width(), 25);
    form->SetSnapEdge(gui::alRight);
    PumpUntilIdle();
    EXPECT_EQ(FrameAt(2).Align(), gui::alTop);
    EXPECT_EQ(FrameAt(2).CaptionPanel().Height(), 25);
}

TEST_F(FrameContainerTest, SplittersRefuse50PixelsAndCollapsedFrames) {
    form->SetSnapEdge(gui::alTop);
    nav::TNavFrame& frame = FrameAt(0);
    gui::Splitter& splitter = SplitterAt(0);
    frame.SetWidth(200);
    splitter.DragBy(51 - 200);
    EXPECT_EQ(frame.Width(), 51);
    splitter.DragBy(-1);
    EXPECT_EQ(frame.Width(), 51);
    splitter.DragBy(100);
    EXPECT_EQ(frame.Width(), 151);
    frame.SetCollapsed(true);
    int collapsed = frame.Width();
    splitter.DragBy(100);
    EXPECT_EQ(frame.Width(), collapsed);
}

TEST_F(FrameContainerTest, DoubleClickOnTheEmptyAreaAddsADesktopFrame) {
    FrameAt(0).SetExpandHeight(300); // a change just before
    EXPECT_TRUE(form->Modifies().Contains(cpFrame));
    RECT client = form->ScrollBox().ClientRect();
    SendMessageW(form->ScrollBox().Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, client.bottom - 2));
    SendMessageW(form->ScrollBox().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, client.bottom - 2));
    ASSERT_EQ(form->OrderedFrames().size(), 2u);
    EXPECT_EQ(FrameAt(1).NameSpaceTree().Roots()[0].Path(), L"rfDesktop");
    EXPECT_GE(FrameAt(1).ExpandHeight(), 225);
    EXPECT_FALSE(form->Modifies().Contains(cpFrame));
}

TEST_F(FrameContainerTest, CloseButtonRemovesTheFrameAndFreesItsId) {
    auto toolCount = [] { return SendMessageW(gui::HintWindow(), TTM_GETTOOLCOUNT, 0, 0); };
    LRESULT tools = toolCount();
    form->AddFrame(-1);
    EXPECT_EQ(toolCount(), tools + 3); // the hints of the caption bar's three buttons
    FrameAt(1).CloseBtn().Click();
    PumpUntilIdle();
    EXPECT_EQ(toolCount(), tools);
    EXPECT_EQ(Ids(), (std::vector<int>{0}));
    EXPECT_TRUE(FrameIds().IsFrameIdFree(1));
    EXPECT_EQ(form->AddFrame(-1).ID(), 1);
}

TEST_F(FrameContainerTest, DraggingACaptionBarOntoAnotherReorders) {
    FrameAt(0).SetExpandHeight(200); // so that all three caption bars are on screen
    form->AddFrame(-1);
    form->AddFrame(-1);
    PumpUntilIdle();
    gui::CaptionPanel& source = FrameAt(0).CaptionPanel();
    gui::CaptionPanel& target = FrameAt(2).CaptionPanel();
    POINT start{60, 12}, startScreen = start;
    ClientToScreen(source.Handle(), &startScreen);
    POINT drop{60, 12};
    ClientToScreen(target.Handle(), &drop);
    ScreenToClient(source.Handle(), &drop);
    // A 4-pixel move and release stays a click.
    PostMessageW(source.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.x + 4, start.y));
    PostMessageW(source.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(start.x + 4, start.y));
    EXPECT_EQ(gui::BeginDrag(source, startScreen, 5), gui::DragOutcome::NotStarted);
    EXPECT_EQ(Ids(), (std::vector<int>{0, 1, 2}));
    // A longer one dropped on the third caption bar moves the first frame there.
    PostMessageW(source.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.x, start.y + 5));
    PostMessageW(source.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(drop.x, drop.y));
    EXPECT_EQ(gui::BeginDrag(source, startScreen, 5), gui::DragOutcome::Dropped);
    EXPECT_EQ(Ids(), (std::vector<int>{1, 2, 0}));
    // A caption bar dropped onto itself is refused.
    PostMessageW(source.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.x, start.y + 8));
    PostMessageW(source.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(start.x + 10, start.y));
    POINT again{60, 12};
    ClientToScreen(source.Handle(), &again);
    EXPECT_EQ(gui::BeginDrag(source, again, 5), gui::DragOutcome::Refused);
}

} // namespace
