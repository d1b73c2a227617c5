#include "gui/Error.h"

#include <cstdio>
#include <cwchar>
#include <new>

namespace gui {

std::wstring SystemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length != 0 && buffer != nullptr) {
        text.assign(buffer, length);
        ::LocalFree(buffer);
        while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
            text.pop_back();
    }
    if (text.empty()) {
        wchar_t hex[32];
        std::swprintf(hex, 32, L"0x%08lX", static_cast<unsigned long>(code));
        text = hex;
    }
    return text;
}

HResultError::HResultError(HRESULT hr) : UserError(SystemMessage(static_cast<DWORD>(hr))), hr_(hr) {}

std::wstring CurrentExceptionMessage() {
    try {
        throw;
    } catch (const UserError& error) {
        return error.Message();
    } catch (const std::bad_alloc&) {
        return SystemMessage(static_cast<DWORD>(E_OUTOFMEMORY));
    } catch (const std::exception& error) {
        std::string narrow = error.what();
        return std::wstring(narrow.begin(), narrow.end());
    } catch (...) {
        return L"Unknown error";
    }
}

HRESULT CurrentExceptionResult() noexcept {
    try {
        throw;
    } catch (const HResultError& error) {
        return FAILED(error.Code()) ? error.Code() : E_FAIL;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

void CheckFailed(const char* expression, const char* file, int line) {
    wchar_t text[1024];
    std::swprintf(text, 1024, L"CHECK failed: %hs\n%hs(%d)", expression, file, line);
    ::OutputDebugStringW(text);
    std::fwprintf(stderr, L"%ls\n", text);
    std::fflush(stderr);
    ::ExitProcess(3);
}

} // namespace gui
