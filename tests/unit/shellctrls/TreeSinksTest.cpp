// The sink side as the Shell calls it: every COM method of the four interfaces, with
// real shell items, whatever the tree of the platform at hand happens to raise.
#include "ShellCtrlsTestSupport.h"
#include "gui/Error.h"
#include "shellctrls/TreeSinks.h"
#include "support/Reports.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <tuple>

using namespace shellctrls;
using Microsoft::WRL::ComPtr;

namespace {

using Body = std::function<void(HRESULT& result)>;

// Installs a handler of any event type that hands its last argument (the result) to body.
template <typename Event> void Install(Event& event, Body body) {
    event = [body](auto&&... args) {
        auto arguments = std::forward_as_tuple(args...);
        body(std::get<sizeof...(args) - 1>(arguments));
    };
}

class TreeSinksTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::make_unique<testing_support::TempFolder>();
        item_ = testsupport::ItemOf(folder_->MakeFolder(L"Item"));
        array_ = testsupport::ArrayOf(item_.Get());
    }

    TNameSpaceTreeEvents events_;
    TNameSpaceTreeSinks sinks_{events_};
    std::unique_ptr<testing_support::TempFolder> folder_;
    ComPtr<IShellItem> item_;
    ComPtr<IShellItemArray> array_;
};

struct SinkCase {
    const char* name;
    // The result without a handler, and with one that leaves the preset alone.
    HRESULT unhandled;
    std::function<void(TNameSpaceTreeEvents&, Body)> install;
    std::function<HRESULT(TNameSpaceTreeSinks&, IShellItem*, IShellItemArray*)> call;
};

#define SINK_CASE(name, member, unhandled, ...)                                                              \
    SinkCase {                                                                                               \
        name, unhandled, [](TNameSpaceTreeEvents& e, Body b) { Install(e.member, b); },                      \
            [](TNameSpaceTreeSinks& s, [[maybe_unused]] IShellItem* psi,                                     \
               [[maybe_unused]] IShellItemArray* psia) -> HRESULT { return __VA_ARGS__; }                    \
    }

