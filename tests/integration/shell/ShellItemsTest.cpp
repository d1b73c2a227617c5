// The small shell operations and the module's start-up against the real Shell.
#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <string>

#include "ShellTestSupport.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "gui/Error.h"
#include "shell/RootDesignation.h"
#include "shell/ShellItems.h"
#include "shell/ShellModule.h"

namespace {

using Microsoft::WRL::ComPtr;

TEST(ShellItemsTest, ParseIDListRaisesTheSystemsError) {
    testing_support::TempFolder temp;
    const shell::unique_pidl parsed = shell::ParseIDList(temp.Path());
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(shelltest::SameIDList(parsed.get(), shell::RootToIDList(temp.Path()).get()));

    for (const std::wstring& name : {temp / L"missing", temp / L"bad<name>|"}) {
        try {
            shell::ParseIDList(name);
            ADD_FAILURE() << "no error for " << testing::PrintToString(name);
        } catch (const gui::HResultError& error) {
            EXPECT_TRUE(FAILED(error.Code()));
            EXPECT_EQ(error.Message(), gui::SystemMessage(static_cast<DWORD>(error.Code())));
        }
    }
    EXPECT_THROW(shell::ParseIDList(nullptr, L"C:\\"), gui::HResultError);
}

TEST(ShellItemsTest, ParseIDListBelowAFolderIsRelative) {
    testing_support::TempFolder temp;
    ASSERT_TRUE(testing_support::MakeFile(temp / L"child.txt"));
    ComPtr<IShellItem> folderItem = shell::RootToShellItem(temp.Path());
    ComPtr<IShellFolder> folder;
    ASSERT_TRUE(SUCCEEDED(folderItem->BindToHandler(nullptr, BHID_SFObject, IID_PPV_ARGS(&folder))));
    const shell::unique_relative_pidl child = shell::ParseIDList(folder.Get(), L"child.txt");
    ASSERT_TRUE(child);
    ComPtr<IShellItem> childItem;
    ASSERT_TRUE(SUCCEEDED(::SHCreateShellItem(nullptr, folder.Get(),
                                              reinterpret_cast<PCUITEMID_CHILD>(child.get()), &childItem)));
    EXPECT_EQ(shell::GetItemName(childItem.Get(), SIGDN_PARENTRELATIVEPARSING), L"child.txt");
}

TEST(ShellItemsTest, NamesAndComparisonsOfItems) {
    testing_support::TempFolder temp;
    ASSERT_TRUE(testing_support::MakeFolder(temp / L"名前"));
    ComPtr<IShellItem> item = shell::RootToShellItem(temp / L"名前");
    ComPtr<IShellItem> same = shell::RootToShellItem(temp / L"名前");
    ComPtr<IShellItem> other = shell::RootToShellItem(temp.Path());
    ASSERT_TRUE(item && same && other);
    EXPECT_EQ(shell::GetItemName(item.Get(), SIGDN_PARENTRELATIVEPARSING), L"名前");
    EXPECT_TRUE(shelltest::SamePath(shell::GetItemName(item.Get(), SIGDN_FILESYSPATH), temp / L"名前"));
    EXPECT_EQ(shell::GetItemName(nullptr, SIGDN_NORMALDISPLAY), L"");
    // A kind the Shell does not know fails, which gives the empty text.
    EXPECT_EQ(shell::GetItemName(item.Get(), static_cast<SIGDN>(0x12345)), L"");

    EXPECT_TRUE(shell::SameShellItem(item.Get(), same.Get()));
    EXPECT_FALSE(shell::SameShellItem(item.Get(), other.Get()));
    EXPECT_FALSE(shell::SameShellItem(item.Get(), nullptr));
    EXPECT_FALSE(shell::SameShellItem(nullptr, nullptr));
}

TEST(ShellItemsTest, DesktopItemIsTheRootOfTheNamespace) {
    ComPtr<IShellItem> desktop = shell::GetDesktopItem();
    ASSERT_TRUE(desktop);
    ComPtr<IShellItem> parent;
    EXPECT_FALSE(SUCCEEDED(desktop->GetParent(&parent)) && parent);
    const shell::unique_pidl idList = shell::GetDesktopIDList();
    ASSERT_TRUE(idList);
    EXPECT_EQ(idList.get()->mkid.cb, 0); // the empty list
}

TEST(ShellItemsTest, ModulesNest) {
    ASSERT_TRUE(shell::ShellModuleStarted());
    IShellFolder* desktop = shell::DesktopFolder();
    {
        shell::ShellModule inner;
        EXPECT_EQ(shell::DesktopFolder(), desktop);
    }
    // The outer module still holds the desktop folder.
    EXPECT_TRUE(shell::ShellModuleStarted());
    EXPECT_EQ(shell::DesktopFolder(), desktop);
}

} // namespace
