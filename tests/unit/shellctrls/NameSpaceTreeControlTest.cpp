// The control against a recording fake of the Shell's tree: what it calls, in which
// order, with which arguments, and what it makes of the answers.
#include "FakeNameSpaceTree.h"
#include "ShellCtrlsTestSupport.h"
#include "gui/Error.h"
#include "shellctrls/NameSpaceTreeControl.h"
#include "support/Reports.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using namespace shellctrls;
using Microsoft::WRL::ComPtr;
using Calls = std::vector<std::wstring>;

namespace {

class TreeControlTest : public ::testing::Test {
protected:
    TNamespaceTreeRoot& AddRoot(const std::wstring& name) {
        TNamespaceTreeRoot& root = control_->Roots().Add();
        root.SetPath(folder_.MakeFolder(name));
        return root;
    }

    std::shared_ptr<fake::TreeLog> log_ = std::make_shared<fake::TreeLog>();
    testing_support::TempFolder folder_;
    testsupport::HostWindow host_;
    std::unique_ptr<TNameSpaceTreeControl> control_ =
        std::make_unique<TNameSpaceTreeControl>(host_, fake::FakeTreeFactory(log_));
};

} // namespace

TEST_F(TreeControlTest, NewControlHasNoTreeAndEveryOperationIsPending) {
    EXPECT_EQ(control_->Styles(), TNamespaceTreeControlStyles{nstcsHasExpandos});
    EXPECT_TRUE(control_->Style2s().Empty());
    EXPECT_FALSE(control_->Actuated());
    EXPECT_EQ(control_->Handle(), nullptr);
    EXPECT_EQ(control_->Width(), 121);
    EXPECT_EQ(control_->Height(), 97);
    EXPECT_EQ(control_->Roots().Count(), 0);

    ComPtr<IShellItem> item = testsupport::ItemOf(folder_.Path());
    auto* stale = reinterpret_cast<IShellItem*>(0x10);
    IShellItem* next = stale;
    IShellItem* hit = stale;
    IShellItemArray* selected = reinterpret_cast<IShellItemArray*>(0x10);
    POINT point{1, 1};
    NSTCITEMSTATE state = 0;
    int custom = 0;
    RECT rect{};
    EXPECT_EQ(control_->GetNextItem(item.Get(), NSTCGNI_CHILD, &next), E_PENDING);
    EXPECT_EQ(control_->HitTest(&point, &hit), E_PENDING);
    EXPECT_EQ(control_->GetSelectedItems(&selected), E_PENDING);
    EXPECT_EQ(next, nullptr);
    EXPECT_EQ(hit, nullptr);
    EXPECT_EQ(selected, nullptr);
    EXPECT_EQ(control_->SetItemState(item.Get(), NSTCIS_EXPANDED, NSTCIS_EXPANDED), E_PENDING);
    EXPECT_EQ(control_->GetItemState(item.Get(), NSTCIS_EXPANDED, &state), E_PENDING);
    EXPECT_EQ(control_->GetItemCustomState(item.Get(), &custom), E_PENDING);
    EXPECT_EQ(control_->SetItemCustomState(item.Get(), 1), E_PENDING);
    EXPECT_EQ(control_->EnsureItemVisible(item.Get()), E_PENDING);
    EXPECT_EQ(control_->SetTheme(L"Explorer"), E_PENDING);
    EXPECT_EQ(control_->GetItemRect(item.Get(), &rect), E_PENDING);
    EXPECT_EQ(control_->CollapseAll(), E_PENDING);
    EXPECT_EQ(control_->ScrollIn({0, 0}, 8), dtOuter);
    EXPECT_EQ(log_->created, 0);
}