const SinkCase kSinkCases[] = {
    SINK_CASE("IncludeItem", OnSIFIncludeItem, S_OK, s.IncludeItem(psi)),
    SINK_CASE("GetEnumFlagsForItem", OnSIFGetEnumFlagsForItem, E_NOTIMPL,
              [&] {
                  SHCONTF f = SHCONTF_FOLDERS;
                  return s.GetEnumFlagsForItem(psi, &f);
              }()),
    SINK_CASE("PrePaint", OnNTCDPrePaint, E_NOTIMPL,
              [&] {
                  RECT r{};
                  LRESULT l = 0;
                  return s.PrePaint(nullptr, &r, &l);
              }()),
    SINK_CASE("PostPaint", OnNTCDPostPaint, E_NOTIMPL,
              [&] {
                  RECT r{};
                  return s.PostPaint(nullptr, &r);
              }()),
    SINK_CASE("ItemPrePaint", OnNTCDItemPrePaint, E_NOTIMPL,
              [&] {
                  RECT r{};
                  NSTCCUSTOMDRAW d{};
                  COLORREF t = 0, b = 0;
                  LRESULT l = 0;
                  return s.ItemPrePaint(nullptr, &r, &d, &t, &b, &l);
              }()),
    SINK_CASE("ItemPostPaint", OnNTCDItemPostPaint, E_NOTIMPL,
              [&] {
                  RECT r{};
                  NSTCCUSTOMDRAW d{};
                  return s.ItemPostPaint(nullptr, &r, &d);
              }()),
    SINK_CASE("OnItemClick", OnNTEOnItemClick, S_FALSE,
              s.OnItemClick(psi, NSTCEHT_ONITEMLABEL, NSTCECT_LBUTTON)),
    SINK_CASE("OnPropertyItemCommit", OnNTEOnPropertyItemCommit, E_NOTIMPL, s.OnPropertyItemCommit(psi)),
    SINK_CASE("OnItemStateChanging", OnNTEOnItemStateChanging, E_NOTIMPL,
              s.OnItemStateChanging(psi, NSTCIS_SELECTED, NSTCIS_SELECTED)),
    SINK_CASE("OnItemStateChanged", OnNTEOnItemStateChanged, E_NOTIMPL,
              s.OnItemStateChanged(psi, NSTCIS_EXPANDED, 0)),
    SINK_CASE("OnSelectionChanged", OnNTEOnSelectionChanged, E_NOTIMPL, s.OnSelectionChanged(psia)),
    SINK_CASE("OnKeyboardInput", OnNTEOnKeyboardInput, S_OK, s.OnKeyboardInput(WM_KEYDOWN, VK_F2, 0)),
    SINK_CASE("OnBeforeExpand", OnNTEOnBeforeExpand, E_NOTIMPL, s.OnBeforeExpand(psi)),
    SINK_CASE("OnAfterExpand", OnNTEOnAfterExpand, E_NOTIMPL, s.OnAfterExpand(psi)),
    SINK_CASE("OnBeginLabelEdit", OnNTEOnBeginLabelEdit, E_NOTIMPL, s.OnBeginLabelEdit(psi)),
    SINK_CASE("OnEndLabelEdit", OnNTEOnEndLabelEdit, E_NOTIMPL, s.OnEndLabelEdit(psi)),
    SINK_CASE("OnGetToolTip", OnNTEOnGetToolTip, E_NOTIMPL,
              [&] {
                  wchar_t tip[16] = L"";
                  return s.OnGetToolTip(psi, tip, 16);
              }()),
    SINK_CASE("OnBeforeItemDelete", OnNTEOnBeforeItemDelete, E_NOTIMPL, s.OnBeforeItemDelete(psi)),
    SINK_CASE("OnItemAdded", OnNTEOnItemAdded, E_NOTIMPL, s.OnItemAdded(psi, TRUE)),
    SINK_CASE("OnItemDeleted", OnNTEOnItemDeleted, E_NOTIMPL, s.OnItemDeleted(psi, FALSE)),
    SINK_CASE("OnBeforeContextMenu", OnNTEOnBeforeContextMenu, E_NOTIMPL,
              [&] {
                  void* ppv = nullptr;
                  return s.OnBeforeContextMenu(psi, IID_IContextMenu, &ppv);
              }()),
    SINK_CASE("OnAfterContextMenu", OnNTEOnAfterContextMenu, E_NOTIMPL,
              [&] {
                  void* ppv = nullptr;
                  return s.OnAfterContextMenu(psi, nullptr, IID_IContextMenu, &ppv);
              }()),
    SINK_CASE("OnBeforeStateImageChange", OnNTEOnBeforeStateImageChange, E_NOTIMPL,
              s.OnBeforeStateImageChange(psi)),
    SINK_CASE("OnGetDefaultIconIndex", OnNTEOnGetDefaultIconIndex, E_NOTIMPL,
              [&] {
                  int d = 0, o = 0;
                  return s.OnGetDefaultIconIndex(psi, &d, &o);
              }()),
    SINK_CASE("OnDragEnter", OnNTDHOnDragEnter, E_NOTIMPL,
              [&] {
                  DWORD effect = DROPEFFECT_COPY;
                  return s.OnDragEnter(psi, psia, TRUE, MK_LBUTTON, &effect);
              }()),
    SINK_CASE("OnDragOver", OnNTDHOnDragOver, E_NOTIMPL,
              [&] {
                  DWORD effect = DROPEFFECT_COPY;
                  return s.OnDragOver(psi, psia, MK_LBUTTON, &effect);
              }()),
    SINK_CASE("OnDragPosition", OnNTDHOnDragPosition, E_NOTIMPL, s.OnDragPosition(psi, psia, 1, 0)),
    SINK_CASE("OnDrop", OnNTDHOnDrop, E_NOTIMPL,
              [&] {
                  DWORD effect = DROPEFFECT_COPY;
                  return s.OnDrop(psi, psia, 0, MK_LBUTTON, &effect);
              }()),
    SINK_CASE("OnDropPosition", OnNTDHOnDropPosition, E_NOTIMPL, s.OnDropPosition(psi, psia, 2, 1)),
    SINK_CASE("OnDragLeave", OnNTDHOnDragLeave, E_NOTIMPL, s.OnDragLeave(psi)),
};
static_assert(std::size(kSinkCases) == 30);

} // namespace

TEST_F(TreeSinksTest, UnhandledCallsAnswerNotImplementedSaveTheThreeTranslations) {
    for (const SinkCase& c : kSinkCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.call(sinks_, item_.Get(), array_.Get()), c.unhandled);
    }
}

TEST_F(TreeSinksTest, HandlerSeesThePresetAndItsResultIsReturned) {
    for (const SinkCase& c : kSinkCases) {
        SCOPED_TRACE(c.name);
        TNameSpaceTreeEvents events;
        TNameSpaceTreeSinks sinks(events);
        HRESULT preset = S_OK;
        int calls = 0;
        c.install(events, [&](HRESULT& result) {
            ++calls;
            preset = result;
        });
        // A handler that leaves the preset gives the same answer as no handler.
        EXPECT_EQ(c.call(sinks, item_.Get(), array_.Get()), c.unhandled);
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(preset, E_NOTIMPL);

        for (HRESULT answer : {S_OK, S_FALSE, HRESULT{0x00000005}, E_ACCESSDENIED}) {
            c.install(events, [answer](HRESULT& result) { result = answer; });
            EXPECT_EQ(c.call(sinks, item_.Get(), array_.Get()), answer);
        }
    }
}

