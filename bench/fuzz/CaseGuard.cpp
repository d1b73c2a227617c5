#include "fuzz/CaseGuard.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <exception>

namespace fuzz {
namespace {

// Prepared when a case begins: the handlers below run with a broken stack or heap
// perhaps, so they only copy bytes and write them.
char gCaseText[96] = "between cases";
std::atomic<DWORD> gCaseStart{0};
std::atomic<bool> gCaseRunning{false};
std::atomic<bool> gEnding{false};
DWORD gLimitMs = 0;

void Append(char* line, size_t size, size_t& length, const char* text) {
    while (*text != '\0' && length + 1 < size)
        line[length++] = *text++;
    line[length] = '\0';
}

void AppendHex(char* line, size_t size, size_t& length, uint32_t value) {
    char digits[9];
    for (int i = 7; i >= 0; --i, value >>= 4)
        digits[i] = "0123456789abcdef"[value & 15];
    digits[8] = '\0';
    Append(line, size, length, digits);
}

// Writes "<case> FAIL: <why>[ code]" and ends the process; the first caller wins.
[[noreturn]] void Fail(const char* why, bool withCode = false, uint32_t code = 0) {
    if (!gEnding.exchange(true)) {
        char line[256];
        size_t length = 0;
        line[0] = '\0';
        Append(line, sizeof(line), length, gCaseText);
        Append(line, sizeof(line), length, " FAIL: ");
        Append(line, sizeof(line), length, why);
        if (withCode) {
            Append(line, sizeof(line), length, " (exception ");
            AppendHex(line, sizeof(line), length, code);
            Append(line, sizeof(line), length, ")");
        }
        Append(line, sizeof(line), length, "\n");
        DWORD written = 0;
        ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(length), &written, nullptr);
        ::FlushFileBuffers(::GetStdHandle(STD_OUTPUT_HANDLE));
        ::TerminateProcess(::GetCurrentProcess(), kCaseFailedExitCode);
    }
    for (;;)
        ::Sleep(INFINITE);
}

LONG WINAPI Unhandled(EXCEPTION_POINTERS* info) {
    Fail("crashed", true, info->ExceptionRecord->ExceptionCode);
}

// A stack overflow may leave too little stack for the unhandled filter; it is never a
// first-chance event anyone handles, so it is caught as it happens.
LONG WINAPI FirstChance(EXCEPTION_POINTERS* info) {
    if (info->ExceptionRecord->ExceptionCode == EXCEPTION_STACK_OVERFLOW)
        Fail("stack overflow", true, info->ExceptionRecord->ExceptionCode);
    return EXCEPTION_CONTINUE_SEARCH;
}

void Aborted(int) {
    Fail("aborted");
}

void Terminated() {
    // Where it came from, as offsets into the executable (addr2line -e bench_fuzz.exe
    // with the image base added gives the lines).
    void* frames[24];
    USHORT count = ::RtlCaptureStackBackTrace(0, 24, frames, nullptr);
    char line[24 * 20 + 16] = "stack:";
    size_t length = 6;
    auto base = reinterpret_cast<uintptr_t>(::GetModuleHandleW(nullptr));
    for (USHORT i = 0; i < count; ++i) {
        Append(line, sizeof(line), length, " +");
        AppendHex(line, sizeof(line), length,
                  static_cast<uint32_t>(reinterpret_cast<uintptr_t>(frames[i]) - base));
    }
    Append(line, sizeof(line), length, "\n");
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(length), &written, nullptr);
    Fail("uncaught C++ exception or std::terminate");
}

DWORD WINAPI Watch(void*) {
    for (;;) {
        ::Sleep(100);
        if (gCaseRunning.load() && ::GetTickCount() - gCaseStart.load() > gLimitMs)
            Fail("exceeded its time limit (hang)");
    }
}

} // namespace

void StartCaseGuard(DWORD caseLimitMs) {
    gLimitMs = caseLimitMs;
    ::SetUnhandledExceptionFilter(Unhandled);
    ::AddVectoredExceptionHandler(1, FirstChance);
    // Room for the handler when the stack overflows.
    ULONG reserve = 64 * 1024;
    ::SetThreadStackGuarantee(&reserve);
    std::signal(SIGABRT, Aborted);
    std::set_terminate(Terminated);
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    HANDLE thread = ::CreateThread(nullptr, 64 * 1024, Watch, nullptr, 0, nullptr);
    if (thread != nullptr)
        ::CloseHandle(thread);
}

void BeginCase(int number, uint64_t seed) {
    gCaseRunning = false;
    std::snprintf(gCaseText, sizeof(gCaseText), "case %d seed 0x%016llx", number,
                  static_cast<unsigned long long>(seed));
    gCaseStart = ::GetTickCount();
    gCaseRunning = true;
}

void EndCase() {
    gCaseRunning = false;
}

} // namespace fuzz
