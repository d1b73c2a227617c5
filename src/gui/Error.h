#pragma once
// Errors raised to the user carry their message; programming errors are CHECKed.
#include <windows.h>
#include <exception>
#include <string>

namespace gui {

// Base of every exception whose message a user may read.
class UserError : public std::exception {
public:
    explicit UserError(std::wstring message) : message_(std::move(message)) {}
    const std::wstring& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return "UserError"; }

private:
    std::wstring message_;
};

// A failed HRESULT, with the system's text for it.
class HResultError : public UserError {
public:
    explicit HResultError(HRESULT hr);
    HRESULT Code() const noexcept { return hr_; }

private:
    HRESULT hr_;
};

// The system's message text for an error code (HRESULT or Win32 error), without the
// trailing line break; a hexadecimal code when the system has no text.
std::wstring SystemMessage(DWORD code);

inline void ThrowIfFailed(HRESULT hr) {
    if (FAILED(hr)) throw HResultError(hr);
}

// The message of the exception being handled, for any exception type.
std::wstring CurrentExceptionMessage();

// The failure code a COM method returns for the exception being handled.
HRESULT CurrentExceptionResult() noexcept;

[[noreturn]] void CheckFailed(const char* expression, const char* file, int line);

} // namespace gui

#define CHECK(expression) \
    ((expression) ? static_cast<void>(0) : ::gui::CheckFailed(#expression, __FILE__, __LINE__))
