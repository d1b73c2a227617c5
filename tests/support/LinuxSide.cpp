#include "support/LinuxSide.h"

#include <windows.h>

#include <functional>

#include "support/TestFiles.h"

namespace testing_support {
namespace {

using WineUnixName = char*(__cdecl*)(const wchar_t*);
using WineDosName = wchar_t*(__cdecl*)(const char*);

// Null on Windows.
template <typename Function> Function WineExport(const char* name) {
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    return kernel != nullptr ? reinterpret_cast<Function>(::GetProcAddress(kernel, name)) : nullptr;
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
        std::wstring command = L"\"" + *shellProgram + L"\" \"" + FromUtf8(*unixScript) + L"\"";
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

} // namespace

bool UnderWine() {
    return WineExport<WineUnixName>("wine_get_unix_file_name") != nullptr;
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

std::optional<std::wstring> DosPath(const std::string& unixPath) {
    auto toDos = WineExport<WineDosName>("wine_get_dos_file_name");
    if (toDos == nullptr)
        return std::nullopt;
    wchar_t* name = toDos(unixPath.c_str());
    if (name == nullptr)
        return std::nullopt;
    std::wstring result = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

bool MakeLinkOnLinuxSide(const std::wstring& link, const std::wstring& target) {
    // ln would refuse a name in use, or make the link inside a folder of that name; and
    // the wait below would take the name for the link.
    if (FileExists(link))
        return false;
    std::optional<std::string> unixLink = UnixPath(link), unixTarget = UnixPath(target);
    if (!unixLink || !unixTarget)
        return false;
    return RunOnLinuxSide(link, "ln -s " + ShellQuoted(*unixTarget) + " " + ShellQuoted(*unixLink),
                          [&] { return FileExists(link); });
}

bool RemoveOnLinuxSide(const std::wstring& path) {
    std::optional<std::string> unixPath = UnixPath(path);
    if (!unixPath)
        return false;
    return RunOnLinuxSide(path, "rm -rf " + ShellQuoted(*unixPath), [&] { return !FileExists(path); });
}

} // namespace testing_support
