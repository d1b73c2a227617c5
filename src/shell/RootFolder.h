#pragma once
// The known folders that a root designation may name, and the table that gives each
// its CSIDL or KNOWNFOLDERID.
#include <windows.h>
#include <shlobj.h>

#include <array>
#include <optional>
#include <string_view>

#include "shell/ShellHandles.h"

namespace shell {

// The value names are the vocabulary of root designations and are stored in data
// files: never rename, reorder or remove a value.
enum TRootFolder : int {
    rfDesktop,                // 0
    rfInternet,               // 1
    rfPrograms,               // 2
    rfControlPanel,           // 3
    rfPrinters,               // 4
    rfPersonal,               // 5
    rfFavorites,              // 6
    rfStartup,                // 7
    rfRecent,                 // 8
    rfSendTo,                 // 9
    rfRecycleBin,             // 10
    rfStartMenu,              // 11
    rfMyMusic,                // 12
    rfMyVideos,               // 13
    rfDesktopDirectory,       // 14
    rfMyComputer,             // 15
    rfNetwork,                // 16
    nfNetHood,                // 17
    rfFonts,                  // 18
    rfTemplates,              // 19
    rfCommonStartMenu,        // 20
    rfCommonPrograms,         // 21
    rfCommonStartup,          // 22
    rfCommonDesktopDirectory, // 23
    rfAppData,                // 24
    rfPrintHood,              // 25
    rfLocalAppData,           // 26
    rfAltStartup,             // 27
    rfCommonAltStartup,       // 28
    rfCommonFavorites,        // 29
    rfInternetCache,          // 30
    rfCookies,                // 31
    rfHistory,                // 32
    rfCommonAppdata,          // 33
    rfWindows,                // 34
    rfSystem,                 // 35
    rfProgramFiles,           // 36
    rfMyPictures,             // 37
    rfProfile,                // 38
    rfSystemX86,              // 39
    rfProgramFilesX86,        // 40
    rfProgramFilesCommon,     // 41
    rfProgramFilesCommonX86,  // 42
    rfCommonTemplates,        // 43
    rfCommonDocuments,        // 44
    rfCommonAdmintools,       // 45
    rfAdmintools,             // 46
    rfConnections,            // 47
    rfCommonMusic,            // 48
    rfCommonPictures,         // 49
    rfCommonVideo,            // 50
    rfResources,              // 51
    rfResourcesLocalized,     // 52
    rfCommonOEMLinks,         // 53
    rfCdburnArea,             // 54
    rfComputersNearMe,        // 55
    rfSyncManagerFolder,      // 56
    rfSyncSetupFolder,        // 57
    rfConflictFolder,         // 58
    rfSyncResultsFolder,      // 59
    rfLocalAppDataLow,        // 60
    rfProgramFilesX64,        // 61
    rfProgramFilesCommonX64,  // 62
    rfUserProgramFiles,       // 63
    rfUserProgramFilesCommon, // 64
    rfRingtones,              // 65
    rfPublicRingtones,        // 66
    rfUserProfiles,           // 67
    rfPlaylists,              // 68
    rfSamplePlaylists,        // 69
    rfSampleMusic,            // 70
    rfSamplePictures,         // 71
    rfSampleVideos,           // 72
    rfPhotoAlbums,            // 73
    rfPublic,                 // 74
    rfChangeRemovePrograms,   // 75
    rfAppUpdates,             // 76
    rfAddNewPrograms,         // 77
    rfDownloads,              // 78
    rfPublicDownloads,        // 79
    rfSavedSearches,          // 80
    rfQuickLaunch,            // 81
    rfContacts,               // 82
    rfSidebarParts,           // 83
    rfSidebarDefaultParts,    // 84
    rfPublicGameTasks,        // 85
    rfGameTasks,              // 86
    rfSavedGames,             // 87
    rfGames,                  // 88
    rfSearchMAPI,             // 89
    rfSearchCSC,              // 90
    rfLinks,                  // 91
    rfUsersFiles,             // 92
    rfUsersLibraries,         // 93
    rfSearchHome,             // 94
    rfOriginalImages,         // 95
    rfDocumentsLibrary,       // 96
    rfMusicLibrary,           // 97
    rfPicturesLibrary,        // 98
    rfVideosLibrary,          // 99
    rfRecordedTVLibrary,      // 100
    rfHomeGroup,              // 101
    rfDeviceMetadataStore,    // 102
    rfLibraries,              // 103
    rfPublicLibraries,        // 104
    rfUserPinned,             // 105
    rfImplicitAppShortcuts,   // 106
    rfAccountPictures,        // 107
    rfApplicationShortcuts,   // 108
    rfAppsFolder,             // 109
    rfCameraRoll,             // 110
    rfHomeGroupCurrentUser,   // 111
    rfPublicUserTiles,        // 112
    rfRoamedTileImages,       // 113
    rfRoamingTiles,           // 114
    rfScreenshots,            // 115
    rfSearchHistory,          // 116
    rfSearchTemplates,        // 117
    rfSkyDrive,               // 118
    rfSkyDriveCameraRoll,     // 119
    rfSkyDriveDocuments,      // 120
    rfSkyDrivePictures,       // 121
};

inline constexpr int kRootFolderCount = 122;
// Ordinals below this one stand for a CSIDL, the others for a KNOWNFOLDERID.
inline constexpr int kFirstKnownFolderID = rfSyncManagerFolder;

// The folder a TRootFolder value stands for: exactly one of the two is set.
struct TRootFolderID {
    int csidl;                     // -1 in the KNOWNFOLDERID half
    const KNOWNFOLDERID* folderID; // nullptr in the CSIDL half
};

extern const std::array<TRootFolderID, kRootFolderCount> RootFolderIDs;

// The value name of a TRootFolder ("rfDesktop", "nfNetHood", ...).
std::wstring_view RootFolderName(TRootFolder folder);

// The value whose name is the text, ignoring the case of ASCII letters; none for
// any other text, and always none for a text of 256 characters or more.
std::optional<TRootFolder> FindRootFolder(std::wstring_view name) noexcept;

// The absolute ID list of the folder on this system, or nil when the system does not
// have it (SHGetFolderLocation or SHGetKnownFolderIDList failed).
unique_pidl RootFolderToIDList(TRootFolder folder) noexcept;

} // namespace shell
