#include "ShellTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "shell/ShellModule.h"

namespace shelltest {
namespace {

// The shell helpers' start-up and shut-down around all tests, as the program entry does.
class ShellEnvironment : public testing::Environment {
public:
    void SetUp() override { module_.emplace(); }
    void TearDown() override { module_.reset(); }

private:
    std::optional<shell::ShellModule> module_;
};

[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new ShellEnvironment);

std::wstring UniqueTempName() {
    wchar_t folder[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, folder);
    std::wstring base = folder;
    if (!base.empty() && base.back() == L'\\')
        base.pop_back();
    // Wine reuses small process ids from run to run, so the name is made unique otherwise.
    GUID guid{};
    ::CoCreateGuid(&guid);
    wchar_t text[40] = {};
    ::StringFromGUID2(guid, text, 40);
    return base + L"\\kestrav-shell-" + std::wstring(text + 1, 8);
}

using WineUnixName = char*(__cdecl*)(const wchar_t*);
using WineDosName = wchar_t*(__cdecl*)(const char*);

// Wine's own conversions between its drives and the Linux file system; nil on Windows.
template <typename Function> Function WineExport(const char* name) {
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    return kernel != nullptr ? reinterpret_cast<Function>(::GetProcAddress(kernel, name)) : nullptr;
}

std::optional<std::string> UnixPath(const std::wstring& path) {
    auto toUnix = WineExport<WineUnixName>("wine_get_unix_file_name");
    if (toUnix == nullptr)
        return std::nullopt;
    char* name = toUnix(path.c_str());
    if (name == nullptr)
        return std::nullopt;
    std::string result = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

std::optional<std::wstring> DosPath(const char* unixPath) {
    auto toDos = WineExport<WineDosName>("wine_get_dos_file_name");
    if (toDos == nullptr)
        return std::nullopt;
    wchar_t* name = toDos(unixPath);
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

// Whether anything, even a dangling link, is there.
bool Exists(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    ::FindClose(find);
    return true;
}

bool HasReparseAttribute(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs shell commands on the Linux side and waits, for a bounded time, until done()
// holds. The commands go through a script file beside the path they work on: Wine
// hands a Linux program its command line in the locale's character set, which may not
// hold every name, while a file keeps the UTF-8 bytes Wine uses for Linux file names.
// Wine starts a Linux program without waiting for it (the handle it gives ends at
// once), hence the wait.
bool RunOnLinuxSide(const std::wstring& besidePath, const std::string& commands,
                    const std::function<bool()>& done) {
    std::optional<std::wstring> shellProgram = DosPath("/bin/sh");
    if (!shellProgram)
        return false;
    const std::wstring script = besidePath + L".kestrav.sh";
    if (!MakeFile(script, commands + "\n"))
        return false;
    std::optional<std::string> unixScript = UnixPath(script);
    bool started = false;
    if (unixScript) {
        std::wstring command = L"\"" + *shellProgram + L"\" \"" + Widen(*unixScript) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                   nullptr, nullptr, &startup, &process);
        if (started) {
            ::WaitForSingleObject(process.hProcess, 5000);
            ::CloseHandle(process.hThread);
            ::CloseHandle(process.hProcess);
        }
    }
    bool finished = false;
    for (int waited = 0; started && waited < 5000 && !finished; waited += 10) {
        finished = done();
        if (!finished)
            ::Sleep(10);
    }
    ::DeleteFileW(script.c_str());
    return finished;
}

bool MakeLinkOnLinuxSide(const std::wstring& link, const std::wstring& target) {
    std::optional<std::string> unixLink = UnixPath(link), unixTarget = UnixPath(target);
    if (!unixLink || !unixTarget)
        return false;
    return RunOnLinuxSide(link, "ln -s " + ShellQuoted(*unixTarget) + " " + ShellQuoted(*unixLink),
                          [&] { return Exists(link); });
}

// Wine's RemoveDirectoryW follows a link to a folder and removes the folder it leads
// to, leaving the link; rm removes links themselves.
bool RemoveOnLinuxSide(const std::wstring& path) {
    std::optional<std::string> unixPath = UnixPath(path);
    if (!unixPath)
        return false;
    return RunOnLinuxSide(path, "rm -rf " + ShellQuoted(*unixPath), [&] { return !Exists(path); });
}

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

TempFolder::TempFolder() : path_(UniqueTempName()) {
    RemoveTree(path_);
    if (!::CreateDirectoryW(path_.c_str(), nullptr))
        ADD_FAILURE() << "cannot create the temporary folder, error " << ::GetLastError();
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

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

void RemoveTree(const std::wstring& path) {
    if (!Exists(path))
        return;
    if (WineExport<WineUnixName>("wine_get_unix_file_name") != nullptr) {
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
        if (HasReparseAttribute(link))
            return true;
        RemoveTree(link); // whatever stands in for the link
    }
    return MakeLinkOnLinuxSide(link, target);
}

bool IsReparsePoint(const std::wstring& path) {
    return HasReparseAttribute(path);
}

bool SameIDList(PCIDLIST_ABSOLUTE a, PCIDLIST_ABSOLUTE b) {
    return a != nullptr && b != nullptr && shell::DesktopFolder()->CompareIDs(0, a, b) == S_OK;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

} // namespace shelltest