TEST_F(TreeControlTest, CreatingTheWindowSetsUpTheTreeInOrder) {
    control_->SetStyles({nstcsHasLines, nstcsBorder});
    control_->SetStyle2s({nstcs2DisplayPadding});
    AddRoot(L"A");
    AddRoot(L"B");
    EXPECT_EQ(log_->created, 0);

    control_->CreateHandle();
    ASSERT_TRUE(control_->Actuated());
    EXPECT_EQ(log_->calls, (Calls{L"Initialize(0x8002,121x97)", L"SetControlStyle2(0x4,0x4)", L"TreeAdvise",
                                  L"RemoveAllRoots", L"AppendRoot(A,0x0,0x0)", L"AppendRoot(B,0x0,0x0)"}));
    EXPECT_EQ(control_->TreeControlHandle(), log_->window);
    EXPECT_EQ(control_->TreeViewHandle(), log_->view);
    EXPECT_EQ(::GetParent(log_->window), control_->Handle());

    // The advised object answers for the events, and each root got the same object as
    // its item filter.
    ComPtr<INameSpaceTreeControlEvents> events;
    ASSERT_EQ(log_->advised.As(&events), S_OK);
    ComPtr<IUnknown> advisedIdentity;
    log_->advised.As(&advisedIdentity);
    ASSERT_EQ(log_->roots.size(), 2u);
    for (const fake::TreeRoot& root : log_->roots) {
        ComPtr<IUnknown> filterIdentity;
        ASSERT_NE(root.filter, nullptr);
        root.filter->QueryInterface(IID_PPV_ARGS(&filterIdentity));
        EXPECT_EQ(filterIdentity.Get(), advisedIdentity.Get());
    }
}

TEST_F(TreeControlTest, DestroyingTheWindowUnadvisesEmptiesThenReleasesTheTree) {
    AddRoot(L"A");
    control_->CreateHandle();
    log_->Clear();
    control_->DestroyHandle();
    EXPECT_EQ(log_->calls, (Calls{L"TreeUnadvise(0x5150)", L"RemoveAllRoots", L"Released"}));
    EXPECT_EQ(log_->alive, 0);
    EXPECT_FALSE(control_->Actuated());
    EXPECT_EQ(control_->TreeViewHandle(), nullptr);
    ComPtr<IShellItemArray> selected;
    EXPECT_EQ(control_->GetSelectedItems(&selected), E_PENDING);
    // The roots stay with the control.
    EXPECT_EQ(control_->Roots().Count(), 1);
}

TEST_F(TreeControlTest, RecreatedWindowGetsAFreshTreeWithTheSameStylesAndRoots) {
    control_->SetStyles({nstcsHasExpandos, nstcsShowSelectionAlways});
    AddRoot(L"A");
    AddRoot(L"B");
    control_->CreateHandle();
    log_->Clear();

    control_->RecreateHandle();
    EXPECT_EQ(log_->calls, (Calls{L"TreeUnadvise(0x5150)", L"RemoveAllRoots", L"Released",
                                  L"Initialize(0x81,121x97)", L"SetControlStyle2(0x0,0x0)", L"TreeAdvise",
                                  L"RemoveAllRoots", L"AppendRoot(A,0x0,0x0)", L"AppendRoot(B,0x0,0x0)"}));
    EXPECT_EQ(log_->created, 2);
    EXPECT_EQ(log_->alive, 1);
    EXPECT_TRUE(control_->Actuated());
    EXPECT_EQ(control_->TreeViewHandle(), log_->view);
}

TEST_F(TreeControlTest, ChangesWhileWithoutWindowReachTheNextTree) {
    control_->CreateHandle();
    control_->DestroyHandle();
    control_->SetStyles({nstcsHasLines});
    control_->SetStyle2s({nstcs2InterruptNotifications, nstcs2NoSingletonAutoExpand});
    AddRoot(L"Late");
    log_->Clear();
    control_->CreateHandle();
    EXPECT_EQ(log_->calls, (Calls{L"Initialize(0x2,121x97)", L"SetControlStyle2(0x11,0x11)", L"TreeAdvise",
                                  L"RemoveAllRoots", L"AppendRoot(Late,0x0,0x0)"}));
}

TEST_F(TreeControlTest, WindowDestroyedWithItsParentReleasesTheTree) {
    control_->CreateHandle();
    log_->Clear();
    ::DestroyWindow(host_.Handle());
    EXPECT_EQ(log_->calls, (Calls{L"TreeUnadvise(0x5150)", L"RemoveAllRoots", L"Released"}));
    EXPECT_FALSE(control_->Actuated());
    EXPECT_EQ(control_->Handle(), nullptr);
}

TEST_F(TreeControlTest, DestroyingTheControlFreesTheRootsWithoutRemovingThemOneByOne) {
    HWND first = AddRoot(L"A").NotifyWindow();
    HWND second = AddRoot(L"B").NotifyWindow();
    control_->CreateHandle();
    log_->Clear();
    control_.reset();
    EXPECT_EQ(log_->calls, (Calls{L"TreeUnadvise(0x5150)", L"RemoveAllRoots", L"Released"}));
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_FALSE(::IsWindow(second));
}

