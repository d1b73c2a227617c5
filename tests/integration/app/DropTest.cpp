// Drags and drops onto the real edge window. Most cases call the IDropTarget the window
// registered, exactly as OLE's drag loop calls it; the last one runs a real DoDragDrop
// loop, in which Wine delivers to the registered target.
#include "app/FrameIds.h"
#include "app/MainForm.h"
#include "support/Pump.h"
#include "support/TempFolder.h"
#include "unit/oledrag/FakeDataObject.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

using namespace app;
using testing_support::DropBlock;
using testing_support::FakeDataObject;
using testing_support::PumpUntilIdle;

namespace {

const DWORD kAll = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

// A desktop whose pointer the test places; monitors are the system's.
class PointerDesktop : public IDesktop {
public:
    POINT cursor{2000, 2000};
    bool useSystemCursor = false;
    POINT CursorPos() override { return useSystemCursor ? SystemDesktop().CursorPos() : cursor; }
    bool LeftButtonDown() override { return false; }
    HMONITOR MonitorFromPoint(POINT p) override { return SystemDesktop().MonitorFromPoint(p); }
    HMONITOR MonitorFromRect(const RECT& r) override { return SystemDesktop().MonitorFromRect(r); }
    RECT WorkArea(HMONITOR m) override { return SystemDesktop().WorkArea(m); }
    // As if the system could not say: the 400 ms fallback, so no real tick interferes.
    std::optional<UINT> MenuShowDelay() override { return std::nullopt; }
};

POINT Center(const gui::Window& control) {
    RECT r = control.ScreenBounds();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINTL L(POINT p) {
    return {p.x, p.y};
}

class DropTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TMainForm>(desktop);
        PumpUntilIdle();
    }
    void TearDown() override {
        form.reset();
        PumpUntilIdle();
    }
    // The panel pinned open with three frames whose caption bars are all on screen.
    void OpenWithThreeFrames() {
        form->FormClick();
        form->PinningBtn().Click();
        FrameAt(0).SetExpandHeight(200);
        FrameAt(0).SetCollapsed(true);
        FrameAt(0).SetCollapsed(false);
        form->AddFrame(-1);
        form->AddFrame(-1);
        for (size_t i = 0; i < 3; ++i)
            FrameAt(i).SetHeight(200);
        PumpUntilIdle();
    }
    size_t FrameCount() const { return form->OrderedFrames().size(); }
    nav::TNavFrame& FrameAt(size_t position) { return *form->OrderedFrames().at(position); }
    std::vector<std::wstring> RootsOf(nav::TNavFrame& frame) {
        std::vector<std::wstring> paths;
        auto& roots = frame.NameSpaceTree().Roots();
        for (int i = 0; i < roots.Count(); ++i)
            paths.push_back(roots[i].Path());
        return paths;
    }
    // A point on the empty part of the frame area, below the last frame.
    POINT EmptyArea() {
        RECT box = form->ScrollBox().ScreenBounds();
        return {(box.left + box.right) / 2, box.bottom - 20};
    }
    // One drag from entry to drop at a point, as OLE calls the registered target.
    HRESULT DragAndDrop(IDataObject& data, POINT at, DWORD& effect) {
        oledrag::TDropTarget& target = form->DropTarget();
        effect = kAll;
        target.DragEnter(&data, MK_LBUTTON, L(at), &effect);
        effect = kAll;
        target.DragOver(MK_LBUTTON, L(at), &effect);
        effect = kAll;
        return target.Drop(&data, 0, L(at), &effect);
    }

    PointerDesktop desktop;
    std::unique_ptr<TMainForm> form;
};

TEST_F(DropTest, TheWindowIsRegisteredAsADropTarget) {
    oledrag::TDropTarget other;
    EXPECT_EQ(RegisterDragDrop(form->Handle(), &other), DRAGDROP_E_ALREADYREGISTERED);
}

