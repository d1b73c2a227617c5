// Roots and their collection against a recording fake of the Shell's tree: what
// reaches the tree when, and in which order the tree holds its roots.
#include "FakeNameSpaceTree.h"
#include "ShellCtrlsTestSupport.h"
#include "gui/Application.h"
#include "gui/Error.h"
#include "shellctrls/ChangeNotify.h"
#include "shellctrls/NameSpaceTreeControl.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace shellctrls;
using Calls = std::vector<std::wstring>;

namespace {

class TreeRootsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const wchar_t* name : {L"A", L"B", L"C", L"D"})
            folder_.MakeFolder(name);
        control_.CreateHandle();
        log_->Clear();
    }

    std::wstring PathOf(const wchar_t* name) const { return folder_.Join(name); }
    TNamespaceTreeRoots& Roots() { return control_.Roots(); }
    TNamespaceTreeRoot& AddRoot(const wchar_t* name) {
        TNamespaceTreeRoot& root = Roots().Add();
        root.SetPath(PathOf(name));
        return root;
    }
    // The tree's roots by name, in the tree's order.
    std::vector<std::wstring> TreeOrder() const {
        std::vector<std::wstring> names;
        for (const fake::TreeRoot& root : log_->roots)
            names.push_back(fake::NameOf(root.item.Get()));
        return names;
    }
    std::vector<std::wstring> CollectionOrder() {
        std::vector<std::wstring> names;
        for (int i = 0; i < Roots().Count(); ++i)
            names.push_back(fake::NameOf(Roots()[i].SHItem()));
        return names;
    }

    std::shared_ptr<fake::TreeLog> log_ = std::make_shared<fake::TreeLog>();
    testing_support::TempFolder folder_;
    testsupport::HostWindow host_;
    TNameSpaceTreeControl control_{host_, fake::FakeTreeFactory(log_)};
};

} // namespace

TEST_F(TreeRootsTest, NewRootIsEmptyAndReachesTheTreeOnceWhenItGetsItsDesignation) {
    TNamespaceTreeRoot& root = Roots().Add();
    EXPECT_TRUE(root.Path().empty());
    EXPECT_TRUE(root.Filters().Empty());
    EXPECT_TRUE(root.Styles().Empty());
    EXPECT_EQ(root.SHItem(), nullptr);
    EXPECT_EQ(root.RegistID(), 0u);
    EXPECT_EQ(root.NotifyWindow(), nullptr) << "no window while nothing is watched";
    EXPECT_EQ(root.GetDisplayName(), L"TNamespaceTreeRoot");

    // Style and filters first, as the main window does: they only change stored values.
    root.SetStyles({nstcrsExpanded});
    root.SetFilters({shcontfFolders, shcontfNonFolders});
    EXPECT_TRUE(log_->calls.empty());
    EXPECT_EQ(root.FilterFlags(), 0x60u);
    EXPECT_EQ(root.StyleFlags(), 0x2u);

    root.SetPath(PathOf(L"A"));
    EXPECT_EQ(log_->calls, Calls{L"AppendRoot(A,0x60,0x2)"});
    EXPECT_TRUE(testsupport::SameItem(root.SHItem(), log_->roots.at(0).item.Get()));
    EXPECT_NE(root.RegistID(), 0u);
    EXPECT_NE(root.NotifyWindow(), nullptr) << "made for the registration";
    EXPECT_EQ(root.GetDisplayName(), PathOf(L"A"));

    // The same designation again changes nothing: no call, no new registration.
    ULONG registration = root.RegistID();
    log_->Clear();
    root.SetPath(PathOf(L"A"));
    root.SetFilters({shcontfNonFolders, shcontfFolders});
    root.SetStyles({nstcrsExpanded});
    EXPECT_TRUE(log_->calls.empty());
    EXPECT_EQ(root.RegistID(), registration);
}