TEST_F(TreeControlTest, CreationFailureLeavesTheControlWithoutTree) {
    for (const wchar_t* step : {L"Create", L"Initialize", L"TreeAdvise"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(step)));
        auto log = std::make_shared<fake::TreeLog>();
        log->results[step] = E_ACCESSDENIED;
        TNameSpaceTreeControl control(host_, fake::FakeTreeFactory(log));
        try {
            control.CreateHandle();
            ADD_FAILURE() << "no error";
        } catch (const gui::HResultError& error) {
            EXPECT_EQ(error.Code(), E_ACCESSDENIED);
        }
        EXPECT_NE(control.Handle(), nullptr);
        EXPECT_FALSE(control.Actuated());
        EXPECT_EQ(log->alive, 0);
        if (log->window != nullptr) {
            EXPECT_FALSE(::IsWindow(log->window));
        }
        ComPtr<IShellItemArray> selected;
        EXPECT_EQ(control.GetSelectedItems(&selected), E_PENDING);
    }
}

TEST_F(TreeControlTest, StylesChangeOnTheLiveTreeByClearingThenSetting) {
    control_->CreateHandle();
    log_->Clear();
    control_->SetStyles({nstcsHasLines});
    EXPECT_EQ(log_->calls, (Calls{L"SetControlStyle(0x1,0x0)", L"SetControlStyle(0x2,0x2)"}));
    EXPECT_EQ(log_->styles, 0x2u);
    EXPECT_EQ(control_->Styles(), TNamespaceTreeControlStyles{nstcsHasLines});

    log_->Clear();
    control_->SetStyles({nstcsHasLines});
    control_->SetStyle2s({});
    EXPECT_TRUE(log_->calls.empty());

    control_->SetStyle2s({nstcs2ShowNullSpaceMenu, nstcs2DisplayPinnedOnly});
    control_->SetStyle2s({nstcs2DisplayPadding});
    EXPECT_EQ(log_->calls, (Calls{L"SetControlStyle2(0x0,0x0)", L"SetControlStyle2(0xA,0xA)",
                                  L"SetControlStyle2(0xA,0x0)", L"SetControlStyle2(0x4,0x4)"}));
    EXPECT_EQ(log_->styles2, 0x4u);
}

TEST_F(TreeControlTest, RefusedStyleRaisesAndLeavesTreeAndStoredStylesAsTheyWere) {
    log_->refusedStyleMask = NSTCS_SPRINGEXPAND;
    control_->CreateHandle();
    log_->Clear();
    EXPECT_THROW(control_->SetStyles({nstcsHasExpandos, nstcsSpringExpand}), gui::HResultError);
    EXPECT_EQ(control_->Styles(), TNamespaceTreeControlStyles{nstcsHasExpandos});
    EXPECT_EQ(log_->calls, (Calls{L"SetControlStyle(0x1,0x0)", L"SetControlStyle(0x11,0x11)",
                                  L"SetControlStyle(0x1,0x1)"}));
    EXPECT_EQ(log_->styles, 0x1u);

    // A refused old flag fails at the first call, before anything changed.
    log_->refusedStyleMask = NSTCS_HASEXPANDOS;
    log_->Clear();
    EXPECT_THROW(control_->SetStyles({nstcsHasLines}), gui::HResultError);
    EXPECT_EQ(log_->calls, (Calls{L"SetControlStyle(0x1,0x0)"}));
    EXPECT_EQ(control_->Styles(), TNamespaceTreeControlStyles{nstcsHasExpandos});

    log_->refusedStyle2Mask = NSTCS2_DISPLAYPADDING;
    EXPECT_THROW(control_->SetStyle2s({nstcs2DisplayPadding}), gui::HResultError);
    EXPECT_TRUE(control_->Style2s().Empty());
}

