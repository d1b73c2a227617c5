#include "nav/ContextMenu.h"

#include "gui/Application.h"
#include "gui/Error.h"

#include <shlwapi.h>

#include <new>

namespace nav {
namespace {

struct EntryDefinition {
    const wchar_t* caption;
    int tag;
};

// Captions and tags by entry; a filter item's tag is the ordinal of the filter it switches.
constexpr EntryDefinition kEntries[kContextEntryCount] = {
    {L"新しいフレームで開く", 0}, {L"新しいルートで開く", 0}, {L"開く(&O)", 0},   {L"リンク先を開く", 0},
    {L"項目のフィルター", 0},     {L"フォルダ", 1},           {L"非フォルダ", 2}, {L"非表示を含める", 3},
    {L"システムを含める", 12},    {L"ツリーを削除", 0},
};

// Reports the exception being handled and gives the failure a COM method returns.
HRESULT ReportCurrentException() noexcept {
    HRESULT failure = gui::CurrentExceptionResult();
    try {
        gui::Application::Instance().HandleException();
    } catch (...) {
        // The reporter itself failed; the call still fails cleanly.
    }
    return failure;
}

void InsertItem(HMENU menu, UINT position, const gui::MenuItem& item, UINT id, HMENU submenu = nullptr) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | (submenu != nullptr ? MIIM_SUBMENU : 0);
    info.wID = id;
    info.dwTypeData = const_cast<wchar_t*>(item.Caption().c_str());
    info.fState = item.Checked() ? MFS_CHECKED : MFS_UNCHECKED;
    info.hSubMenu = submenu;
    ::InsertMenuItemW(menu, position, TRUE, &info);
}

void InsertSeparator(HMENU menu, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    info.fType = MFT_SEPARATOR;
    ::InsertMenuItemW(menu, position, TRUE, &info);
}

UINT EndOf(HMENU menu) {
    int count = ::GetMenuItemCount(menu);
    return count > 0 ? static_cast<UINT>(count) : 0;
}

} // namespace

std::optional<UINT> FindFreeCommandId(HMENU menu, UINT from, UINT to) {
    // 64 bits, so that a range ending at the largest id ends too.
    for (unsigned long long id = from; id <= to; ++id) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID;
        ::SetLastError(ERROR_SUCCESS);
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(id), FALSE, &info) &&
            ::GetLastError() == ERROR_MENU_ITEM_NOT_FOUND)
            return static_cast<UINT>(id);
    }
    return std::nullopt;
}

TPopupMenu::TPopupMenu() {
    for (const EntryDefinition& entry : kEntries)
        Add(entry.caption, entry.tag);
    for (int entry = ceFolders; entry <= ceIncludeSuperHidden; ++entry)
        Entry(static_cast<TContextEntry>(entry)).SetAutoCheck(true);
}

IFACEMETHODIMP TPopupMenu::QueryInterface(REFIID riid, void** ppv) {
    static const QITAB table[] = {
        QITABENT(TPopupMenu, IContextMenu),
        {nullptr, 0},
    };
    return ::QISearch(this, table, riid, ppv);
}

IFACEMETHODIMP TPopupMenu::QueryContextMenu(HMENU hmenu, UINT, UINT idCmdFirst, UINT idCmdLast, UINT uFlags) {
    if ((uFlags & CMF_DEFAULTONLY) != 0)
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    try {
        Merge(hmenu, idCmdFirst, idCmdLast);
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, EndOf(hmenu) & 0xFFFF);
    } catch (...) {
        return ReportCurrentException();
    }
}

