// Root designations against the real Shell: known folders by name, drives, plain and
// oddly named folders, and back from ID lists and items.
#include <windows.h>
#include <shlobj.h>
#include <knownfolders.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "shell/RootDesignation.h"
#include "shell/RootFolder.h"
#include "shell/RootFolderBatch.h"
#include "shell/ShellItems.h"
#include "shell/ShellModule.h"

namespace {

using Microsoft::WRL::ComPtr;
using shell::IDListToRoot;
using shell::RootToIDList;
using shell::unique_pidl;
using shelltest::SameIDList;

unique_pidl PlatformFolder(int csidl) {
    unique_pidl idList;
    if (FAILED(::SHGetFolderLocation(nullptr, csidl, nullptr, 0, idList.put())))
        idList.reset();
    return idList;
}

unique_pidl PlatformKnownFolder(REFKNOWNFOLDERID id) {
    unique_pidl idList;
    if (FAILED(::SHGetKnownFolderIDList(id, 0, nullptr, idList.put())))
        idList.reset();
    return idList;
}

// What the platform itself gives for each value's folder.
unique_pidl PlatformFolder(shell::TRootFolder folder) {
    const shell::TRootFolderID& id = shell::RootFolderIDs[folder];
    return id.folderID != nullptr ? PlatformKnownFolder(*id.folderID) : PlatformFolder(id.csidl);
}

TEST(RootDesignationTest, DesktopByAnyCaseOfItsName) {
    const unique_pidl desktop = shell::GetDesktopIDList();
    for (const wchar_t* name : {L"rfDesktop", L"RFDESKTOP", L"RfDeskTop"}) {
        const unique_pidl idList = RootToIDList(name);
        ASSERT_TRUE(idList) << name;
        EXPECT_TRUE(SameIDList(idList.get(), desktop.get())) << name;
    }
    EXPECT_EQ(IDListToRoot(desktop.get()), L"rfDesktop");
}

TEST(RootDesignationTest, NetHoodIsSpeltWithNf) {
    const unique_pidl netHood = PlatformFolder(CSIDL_NETHOOD);
    const unique_pidl byName = RootToIDList(L"nfNetHood");
    ASSERT_EQ(static_cast<bool>(byName), static_cast<bool>(netHood));
    if (netHood) {
        EXPECT_TRUE(SameIDList(byName.get(), netHood.get()));
    }
    // No value is called rfNetHood: the text is parsed as a name below the desktop,
    // where nothing is called so.
    EXPECT_FALSE(RootToIDList(L"rfNetHood"));
}

// Every value resolves exactly as the platform resolves its CSIDL or KNOWNFOLDERID, so a
// folder the system lacks (Wine lacks many of the newer ones) gives nil.
TEST(RootDesignationTest, EveryValueIsItsFolderOrNil) {
    int missing = 0;
    for (int i = 0; i < shell::kRootFolderCount; ++i) {
        const auto folder = static_cast<shell::TRootFolder>(i);
        const std::wstring name(shell::RootFolderName(folder));
        SCOPED_TRACE(testing::Message() << testing::PrintToString(name));
        const unique_pidl expected = PlatformFolder(folder);
        const unique_pidl actual = RootToIDList(name);
        ASSERT_EQ(static_cast<bool>(actual), static_cast<bool>(expected));
        if (expected) {
            EXPECT_TRUE(SameIDList(actual.get(), expected.get()));
        } else {
            ++missing;
        }
    }
    RecordProperty("MissingKnownFolders", missing);
}

// IDListToRoot gives the first value in ordinal order whose folder is the list, and a
// batch changes none of its answers.
TEST(RootDesignationTest, KnownFoldersGiveTheirFirstName) {
    std::vector<unique_pidl> folders;
    for (int i = 0; i < shell::kRootFolderCount; ++i)
        folders.push_back(PlatformFolder(static_cast<shell::TRootFolder>(i)));
    auto firstMatch = [&](int ordinal) {
        for (int j = 0; j < shell::kRootFolderCount; ++j)
            if (folders[j] && SameIDList(folders[ordinal].get(), folders[j].get()))
                return j;
        return -1;
    };

    std::vector<std::wstring> inBatch(shell::kRootFolderCount);
    {
        shell::TRootFolderBatch batch;
        for (int i = 0; i < shell::kRootFolderCount; ++i)
            if (folders[i])
                inBatch[i] = IDListToRoot(folders[i].get());
    }
    int checkedAlone = 0;
    for (int i = 0; i < shell::kRootFolderCount; ++i) {
        if (!folders[i])
            continue;
        SCOPED_TRACE(testing::Message() << "ordinal " << i);
        const int first = firstMatch(i);
        ASSERT_GE(first, 0);
        EXPECT_LE(first, i);
        EXPECT_EQ(inBatch[i], shell::RootFolderName(static_cast<shell::TRootFolder>(first)));
        // Without a batch every call resolves the folders afresh; a sample keeps this fast.
        if (i % 8 == 0 || first != i) {
            EXPECT_EQ(IDListToRoot(folders[i].get()), inBatch[i]);
            ++checkedAlone;
        }
    }
    EXPECT_GT(checkedAlone, 0);
}

TEST(RootDesignationTest, DriveWithoutBackslashIsItsRoot) {
    const unique_pidl drive = RootToIDList(L"C:");
    const unique_pidl root = RootToIDList(L"C:\\");
    ASSERT_TRUE(drive);
    ASSERT_TRUE(root);
    EXPECT_TRUE(SameIDList(drive.get(), root.get()));
    EXPECT_EQ(IDListToRoot(drive.get()), L"C:\\");
}

TEST(RootDesignationTest, PlainFoldersGiveTheirPath) {
    testing_support::TempFolder temp;
    const std::vector<std::wstring> names = {L"plain", L"日本語のフォルダ", L"with space, comma",
                                             L"it's {odd} [name]", L"trailing.dots.lnk"};
    for (const std::wstring& name : names) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(name));
        const std::wstring path = temp / name;
        ASSERT_TRUE(testing_support::MakeFolder(path));
        const unique_pidl idList = RootToIDList(path);
        ASSERT_TRUE(idList);
        const std::wstring root = IDListToRoot(idList.get());
        EXPECT_TRUE(shelltest::SamePath(root, path)) << testing::PrintToString(root);
        // The folder's own name comes back exactly as created.
        EXPECT_EQ(root.substr(root.size() - name.size()), name);
        // And the designation leads back to the same folder.
        const unique_pidl again = RootToIDList(root);
        EXPECT_TRUE(SameIDList(again.get(), idList.get()));
    }
}