TEST_F(TreeControlTest, TreeWithoutTheSecondInterfaceOnlyStoresStyles) {
    log_->offersTree2 = false;
    control_->CreateHandle();
    EXPECT_EQ(log_->calls, (Calls{L"Initialize(0x1,121x97)", L"TreeAdvise", L"RemoveAllRoots"}));
    log_->Clear();
    control_->SetStyles({nstcsFullRowSelect});
    control_->SetStyle2s({nstcs2DisplayPadding});
    EXPECT_TRUE(log_->calls.empty());
    EXPECT_EQ(control_->Styles(), TNamespaceTreeControlStyles{nstcsFullRowSelect});
    control_->RecreateHandle();
    EXPECT_EQ(log_->calls.at(3), L"Initialize(0x8,121x97)");
}

TEST_F(TreeControlTest, ATreeThatOutlivesTheControlHasNoRootLeftToCallItsFilter) {
    // Someone else (the Shell itself, for a moment) keeps the tree after the control
    // released it, whichever way the control let go of it.
    struct Case {
        const char* name;
        std::function<void(std::unique_ptr<TNameSpaceTreeControl>&, testsupport::HostWindow&)> teardown;
    };
    const Case cases[] = {
        {"control destroyed", [](auto& control, auto&) { control.reset(); }},
        {"window destroyed", [](auto& control, auto&) { control->DestroyHandle(); }},
        {"parent window destroyed", [](auto&, auto& host) { ::DestroyWindow(host.Handle()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto log = std::make_shared<fake::TreeLog>();
        testsupport::HostWindow host;
        ComPtr<INameSpaceTreeControl> kept;
        auto factory = fake::FakeTreeFactory(log);
        auto control = std::make_unique<TNameSpaceTreeControl>(host, [&](INameSpaceTreeControl** tree) {
            HRESULT hr = factory(tree);
            if (SUCCEEDED(hr))
                kept = *tree;
            return hr;
        });
        for (const wchar_t* name : {L"A", L"B"})
            control->Roots().Add().SetPath(folder_.MakeFolder(name));
        control->CreateHandle();
        ASSERT_EQ(log->roots.size(), 2u);
        ASSERT_NE(log->roots[0].filter, nullptr);
        // The tree raises OnItemDeleted as it lets the roots go; the owner of the
        // handlers is on its way out and must not hear of it.
        auto deleted = std::make_shared<int>(0);
        control->OnNTEOnItemDeleted = [deleted](IShellItem*, BOOL, HRESULT&) { ++*deleted; };

        c.teardown(control, host);
        EXPECT_EQ(log->alive, 1);
        EXPECT_TRUE(log->roots.empty());
        EXPECT_EQ(log->advised, nullptr);
        EXPECT_EQ(*deleted, 0);
        kept.Reset();
        EXPECT_EQ(log->alive, 0);
    }
}

TEST_F(TreeControlTest, ARootDeletedWhileTheTreeTakesItIsTakenOutAgainAndFreedAfterwards) {
    control_->CreateHandle();
    std::wstring path = folder_.MakeFolder(L"Doomed");
    HWND notifyWindow = nullptr;
    // The tree's callback while it adds the root deletes that very root, as a handler
    // of the tree's events might.
    log_->onRootAdded = [&] {
        ASSERT_EQ(control_->Roots().Count(), 1);
        notifyWindow = control_->Roots()[0].NotifyWindow();
        control_->Roots().Delete(0);
        // Still allocated while the attach that is running uses it.
        EXPECT_TRUE(::IsWindow(notifyWindow));
    };
    log_->Clear();
    control_->Roots().Add().SetPath(path);
    EXPECT_EQ(control_->Roots().Count(), 0);
    EXPECT_TRUE(log_->roots.empty());
    EXPECT_EQ(log_->calls, (Calls{L"AppendRoot(Doomed,0x0,0x0)", L"RemoveRoot(Doomed)"}));
    EXPECT_FALSE(::IsWindow(notifyWindow));

    // The same while a root that is in the tree already is put back with new filters.
    control_->Roots().Add().SetPath(path);
    log_->onRootAdded = [&] { control_->Roots().Delete(0); };
    log_->Clear();
    control_->Roots()[0].SetFilters({shcontfFolders});
    EXPECT_EQ(control_->Roots().Count(), 0);
    EXPECT_TRUE(log_->roots.empty());
    EXPECT_EQ(log_->calls,
              (Calls{L"RemoveRoot(Doomed)", L"InsertRoot(0,Doomed,0x20,0x0)", L"RemoveRoot(Doomed)"}));

    // And while the tree takes the old item out, before the new one would go in.
    control_->Roots().Add().SetPath(path);
    control_->OnNTEOnItemDeleted = [&](IShellItem*, BOOL, HRESULT&) {
        if (control_->Roots().Count() > 0)
            control_->Roots().Delete(0);
    };
    log_->Clear();
    control_->Roots()[0].SetStyles({nstcrsExpanded});
    EXPECT_EQ(control_->Roots().Count(), 0);
    EXPECT_TRUE(log_->roots.empty());
    EXPECT_EQ(log_->calls, (Calls{L"RemoveRoot(Doomed)"}));
}

TEST_F(TreeControlTest, ARootDeletedAgainWhileTheTreeTakesItOutIsFreedOnce) {
    control_->CreateHandle();
    TNamespaceTreeRoot* doomed = &AddRoot(L"A");
    AddRoot(L"B");
    HWND notifyWindow = doomed->NotifyWindow();
    // A handler of the tree's removal event deletes the root that is being deleted.
    int deletions = 0;
    control_->OnNTEOnItemDeleted = [&](IShellItem*, BOOL, HRESULT&) {
        int index = control_->Roots().IndexOf(doomed);
        if (index >= 0) {
            ++deletions;
            control_->Roots().Delete(index);
        }
    };
    log_->Clear();
    control_->Roots().Delete(0);
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(log_->calls, (Calls{L"RemoveRoot(A)"}));
    ASSERT_EQ(control_->Roots().Count(), 1);
    EXPECT_EQ(control_->Roots()[0].Path(), folder_.Join(L"B"));
    ASSERT_EQ(log_->roots.size(), 1u);
    EXPECT_FALSE(::IsWindow(notifyWindow));
}

TEST_F(TreeControlTest, ItemOperationsForwardTheirArgumentsAndReturnTheTreesResultUnchanged) {
    control_->CreateHandle();
    ComPtr<IShellItem> item = testsupport::ItemOf(folder_.MakeFolder(L"Item"));
    IShellItem* psi = item.Get();
    struct Case {
        const wchar_t* method;
        std::function<HRESULT(TNameSpaceTreeControl&)> call;
        const wchar_t* logged;
    };
    const Case cases[] = {
        {L"SetItemState", [&](auto& c) { return c.SetItemState(psi, NSTCIS_SELECTED, NSTCIS_SELECTED); },
         L"SetItemState(Item,0x1,0x1)"},
        {L"GetItemState",
         [&](auto& c) {
             NSTCITEMSTATE state = 0;
             HRESULT hr = c.GetItemState(psi, NSTCIS_EXPANDED, &state);
             EXPECT_EQ(state, static_cast<NSTCITEMSTATE>(NSTCIS_EXPANDED));
             return hr;
         },
         L"GetItemState(Item,0x2)"},
        {L"GetSelectedItems",
         [&](auto& c) {
             IShellItemArray* items = reinterpret_cast<IShellItemArray*>(0x10);
             return c.GetSelectedItems(&items);
         },
         L"GetSelectedItems(nil)"},
        {L"GetItemCustomState",
         [&](auto& c) {
             int state = 0;
             HRESULT hr = c.GetItemCustomState(psi, &state);
             EXPECT_EQ(state, 7);
             return hr;
         },
         L"GetItemCustomState(Item)"},
        {L"SetItemCustomState", [&](auto& c) { return c.SetItemCustomState(psi, 3); },
         L"SetItemCustomState(Item,3)"},
        {L"EnsureItemVisible", [&](auto& c) { return c.EnsureItemVisible(psi); }, L"EnsureItemVisible(Item)"},
        {L"SetTheme", [&](auto& c) { return c.SetTheme(L"Explorer"); }, L"SetTheme(Explorer)"},
        {L"GetNextItem",
         [&](auto& c) {
             IShellItem* next = reinterpret_cast<IShellItem*>(0x10);
             return c.GetNextItem(psi, NSTCGNI_PARENT, &next);
         },
         L"GetNextItem(Item,4,nil)"},
        {L"HitTest",
         [&](auto& c) {
             POINT point{12, 34};
             IShellItem* hit = reinterpret_cast<IShellItem*>(0x10);
             return c.HitTest(&point, &hit);
         },
         L"HitTest(12,34,nil)"},
        {L"GetItemRect",
         [&](auto& c) {
             RECT rect{};
             HRESULT hr = c.GetItemRect(psi, &rect);
             EXPECT_EQ(rect.bottom, 4);
             return hr;
         },
         L"GetItemRect(Item)"},
        {L"CollapseAll", [&](auto& c) { return c.CollapseAll(); }, L"CollapseAll"},
    };
    HRESULT answers[] = {S_OK, S_FALSE, E_INVALIDARG, static_cast<HRESULT>(0x80070490)};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.method)));
        for (HRESULT answer : answers) {
            log_->results[c.method] = answer;
            log_->Clear();
            EXPECT_EQ(c.call(*control_), answer);
            EXPECT_EQ(log_->calls, Calls{c.logged});
        }
    }
}

