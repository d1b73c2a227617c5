#include "nav/NavFrame.h"
#include "FakeFrameOwner.h"
#include "gui/Hint.h"
#include "support/Pump.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace nav;
using testing_support::PumpUntilIdle;

namespace {

using FakeFrameOwner = navtest::FakeFrameOwner;

class Host : public gui::Window {
public:
    Host() : Window(nullptr) {
        SetBounds(gui::MakeRect(0, 0, 700, 500));
        CreateParams params;
        params.className = L"NavTestHost";
        params.style = WS_POPUP | WS_CLIPCHILDREN;
        CreateHandle(params);
        Show();
    }
};

class NavFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = std::make_unique<TNavFrame>(owner, host, 7);
        frame->SetCollapsed(false);
        PumpUntilIdle();
        owner.marked = {};
    }
    Host host;
    FakeFrameOwner owner{host};
    std::unique_ptr<TNavFrame> frame;
};

TEST_F(NavFrameTest, IsBuiltWithItsCaptionBarButtonsAndTree) {
    EXPECT_EQ(frame->ID(), 7);
    EXPECT_EQ(frame->Width(), 320);
    EXPECT_EQ(frame->Height(), 240);
    EXPECT_EQ(frame->ExpandWidth(), 300);
    EXPECT_EQ(frame->ExpandHeight(), 225);
    EXPECT_EQ(frame->CaptionPanel().Height(), 25);
    EXPECT_TRUE(frame->NameSpaceTree().Actuated());
    EXPECT_TRUE(frame->NameSpaceTree().TabStop());
    struct Case {
        gui::SpeedButton& button;
        int tag;
        const wchar_t* hint;
    } cases[] = {{frame->PreferenceBtn(), 0, L"表示形式"},
                 {frame->SwitchingBtn(), 1, L"折り畳み"},
                 {frame->CloseBtn(), 3, L"閉じる"}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.button.Tag(), c.tag);
        EXPECT_EQ(gui::HintOf(c.button), c.hint);
        EXPECT_NE(c.button.Glyph(), nullptr);
    }
    EXPECT_EQ(frame->CaptionImages().Count(), 4);
}

TEST_F(NavFrameTest, OrientationTurnsTheCaptionBarAndItsButtons) {
    frame->SetFrameAlign(gui::alTop);
    PumpUntilIdle();
    EXPECT_EQ(frame->CaptionPanel().Height(), 25);
    EXPECT_LT(frame->PreferenceBtn().Left(), frame->SwitchingBtn().Left());
    EXPECT_LT(frame->SwitchingBtn().Left(), frame->CloseBtn().Left());
    EXPECT_EQ(frame->CloseBtn().Width(), 21);

    frame->SetFrameAlign(gui::alLeft);
    PumpUntilIdle();
    EXPECT_EQ(frame->CaptionPanel().Width(), 25);
    EXPECT_EQ(frame->CaptionPanel().Height(), frame->Height());
    EXPECT_LT(frame->CloseBtn().Top(), frame->SwitchingBtn().Top());
    EXPECT_GT(frame->PreferenceBtn().Top(), frame->SwitchingBtn().Top());
    EXPECT_EQ(frame->CloseBtn().Height(), 21);
    RECT tree = frame->NameSpaceTree().Bounds();
    EXPECT_EQ(tree.left, 25);
}

TEST_F(NavFrameTest, CollapsingKeepsTheSizeItHadAndExpandingRestoresIt) {
    frame->SetFrameAlign(gui::alTop);
    frame->SetHeight(310);
    frame->SwitchingBtnClick();
    EXPECT_TRUE(frame->Collapsed());
    EXPECT_EQ(frame->Height(), 25);
    EXPECT_EQ(frame->SwitchingBtn().Tag(), 2);
    EXPECT_EQ(frame->SwitchingBtn().Hint(), L"展開");
    EXPECT_TRUE(owner.marked.Contains(cpFrame));
    // Set while collapsed, the height waits for the next expansion.
    frame->SetExpandHeight(280);
    EXPECT_EQ(frame->Height(), 25);
    frame->SwitchingBtnClick();
    EXPECT_EQ(frame->Height(), 280);
    EXPECT_EQ(frame->SwitchingBtn().Hint(), L"折り畳み");

    owner.marked = {};
    frame->SetCollapsed(false); // unchanged: nothing happens
    EXPECT_TRUE(owner.marked.Empty());

    frame->SetFrameAlign(gui::alLeft);
    frame->SetWidth(333);
    frame->SetCollapsed(true);
    EXPECT_EQ(frame->Width(), 25);
    frame->SetCollapsed(false);
    EXPECT_EQ(frame->Width(), 333);
}

