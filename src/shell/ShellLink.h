#pragma once
// Shell shortcut files (.lnk): a thin owner of the Shell's link object, and the
// target of a shortcut as an ID list.
#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <string>
#include <string_view>

#include "shell/ShellHandles.h"

namespace shell {

// Owns one link object (CLSID_ShellLink) through its IShellLinkW and IPersistFile.
// Each instance balances its own CoInitialize. Texts are read through buffers of
// MAX_PATH characters, so longer texts come back cut short.
class TShellLink {
public:
    // Creates a link object whose dialogs, if any, are owned by parent (0 for none).
    // Raises gui::HResultError when the object or either interface cannot be had.
    explicit TShellLink(HWND parent = nullptr);
    // Wraps an existing link object, which must also offer IPersistFile.
    TShellLink(HWND parent, Microsoft::WRL::ComPtr<IShellLinkW> link);
    ~TShellLink();
    TShellLink(const TShellLink&) = delete;
    TShellLink& operator=(const TShellLink&) = delete;

    // Load, Save and Resolve put the HRESULT of their call into the thread's last
    // error value and give true when it is S_OK.
    bool Load(const std::wstring& fileName, DWORD mode);
    // An empty file name saves to the file the link was loaded from.
    bool Save(const std::wstring& fileName, bool remember);
    bool Resolve(DWORD flags);
    // Load, then Resolve when the load succeeded.
    bool ResolvingLoad(const std::wstring& fileName, DWORD mode, DWORD flags);
    // Resolve, then Save when the resolve succeeded.
    bool ResolvingSave(const std::wstring& fileName, bool remember, DWORD flags);

    // The properties of the link; setters give whether the link object took the value.
    std::wstring Arguments() const;
    bool SetArguments(const std::wstring& value);
    std::wstring Description() const;
    bool SetDescription(const std::wstring& value);
    WORD Hotkey() const;
    bool SetHotkey(WORD value);
    std::wstring IconPath() const;
    bool SetIconPath(const std::wstring& value);
    int IconIndex() const;
    bool SetIconIndex(int value);
    // The target's ID list; nil when the link has none.
    unique_pidl IDList() const;
    bool SetIDList(PCIDLIST_ABSOLUTE value);
    // The target's path (SLGP_UNCPRIORITY).
    std::wstring TargetPath() const;
    bool SetTargetPath(const std::wstring& value);
    int ShowCmd() const;
    bool SetShowCmd(int value);
    std::wstring WorkingDirectory() const;
    bool SetWorkingDirectory(const std::wstring& value);

    HWND ParentWnd() const noexcept { return FParentWnd; }
    IShellLinkW* ShellLink() const noexcept { return FShellLink.Get(); }
    IPersistFile* PersistFile() const noexcept { return FPersistFile.Get(); }

private:
    // CoInitialize of the thread, undone when the link goes (after its interfaces).
    class ComInitialization {
    public:
        ComInitialization() noexcept : initialized_(SUCCEEDED(::CoInitialize(nullptr))) {}
        ~ComInitialization() {
            if (initialized_)
                ::CoUninitialize();
        }
        ComInitialization(const ComInitialization&) = delete;
        ComInitialization& operator=(const ComInitialization&) = delete;

    private:
        bool initialized_;
    };

    void TakePersistFile();
    void IconLocation(std::wstring& path, int& index) const;

    ComInitialization FComInitialization;
    HWND FParentWnd;
    Microsoft::WRL::ComPtr<IShellLinkW> FShellLink;
    Microsoft::WRL::ComPtr<IPersistFile> FPersistFile;
};

// Whether the file name's extension (from its last full stop after the last path
// delimiter) is ".lnk", ignoring the case of ASCII letters.
bool HasLinkExtension(std::wstring_view fileName) noexcept;

// The target of a shortcut file: loads and resolves it without any dialog (SLR_NO_UI,
// within the Shell's default time limit). False, and a nil list, when the name has
// no .lnk extension, the file cannot be read, the target cannot be resolved or the
// link gives no ID list; never raises.
bool GetLinkFileTarget(const std::wstring& fileName, unique_pidl& idList);

// GetLinkFileTarget's work on a given link object.
bool ReadLinkTarget(TShellLink& link, const std::wstring& fileName, unique_pidl& idList);

} // namespace shell
