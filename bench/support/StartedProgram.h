#pragma once
// A program the benchmarks start for their figures and end afterwards: its process, its
// first visible window of a class, how long that window took to show, and its CPU time.
#include <windows.h>

#include "support/BenchProcess.h"
#include "support/ProcessCpu.h"

#include <string>

struct StartedProgram {
    PROCESS_INFORMATION info{};
    HWND window = nullptr;
    double startMs = 0; // from starting the process to its window showing
    ProcessCpu cpu;

    StartedProgram(const std::wstring& exe, const wchar_t* className) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring command = L"\"" + exe + L"\"";
        double t0 = NowMs();
        if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &info))
            return;
        WaitFor([&] { return (window = VisibleWindowOf(info.dwProcessId, className)) != nullptr; }, 20000);
        startMs = NowMs() - t0;
        cpu = ProcessCpu(info.hProcess, exe);
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;
    ~StartedProgram() {
        if (info.hProcess == nullptr)
            return;
        if (window != nullptr)
            PostMessageW(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(info.hProcess, 5000) != WAIT_OBJECT_0)
            TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    double CpuMs() const { return cpu.Ms(); }
};
