// The known-folder table against the platform's own constants: every value's ordinal,
// name and CSIDL or KNOWNFOLDERID, and the lookup of designations by name.
#include <windows.h>
#include <shlobj.h>
#include <knownfolders.h>

#include <gtest/gtest.h>

#include <string>

#include "shell/RootFolder.h"

namespace {

using shell::FindRootFolder;
using shell::RootFolderIDs;
using shell::RootFolderName;
using shell::TRootFolder;

struct CsidlRow {
    int ordinal;
    const wchar_t* name;
    int csidl;      // the SDK's constant
    int csidlValue; // its value, written out
};

const CsidlRow kCsidlRows[] = {
    {0, L"rfDesktop", CSIDL_DESKTOP, 0x00},
    {1, L"rfInternet", CSIDL_INTERNET, 0x01},
    {2, L"rfPrograms", CSIDL_PROGRAMS, 0x02},
    {3, L"rfControlPanel", CSIDL_CONTROLS, 0x03},
    {4, L"rfPrinters", CSIDL_PRINTERS, 0x04},
    {5, L"rfPersonal", CSIDL_PERSONAL, 0x05},
    {6, L"rfFavorites", CSIDL_FAVORITES, 0x06},
    {7, L"rfStartup", CSIDL_STARTUP, 0x07},
    {8, L"rfRecent", CSIDL_RECENT, 0x08},
    {9, L"rfSendTo", CSIDL_SENDTO, 0x09},
    {10, L"rfRecycleBin", CSIDL_BITBUCKET, 0x0A},
    {11, L"rfStartMenu", CSIDL_STARTMENU, 0x0B},
    {12, L"rfMyMusic", CSIDL_MYMUSIC, 0x0D},
    {13, L"rfMyVideos", CSIDL_MYVIDEO, 0x0E},
    {14, L"rfDesktopDirectory", CSIDL_DESKTOPDIRECTORY, 0x10},
    {15, L"rfMyComputer", CSIDL_DRIVES, 0x11},
    {16, L"rfNetwork", CSIDL_NETWORK, 0x12},
    {17, L"nfNetHood", CSIDL_NETHOOD, 0x13},
    {18, L"rfFonts", CSIDL_FONTS, 0x14},
    {19, L"rfTemplates", CSIDL_TEMPLATES, 0x15},
    {20, L"rfCommonStartMenu", CSIDL_COMMON_STARTMENU, 0x16},
    {21, L"rfCommonPrograms", CSIDL_COMMON_PROGRAMS, 0x17},
    {22, L"rfCommonStartup", CSIDL_COMMON_STARTUP, 0x18},
    {23, L"rfCommonDesktopDirectory", CSIDL_COMMON_DESKTOPDIRECTORY, 0x19},
    {24, L"rfAppData", CSIDL_APPDATA, 0x1A},
    {25, L"rfPrintHood", CSIDL_PRINTHOOD, 0x1B},
    {26, L"rfLocalAppData", CSIDL_LOCAL_APPDATA, 0x1C},
    {27, L"rfAltStartup", CSIDL_ALTSTARTUP, 0x1D},
    {28, L"rfCommonAltStartup", CSIDL_COMMON_ALTSTARTUP, 0x1E},
    {29, L"rfCommonFavorites", CSIDL_COMMON_FAVORITES, 0x1F},
    {30, L"rfInternetCache", CSIDL_INTERNET_CACHE, 0x20},
    {31, L"rfCookies", CSIDL_COOKIES, 0x21},
    {32, L"rfHistory", CSIDL_HISTORY, 0x22},
    {33, L"rfCommonAppdata", CSIDL_COMMON_APPDATA, 0x23},
    {34, L"rfWindows", CSIDL_WINDOWS, 0x24},
    {35, L"rfSystem", CSIDL_SYSTEM, 0x25},
    {36, L"rfProgramFiles", CSIDL_PROGRAM_FILES, 0x26},
    {37, L"rfMyPictures", CSIDL_MYPICTURES, 0x27},
    {38, L"rfProfile", CSIDL_PROFILE, 0x28},
    {39, L"rfSystemX86", CSIDL_SYSTEMX86, 0x29},
    {40, L"rfProgramFilesX86", CSIDL_PROGRAM_FILESX86, 0x2A},
    {41, L"rfProgramFilesCommon", CSIDL_PROGRAM_FILES_COMMON, 0x2B},
    {42, L"rfProgramFilesCommonX86", CSIDL_PROGRAM_FILES_COMMONX86, 0x2C},
    {43, L"rfCommonTemplates", CSIDL_COMMON_TEMPLATES, 0x2D},
    {44, L"rfCommonDocuments", CSIDL_COMMON_DOCUMENTS, 0x2E},
    {45, L"rfCommonAdmintools", CSIDL_COMMON_ADMINTOOLS, 0x2F},
    {46, L"rfAdmintools", CSIDL_ADMINTOOLS, 0x30},
    {47, L"rfConnections", CSIDL_CONNECTIONS, 0x31},
    {48, L"rfCommonMusic", CSIDL_COMMON_MUSIC, 0x35},
    {49, L"rfCommonPictures", CSIDL_COMMON_PICTURES, 0x36},
    {50, L"rfCommonVideo", CSIDL_COMMON_VIDEO, 0x37},
    {51, L"rfResources", CSIDL_RESOURCES, 0x38},
    {52, L"rfResourcesLocalized", CSIDL_RESOURCES_LOCALIZED, 0x39},
    {53, L"rfCommonOEMLinks", CSIDL_COMMON_OEM_LINKS, 0x3A},
    {54, L"rfCdburnArea", CSIDL_CDBURN_AREA, 0x3B},
    {55, L"rfComputersNearMe", CSIDL_COMPUTERSNEARME, 0x3D},
};

struct KnownFolderRow {
    int ordinal;
    const wchar_t* name;
    const KNOWNFOLDERID* folderID;
};

const KnownFolderRow kKnownFolderRows[] = {
    {56, L"rfSyncManagerFolder", &FOLDERID_SyncManagerFolder},
    {57, L"rfSyncSetupFolder", &FOLDERID_SyncSetupFolder},
    {58, L"rfConflictFolder", &FOLDERID_ConflictFolder},
    {59, L"rfSyncResultsFolder", &FOLDERID_SyncResultsFolder},
    {60, L"rfLocalAppDataLow", &FOLDERID_LocalAppDataLow},
    {61, L"rfProgramFilesX64", &FOLDERID_ProgramFilesX64},
    {62, L"rfProgramFilesCommonX64", &FOLDERID_ProgramFilesCommonX64},
    {63, L"rfUserProgramFiles", &FOLDERID_UserProgramFiles},
    {64, L"rfUserProgramFilesCommon", &FOLDERID_UserProgramFilesCommon},
    {65, L"rfRingtones", &FOLDERID_Ringtones},
    {66, L"rfPublicRingtones", &FOLDERID_PublicRingtones},
    {67, L"rfUserProfiles", &FOLDERID_UserProfiles},
    {68, L"rfPlaylists", &FOLDERID_Playlists},
    {69, L"rfSamplePlaylists", &FOLDERID_SamplePlaylists},
    {70, L"rfSampleMusic", &FOLDERID_SampleMusic},
    {71, L"rfSamplePictures", &FOLDERID_SamplePictures},
    {72, L"rfSampleVideos", &FOLDERID_SampleVideos},
    {73, L"rfPhotoAlbums", &FOLDERID_PhotoAlbums},
    {74, L"rfPublic", &FOLDERID_Public},
    {75, L"rfChangeRemovePrograms", &FOLDERID_ChangeRemovePrograms},
    {76, L"rfAppUpdates", &FOLDERID_AppUpdates},
    {77, L"rfAddNewPrograms", &FOLDERID_AddNewPrograms},
    {78, L"rfDownloads", &FOLDERID_Downloads},
    {79, L"rfPublicDownloads", &FOLDERID_PublicDownloads},
    {80, L"rfSavedSearches", &FOLDERID_SavedSearches},
    {81, L"rfQuickLaunch", &FOLDERID_QuickLaunch},
    {82, L"rfContacts", &FOLDERID_Contacts},
    {83, L"rfSidebarParts", &FOLDERID_SidebarParts},
    {84, L"rfSidebarDefaultParts", &FOLDERID_SidebarDefaultParts},
    {85, L"rfPublicGameTasks", &FOLDERID_PublicGameTasks},
    {86, L"rfGameTasks", &FOLDERID_GameTasks},
    {87, L"rfSavedGames", &FOLDERID_SavedGames},
    {88, L"rfGames", &FOLDERID_Games},
    {89, L"rfSearchMAPI", &FOLDERID_SEARCH_MAPI},
    {90, L"rfSearchCSC", &FOLDERID_SEARCH_CSC},
    {91, L"rfLinks", &FOLDERID_Links},
    {92, L"rfUsersFiles", &FOLDERID_UsersFiles},
    {93, L"rfUsersLibraries", &FOLDERID_UsersLibraries},
    {94, L"rfSearchHome", &FOLDERID_SearchHome},
    {95, L"rfOriginalImages", &FOLDERID_OriginalImages},
    {96, L"rfDocumentsLibrary", &FOLDERID_DocumentsLibrary},
    {97, L"rfMusicLibrary", &FOLDERID_MusicLibrary},
    {98, L"rfPicturesLibrary", &FOLDERID_PicturesLibrary},
    {99, L"rfVideosLibrary", &FOLDERID_VideosLibrary},
    {100, L"rfRecordedTVLibrary", &FOLDERID_RecordedTVLibrary},
    {101, L"rfHomeGroup", &FOLDERID_HomeGroup},
    {102, L"rfDeviceMetadataStore", &FOLDERID_DeviceMetadataStore},
    {103, L"rfLibraries", &FOLDERID_Libraries},
    {104, L"rfPublicLibraries", &FOLDERID_PublicLibraries},
    {105, L"rfUserPinned", &FOLDERID_UserPinned},
    {106, L"rfImplicitAppShortcuts", &FOLDERID_ImplicitAppShortcuts},
    {107, L"rfAccountPictures", &FOLDERID_AccountPictures},
    {108, L"rfApplicationShortcuts", &FOLDERID_ApplicationShortcuts},
    {109, L"rfAppsFolder", &FOLDERID_AppsFolder},
    {110, L"rfCameraRoll", &FOLDERID_CameraRoll},
    {111, L"rfHomeGroupCurrentUser", &FOLDERID_HomeGroupCurrentUser},
    {112, L"rfPublicUserTiles", &FOLDERID_PublicUserTiles},
    {113, L"rfRoamedTileImages", &FOLDERID_RoamedTileImages},
    {114, L"rfRoamingTiles", &FOLDERID_RoamingTiles},
    {115, L"rfScreenshots", &FOLDERID_Screenshots},
    {116, L"rfSearchHistory", &FOLDERID_SearchHistory},
    {117, L"rfSearchTemplates", &FOLDERID_SearchTemplates},
    {118, L"rfSkyDrive", &FOLDERID_SkyDrive},
    {119, L"rfSkyDriveCameraRoll", &FOLDERID_SkyDriveCameraRoll},
    {120, L"rfSkyDriveDocuments", &FOLDERID_SkyDriveDocuments},
    {121, L"rfSkyDrivePictures", &FOLDERID_SkyDrivePictures},
};

TEST(RootFolderTableTest, EveryValueHasItsNameAndFolder) {
    ASSERT_EQ(std::size(kCsidlRows) + std::size(kKnownFolderRows),
              static_cast<size_t>(shell::kRootFolderCount));
    ASSERT_EQ(std::size(kCsidlRows), static_cast<size_t>(shell::kFirstKnownFolderID));
    for (const CsidlRow& row : kCsidlRows) {
        SCOPED_TRACE(testing::Message() << "ordinal " << row.ordinal);
        const auto folder = static_cast<TRootFolder>(row.ordinal);
        EXPECT_EQ(RootFolderName(folder), row.name);
        EXPECT_EQ(row.csidl, row.csidlValue);
        EXPECT_EQ(RootFolderIDs[row.ordinal].csidl, row.csidl);
        EXPECT_EQ(RootFolderIDs[row.ordinal].folderID, nullptr);
    }
    for (const KnownFolderRow& row : kKnownFolderRows) {
        SCOPED_TRACE(testing::Message() << "ordinal " << row.ordinal);
        const auto folder = static_cast<TRootFolder>(row.ordinal);
        EXPECT_EQ(RootFolderName(folder), row.name);
        EXPECT_EQ(RootFolderIDs[row.ordinal].csidl, -1);
        ASSERT_NE(RootFolderIDs[row.ordinal].folderID, nullptr);
        EXPECT_TRUE(IsEqualGUID(*RootFolderIDs[row.ordinal].folderID, *row.folderID));
    }
}

TEST(RootFolderTableTest, EveryNameFindsItsValue) {
    for (const CsidlRow& row : kCsidlRows)
        EXPECT_EQ(FindRootFolder(row.name), static_cast<TRootFolder>(row.ordinal));
    for (const KnownFolderRow& row : kKnownFolderRows)
        EXPECT_EQ(FindRootFolder(row.name), static_cast<TRootFolder>(row.ordinal));
}

TEST(RootFolderTableTest, NamesIgnoreOnlyTheCaseOfAsciiLetters) {
    struct Case {
        std::wstring text;
        std::optional<TRootFolder> expected;
    };
    const Case cases[] = {
        {L"rfDesktop", shell::rfDesktop},
        {L"RFDESKTOP", shell::rfDesktop},
        {L"RfDeskTop", shell::rfDesktop},
        {L"nfNetHood", shell::nfNetHood},
        {L"NFNETHOOD", shell::nfNetHood},
        {L"rfNetHood", std::nullopt}, // value 17 is spelt with nf
        {L"rfSkyDrivePictures", shell::rfSkyDrivePictures},
        {L"", std::nullopt},
        {L"rf", std::nullopt},
        {L"rfDesktop ", std::nullopt},
        {L" rfDesktop", std::nullopt},
        {L"rfDesktopDirectoryX", std::nullopt},
        {L"rfDes\u212Atop", std::nullopt},      // KELVIN SIGN folds to k only outside ASCII rules
        {L"\uFF52\uFF46Desktop", std::nullopt}, // full-width letters
        {std::wstring(L"rfDesktop\0", 10), std::nullopt},
        {L"C:\\", std::nullopt},
        {std::wstring(300, L'a'), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text of length " << c.text.size());
        EXPECT_EQ(FindRootFolder(c.text), c.expected);
    }
}

} // namespace