TEST(RootDesignationTest, ShellItemsConvertBothWays) {
    testing_support::TempFolder temp;
    ComPtr<IShellItem> item = shell::RootToShellItem(temp.Path());
    ASSERT_TRUE(item);
    EXPECT_TRUE(shelltest::SamePath(shell::ShellItemToRoot(item.Get()), temp.Path()));

    ComPtr<IShellItem> desktop = shell::RootToShellItem(L"rfDesktop");
    ASSERT_TRUE(desktop);
    EXPECT_TRUE(shell::SameShellItem(desktop.Get(), shell::GetDesktopItem().Get()));
    EXPECT_EQ(shell::ShellItemToRoot(desktop.Get()), L"rfDesktop");

    EXPECT_FALSE(shell::RootToShellItem(L""));
    EXPECT_FALSE(shell::RootToShellItem(temp / L"missing"));
    EXPECT_EQ(shell::ShellItemToRoot(nullptr), L"");
    EXPECT_EQ(IDListToRoot(nullptr), L"");
}

TEST(RootDesignationTest, UnresolvableDesignationsGiveNil) {
    testing_support::TempFolder temp;
    ASSERT_TRUE(testing_support::MakeFolder(temp / L"exists"));
    std::wstring deep = temp.Path();
    while (deep.size() < 400)
        deep += L"\\abcdefghij";
    const std::vector<std::wstring> designations = {
        L"",
        temp / L"missing",
        temp / L"bad<name>|?*",
        std::wstring(256, L'r'),
        std::wstring(40000, L'x'),
        L"rf" + std::wstring(300, L'D'),
        deep,
        temp / L"exists" + std::wstring(1, L'\0') + L"hidden", // a NUL would cut the name short
        std::wstring(1, L'\0'),
        L"\\\\?\\",
    };
    for (const std::wstring& designation : designations) {
        SCOPED_TRACE(testing::Message() << "designation of length " << designation.size());
        EXPECT_FALSE(RootToIDList(designation));
        EXPECT_FALSE(shell::RootToShellItem(designation));
    }
}

} // namespace