TEST_F(DropTest, ADragOverTheStripExpandsItAtTheNextTickAndLeavingCollapsesIt) {
    ASSERT_EQ(form->Layout(), loCollapsed);
    // Inside OLE's drag loop no idle turn arms the timer.
    form->LayoutTimer().Stop();
    RECT strip = form->ScreenBounds();
    POINT on{strip.left + 1, strip.top + 300};
    desktop.cursor = on;
    FakeDataObject data(DropBlock({L"C:\\a"}));
    DWORD effect = kAll;
    EXPECT_EQ(form->DropTarget().DragEnter(&data, MK_LBUTTON, L(on), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_LINK)); // never a move
    ASSERT_TRUE(form->LayoutTimer().Running());
    EXPECT_EQ(form->Layout(), loCollapsed);
    form->LayoutTimer().OnTimer();
    EXPECT_EQ(form->Layout(), loExpanded);

    desktop.cursor = {strip.left + 1000, strip.top + 300};
    form->LayoutTimer().Stop();
    EXPECT_EQ(form->DropTarget().DragLeave(), S_OK);
    ASSERT_TRUE(form->LayoutTimer().Running());
    form->LayoutTimer().OnTimer();
    EXPECT_EQ(form->Layout(), loCollapsed);
    EXPECT_FALSE(form->HoverTimer().Running());
    EXPECT_EQ(data.handedOut, 0);
}

