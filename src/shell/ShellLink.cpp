#include "shell/ShellLink.h"

#include <cwchar>
#include <exception>

#include "gui/Error.h"
#include "shell/ShellConsts.h"

namespace shell {
namespace {

using Microsoft::WRL::ComPtr;

// A text getter's buffer, taken up to its first NUL; a failed call leaves it empty.
template <typename Getter> std::wstring ReadText(Getter getter) {
    wchar_t buffer[kLinkTextLength] = {};
    getter(buffer, kLinkTextLength);
    return std::wstring(buffer, ::wcsnlen(buffer, kLinkTextLength));
}

bool Report(HRESULT hr) {
    ::SetLastError(static_cast<DWORD>(hr));
    return hr == S_OK;
}

ComPtr<IShellLinkW> CreateLinkObject() {
    ComPtr<IShellLinkW> link;
    gui::ThrowIfFailed(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_PPV_ARGS(link.GetAddressOf())));
    if (!link)
        throw gui::HResultError(E_NOINTERFACE);
    return link;
}

} // namespace

TShellLink::TShellLink(HWND parent) : FParentWnd(parent) {
    FShellLink = CreateLinkObject();
    TakePersistFile();
}

TShellLink::TShellLink(HWND parent, ComPtr<IShellLinkW> link)
    : FParentWnd(parent), FShellLink(std::move(link)) {
    if (!FShellLink)
        throw gui::HResultError(E_POINTER);
    TakePersistFile();
}

TShellLink::~TShellLink() {
    FPersistFile.Reset();
    FShellLink.Reset();
}

void TShellLink::TakePersistFile() {
    gui::ThrowIfFailed(FShellLink.As(&FPersistFile));
    if (!FPersistFile)
        throw gui::HResultError(E_NOINTERFACE);
}

bool TShellLink::Load(const std::wstring& fileName, DWORD mode) {
    return Report(FPersistFile->Load(fileName.c_str(), mode));
}

bool TShellLink::Save(const std::wstring& fileName, bool remember) {
    // TRUE with all bits set, as the link object has always been given it.
    const BOOL rememberFlag = remember ? static_cast<BOOL>(~0) : FALSE;
    return Report(FPersistFile->Save(fileName.empty() ? nullptr : fileName.c_str(), rememberFlag));
}

bool TShellLink::Resolve(DWORD flags) {
    return Report(FShellLink->Resolve(FParentWnd, flags));
}

bool TShellLink::ResolvingLoad(const std::wstring& fileName, DWORD mode, DWORD flags) {
    return Load(fileName, mode) && Resolve(flags);
}

bool TShellLink::ResolvingSave(const std::wstring& fileName, bool remember, DWORD flags) {
    return Resolve(flags) && Save(fileName, remember);
}

std::wstring TShellLink::Arguments() const {
    return ReadText([&](wchar_t* buffer, int size) { FShellLink->GetArguments(buffer, size); });
}

bool TShellLink::SetArguments(const std::wstring& value) {
    return SUCCEEDED(FShellLink->SetArguments(value.c_str()));
}

std::wstring TShellLink::Description() const {
    return ReadText([&](wchar_t* buffer, int size) { FShellLink->GetDescription(buffer, size); });
}

bool TShellLink::SetDescription(const std::wstring& value) {
    return SUCCEEDED(FShellLink->SetDescription(value.c_str()));
}

WORD TShellLink::Hotkey() const {
    WORD value = 0;
    if (FAILED(FShellLink->GetHotkey(&value)))
        value = 0;
    return value;
}

bool TShellLink::SetHotkey(WORD value) {
    return SUCCEEDED(FShellLink->SetHotkey(value));
}

void TShellLink::IconLocation(std::wstring& path, int& index) const {
    index = 0;
    path = ReadText([&](wchar_t* buffer, int size) {
        if (FAILED(FShellLink->GetIconLocation(buffer, size, &index)))
            index = 0;
    });
}

std::wstring TShellLink::IconPath() const {
    std::wstring path;
    int index;
    IconLocation(path, index);
    return path;
}

bool TShellLink::SetIconPath(const std::wstring& value) {
    std::wstring path;
    int index;
    IconLocation(path, index);
    return SUCCEEDED(FShellLink->SetIconLocation(value.c_str(), index));
}

int TShellLink::IconIndex() const {
    std::wstring path;
    int index;
    IconLocation(path, index);
    return index;
}

bool TShellLink::SetIconIndex(int value) {
    std::wstring path;
    int index;
    IconLocation(path, index);
    return SUCCEEDED(FShellLink->SetIconLocation(path.c_str(), value));
}

unique_pidl TShellLink::IDList() const {
    unique_pidl idList;
    if (FAILED(FShellLink->GetIDList(idList.put())))
        idList.reset();
    return idList;
}

bool TShellLink::SetIDList(PCIDLIST_ABSOLUTE value) {
    return SUCCEEDED(FShellLink->SetIDList(value));
}

std::wstring TShellLink::TargetPath() const {
    return ReadText(
        [&](wchar_t* buffer, int size) { FShellLink->GetPath(buffer, size, nullptr, kLinkPathFlags); });
}

bool TShellLink::SetTargetPath(const std::wstring& value) {
    return SUCCEEDED(FShellLink->SetPath(value.c_str()));
}

int TShellLink::ShowCmd() const {
    int value = 0;
    if (FAILED(FShellLink->GetShowCmd(&value)))
        value = 0;
    return value;
}

bool TShellLink::SetShowCmd(int value) {
    return SUCCEEDED(FShellLink->SetShowCmd(value));
}

std::wstring TShellLink::WorkingDirectory() const {
    return ReadText([&](wchar_t* buffer, int size) { FShellLink->GetWorkingDirectory(buffer, size); });
}

bool TShellLink::SetWorkingDirectory(const std::wstring& value) {
    return SUCCEEDED(FShellLink->SetWorkingDirectory(value.c_str()));
}

bool HasLinkExtension(std::wstring_view fileName) noexcept {
    const size_t dot = fileName.find_last_of(L".\\/:");
    if (dot == std::wstring_view::npos || fileName[dot] != L'.')
        return false;
    const std::wstring_view extension = fileName.substr(dot);
    constexpr std::wstring_view kLink = L".lnk";
    if (extension.size() != kLink.size())
        return false;
    for (size_t i = 0; i < kLink.size(); ++i) {
        wchar_t c = extension[i];
        if (c >= L'A' && c <= L'Z')
            c = c - L'A' + L'a';
        if (c != kLink[i])
            return false;
    }
    return true;
}

bool ReadLinkTarget(TShellLink& link, const std::wstring& fileName, unique_pidl& idList) {
    idList.reset();
    if (!link.ResolvingLoad(fileName, STGM_READ, SLR_NO_UI))
        return false;
    // A link that resolves but names no location would hand the caller nothing to open.
    idList = link.IDList();
    return static_cast<bool>(idList);
}

bool GetLinkFileTarget(const std::wstring& fileName, unique_pidl& idList) {
    idList.reset();
    if (!HasLinkExtension(fileName))
        return false;
    try {
        TShellLink link(nullptr);
        return ReadLinkTarget(link, fileName, idList);
    } catch (const std::exception&) {
        idList.reset();
        return false;
    }
}

} // namespace shell