TEST_F(TreeRootsTest, ChangingAFirstRootReinsertsItAtItsPlace) {
    TNamespaceTreeRoot& first = AddRoot(L"A");
    TNamespaceTreeRoot& second = AddRoot(L"B");
    log_->Clear();

    first.SetFilters({shcontfFolders});
    EXPECT_EQ(log_->calls, (Calls{L"RemoveRoot(A)", L"InsertRoot(0,A,0x20,0x0)"}));
    EXPECT_EQ(TreeOrder(), (std::vector<std::wstring>{L"A", L"B"}));

    log_->Clear();
    first.SetStyles({nstcrsHidden});
    first.Reload();
    second.Reload();
    EXPECT_EQ(log_->calls,
              (Calls{L"RemoveRoot(A)", L"InsertRoot(0,A,0x20,0x1)", L"RemoveRoot(A)",
                     L"InsertRoot(0,A,0x20,0x1)", L"RemoveRoot(B)", L"InsertRoot(1,B,0x0,0x0)"}));

    log_->Clear();
    first.SetPath(PathOf(L"C"));
    EXPECT_EQ(log_->calls, (Calls{L"RemoveRoot(A)", L"InsertRoot(0,C,0x20,0x1)"}));
    EXPECT_EQ(TreeOrder(), (std::vector<std::wstring>{L"C", L"B"}));

    // Assigning takes designation, filters and style, and keeps the place.
    log_->Clear();
    Roots().SetItem(1, first);
    EXPECT_EQ(second.Path(), PathOf(L"C"));
    EXPECT_EQ(second.Filters(), TShellContactFilters{shcontfFolders});
    EXPECT_EQ(log_->calls, (Calls{L"RemoveRoot(B)", L"InsertRoot(1,C,0x20,0x1)"}));

    // A root without designation reloads nothing.
    log_->Clear();
    Roots().Add().Reload();
    EXPECT_TRUE(log_->calls.empty());
}

TEST_F(TreeRootsTest, TreeFollowsTheCollectionOrderThroughInsertsMovesAndDeletes) {
    AddRoot(L"A");
    AddRoot(L"C");
    Roots().Insert(1).SetPath(PathOf(L"B"));
    Roots().Insert(0).SetPath(PathOf(L"D"));
    EXPECT_EQ(CollectionOrder(), (std::vector<std::wstring>{L"D", L"A", L"B", L"C"}));
    EXPECT_EQ(TreeOrder(), CollectionOrder());

    Roots().Move(0, 3);
    EXPECT_EQ(CollectionOrder(), (std::vector<std::wstring>{L"A", L"B", L"C", L"D"}));
    EXPECT_EQ(TreeOrder(), CollectionOrder());
    Roots().Move(2, 0);
    EXPECT_EQ(CollectionOrder(), (std::vector<std::wstring>{L"C", L"A", L"B", L"D"}));
    EXPECT_EQ(TreeOrder(), CollectionOrder());

    HWND window = Roots()[1].NotifyWindow();
    log_->Clear();
    Roots().Delete(1);
    EXPECT_EQ(log_->calls, Calls{L"RemoveRoot(A)"});
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(CollectionOrder(), (std::vector<std::wstring>{L"C", L"B", L"D"}));
    EXPECT_EQ(TreeOrder(), CollectionOrder());

    // A recreated tree gets the roots in the same order.
    control_.RecreateHandle();
    EXPECT_EQ(TreeOrder(), (std::vector<std::wstring>{L"C", L"B", L"D"}));
}