TEST_F(DropTest, TextWithoutFilesOpensTheStripButIsNotTakenAndCreatesNothing) {
    form->LayoutTimer().Stop();
    RECT strip = form->ScreenBounds();
    POINT on{strip.left + 1, strip.top + 300};
    desktop.cursor = on;
    FakeDataObject text;
    text.claimsFiles = false;
    text.givesFiles = false;
    DWORD effect = kAll;
    form->DropTarget().DragEnter(&text, MK_LBUTTON, L(on), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    form->LayoutTimer().OnTimer();
    EXPECT_EQ(form->Layout(), loExpanded);
    effect = kAll;
    form->DropTarget().DragOver(MK_LBUTTON, L(on), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = kAll;
    EXPECT_EQ(form->DropTarget().Drop(&text, 0, L(on), &effect), S_OK);
    EXPECT_EQ(FrameCount(), 1u);
}

TEST_F(DropTest, RestingOnACollapsedFramesCaptionBarOpensItAfterOneHoverTick) {
    OpenWithThreeFrames();
    nav::TNavFrame& frame = FrameAt(1);
    frame.SetCollapsed(true);
    PumpUntilIdle();
    POINT caption = Center(frame.CaptionPanel());
    FakeDataObject data(DropBlock({L"C:\\a"}));
    oledrag::TDropTarget& target = form->DropTarget();
    DWORD effect = kAll;
    target.DragEnter(&data, MK_LBUTTON, L(EmptyArea()), &effect);
    EXPECT_TRUE(form->HoverTimer().Running());
    // Arriving on the bar starts no count yet; staying on the same point does.
    target.DragOver(MK_LBUTTON, L(caption), &effect);
    EXPECT_FALSE(form->HoverTimer().Running());
    target.DragOver(MK_LBUTTON, L(caption), &effect);
    ASSERT_TRUE(form->HoverTimer().Running());
    EXPECT_EQ(form->HoverTimer().Interval(), 400u);
    // OLE keeps calling while the pointer rests; that does not start the count over.
    target.DragOver(MK_LBUTTON, L(caption), &effect);
    EXPECT_TRUE(form->HoverTimer().Running());
    EXPECT_TRUE(frame.Collapsed());
    form->HoverTimer().OnTimer();
    EXPECT_FALSE(frame.Collapsed());
    EXPECT_FALSE(form->HoverTimer().Running());

    // A move along the bar starts the rest over; a move off it cancels it.
    frame.SetCollapsed(true);
    PumpUntilIdle();
    caption = Center(frame.CaptionPanel());
    target.DragOver(MK_LBUTTON, L(caption), &effect);
    target.DragOver(MK_LBUTTON, L(caption), &effect);
    ASSERT_TRUE(form->HoverTimer().Running());
    target.DragOver(MK_LBUTTON, L(POINT{caption.x + 1, caption.y}), &effect);
    EXPECT_FALSE(form->HoverTimer().Running());
    target.DragOver(MK_LBUTTON, L(POINT{caption.x + 1, caption.y}), &effect);
    EXPECT_TRUE(form->HoverTimer().Running());
    target.DragOver(MK_LBUTTON, L(EmptyArea()), &effect);
    EXPECT_FALSE(form->HoverTimer().Running());
    target.DragLeave();
    EXPECT_TRUE(frame.Collapsed());
}

TEST_F(DropTest, RestingOnACaptionBarsButtonsOpensNothing) {
    OpenWithThreeFrames();
    nav::TNavFrame& frame = FrameAt(1);
    frame.SetCollapsed(true);
    PumpUntilIdle();
    FakeDataObject data(DropBlock({L"C:\\a"}));
    oledrag::TDropTarget& target = form->DropTarget();
    for (gui::SpeedButton* button : {&frame.PreferenceBtn(), &frame.SwitchingBtn(), &frame.CloseBtn()}) {
        SCOPED_TRACE(button->Hint());
        POINT on = Center(*button);
        DWORD effect = kAll;
        // Entering right on the button, resting there, and the timer's tick even so.
        target.DragEnter(&data, MK_LBUTTON, L(on), &effect);
        target.DragOver(MK_LBUTTON, L(on), &effect);
        target.DragOver(MK_LBUTTON, L(on), &effect);
        EXPECT_FALSE(form->HoverTimer().Running());
        form->HoverTimer().OnTimer();
        EXPECT_TRUE(frame.Collapsed());
        // A rest begun on the bar ends when the pointer moves onto a button.
        POINT bar = Center(frame.CaptionPanel());
        target.DragOver(MK_LBUTTON, L(bar), &effect);
        target.DragOver(MK_LBUTTON, L(bar), &effect);
        ASSERT_TRUE(form->HoverTimer().Running());
        target.DragOver(MK_LBUTTON, L(on), &effect);
        EXPECT_FALSE(form->HoverTimer().Running());
        target.DragLeave();
        EXPECT_TRUE(frame.Collapsed());
    }
}

TEST_F(DropTest, DraggingAlongTheSidesScrollsTheFrameAreaOneLineAtATime) {
    OpenWithThreeFrames();
    for (size_t i = 0; i < 3; ++i)
        FrameAt(i).SetHeight(600); // a column taller than the screen
    PumpUntilIdle();
    gui::ScrollBox& box = form->ScrollBox();
    POINT last = box.MaxScrollPos();
    ASSERT_GT(last.y, 2 * gui::ScrollBox::LineIncrement);
    RECT window = form->ScreenBounds();
    int x = (window.left + window.right) / 2;
    POINT bottom{x, window.bottom - 2}, top{x, window.top + 1}, middle{x, (window.top + window.bottom) / 2};
    FakeDataObject data(DropBlock({L"C:\\a"}));
    oledrag::TDropTarget& target = form->DropTarget();
    DWORD effect = kAll;
    target.DragEnter(&data, MK_LBUTTON, L(middle), &effect);
    struct Step {
        POINT at;
        int y;
    } steps[] = {
        {middle, 0},  {top, 0}, // nothing above
        {bottom, 16}, {bottom, 32}, {top, 16},
    };
    for (const Step& step : steps) {
        target.DragOver(MK_LBUTTON, L(step.at), &effect);
        EXPECT_EQ(box.ScrollPos().y, step.y) << step.at.y;
    }
    box.ScrollTo({0, last.y - 5});
    target.DragOver(MK_LBUTTON, L(bottom), &effect);
    EXPECT_EQ(box.ScrollPos().y, last.y); // held at the end
    target.DragOver(MK_LBUTTON, L(bottom), &effect);
    EXPECT_EQ(box.ScrollPos().y, last.y);
    EXPECT_EQ(box.ScrollPos().x, 0);
    target.DragLeave();
}

TEST_F(DropTest, TheSidesOfARowScrollItSideways) {
    OpenWithThreeFrames();
    form->SetSnapEdge(gui::alTop);
    for (size_t i = 0; i < 3; ++i)
        FrameAt(i).SetWidth(700);
    PumpUntilIdle();
    gui::ScrollBox& box = form->ScrollBox();
    ASSERT_GT(box.MaxScrollPos().x, 32);
    RECT window = form->ScreenBounds();
    int y = (window.top + window.bottom) / 2;
    POINT left{window.left + 1, y}, right{window.right - 2, y};
    FakeDataObject data(DropBlock({L"C:\\a"}));
    oledrag::TDropTarget& target = form->DropTarget();
    DWORD effect = kAll;
    target.DragEnter(&data, MK_LBUTTON, L(right), &effect);
    target.DragOver(MK_LBUTTON, L(right), &effect);
    target.DragOver(MK_LBUTTON, L(right), &effect);
    EXPECT_EQ(box.ScrollPos().x, 32);
    target.DragOver(MK_LBUTTON, L(left), &effect);
    EXPECT_EQ(box.ScrollPos().x, 16);
    EXPECT_EQ(box.ScrollPos().y, 0);
    target.DragLeave();
}

TEST_F(DropTest, ADropBecomesOneNewFrameWithOneRootPerNameInOrder) {
    OpenWithThreeFrames();
    testing_support::TempFolder temp;
    std::wstring a = temp / L"第一", b = temp / L"second";
    ASSERT_TRUE(CreateDirectoryW(a.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(b.c_str(), nullptr));
    std::vector<int> ids;
    for (size_t i = 0; i < 3; ++i)
        ids.push_back(FrameAt(i).ID());

    // On the empty area: a new frame at the end, roots in the drop's order.
    form->SetModifies({});
    FakeDataObject two(DropBlock({b, a}));
    DWORD effect;
    EXPECT_EQ(DragAndDrop(two, EmptyArea(), effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_LINK));
    ASSERT_EQ(FrameCount(), 4u);
    EXPECT_EQ(RootsOf(FrameAt(3)), (std::vector<std::wstring>{b, a}));
    EXPECT_FALSE(FrameAt(3).Collapsed());
    EXPECT_EQ(FrameAt(3).NameSpaceTree().Roots()[0].Filters(), form->DefaultFilters());
    EXPECT_TRUE(form->Modifies().Contains(cpFrame));
    EXPECT_EQ(form->Layout(), loPinned);
    EXPECT_EQ(two.released, 1);
    EXPECT_EQ(two.handedOut, 1);
    form->DelFrame(FrameAt(3));

    // On the caption bar of the second of three: the new frame takes its place.
    FakeDataObject one(DropBlock({a}));
    EXPECT_EQ(DragAndDrop(one, Center(FrameAt(1).CaptionPanel()), effect), S_OK);
    ASSERT_EQ(FrameCount(), 4u);
    EXPECT_EQ(RootsOf(FrameAt(1)), (std::vector<std::wstring>{a}));
    EXPECT_EQ(FrameAt(0).ID(), ids[0]);
    EXPECT_EQ(FrameAt(2).ID(), ids[1]);
    EXPECT_EQ(FrameAt(3).ID(), ids[2]);
    EXPECT_EQ(one.released, 1);
    // On screen too: the new frame lies between the first and the former second.
    EXPECT_GE(FrameAt(1).Top(), FrameAt(0).Bounds().bottom);
    EXPECT_GE(FrameAt(2).Top(), FrameAt(1).Bounds().bottom);

    // On a caption bar's button: no place is taken, the frame goes to the end.
    FakeDataObject onButton(DropBlock({b}));
    nav::TNavFrame& first = FrameAt(0);
    DragAndDrop(onButton, Center(first.CloseBtn()), effect);
    ASSERT_EQ(FrameCount(), 5u);
    EXPECT_EQ(RootsOf(FrameAt(4)), (std::vector<std::wstring>{b}));
    EXPECT_EQ(&FrameAt(0), &first);
}

TEST_F(DropTest, ANewFrameBeyondTheVisibleAreaIsScrolledIntoView) {
    // The first frame fills the column, so a new one lands below the visible area.
    form->FormClick();
    form->PinningBtn().Click();
    PumpUntilIdle();
    RECT box = form->ScrollBox().ScreenBounds();
    POINT onTree{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    ASSERT_EQ(form->ScrollBox().ScrollPos().y, 0);
    FakeDataObject data(DropBlock({L"C:\\a"}));
    DWORD effect;
    DragAndDrop(data, onTree, effect);
    ASSERT_EQ(FrameCount(), 2u);
    RECT client = form->ScrollBox().ClientRect();
    RECT added = FrameAt(1).Bounds();
    EXPECT_GT(form->ScrollBox().ScrollPos().y, 0);
    EXPECT_GE(added.top, client.top);
    EXPECT_LT(added.top, client.bottom);
}

TEST_F(DropTest, BadDropsCreateNothingOrAtMostRootsThatShowNothing) {
    OpenWithThreeFrames();
    const std::wstring longName = L"C:\\" + std::wstring(280, L'長') + L"\\folder";
    std::vector<std::wstring> many;
    for (int i = 0; i < 300; ++i)
        many.push_back(L"C:\\no such folder\\" + std::to_wstring(i));
    struct Case {
        const char* what;
        std::function<void(FakeDataObject&)> setUp;
        std::optional<std::vector<std::wstring>> roots; // nullopt: no frame at all
    } cases[] = {
        {"virtual items or text, which come without a file list",
         [](FakeDataObject& d) {
             d.claimsFiles = false;
             d.givesFiles = false;
         },
         std::nullopt},
        {"claims files but GetData fails", [](FakeDataObject& d) { d.givesFiles = false; }, std::nullopt},
        {"a stream instead of memory",
         [](FakeDataObject& d) {
             d.block = DropBlock({L"C:\\a"});
             d.medium = FakeDataObject::Medium::Stream;
         },
         std::nullopt},
        {"a block that lies about its layout",
         [](FakeDataObject& d) {
             d.block = {0xFF, 0xFF, 0xFF, 0xFF};
         },
         std::nullopt},
        {"an empty list", [](FakeDataObject& d) { d.block = DropBlock({}); }, std::vector<std::wstring>{}},
        {"a name over 260 characters", [&](FakeDataObject& d) { d.block = DropBlock({longName}); },
         std::vector<std::wstring>{longName}},
        {"300 paths that do not exist", [&](FakeDataObject& d) { d.block = DropBlock(many); }, many},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeDataObject data;
        c.setUp(data);
        DWORD effect;
        EXPECT_EQ(DragAndDrop(data, EmptyArea(), effect), S_OK);
        EXPECT_EQ(data.released, data.handedOut);
        EXPECT_LE(data.released, 1);
        if (!c.roots) {
            EXPECT_EQ(FrameCount(), 3u);
            EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
            continue;
        }
        ASSERT_EQ(FrameCount(), 4u);
        EXPECT_TRUE(RootsOf(FrameAt(3)) == *c.roots);
        form->DelFrame(FrameAt(3));
        PumpUntilIdle();
    }
}

TEST_F(DropTest, WhileAModalWindowDisablesTheWindowDragsPassOverWithoutEffect) {
    RECT strip = form->ScreenBounds();
    POINT on{strip.left + 1, strip.top + 300};
    desktop.cursor = on;
    form->LayoutTimer().Stop();
    EnableWindow(form->Handle(), FALSE);
    FakeDataObject data(DropBlock({L"C:\\a"}));
    DWORD effect = kAll;
    EXPECT_EQ(form->DropTarget().DragEnter(&data, MK_LBUTTON, L(on), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_FALSE(form->LayoutTimer().Running());
    EXPECT_FALSE(form->HoverTimer().Running());
    effect = kAll;
    form->DropTarget().DragOver(MK_LBUTTON, L(on), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = kAll;
    EXPECT_EQ(form->DropTarget().Drop(&data, 0, L(on), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(FrameCount(), 1u);
    EXPECT_EQ(data.handedOut, 0);
    EXPECT_EQ(form->Layout(), loCollapsed);
    EnableWindow(form->Handle(), TRUE);
}

// A drop source that moves the pointer itself, one point per few turns of OLE's loop,
// and drops at the last point. It gives up after a bounded number of turns.
class ScriptedDropSource final : public IDropSource {
public:
    explicit ScriptedDropSource(std::vector<POINT> path) : path_(std::move(path)) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IDropSource) {
            *ppv = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP QueryContinueDrag(BOOL, DWORD) override {
        if (++turns_ > 2000)
            return DRAGDROP_S_CANCEL;
        size_t step = static_cast<size_t>(turns_ / 3);
        if (step >= path_.size())
            return DRAGDROP_S_DROP;
        SetCursorPos(path_[step].x, path_[step].y);
        return S_OK;
    }
    STDMETHODIMP GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    std::vector<POINT> path_;
    int turns_ = 0;
};

TEST_F(DropTest, ARealDragLoopDeliversToTheRegisteredTarget) {
    OpenWithThreeFrames();
    desktop.useSystemCursor = true;
    testing_support::TempFolder temp;
    std::wstring a = temp / L"a", b = temp / L"b";
    CreateDirectoryW(a.c_str(), nullptr);
    CreateDirectoryW(b.c_str(), nullptr);
    std::vector<int> ids;
    for (size_t i = 0; i < 3; ++i)
        ids.push_back(FrameAt(i).ID());
    RECT window = form->ScreenBounds();
    POINT outside{window.right + 200, window.top + 300};
    POINT target = Center(FrameAt(1).CaptionPanel());
    SetCursorPos(outside.x, outside.y);
    ScriptedDropSource source(
        {outside, {window.right - 40, target.y}, {target.x, target.y + 3}, target, target});
    FakeDataObject data(DropBlock({a, b}));
    DWORD effect = DROPEFFECT_NONE;
    HRESULT hr = DoDragDrop(&data, &source, kAll, &effect);
    EXPECT_EQ(hr, DRAGDROP_S_DROP);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_LINK));
    ASSERT_EQ(FrameCount(), 4u);
    EXPECT_EQ(RootsOf(FrameAt(1)), (std::vector<std::wstring>{a, b}));
    EXPECT_EQ(FrameAt(2).ID(), ids[1]);
    EXPECT_EQ(data.released, data.handedOut);
    EXPECT_EQ(form->DropTarget().DragKey(), 0u);
    SetCursorPos(outside.x, outside.y);
}

// Every root keeps a window of its own, so this takes a while (under Wine about half a
// minute); what matters is that it ends and that no name is lost.
TEST_F(DropTest, TenThousandNamesInOneDropAreAllKept) {
    std::vector<std::wstring> names;
    for (int i = 0; i < 10000; ++i)
        names.push_back(L"C:\\gone\\" + std::to_wstring(i));
    FakeDataObject data(DropBlock(names));
    DWORD effect;
    EXPECT_EQ(DragAndDrop(data, EmptyArea(), effect), S_OK);
    EXPECT_EQ(data.released, 1);
    ASSERT_EQ(FrameCount(), 2u);
    EXPECT_TRUE(RootsOf(FrameAt(1)) == names);
}

} // namespace