void TPopupMenu::Merge(HMENU hmenu, UINT idCmdFirst, UINT idCmdLast) {
    if (hmenu == nullptr || !::IsMenu(hmenu))
        throw gui::HResultError(E_INVALIDARG);
    // Every visible entry asks for the next free id after the previous one found, so
    // that the ids stay consecutive wherever the menu leaves them free.
    std::array<std::optional<UINT>, kContextEntryCount> ids;
    std::array<int, kContextEntryCount> offsets;
    offsets.fill(-1);
    UINT from = idCmdFirst;
    bool exhausted = false;
    for (int entry = 0; entry < kContextEntryCount; ++entry) {
        if (exhausted || !Entry(static_cast<TContextEntry>(entry)).Visible())
            continue;
        ids[entry] = FindFreeCommandId(hmenu, from, idCmdLast);
        if (!ids[entry])
            continue;
        offsets[entry] = static_cast<int>(*ids[entry] - idCmdFirst);
        // No id is left after the last one.
        if (*ids[entry] == idCmdLast)
            exhausted = true;
        else
            from = *ids[entry] + 1;
    }
    offsets_ = offsets;

    // The commands go to the top of the Shell's menu, in fixed places.
    UINT position = 0;
    for (TContextEntry entry : {ceNewFrame, ceNewRoot}) {
        if (ids[entry])
            InsertItem(hmenu, position++, Entry(entry), *ids[entry]);
    }
    InsertSeparator(hmenu, position++);
    for (TContextEntry entry : {ceOpen, ceOpenTarget}) {
        if (ids[entry])
            InsertItem(hmenu, position++, Entry(entry), *ids[entry]);
    }

    if (ids[ceRootFilters]) {
        gui::unique_hmenu filters(::CreatePopupMenu());
        if (!filters)
            throw gui::HResultError(HRESULT_FROM_WIN32(::GetLastError()));
        for (int entry = ceFolders; entry <= ceIncludeSuperHidden; ++entry) {
            if (ids[entry])
                InsertItem(filters.get(), EndOf(filters.get()), Entry(static_cast<TContextEntry>(entry)),
                           *ids[entry]);
        }
        // The Shell's menu owns the submenu from here on.
        InsertItem(hmenu, EndOf(hmenu), RootFiltersMnu(), *ids[ceRootFilters], filters.release());
    }
    if (RemoveRootMnu().Enabled() && ids[ceRemoveRoot])
        InsertItem(hmenu, EndOf(hmenu), RemoveRootMnu(), *ids[ceRemoveRoot]);
}

std::optional<TContextEntry> TPopupMenu::EntryOfVerb(UINT offset) const {
    if (offsets_) {
        // The ids of the last merge, which need not be consecutive when the Shell's
        // menu already used some of them.
        for (int entry = 0; entry < kContextEntryCount; ++entry) {
            if ((*offsets_)[entry] >= 0 && static_cast<UINT>((*offsets_)[entry]) == offset)
                return static_cast<TContextEntry>(entry);
        }
        return std::nullopt;
    }
    // Without a merge, the offset counts the visible entries.
    unsigned n = (offset & 0xFFFF) + 1;
    for (int entry = 0; entry < kContextEntryCount; ++entry) {
        if (Entry(static_cast<TContextEntry>(entry)).Visible() && --n == 0)
            return static_cast<TContextEntry>(entry);
    }
    return std::nullopt;
}

void TPopupMenu::ClickEntry(TContextEntry entry) {
    if (entry == ceRootFilters)
        return;
    Entry(entry).Click();
}

IFACEMETHODIMP TPopupMenu::InvokeCommand(CMINVOKECOMMANDINFO* pici) {
    if (pici == nullptr)
        return E_INVALIDARG;
    auto verb = reinterpret_cast<UINT_PTR>(pici->lpVerb);
    // A verb given as text names none of these commands.
    if ((verb >> 16) != 0)
        return E_INVALIDARG;
    try {
        std::optional<TContextEntry> entry = EntryOfVerb(LOWORD(verb));
        if (!entry)
            return S_OK;
        if (OnCommandStart)
            OnCommandStart();
        try {
            ClickEntry(*entry);
        } catch (...) {
            if (OnCommandEnd)
                OnCommandEnd();
            throw;
        }
        if (OnCommandEnd)
            OnCommandEnd();
        return S_OK;
    } catch (...) {
        return ReportCurrentException();
    }
}

IFACEMETHODIMP TPopupMenu::GetCommandString(UINT_PTR, UINT, UINT*, CHAR*, UINT) {
    return E_NOTIMPL;
}

} // namespace nav