TEST_F(TreeSinksTest, HandlerExceptionIsReportedAndFailsTheCallWithoutCrossingIt) {
    for (const SinkCase& c : kSinkCases) {
        SCOPED_TRACE(c.name);
        TNameSpaceTreeEvents events;
        TNameSpaceTreeSinks sinks(events);
        testing_support::ExpectedReports reports;
        c.install(events, [](HRESULT&) { throw gui::HResultError(E_ACCESSDENIED); });
        EXPECT_EQ(c.call(sinks, item_.Get(), array_.Get()), E_ACCESSDENIED);
        c.install(events, [](HRESULT&) { throw std::runtime_error("broken handler"); });
        EXPECT_EQ(c.call(sinks, item_.Get(), array_.Get()), E_FAIL);
        ASSERT_EQ(reports.Messages().size(), 2u);
        EXPECT_EQ(reports.Messages()[0], gui::SystemMessage(static_cast<DWORD>(E_ACCESSDENIED)));
        EXPECT_EQ(reports.Messages()[1], L"broken handler");
    }
}

TEST_F(TreeSinksTest, ArgumentsArriveInOrderAndOutPointersAreReferences) {
    IShellItem* clicked = nullptr;
    NSTCEHITTEST hit = 0;
    NSTCECLICKTYPE click = 0;
    events_.OnNTEOnItemClick = [&](IShellItem* psi, NSTCEHITTEST h, NSTCECLICKTYPE c, HRESULT&) {
        clicked = psi;
        hit = h;
        click = c;
    };
    sinks_.OnItemClick(item_.Get(), NSTCEHT_ONITEMICON, NSTCECT_RBUTTON | NSTCECT_DBLCLICK);
    EXPECT_EQ(clicked, item_.Get());
    EXPECT_EQ(hit, static_cast<NSTCEHITTEST>(NSTCEHT_ONITEMICON));
    EXPECT_EQ(click, static_cast<NSTCECLICKTYPE>(NSTCECT_RBUTTON | NSTCECT_DBLCLICK));

    events_.OnNTCDItemPrePaint = [&](HDC, RECT& rc, NSTCCUSTOMDRAW& item, COLORREF& text, COLORREF& back,
                                     LRESULT& lres, HRESULT& result) {
        EXPECT_EQ(rc.right, 30);
        EXPECT_EQ(item.iLevel, 2);
        text = RGB(1, 2, 3);
        back = RGB(4, 5, 6);
        lres = CDRF_NOTIFYPOSTPAINT;
        result = S_OK;
    };
    RECT rc{0, 0, 30, 10};
    NSTCCUSTOMDRAW draw{};
    draw.iLevel = 2;
    COLORREF text = 0, back = 0;
    LRESULT lres = 0;
    EXPECT_EQ(sinks_.ItemPrePaint(nullptr, &rc, &draw, &text, &back, &lres), S_OK);
    EXPECT_EQ(text, RGB(1, 2, 3));
    EXPECT_EQ(back, RGB(4, 5, 6));
    EXPECT_EQ(lres, CDRF_NOTIFYPOSTPAINT);

    events_.OnNTDHOnDrop = [&](IShellItem* over, IShellItemArray* data, int position, DWORD keys,
                               DWORD& effect, HRESULT& result) {
        EXPECT_EQ(over, item_.Get());
        EXPECT_EQ(data, array_.Get());
        EXPECT_EQ(position, 3);
        EXPECT_EQ(keys, static_cast<DWORD>(MK_LBUTTON | MK_SHIFT));
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY | DROPEFFECT_MOVE));
        effect = DROPEFFECT_MOVE;
        result = S_OK;
    };
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(sinks_.OnDrop(item_.Get(), array_.Get(), 3, MK_LBUTTON | MK_SHIFT, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));

    events_.OnSIFGetEnumFlagsForItem = [](IShellItem*, SHCONTF& flags, HRESULT& result) {
        flags |= SHCONTF_NONFOLDERS;
        result = S_OK;
    };
    SHCONTF flags = SHCONTF_FOLDERS;
    EXPECT_EQ(sinks_.GetEnumFlagsForItem(item_.Get(), &flags), S_OK);
    EXPECT_EQ(flags, static_cast<SHCONTF>(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS));

    events_.OnNTEOnGetDefaultIconIndex = [](IShellItem*, int& icon, int& open, HRESULT& result) {
        icon = 4;
        open = 5;
        result = S_OK;
    };
    int icon = -1, open = -1;
    EXPECT_EQ(sinks_.OnGetDefaultIconIndex(item_.Get(), &icon, &open), S_OK);
    EXPECT_EQ(icon, 4);
    EXPECT_EQ(open, 5);
}

