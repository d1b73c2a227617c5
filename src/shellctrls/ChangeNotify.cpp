#include "shellctrls/ChangeNotify.h"

#include "gui/Error.h"

namespace shellctrls {
namespace {

// Releases the Shell's lock on a notification whatever happens while it is held.
class NotificationLock {
public:
    explicit NotificationLock(HANDLE lock) : lock_(lock) {}
    NotificationLock(const NotificationLock&) = delete;
    NotificationLock& operator=(const NotificationLock&) = delete;
    ~NotificationLock() {
        if (lock_ != nullptr)
            ::SHChangeNotification_Unlock(lock_);
    }

private:
    HANDLE lock_;
};

shell::unique_pidl Clone(PCIDLIST_ABSOLUTE idList) {
    return shell::unique_pidl(idList != nullptr ? ILCloneFull(idList) : nullptr);
}

} // namespace

UINT ChangeNotifyMsg() {
    static UINT message = 0;
    if (message == 0) {
        message = ::RegisterWindowMessageW(kChangeNotifyMessageName);
        if (message == 0)
            throw gui::HResultError(HRESULT_FROM_WIN32(::GetLastError()));
    }
    return message;
}

ULONG RegisterChangeNotify(HWND window, PCIDLIST_ABSOLUTE folder) noexcept {
    if (window == nullptr || folder == nullptr)
        return 0;
    UINT message = 0;
    try {
        message = ChangeNotifyMsg();
    } catch (...) {
        return 0;
    }
    SHChangeNotifyEntry entry{folder, FALSE};
    return ::SHChangeNotifyRegister(window, kChangeNotifySources, kChangeNotifyEvents, message, 1, &entry);
}

void DeregisterChangeNotify(ULONG id) noexcept {
    if (id != 0)
        ::SHChangeNotifyDeregister(id);
}

std::optional<ChangeNotification> TakeChangeNotification(WPARAM wParam, LPARAM lParam) {
    PIDLIST_ABSOLUTE* idLists = nullptr;
    LONG event = 0;
    HANDLE lock = ::SHChangeNotification_Lock(reinterpret_cast<HANDLE>(wParam), static_cast<DWORD>(lParam),
                                              &idLists, &event);
    if (lock == nullptr)
        return std::nullopt;
    NotificationLock guard(lock);
    ChangeNotification notification;
    notification.event = event;
    if (idLists != nullptr) {
        notification.first = Clone(idLists[0]);
        notification.second = Clone(idLists[1]);
    }
    return notification;
}

RootReaction ReactionTo(LONG event) noexcept {
    switch (event) {
    case SHCNE_RENAMEITEM:
    case SHCNE_RENAMEFOLDER:
        return RootReaction::FollowRename;
    case SHCNE_DELETE:
    case SHCNE_RMDIR:
    case SHCNE_DRIVEREMOVED:
        return RootReaction::RemoveSelf;
    default:
        return RootReaction::None;
    }
}

} // namespace shellctrls
