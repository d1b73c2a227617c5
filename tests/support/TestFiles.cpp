#include "support/TestFiles.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <stdexcept>

#include "support/LinuxSide.h"

namespace testing_support {
namespace {

void RemoveWithWin32(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        ::DeleteFileW(path.c_str()); // a dangling link
        return;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        WIN32_FIND_DATAW data;
        HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = data.cFileName;
                if (name != L"." && name != L"..")
                    RemoveWithWin32(path + L"\\" + name);
            } while (::FindNextFileW(find, &data));
            ::FindClose(find);
        }
    }
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    // On Windows both remove a link itself, never what it leads to.
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        ::RemoveDirectoryW(path.c_str());
    else
        ::DeleteFileW(path.c_str());
}

} // namespace

bool MakeFolder(const std::wstring& path) {
    const int result = ::SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS;
}

bool MakeFile(const std::wstring& path, const std::string& content) {
    HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok =
        ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
        written == content.size();
    ::CloseHandle(file);
    return ok;
}

void WriteBytes(const std::wstring& fileName, const std::string& bytes) {
    if (!MakeFile(fileName, bytes))
        throw std::runtime_error("cannot write file");
}

std::string ReadBytes(const std::wstring& fileName) {
    HANDLE file = ::CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open file");
    LARGE_INTEGER size{};
    BOOL ok = ::GetFileSizeEx(file, &size);
    std::string bytes(ok ? static_cast<size_t>(size.QuadPart) : 0, '\0');
    DWORD read = 0;
    ok = ok &&
         (bytes.empty() || ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr));
    ::CloseHandle(file);
    if (!ok || read != bytes.size())
        throw std::runtime_error("cannot read file");
    return bytes;
}

std::vector<std::wstring> EntriesOf(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

bool FileExists(const std::wstring& path) {
    // Unlike GetFileAttributesW, which follows a link, this sees a dangling one.
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    ::FindClose(find);
    return true;
}

void RemoveTree(const std::wstring& path) {
    if (!FileExists(path))
        return;
    // Under Wine, Win32 would remove what a link to a folder leads to and keep the link.
    if (UnderWine()) {
        RemoveOnLinuxSide(path);
        return;
    }
    RemoveWithWin32(path);
}

bool MakeSymbolicLink(const std::wstring& link, const std::wstring& target) {
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    DWORD flags = SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        flags |= SYMBOLIC_LINK_FLAG_DIRECTORY;
    // Windows before 10 refuses the unprivileged flag.
    if (::CreateSymbolicLinkW(link.c_str(), target.c_str(), flags) ||
        ::CreateSymbolicLinkW(link.c_str(), target.c_str(),
                              flags & ~SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE)) {
        if (IsReparsePoint(link))
            return true;
        RemoveTree(link); // whatever stands in for the link
    }
    return MakeLinkOnLinuxSide(link, target);
}

bool IsReparsePoint(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty())
        return {};
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                          nullptr);
    return bytes;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty())
        return {};
    int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

} // namespace testing_support
