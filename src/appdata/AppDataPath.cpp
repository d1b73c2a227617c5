#include "appdata/AppDataPath.h"

#include <windows.h>
#include <shlobj.h>

namespace appdata {
namespace {

bool DirectoryExists(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Creates Path and each missing parent. Paths longer than MAX_PATH get the \\?\ form,
// which CreateDirectoryW needs for them.
void ForceDirectories(std::wstring path) {
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
    if (path.empty() || DirectoryExists(path))
        return;
    size_t cut = path.find_last_of(L"\\/");
    if (cut != std::wstring::npos && cut > 0)
        ForceDirectories(path.substr(0, cut));
    std::wstring target = path;
    if (target.size() >= MAX_PATH - 12 && target.rfind(L"\\\\", 0) != 0 && target.size() > 2 && target[1] == L':')
        target = L"\\\\?\\" + target;
    ::CreateDirectoryW(target.c_str(), nullptr);
}

} // namespace

std::wstring PathBelow(const std::wstring& base, const std::wstring& relName) {
    size_t cut = relName.rfind(L'\\');
    std::wstring dir = cut == std::wstring::npos ? std::wstring() : relName.substr(0, cut);
    std::wstring name = cut == std::wstring::npos ? relName : relName.substr(cut + 1);
    std::wstring fullDir = dir.empty() ? base : base + L"\\" + dir;
    ForceDirectories(fullDir);
    return fullDir + L"\\" + name;
}

std::wstring SpecialFolderPath(int folder, const std::wstring& relName) {
    wchar_t base[MAX_PATH + 1] = {};
    // The result is not examined: an unknown folder leaves an empty base.
    ::SHGetSpecialFolderPathW(nullptr, base, folder, FALSE);
    return PathBelow(base, relName);
}

std::wstring AppDataPath(const std::wstring& relName) { return SpecialFolderPath(CSIDL_APPDATA, relName); }

} // namespace appdata
