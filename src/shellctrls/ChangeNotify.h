#pragma once
// The Shell's change notification as a root uses it: one registered window message,
// one registration per watched folder (new delivery), and the notifications as they
// arrive, copied out of the Shell's lock.
#include "shell/ShellHandles.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>

namespace shellctrls {

// The name under which the notification message is registered.
inline constexpr wchar_t kChangeNotifyMessageName[] = L"TNamespaceTreeRoot SHChangeNotify Message";

// SHCNRF_ShellLevel with SHCNRF_NewDelivery.
inline constexpr int kChangeNotifySources = 0x8002;
// SHCNE_RENAMEITEM, SHCNE_DELETE, SHCNE_RMDIR, SHCNE_DRIVEREMOVED and SHCNE_RENAMEFOLDER.
inline constexpr LONG kChangeNotifyEvents = 0x20095;

// The id of the notification message, registered on first use (once per process).
UINT ChangeNotifyMsg();

// Registers window for the changes of one folder (not recursive), delivered as
// ChangeNotifyMsg; 0 when the Shell refuses.
ULONG RegisterChangeNotify(HWND window, PCIDLIST_ABSOLUTE folder) noexcept;
void DeregisterChangeNotify(ULONG id) noexcept;

// One notification, with copies of its two ID lists (either may be nil).
struct ChangeNotification {
    LONG event = 0;
    shell::unique_pidl first;
    shell::unique_pidl second;
};

// The notification behind a ChangeNotifyMsg's parameters; none when the Shell's
// lock fails. The lock is released before this returns.
std::optional<ChangeNotification> TakeChangeNotification(WPARAM wParam, LPARAM lParam);

// What a root does about an event code (compared exactly, not as a mask).
enum class RootReaction { None, FollowRename, RemoveSelf };
RootReaction ReactionTo(LONG event) noexcept;

} // namespace shellctrls