TEST_F(TreeRootsTest, ARootWhoseFolderWentLeavesOnlyAfterTheNotificationReturned) {
    AddRoot(L"A");
    TNamespaceTreeRoot& doomed = AddRoot(L"B");
    AddRoot(L"C");
    HWND window = doomed.NotifyWindow();
    log_->Clear();

    // As the root's notification handler asks it: twice, as two notifications would.
    Roots().DeleteLater(doomed);
    Roots().DeleteLater(doomed);
    EXPECT_EQ(Roots().Count(), 3);
    EXPECT_EQ(doomed.RegistID(), 0u);
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_TRUE(log_->calls.empty());

    gui::Application::Instance().ProcessMessages();
    EXPECT_EQ(log_->calls, Calls{L"RemoveRoot(B)"});
    EXPECT_EQ(CollectionOrder(), (std::vector<std::wstring>{L"A", L"C"}));
    EXPECT_EQ(TreeOrder(), CollectionOrder());
    EXPECT_FALSE(::IsWindow(window));

    // A root deleted meanwhile by other means, or a collection gone before its turn,
    // leaves nothing behind to run.
    TNamespaceTreeRoot& gone = Roots()[0];
    Roots().DeleteLater(gone);
    Roots().Delete(0);
    auto loose = std::make_unique<TNamespaceTreeRoots>();
    loose->DeleteLater(loose->Add());
    loose.reset();
    log_->Clear();
    gui::Application::Instance().ProcessMessages();
    EXPECT_TRUE(log_->calls.empty());
    EXPECT_EQ(CollectionOrder(), std::vector<std::wstring>{L"C"});
}

TEST_F(TreeRootsTest, DesignationThatDoesNotResolveLeavesTheRootOutOfTheTree) {
    TNamespaceTreeRoot& first = AddRoot(L"A");
    TNamespaceTreeRoot& missing = Roots().Add();
    missing.SetPath(PathOf(L"missing"));
    EXPECT_EQ(missing.SHItem(), nullptr);
    EXPECT_EQ(missing.RegistID(), 0u);
    TNamespaceTreeRoot& last = AddRoot(L"C");
    EXPECT_EQ(TreeOrder(), (std::vector<std::wstring>{L"A", L"C"}));

    // Places in the tree are counted without the root that is not there.
    log_->Clear();
    last.SetFilters({shcontfNonFolders});
    EXPECT_EQ(log_->calls, (Calls{L"RemoveRoot(C)", L"InsertRoot(1,C,0x40,0x0)"}));
    EXPECT_EQ(TreeOrder(), (std::vector<std::wstring>{L"A", L"C"}));

    // A root whose new designation does not resolve leaves the tree rather than
    // staying there under its old item.
    log_->Clear();
    first.SetPath(L"");
    first.SetPath(PathOf(L"gone"));
    EXPECT_EQ(log_->calls, Calls{L"RemoveRoot(A)"});
    EXPECT_EQ(first.SHItem(), nullptr);
    EXPECT_EQ(TreeOrder(), std::vector<std::wstring>{L"C"});

    // Once it resolves again it comes back at its place.
    log_->Clear();
    first.SetPath(PathOf(L"B"));
    EXPECT_EQ(log_->calls, Calls{L"InsertRoot(0,B,0x0,0x0)"});
    EXPECT_EQ(TreeOrder(), (std::vector<std::wstring>{L"B", L"C"}));
}

TEST_F(TreeRootsTest, RootTheTreeRefusedHasNoItemAndTakesNoPlace) {
    log_->results[L"AppendRoot"] = E_FAIL;
    TNamespaceTreeRoot& refused = AddRoot(L"A");
    EXPECT_EQ(refused.SHItem(), nullptr);
    log_->results.erase(L"AppendRoot");
    AddRoot(L"B");
    log_->Clear();
    refused.Reload();
    EXPECT_EQ(log_->calls, Calls{L"InsertRoot(0,A,0x0,0x0)"});
    EXPECT_EQ(TreeOrder(), (std::vector<std::wstring>{L"A", L"B"}));
}

TEST_F(TreeRootsTest, ClearingTheCollectionDoesNotTouchTheTree) {
    AddRoot(L"A");
    AddRoot(L"B");
    log_->Clear();
    Roots().Clear();
    EXPECT_TRUE(log_->calls.empty());
    EXPECT_EQ(Roots().Count(), 0);
}

TEST_F(TreeRootsTest, RootsWithoutTreeOnlyKeepTheirValuesUntilTheTreeIsCreated) {
    control_.DestroyHandle();
    log_->Clear();
    TNamespaceTreeRoot& root = AddRoot(L"A");
    root.SetFilters({shcontfFolders});
    Roots().Delete(0);
    AddRoot(L"B");
    EXPECT_TRUE(log_->calls.empty());
    EXPECT_EQ(Roots()[0].SHItem(), nullptr);
    control_.CreateHandle();
    EXPECT_EQ(TreeOrder(), std::vector<std::wstring>{L"B"});
}