TEST_F(TreeControlTest, ViewMessagesPassTheHandlerWhichMayChangeButNotSuppressThem) {
    control_->CreateHandle();
    HWND view = control_->TreeViewHandle();
    ASSERT_NE(view, nullptr);
    TVINSERTSTRUCTW insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(L"one");
    ::SendMessageW(view, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));

    std::vector<TMessage> seen;
    control_->OnViewWndProc = [&](TMessage& message) { seen.push_back(message); };
    EXPECT_EQ(::SendMessageW(view, TVM_GETCOUNT, 0x11, 0x22), 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Msg, static_cast<UINT>(TVM_GETCOUNT));
    EXPECT_EQ(seen[0].WParam, 0x11u);
    EXPECT_EQ(seen[0].LParam, 0x22);
    EXPECT_EQ(seen[0].Result, 0);

    // Turning the message into WM_NULL swallows it.
    control_->OnViewWndProc = [](TMessage& message) {
        if (message.Msg == TVM_GETCOUNT)
            message.Msg = WM_NULL;
    };
    EXPECT_EQ(::SendMessageW(view, TVM_GETCOUNT, 0, 0), 0);

    // A failing handler is reported; the view still handles the message.
    {
        testing_support::ExpectedReports reports;
        control_->OnViewWndProc = [](TMessage&) { throw std::runtime_error("view handler"); };
        EXPECT_EQ(::SendMessageW(view, TVM_GETCOUNT, 0, 0), 1);
        EXPECT_EQ(reports.Messages(), std::vector<std::wstring>{L"view handler"});
    }

    // After the window is gone, the handler hears nothing from a new view until subclassed anew.
    control_->OnViewWndProc = [&](TMessage& message) { seen.push_back(message); };
    control_->RecreateHandle();
    seen.clear();
    ::SendMessageW(control_->TreeViewHandle(), TVM_GETCOUNT, 0, 0);
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(TreeControlTest, TreeWindowCoversTheClientArea) {
    control_->CreateHandle();
    control_->SetBounds(gui::MakeRect(0, 0, 300, 200));
    RECT tree{};
    ::GetWindowRect(control_->TreeControlHandle(), &tree);
    ::MapWindowPoints(HWND_DESKTOP, control_->Handle(), reinterpret_cast<POINT*>(&tree), 2);
    EXPECT_EQ(tree.left, 0);
    EXPECT_EQ(tree.top, 0);
    EXPECT_EQ(tree.right, 300);
    EXPECT_EQ(tree.bottom, 200);
}

