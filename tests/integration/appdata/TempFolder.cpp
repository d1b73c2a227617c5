#include "TempFolder.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <optional>
#include <atomic>
#include <cwchar>
#include <stdexcept>

namespace appdata_test {
namespace {

void RemoveTree(const std::wstring& path) {
    std::vector<std::wstring> folders;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                folders.push_back(child);
            else
                ::DeleteFileW(child.c_str());
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    for (const std::wstring& folder : folders)
        RemoveTree(folder);
    ::RemoveDirectoryW(path.c_str());
}

using WineUnixName = char*(__cdecl*)(const wchar_t*);
using WineDosName = wchar_t*(__cdecl*)(const char*);

// Wine's conversions between its drives and the Linux file system; null on Windows.
template <typename Function> Function WineExport(const char* name) {
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    return kernel != nullptr ? reinterpret_cast<Function>(::GetProcAddress(kernel, name)) : nullptr;
}

std::optional<std::string> UnixPath(const std::wstring& path) {
    auto toUnix = WineExport<WineUnixName>("wine_get_unix_file_name");
    char* name = toUnix ? toUnix(path.c_str()) : nullptr;
    if (name == nullptr)
        return std::nullopt;
    std::string result = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

std::optional<std::wstring> DosPath(const char* unixPath) {
    auto toDos = WineExport<WineDosName>("wine_get_dos_file_name");
    wchar_t* name = toDos ? toDos(unixPath) : nullptr;
    if (name == nullptr)
        return std::nullopt;
    std::wstring result = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

std::wstring Widen(const std::string& text) {
    int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

} // namespace

namespace {

// Starts a Linux program with file arguments given by their Windows names, then waits
// (boundedly: Wine does not wait for Linux programs) until done() holds.
bool RunOnLinuxSide(const char* program, const std::wstring& options,
                    std::initializer_list<std::wstring> files, const std::function<bool()>& done) {
    std::optional<std::wstring> executable = DosPath(program);
    if (!executable)
        return false;
    std::wstring command = L"\"" + *executable + L"\" " + options;
    for (const std::wstring& file : files) {
        std::optional<std::string> unixName = UnixPath(file);
        if (!unixName)
            return false;
        command += L" \"" + Widen(*unixName) + L"\"";
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    for (int waited = 0; waited < 5000; waited += 10) {
        if (done())
            return true;
        ::Sleep(10);
    }
    return false;
}

} // namespace

bool MakeLinkOnLinuxSide(const std::wstring& link, const std::wstring& target) {
    return RunOnLinuxSide("/bin/ln", L"-s", {target, link}, [&] { return FileExists(link); });
}

bool RemoveLinkOnLinuxSide(const std::wstring& link) {
    // Wine's DeleteFileW removes the file a link names rather than the link.
    return RunOnLinuxSide("/bin/rm", L"-f", {link}, [&] { return !FileExists(link); });
}

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    wchar_t base[MAX_PATH + 1];
    ::GetTempPathW(MAX_PATH + 1, base);
    wchar_t name[64];
    std::swprintf(name, 64, L"kestrav-appdata-%lu-%lu-%u", ::GetCurrentProcessId(), ::GetTickCount(),
                  ++counter);
    path_ = std::wstring(base) + name;
    RemoveTree(path_);
    if (!::CreateDirectoryW(path_.c_str(), nullptr))
        throw std::runtime_error("cannot create temporary folder");
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

std::vector<std::wstring> TempFolder::Entries() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((path_ + L"\\*").c_str(), &data);
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

std::string ReadBytes(const std::wstring& fileName) {
    HANDLE file = ::CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open file");
    LARGE_INTEGER size{};
    ::GetFileSizeEx(file, &size);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    BOOL ok =
        bytes.empty() || ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    if (!ok || read != bytes.size())
        throw std::runtime_error("cannot read file");
    return bytes;
}

void WriteBytes(const std::wstring& fileName, const std::string& bytes) {
    HANDLE file = ::CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create file");
    DWORD written = 0;
    BOOL ok =
        bytes.empty() || ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    if (!ok || written != bytes.size())
        throw std::runtime_error("cannot write file");
}

bool FileExists(const std::wstring& fileName) {
    return ::GetFileAttributesW(fileName.c_str()) != INVALID_FILE_ATTRIBUTES;
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

} // namespace appdata_test