TEST_F(TreeRootsTest, WatchingDependsOnDesignationAndOwner) {
    EXPECT_NE(AddRoot(L"A").RegistID(), 0u);

    TNamespaceTreeRoot& desktop = Roots().Add();
    desktop.SetPath(L"rfDesktop");
    EXPECT_EQ(desktop.RegistID(), 0u);
    EXPECT_NE(desktop.SHItem(), nullptr);
    // Only the exact spelling is the unwatched desktop.
    desktop.SetPath(L"RFDESKTOP");
    EXPECT_NE(desktop.RegistID(), 0u);

    TNamespaceTreeRoot& known = Roots().Add();
    known.SetPath(L"rfPersonal");
    EXPECT_NE(known.RegistID(), 0u);

    // A collection that belongs to no control reaches no tree and watches nothing.
    TNamespaceTreeRoots loose;
    TNamespaceTreeRoot& alone = loose.Add();
    alone.SetPath(PathOf(L"B"));
    EXPECT_EQ(alone.RegistID(), 0u);
    EXPECT_EQ(alone.SHItem(), nullptr);
    EXPECT_EQ(alone.Index(), 0);

    // Leaving the designation ends the watch.
    desktop.SetPath(L"");
    EXPECT_EQ(desktop.RegistID(), 0u);
}

TEST_F(TreeRootsTest, IndexOutOfRangeRaisesTheListError) {
    AddRoot(L"A");
    try {
        Roots().Delete(5);
        ADD_FAILURE() << "no error";
    } catch (const gui::UserError& error) {
        EXPECT_NE(error.Message().find(L"(5)"), std::wstring::npos);
    }
    EXPECT_THROW(Roots().Items(-1), gui::UserError);
    EXPECT_THROW(Roots().Insert(3), gui::UserError);
    EXPECT_THROW(Roots().Move(0, 1), gui::UserError);
    EXPECT_EQ(Roots().Count(), 1);
}

TEST_F(TreeRootsTest, NotificationMessageIsRegisteredUnderItsNameAndABadOneIsIgnored) {
    EXPECT_EQ(ChangeNotifyMsg(), ::RegisterWindowMessageW(L"TNamespaceTreeRoot SHChangeNotify Message"));
    TNamespaceTreeRoot& root = AddRoot(L"A");
    log_->Clear();
    // A handle the Shell never gave: the lock fails and nothing happens.
    ::SendMessageW(root.NotifyWindow(), ChangeNotifyMsg(), 0xBAD, ::GetCurrentProcessId());
    EXPECT_EQ(Roots().Count(), 1);
    EXPECT_EQ(root.Path(), PathOf(L"A"));
    EXPECT_TRUE(log_->calls.empty());
    // Other messages get the default handling.
    EXPECT_EQ(::SendMessageW(root.NotifyWindow(), WM_GETTEXTLENGTH, 0, 0), 0);
}

TEST(RootReaction, ExactEventCodesOnly) {
    struct Case {
        LONG event;
        RootReaction reaction;
    } cases[] = {
        {SHCNE_RENAMEITEM, RootReaction::FollowRename},
        {SHCNE_RENAMEFOLDER, RootReaction::FollowRename},
        {SHCNE_DELETE, RootReaction::RemoveSelf},
        {SHCNE_RMDIR, RootReaction::RemoveSelf},
        {SHCNE_DRIVEREMOVED, RootReaction::RemoveSelf},
        {SHCNE_UPDATEDIR, RootReaction::None},
        {SHCNE_CREATE, RootReaction::None},
        {SHCNE_RENAMEITEM | SHCNE_DELETE, RootReaction::None},
        {static_cast<LONG>(SHCNE_RMDIR | SHCNE_INTERRUPT), RootReaction::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReactionTo(c.event), c.reaction) << c.event;
}
