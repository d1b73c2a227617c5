#pragma once
// CPU time used by another process. Under Wine, GetProcessTimes answers the caller's own
// times for any process, so there the figures come from the Linux side: the newest
// process whose command line names the program, its user and system time in /proc
// (100 ticks a second).
#include <windows.h>

#include <algorithm>
#include <sstream>
#include <string>

inline double FileTimeMs(FILETIME f) {
    return static_cast<double>((ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000.0;
}

inline std::string ReadSmallFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    char buffer[4096];
    DWORD read = 0;
    std::string text;
    if (ReadFile(file, buffer, sizeof(buffer), &read, nullptr))
        text.assign(buffer, read);
    CloseHandle(file);
    return text;
}

// User and system time from a /proc/<pid>/stat file: fields 14 and 15, counted after the
// command name in parentheses; -1 when the file cannot be read.
inline double LinuxCpuMs(const std::wstring& statPath) {
    std::string stat = ReadSmallFile(statPath);
    size_t close = stat.rfind(')');
    if (close == std::string::npos || close + 2 > stat.size())
        return -1;
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    double ticks = 0;
    for (int n = 3; n <= 15 && fields >> field; ++n) {
        if (n >= 14)
            ticks += std::stod(field);
    }
    return ticks * 10.0;
}

// The stat file of the newest Linux process whose command line holds the program's
// Windows path ("Z:\...") or its Linux path, or nothing (not under Wine).
inline std::wstring LinuxStatOf(const std::wstring& windowsExe) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(L"Z:\\proc\\*", &found);
    if (find == INVALID_HANDLE_VALUE)
        return {};
    std::string windowsPath(windowsExe.begin(), windowsExe.end());
    std::string linuxPath = windowsPath.rfind("Z:", 0) == 0 ? windowsPath.substr(2) : windowsPath;
    std::replace(linuxPath.begin(), linuxPath.end(), '\\', '/');
    unsigned long newest = 0;
    do {
        std::wstring pid = found.cFileName;
        if (pid.empty() || pid.find_first_not_of(L"0123456789") != std::wstring::npos)
            continue;
        std::string command = ReadSmallFile(L"Z:\\proc\\" + pid + L"\\cmdline");
        if (command.find(windowsPath) != std::string::npos || command.find(linuxPath) != std::string::npos)
            newest = std::max(newest, std::stoul(pid));
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return newest == 0 ? std::wstring() : L"Z:\\proc\\" + std::to_wstring(newest) + L"\\stat";
}

// Reads one started program's CPU time, from /proc under Wine, else from the system.
class ProcessCpu {
public:
    ProcessCpu() = default;
    ProcessCpu(HANDLE process, const std::wstring& windowsExe)
        : process_(process), linuxStat_(LinuxStatOf(windowsExe)) {}

    double Ms() const {
        if (!linuxStat_.empty())
            return LinuxCpuMs(linuxStat_);
        FILETIME created, exited, kernel, user;
        if (process_ == nullptr || !GetProcessTimes(process_, &created, &exited, &kernel, &user))
            return -1;
        return FileTimeMs(kernel) + FileTimeMs(user);
    }
    bool FromLinuxSide() const { return !linuxStat_.empty(); }

private:
    HANDLE process_ = nullptr;
    std::wstring linuxStat_; // Z:\proc\<pid>\stat under Wine
};