TEST_F(TreeSinksTest, ContextMenuOutPointerIsNilUnlessTheHandlerAnswers) {
    const IID* seenIid = nullptr;
    events_.OnNTEOnBeforeContextMenu = [&](IShellItem*, const IID& riid, void*& ppv, HRESULT&) {
        seenIid = &riid;
        EXPECT_EQ(ppv, nullptr);
    };
    void* ppv = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(sinks_.OnBeforeContextMenu(item_.Get(), IID_IContextMenu, &ppv), E_NOTIMPL);
    EXPECT_EQ(ppv, nullptr);
    ASSERT_NE(seenIid, nullptr);
    EXPECT_TRUE(*seenIid == IID_IContextMenu);

    // A handler answers with a real context menu of the item, as the frame does.
    events_.OnNTEOnBeforeContextMenu = [](IShellItem* psi, const IID& riid, void*& ppv, HRESULT& result) {
        result = psi->BindToHandler(nullptr, BHID_SFUIObject, riid, &ppv);
    };
    ASSERT_EQ(sinks_.OnBeforeContextMenu(item_.Get(), IID_IContextMenu, &ppv), S_OK);
    ASSERT_NE(ppv, nullptr);
    ComPtr<IContextMenu> menu;
    menu.Attach(static_cast<IContextMenu*>(ppv));
    HMENU popup = ::CreatePopupMenu();
    EXPECT_TRUE(SUCCEEDED(menu->QueryContextMenu(popup, 0, 1, 0x7FFF, CMF_NORMAL)));
    ::DestroyMenu(popup);
}

TEST_F(TreeSinksTest, NilOutPointersFromTheShellAreSafe) {
    int calls = 0;
    events_.OnNTCDItemPrePaint = [&](HDC, RECT& rc, NSTCCUSTOMDRAW&, COLORREF& text, COLORREF&, LRESULT& lres,
                                     HRESULT&) {
        ++calls;
        rc.left = 1;
        text = 1;
        lres = 1;
    };
    events_.OnNTDHOnDragOver = [&](IShellItem*, IShellItemArray*, DWORD, DWORD& effect, HRESULT&) {
        ++calls;
        effect = DROPEFFECT_LINK;
    };
    events_.OnNTEOnBeforeContextMenu = [&](IShellItem*, const IID&, void*& ppv, HRESULT&) {
        ++calls;
        ppv = nullptr;
    };
    sinks_.ItemPrePaint(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    sinks_.OnDragOver(nullptr, nullptr, 0, nullptr);
    sinks_.OnBeforeContextMenu(nullptr, IID_IContextMenu, nullptr);
    EXPECT_EQ(calls, 3);
}

TEST_F(TreeSinksTest, OneObjectAnswersForAllFourInterfacesAndCountsNoReferences) {
    ComPtr<IUnknown> identity;
    ASSERT_EQ(sinks_.AdviseObject()->QueryInterface(IID_PPV_ARGS(&identity)), S_OK);
    const IID* iids[] = {&__uuidof(INameSpaceTreeControlDropHandler), &__uuidof(INameSpaceTreeControlEvents),
                         &__uuidof(INameSpaceTreeControlCustomDraw), &__uuidof(IShellItemFilter)};
    for (const IID* iid : iids) {
        ComPtr<IUnknown> asked;
        ASSERT_EQ(identity->QueryInterface(*iid, reinterpret_cast<void**>(asked.GetAddressOf())), S_OK);
        ComPtr<IUnknown> back;
        ASSERT_EQ(asked->QueryInterface(IID_PPV_ARGS(&back)), S_OK);
        EXPECT_EQ(back.Get(), identity.Get());
    }
    void* none = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(sinks_.AdviseObject()->QueryInterface(IID_IDropTarget, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(sinks_.AdviseObject()->AddRef(), static_cast<ULONG>(-1));
    EXPECT_EQ(sinks_.AdviseObject()->Release(), static_cast<ULONG>(-1));

    ComPtr<IShellItemFilter> filter;
    ASSERT_EQ(identity.As(&filter), S_OK);
    EXPECT_EQ(filter.Get(), sinks_.Filter());
}