TEST_F(TreeControlTest, DialogCodeWantsArrowsAndBackgroundIsNotErased) {
    control_->CreateHandle();
    EXPECT_NE(::SendMessageW(control_->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, 0);
    HDC dc = ::GetDC(control_->Handle());
    EXPECT_EQ(::SendMessageW(control_->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0);
    ::ReleaseDC(control_->Handle(), dc);
}

TEST_F(TreeControlTest, FocusGoesToTheTreeViewAndLeavingItRaisesExit) {
    testsupport::HostWindow host(400, 300, true);
    auto log = std::make_shared<fake::TreeLog>();
    TNameSpaceTreeControl control(host, fake::FakeTreeFactory(log));
    control.CreateHandle();
    HWND other = ::CreateWindowExW(0, L"BUTTON", L"other", WS_CHILD | WS_VISIBLE, 200, 0, 50, 20,
                                   host.Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetForegroundWindow(host.Handle());
    ::SetActiveWindow(host.Handle());
    int exits = 0;
    control.OnExit = [&] { ++exits; };

    control.SetFocus();
    EXPECT_EQ(::GetFocus(), control.TreeViewHandle());
    ::SetFocus(other);
    EXPECT_EQ(exits, 1);

    // Focus given to the control's own window goes on to the view, and moving inside
    // the control is no exit.
    ::SetFocus(control.Handle());
    EXPECT_EQ(::GetFocus(), control.TreeViewHandle());
    EXPECT_EQ(exits, 1);
    ::SetFocus(other);
    EXPECT_EQ(exits, 2);
    ::DestroyWindow(other);
}

TEST_F(TreeControlTest, ScrollInScrollsTheViewOneLineNearAnEdgeThatCanStillScroll) {
    control_->CreateHandle();
    HWND view = control_->TreeViewHandle();
    for (int i = 0; i < 200; ++i) {
        std::wstring text = L"item " + std::to_wstring(i);
        TVINSERTSTRUCTW insert{};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = text.data();
        ::SendMessageW(view, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
    }
    RECT client{};
    ::GetClientRect(view, &client);
    auto screen = [view](int x, int y) {
        POINT p{x, y};
        ::ClientToScreen(view, &p);
        return p;
    };
    auto position = [view] { return ::GetScrollPos(view, SB_VERT); };
    int middleX = client.right / 2;

    ASSERT_EQ(position(), 0);
    EXPECT_EQ(control_->ScrollIn(screen(middleX, client.bottom / 2), 8), dtInner);
    EXPECT_EQ(control_->ScrollIn(screen(middleX, 2), 8), dtInner); // at the top already
    EXPECT_EQ(control_->ScrollIn(screen(middleX, client.bottom - 2), 8), dtDown);
    EXPECT_EQ(position(), 1);
    EXPECT_EQ(control_->ScrollIn(screen(middleX, 2), 8), dtUp);
    EXPECT_EQ(position(), 0);
    // No horizontal scroll bar: nothing to scroll sideways.
    EXPECT_EQ(control_->ScrollIn(screen(2, client.bottom / 2), 8), dtInner);
    EXPECT_EQ(control_->ScrollIn(screen(client.right, client.bottom / 2), 8), dtOuter);
    EXPECT_EQ(control_->ScrollIn(screen(-1, 5), 8), dtOuter);
}

TEST_F(TreeControlTest, WhatTheTreeReceivedRaisesTheControlsOwnEvents) {
    // The Shell calls the filter of a root and the advised object; both are the
    // control's, so the calls arrive as the control's events.
    TNamespaceTreeRoot& root = AddRoot(L"A");
    control_->CreateHandle();
    ASSERT_EQ(log_->roots.size(), 1u);
    IShellItemFilter* filter = log_->roots[0].filter;
    ComPtr<IShellItem> child = testsupport::ItemOf(folder_.MakeFolder(L"A\\hidden"));

    EXPECT_EQ(filter->IncludeItem(child.Get()), S_OK);
    control_->OnSIFIncludeItem = [&](IShellItem* psi, HRESULT& result) {
        result = testsupport::SameItem(psi, child.Get()) ? S_FALSE : S_OK;
    };
    EXPECT_EQ(filter->IncludeItem(child.Get()), S_FALSE);
    EXPECT_EQ(filter->IncludeItem(root.SHItem()), S_OK);

    ComPtr<INameSpaceTreeControlDropHandler> drop;
    ASSERT_EQ(log_->advised.As(&drop), S_OK);
    ComPtr<IShellItemArray> data = testsupport::ArrayOf(child.Get());
    int position = -1;
    control_->OnNTDHOnDragPosition = [&](IShellItem*, IShellItemArray* psiaData, int newPosition, int,
                                         HRESULT& result) {
        EXPECT_EQ(psiaData, data.Get());
        position = newPosition;
        result = S_OK;
    };
    EXPECT_EQ(drop->OnDragPosition(root.SHItem(), data.Get(), 1, 0), S_OK);
    EXPECT_EQ(position, 1);

    ComPtr<INameSpaceTreeControlEvents> events;
    ASSERT_EQ(log_->advised.As(&events), S_OK);
    EXPECT_EQ(events->OnItemClick(child.Get(), NSTCEHT_ONITEMLABEL, NSTCECT_LBUTTON), S_FALSE);
    EXPECT_EQ(events->OnKeyboardInput(WM_KEYDOWN, VK_DOWN, 0), S_OK);
    EXPECT_EQ(events->OnSelectionChanged(data.Get()), E_NOTIMPL);
}
