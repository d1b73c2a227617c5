// The control with the real Shell tree of the platform, in a temporary folder tree:
// roots, item operations through the forwarding, re-creation, styles, scrolling and
// the roots' reaction to renames and deletions of their folders (the test raises the
// Shell's change notification itself, as Explorer does after changing the file system).
#include "unit/shellctrls/ShellCtrlsTestSupport.h"
#include "gui/Application.h"
#include "gui/Error.h"
#include "shellctrls/NameSpaceTreeControl.h"
#include "support/Pump.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <shlobj.h>

using namespace shellctrls;
using Microsoft::WRL::ComPtr;
using Names = std::vector<std::wstring>;

namespace {

std::wstring ItemText(HWND view, HTREEITEM item) {
    wchar_t text[260] = L"";
    TVITEMW data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = 260;
    ::SendMessageW(view, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    return text;
}

// The texts of the view's items below parent (the roots for nil), in order.
Names ViewItems(HWND view, HTREEITEM parent = nullptr) {
    Names names;
    auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(
        view, TVM_GETNEXTITEM, parent == nullptr ? TVGN_ROOT : TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
    while (item != nullptr) {
        names.push_back(ItemText(view, item));
        item = reinterpret_cast<HTREEITEM>(
            ::SendMessageW(view, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
    return names;
}

class ShellTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const wchar_t* name : {L"A\\x", L"A\\y\\deep", L"B", L"C"})
            folder_.MakeFolder(name);
        control_.SetBounds(gui::MakeRect(0, 0, 300, 260));
        control_.CreateHandle();
        ASSERT_TRUE(control_.Actuated());
    }

    std::wstring PathOf(const std::wstring& name) const { return folder_.Join(name); }
    TNamespaceTreeRoot& AddRoot(const std::wstring& name) {
        TNamespaceTreeRoot& root = control_.Roots().Add();
        root.SetPath(PathOf(name));
        return root;
    }
    Names TreeRoots() { return ViewItems(control_.TreeViewHandle()); }
    // Raises the notification Explorer raises after changing the file system.
    static void Notify(LONG event, const std::wstring& path, const std::wstring& newPath = {}) {
        ::SHChangeNotify(event, SHCNF_PATHW | SHCNF_FLUSH, path.c_str(),
                         newPath.empty() ? nullptr : newPath.c_str());
        testing_support::PumpUntilIdle();
    }

    testing_support::TempFolder folder_;
    testsupport::HostWindow host_{400, 300};
    TNameSpaceTreeControl control_{host_};
};

} // namespace

TEST_F(ShellTreeTest, RootsAppearInCollectionOrder) {
    AddRoot(L"B");
    AddRoot(L"C");
    control_.Roots().Insert(0).SetPath(PathOf(L"A"));
    EXPECT_EQ(TreeRoots(), (Names{L"A", L"B", L"C"}));

    // The forwarding reaches the real tree: the next root of A is B.
    ComPtr<IShellItem> next;
    ASSERT_EQ(control_.GetNextItem(control_.Roots()[0].SHItem(), NSTCGNI_NEXT, &next), S_OK);
    EXPECT_TRUE(testsupport::SameItem(next.Get(), control_.Roots()[1].SHItem()));

    control_.Roots()[1].SetFilters({shcontfFolders});
    EXPECT_EQ(TreeRoots(), (Names{L"A", L"B", L"C"}));
    control_.Roots().Move(2, 0);
    EXPECT_EQ(TreeRoots(), (Names{L"C", L"A", L"B"}));
    control_.Roots().Delete(1);
    EXPECT_EQ(TreeRoots(), (Names{L"C", L"B"}));
}

TEST_F(ShellTreeTest, ItemOperationsWorkThroughTheForwardingAndRaiseTheTreesEvents) {
    TNamespaceTreeRoot& root = AddRoot(L"A");
    root.SetFilters({shcontfFolders});
    std::vector<std::wstring> expanded;
    int selections = 0;
    control_.OnNTEOnAfterExpand = [&](IShellItem* psi, HRESULT&) {
        expanded.push_back(testsupport::ParsingNameOf(psi));
    };
    control_.OnNTEOnSelectionChanged = [&](IShellItemArray* selection, HRESULT& result) {
        DWORD count = 0;
        if (selection != nullptr)
            selection->GetCount(&count);
        selections += static_cast<int>(count);
        result = S_OK;
    };

    ASSERT_EQ(control_.SetItemState(root.SHItem(), NSTCIS_EXPANDED, NSTCIS_EXPANDED), S_OK);
    EXPECT_EQ(expanded, Names{PathOf(L"A")});
    NSTCITEMSTATE state = 0;
    ASSERT_EQ(control_.GetItemState(root.SHItem(), NSTCIS_EXPANDED, &state), S_OK);
    EXPECT_EQ(state & NSTCIS_EXPANDED, static_cast<NSTCITEMSTATE>(NSTCIS_EXPANDED));

    ComPtr<IShellItem> child;
    ASSERT_EQ(control_.GetNextItem(root.SHItem(), NSTCGNI_CHILD, &child), S_OK);
    EXPECT_EQ(testsupport::ParsingNameOf(child.Get()), PathOf(L"A\\x"));
    ComPtr<IShellItem> sibling;
    ASSERT_EQ(control_.GetNextItem(child.Get(), NSTCGNI_NEXT, &sibling), S_OK);
    EXPECT_EQ(testsupport::ParsingNameOf(sibling.Get()), PathOf(L"A\\y"));

    ASSERT_EQ(control_.SetItemState(sibling.Get(), NSTCIS_SELECTED, NSTCIS_SELECTED), S_OK);
    EXPECT_GE(selections, 1);
    ComPtr<IShellItemArray> selected;
    ASSERT_EQ(control_.GetSelectedItems(&selected), S_OK);
    ComPtr<IShellItem> first;
    ASSERT_EQ(selected->GetItemAt(0, &first), S_OK);
    EXPECT_TRUE(testsupport::SameItem(first.Get(), sibling.Get()));

    EXPECT_EQ(control_.EnsureItemVisible(sibling.Get()), S_OK);
    // An item the tree does not know is the tree's error, passed on unchanged.
    ComPtr<IShellItem> stranger = testsupport::ItemOf(PathOf(L"C"));
    ComPtr<IShellItem> none;
    EXPECT_TRUE(FAILED(control_.GetNextItem(stranger.Get(), NSTCGNI_CHILD, &none)));
    EXPECT_EQ(none, nullptr);
}

TEST_F(ShellTreeTest, RecreatedWindowHasTheRootsBackAndStillRaisesEvents) {
    AddRoot(L"A");
    AddRoot(L"C");
    HWND oldView = control_.TreeViewHandle();
    control_.DestroyHandle();
    EXPECT_FALSE(control_.Actuated());
    EXPECT_FALSE(::IsWindow(oldView));

    int added = 0;
    control_.OnNTEOnItemAdded = [&](IShellItem*, BOOL isRoot, HRESULT&) { added += isRoot ? 1 : 0; };
    control_.CreateHandle();
    ASSERT_TRUE(control_.Actuated());
    EXPECT_EQ(TreeRoots(), (Names{L"A", L"C"}));
    EXPECT_EQ(added, 2);
    EXPECT_NE(control_.TreeViewHandle(), nullptr);
    EXPECT_EQ(::GetParent(control_.TreeControlHandle()), control_.Handle());
    ComPtr<IShellItem> next;
    EXPECT_EQ(control_.GetNextItem(control_.Roots()[0].SHItem(), NSTCGNI_NEXT, &next), S_OK);
}

TEST_F(ShellTreeTest, RenamedWatchedFolderRenamesTheRootAtItsPlace) {
    TNamespaceTreeRoot& root = AddRoot(L"A");
    AddRoot(L"B");
    ASSERT_NE(root.RegistID(), 0u);

    ASSERT_TRUE(::MoveFileW(PathOf(L"A").c_str(), PathOf(L"A2").c_str()));
    Notify(SHCNE_RENAMEFOLDER, PathOf(L"A"), PathOf(L"A2"));
    EXPECT_EQ(root.Path(), PathOf(L"A2"));
    EXPECT_EQ(TreeRoots(), (Names{L"A2", L"B"}));
    EXPECT_EQ(testsupport::ParsingNameOf(root.SHItem()), PathOf(L"A2"));

    // The root now watches its folder under the new name.
    ASSERT_TRUE(::MoveFileW(PathOf(L"A2").c_str(), PathOf(L"A3").c_str()));
    Notify(SHCNE_RENAMEFOLDER, PathOf(L"A2"), PathOf(L"A3"));
    EXPECT_EQ(root.Path(), PathOf(L"A3"));
    EXPECT_EQ(TreeRoots(), (Names{L"A3", L"B"}));

    // A rename inside the folder leaves the root where it is.
    ASSERT_TRUE(::MoveFileW(PathOf(L"A3\\x").c_str(), PathOf(L"A3\\x2").c_str()));
    Notify(SHCNE_RENAMEFOLDER, PathOf(L"A3\\x"), PathOf(L"A3\\x2"));
    EXPECT_EQ(root.Path(), PathOf(L"A3"));
}

TEST_F(ShellTreeTest, RenameByTheShellsOwnFileOperationIsFollowedToo) {
    TNamespaceTreeRoot& root = AddRoot(L"B");
    std::wstring from = PathOf(L"B") + L'\0';
    std::wstring to = PathOf(L"Bee") + L'\0';
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_RENAME;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    ASSERT_EQ(::SHFileOperationW(&operation), 0);
    testing_support::PumpUntilIdle();
    EXPECT_EQ(root.Path(), PathOf(L"Bee"));
    EXPECT_EQ(TreeRoots(), Names{L"Bee"});
}

TEST_F(ShellTreeTest, DeletedWatchedFolderRemovesTheRoot) {
    AddRoot(L"A");
    TNamespaceTreeRoot& doomed = AddRoot(L"B");
    AddRoot(L"C");
    HWND window = doomed.NotifyWindow();
    int deletedRoots = 0;
    control_.OnNTEOnItemDeleted = [&](IShellItem*, BOOL isRoot, HRESULT&) { deletedRoots += isRoot ? 1 : 0; };

    // A deletion inside a root's folder is not the root's.
    ASSERT_TRUE(::RemoveDirectoryW(PathOf(L"A\\x").c_str()));
    Notify(SHCNE_RMDIR, PathOf(L"A\\x"));
    EXPECT_EQ(control_.Roots().Count(), 3);

    ASSERT_TRUE(::RemoveDirectoryW(PathOf(L"B").c_str()));
    // Delivered within the call: the root stops watching at once and leaves the
    // collection only after the notification has returned.
    ::SHChangeNotify(SHCNE_RMDIR, SHCNF_PATHW | SHCNF_FLUSH, PathOf(L"B").c_str(), nullptr);
    EXPECT_EQ(control_.Roots().Count(), 3);
    EXPECT_EQ(doomed.RegistID(), 0u);
    gui::Application::Instance().ProcessMessages();
    ASSERT_EQ(control_.Roots().Count(), 2);
    EXPECT_EQ(control_.Roots()[1].Path(), PathOf(L"C"));
    EXPECT_EQ(TreeRoots(), (Names{L"A", L"C"}));
    EXPECT_EQ(deletedRoots, 1);
    EXPECT_FALSE(::IsWindow(window));
}

TEST_F(ShellTreeTest, StylesReachTheLiveTreeAndARefusedOneChangesNothing) {
    AddRoot(L"A");
    HWND view = control_.TreeViewHandle();
    control_.SetStyles({nstcsHasExpandos, nstcsHasLines});
    EXPECT_NE(::GetWindowLongPtrW(view, GWL_STYLE) & TVS_HASLINES, 0);
    control_.SetStyles({nstcsHasExpandos});
    EXPECT_EQ(::GetWindowLongPtrW(view, GWL_STYLE) & TVS_HASLINES, 0);
    control_.SetStyles({nstcsHasExpandos, nstcsHasLines, nstcsFullRowSelect});

    // Some trees cannot change some flags on the fly. Whichever flag this one refuses,
    // a refusal must leave the tree with the styles the control still reports.
    try {
        control_.SetStyles({nstcsHasExpandos, nstcsHasLines, nstcsAutoHScroll});
        EXPECT_EQ(control_.Styles(),
                  (TNamespaceTreeControlStyles{nstcsHasExpandos, nstcsHasLines, nstcsAutoHScroll}));
    } catch (const gui::HResultError&) {
        EXPECT_EQ(control_.Styles(),
                  (TNamespaceTreeControlStyles{nstcsHasExpandos, nstcsHasLines, nstcsFullRowSelect}));
        EXPECT_NE(::GetWindowLongPtrW(view, GWL_STYLE) & TVS_HASLINES, 0);
        EXPECT_NE(::GetWindowLongPtrW(view, GWL_STYLE) & TVS_FULLROWSELECT, 0);
    }
    control_.SetStyle2s({nstcs2DisplayPadding});
    EXPECT_EQ(control_.Style2s(), TNamespaceTreeControlStyle2s{nstcs2DisplayPadding});
}

TEST_F(ShellTreeTest, ScrollInScrollsTheRealTreeNearItsEdges) {
    for (int i = 0; i < 60; ++i)
        folder_.MakeFolder(L"C\\item" + std::to_wstring(100 + i));
    TNamespaceTreeRoot& root = AddRoot(L"C");
    root.SetFilters({shcontfFolders});
    ASSERT_EQ(control_.SetItemState(root.SHItem(), NSTCIS_EXPANDED, NSTCIS_EXPANDED), S_OK);
    HWND view = control_.TreeViewHandle();
    RECT client{};
    ::GetClientRect(view, &client);
    auto screen = [view](int x, int y) {
        POINT p{x, y};
        ::ClientToScreen(view, &p);
        return p;
    };
    int before = ::GetScrollPos(view, SB_VERT);
    EXPECT_EQ(control_.ScrollIn(screen(client.right / 2, client.bottom - 3), 8), dtDown);
    EXPECT_EQ(::GetScrollPos(view, SB_VERT), before + 1);
    EXPECT_EQ(control_.ScrollIn(screen(client.right / 2, 3), 8), dtUp);
    EXPECT_EQ(::GetScrollPos(view, SB_VERT), before);
    EXPECT_EQ(control_.ScrollIn(screen(client.right / 2, client.bottom / 2), 8), dtInner);
    EXPECT_EQ(control_.ScrollIn(screen(client.right + 5, 3), 8), dtOuter);
}

TEST_F(ShellTreeTest, FocusEndsInTheTreeView) {
    testsupport::HostWindow host(400, 300, true);
    TNameSpaceTreeControl control(host);
    control.CreateHandle();
    ::SetForegroundWindow(host.Handle());
    control.SetFocus();
    EXPECT_EQ(::GetFocus(), control.TreeViewHandle());
    ::SetFocus(host.Handle());
    ::SetFocus(control.Handle());
    EXPECT_EQ(::GetFocus(), control.TreeViewHandle());
}

TEST_F(ShellTreeTest, KnownFolderAndDesktopRootsResolve) {
    TNamespaceTreeRoot& desktop = control_.Roots().Add();
    desktop.SetStyles({nstcrsExpanded});
    desktop.SetFilters({shcontfFolders, shcontfNonFolders});
    desktop.SetPath(L"rfDesktop");
    ASSERT_NE(desktop.SHItem(), nullptr);
    EXPECT_EQ(desktop.RegistID(), 0u);
    NSTCITEMSTATE state = 0;
    ASSERT_EQ(control_.GetItemState(desktop.SHItem(), NSTCIS_EXPANDED, &state), S_OK);
    EXPECT_EQ(state & NSTCIS_EXPANDED, static_cast<NSTCITEMSTATE>(NSTCIS_EXPANDED));
    EXPECT_FALSE(ViewItems(control_.TreeViewHandle(),
                           reinterpret_cast<HTREEITEM>(
                               ::SendMessageW(control_.TreeViewHandle(), TVM_GETNEXTITEM, TVGN_ROOT, 0)))
                     .empty());
    TNamespaceTreeRoot& drive = control_.Roots().Add();
    drive.SetPath(L"C:");
    EXPECT_NE(drive.SHItem(), nullptr);
    EXPECT_NE(drive.RegistID(), 0u);
    EXPECT_EQ(TreeRoots().size(), 2u);
}

namespace {

enum class Teardown { DestroyControl, DestroyWindow, DestroyParent };

std::string Describe(Teardown teardown) {
    switch (teardown) {
    case Teardown::DestroyControl:
        return "control destroyed";
    case Teardown::DestroyWindow:
        return "window destroyed";
    case Teardown::DestroyParent:
        return "parent window destroyed";
    }
    return "?";
}

} // namespace

TEST_F(ShellTreeTest, ReleasingTheTreeCallsNothingOfTheControl) {
    // However the control lets go of its tree (which someone else may still hold for a
    // moment), taking the roots out of it raises item-deleted and selection events in
    // the tree: none of them may reach handlers whose owner is on its way out.
    for (Teardown teardown : {Teardown::DestroyControl, Teardown::DestroyWindow, Teardown::DestroyParent}) {
        SCOPED_TRACE(Describe(teardown));
        testsupport::HostWindow host(400, 300);
        ComPtr<INameSpaceTreeControl> kept;
        auto control = std::make_unique<TNameSpaceTreeControl>(host, [&kept](INameSpaceTreeControl** tree) {
            HRESULT hr = CreateShellTree(tree);
            if (SUCCEEDED(hr))
                kept = *tree;
            return hr;
        });
        control->SetBounds(gui::MakeRect(0, 0, 300, 260));
        for (const wchar_t* name : {L"A", L"C"}) {
            TNamespaceTreeRoot& root = control->Roots().Add();
            root.SetFilters({shcontfFolders});
            root.SetPath(PathOf(name));
        }
        control->CreateHandle();
        ASSERT_TRUE(kept);
        // A selected item below a root: its removal moves the tree's selection.
        IShellItem* first = control->Roots()[0].SHItem();
        ASSERT_EQ(control->SetItemState(first, NSTCIS_EXPANDED, NSTCIS_EXPANDED), S_OK);
        ComPtr<IShellItem> child;
        ASSERT_EQ(control->GetNextItem(first, NSTCGNI_CHILD, &child), S_OK);
        ASSERT_EQ(control->SetItemState(child.Get(), NSTCIS_SELECTED, NSTCIS_SELECTED), S_OK);

        // Outlives the control, so that a call made during its teardown is seen.
        auto calls = std::make_shared<std::vector<std::wstring>>();
        control->OnNTEOnBeforeItemDelete = [calls](IShellItem*, HRESULT&) {
            calls->push_back(L"OnBeforeItemDelete");
        };
        control->OnNTEOnItemDeleted = [calls](IShellItem*, BOOL, HRESULT&) {
            calls->push_back(L"OnItemDeleted");
        };
        control->OnNTEOnSelectionChanged = [calls](IShellItemArray*, HRESULT&) {
            calls->push_back(L"OnSelectionChanged");
        };
        control->OnNTEOnItemStateChanged = [calls](IShellItem*, NSTCITEMSTATE, NSTCITEMSTATE, HRESULT&) {
            calls->push_back(L"OnItemStateChanged");
        };
        control->OnSIFIncludeItem = [calls](IShellItem*, HRESULT&) { calls->push_back(L"IncludeItem"); };

        switch (teardown) {
        case Teardown::DestroyControl:
            control.reset();
            break;
        case Teardown::DestroyWindow:
            control->DestroyHandle();
            break;
        case Teardown::DestroyParent:
            ::DestroyWindow(host.Handle());
            break;
        }
        EXPECT_EQ(*calls, Names{});
        kept.Reset();
    }
}