TEST_F(NavFrameTest, StyleMenuShowsAndSwitchesTheTreeStyles) {
    using namespace shellctrls;
    frame->NameSpaceTree().SetStyles({nstcsHasExpandos, nstcsHasLines});
    frame->PreferenceMenuPopup();
    const auto& items = frame->PreferenceMenu().Items();
    ASSERT_EQ(items.size(), 8u);
    EXPECT_TRUE(items[0]->Checked());  // lines
    EXPECT_FALSE(items[1]->Checked()); // full row
    // Ticking full-row selection takes the lines away at once.
    gui::unique_hmenu menu = frame->PreferenceMenu().Build();
    frame->PreferenceMenu().Choose(GetMenuItemID(menu.get(), 1));
    EXPECT_TRUE(frame->NameSpaceTree().Styles().Contains(nstcsFullRowSelect));
    EXPECT_FALSE(frame->NameSpaceTree().Styles().Contains(nstcsHasLines));
    EXPECT_TRUE(owner.marked.Contains(cpFrame));
    frame->PreferenceMenuPopup();
    EXPECT_FALSE(items[0]->Checked());
}

TEST_F(NavFrameTest, CloseButtonAsksTheOwnerAfterTheClickReturned) {
    frame->CloseBtn().Click();
    EXPECT_TRUE(owner.deleted.empty());
    PumpUntilIdle();
    ASSERT_EQ(owner.deleted.size(), 1u);
    EXPECT_EQ(owner.deleted[0], frame.get());
}

TEST_F(NavFrameTest, SelectionNamesTheCaptionAndMarksTheTree) {
    auto& root = frame->NameSpaceTree().Roots().Add();
    root.SetPath(L"rfDesktop");
    PumpUntilIdle();
    ASSERT_NE(root.SHItem(), nullptr);
    ASSERT_HRESULT_SUCCEEDED(frame->NameSpaceTree().SetItemState(root.SHItem(), NSTCIS_SELECTED, NSTCIS_SELECTED));
    PumpUntilIdle();
    auto selected = frame->Selected();
    ASSERT_NE(selected, nullptr);
    // Called as the Shell calls it, with the selection array.
    Microsoft::WRL::ComPtr<IShellItemArray> selection;
    ASSERT_HRESULT_SUCCEEDED(SHCreateShellItemArrayFromShellItem(selected.Get(), IID_PPV_ARGS(&selection)));
    owner.marked = {};
    HRESULT result = E_FAIL;
    frame->NameSpaceTreeNTEOnSelectionChanged(selection.Get(), result);
    EXPECT_EQ(result, S_OK);
    EXPECT_FALSE(frame->CaptionPanel().Text().empty());
    EXPECT_TRUE(owner.marked.Contains(cpTree));
    result = E_FAIL;
    frame->NameSpaceTreeNTEOnSelectionChanged(nullptr, result); // no array: nothing to name
    EXPECT_EQ(result, S_OK);
}

TEST_F(NavFrameTest, DarkColoursGiveWhiteGlyphs) {
    auto pixel = [](HBITMAP glyph) {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, glyph);
        COLORREF c = GetPixel(dc, 4, 4); // the bars' first row
        SelectObject(dc, old);
        DeleteDC(dc);
        return c;
    };
    EXPECT_EQ(pixel(frame->PreferenceBtn().Glyph()), RGB(0, 0, 0));
    host.SetColor(RGB(10, 10, 60));
    frame->SetColor(RGB(10, 10, 60));
    EXPECT_EQ(pixel(frame->PreferenceBtn().Glyph()), RGB(255, 255, 255));
}

} // namespace
