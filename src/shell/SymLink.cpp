#include "shell/SymLink.h"

#include <cwchar>
#include <exception>
#include <iterator>

#include "gui/Handles.h"
#include "shell/ShellItems.h"

namespace shell {
namespace {

wchar_t AsciiUpper(wchar_t c) noexcept {
    return (c >= L'a' && c <= L'z') ? c - L'a' + L'A' : c;
}

// Device names are not case-sensitive.
bool StartsWithDevice(std::wstring_view path, std::wstring_view device) noexcept {
    if (device.empty() || path.size() < device.size())
        return false;
    for (size_t i = 0; i < device.size(); ++i)
        if (AsciiUpper(path[i]) != AsciiUpper(device[i]))
            return false;
    return path.size() == device.size() || path[device.size()] == L'\\' || device.back() == L'\\';
}

// GetFinalPathNameByHandleW, growing the buffer as long as the system asks for more.
std::wstring FinalPath(HANDLE file, DWORD flags) {
    std::wstring path(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD length = ::GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()), flags);
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.assign(length + 1, L'\0');
    }
    return {};
}

// A DOS path from the Win32 namespace form \\?\C:\... or \\?\UNC\server\share\...; empty for
// any other form.
std::wstring StripWin32Prefix(std::wstring path) {
    constexpr std::wstring_view kUnc = L"\\\\?\\UNC\\";
    constexpr std::wstring_view kLocal = L"\\\\?\\";
    if (path.compare(0, kUnc.size(), kUnc) == 0)
        return L"\\\\" + path.substr(kUnc.size());
    if (path.compare(0, kLocal.size(), kLocal) == 0 && path.size() >= kLocal.size() + 2 &&
        path[kLocal.size() + 1] == L':')
        return path.substr(kLocal.size());
    // Any other form (a volume GUID path) is no DOS path.
    return {};
}

bool Exists(const std::wstring& path) {
    // Beyond MAX_PATH the file functions need the Win32 namespace form.
    std::wstring name = path;
    if (name.size() >= MAX_PATH && name.compare(0, 2, L"\\\\") != 0)
        name = L"\\\\?\\" + name;
    return ::GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The DOS path of the object the link finally leads to; empty when it dangles.
std::wstring LinkTargetPath(const std::wstring& fileName) {
    // Opening without FILE_FLAG_OPEN_REPARSE_POINT follows the link; backup semantics
    // let a directory be opened at all.
    gui::unique_hfile file(::CreateFileW(fileName.c_str(), FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        return {};
    std::wstring target;
    const std::wstring devicePath = FinalPath(file.get(), FILE_NAME_NORMALIZED | VOLUME_NAME_NT);
    if (!devicePath.empty()) {
        if (std::optional<std::wstring> dosPath = DevicePathToDosPath(devicePath, QueryDosDeviceNames()))
            target = std::move(*dosPath);
    }
    // A volume without a drive letter (mounted in a folder) still has a DOS path.
    if (target.empty())
        target = StripWin32Prefix(FinalPath(file.get(), FILE_NAME_NORMALIZED | VOLUME_NAME_DOS));
    if (target.empty() || !Exists(target))
        return {};
    return target;
}

} // namespace

std::vector<DosDeviceName> QueryDosDeviceNames() {
    std::vector<DosDeviceName> names;
    wchar_t drives[512] = {};
    const DWORD length = ::GetLogicalDriveStringsW(static_cast<DWORD>(std::size(drives) - 1), drives);
    if (length == 0 || length >= std::size(drives))
        return names;
    for (const wchar_t* root = drives; *root != L'\0'; root += std::wcslen(root) + 1) {
        std::wstring drive(root);
        if (drive.size() < 2 || drive[1] != L':')
            continue;
        drive.resize(2);
        wchar_t device[MAX_PATH + 1] = {};
        // The first of the names QueryDosDeviceW lists is the one in use.
        if (::QueryDosDeviceW(drive.c_str(), device, MAX_PATH) == 0)
            continue;
        if (device[0] != L'\0')
            names.push_back({std::move(drive), device});
    }
    return names;
}

std::optional<std::wstring> DevicePathToDosPath(std::wstring_view devicePath,
                                                const std::vector<DosDeviceName>& devices) {
    for (const DosDeviceName& name : devices) {
        if (!StartsWithDevice(devicePath, name.device))
            continue;
        std::wstring_view rest = devicePath.substr(name.device.size());
        std::wstring path = name.drive;
        if (rest.empty() || rest.front() != L'\\')
            path += L'\\';
        path += rest;
        return path;
    }
    constexpr std::wstring_view kRedirector = L"\\Device\\Mup\\";
    if (devicePath.size() > kRedirector.size() && StartsWithDevice(devicePath, kRedirector))
        return L"\\\\" + std::wstring(devicePath.substr(kRedirector.size()));
    return std::nullopt;
}

bool GetSymLinkTarget(const std::wstring& fileName, unique_pidl& idList) {
    idList.reset();
    try {
        const DWORD attributes = ::GetFileAttributesW(fileName.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
            return false;
        const std::wstring target = LinkTargetPath(fileName);
        if (target.empty())
            return false;
        idList = ParseIDList(target);
        return static_cast<bool>(idList);
    } catch (const std::exception&) {
        idList.reset();
        return false;
    }
}

} // namespace shell
