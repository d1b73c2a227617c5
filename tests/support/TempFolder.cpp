#include "support/TempFolder.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <stdexcept>

#include "support/TestFiles.h"

namespace testing_support {
namespace {

std::wstring TempBase() {
    wchar_t folder[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, folder);
    std::wstring base = folder;
    if (!base.empty() && base.back() == L'\\')
        base.pop_back();
    // The long form, so that paths compare equal to the Shell's parsing names.
    wchar_t longBase[MAX_PATH + 1] = {};
    const DWORD length = ::GetLongPathNameW(base.c_str(), longBase, MAX_PATH);
    if (length != 0 && length <= MAX_PATH)
        base = longBase;
    return base;
}

// Wine reuses small process ids from run to run, so the name is made unique otherwise.
std::wstring UniqueName() {
    GUID guid{};
    ::CoCreateGuid(&guid);
    wchar_t text[40] = {};
    ::StringFromGUID2(guid, text, 40);
    return L"kestrav-test-" + std::wstring(text + 1, 8);
}

} // namespace

TempFolder::TempFolder() {
    const std::wstring base = TempBase();
    for (int attempt = 0; attempt < 10 && path_.empty(); ++attempt) {
        const std::wstring path = base + L"\\" + UniqueName();
        if (::CreateDirectoryW(path.c_str(), nullptr))
            path_ = path;
        else if (::GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    if (path_.empty())
        throw std::runtime_error("cannot create the temporary folder, error " +
                                 std::to_string(::GetLastError()));
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

std::wstring TempFolder::MakeFolder(const std::wstring& relative) const {
    const std::wstring full = Join(relative);
    if (!testing_support::MakeFolder(full))
        throw std::runtime_error("cannot create a folder in the temporary folder");
    return full;
}

std::wstring TempFolder::MakeFile(const std::wstring& relative) const {
    const std::wstring full = Join(relative);
    if (!testing_support::MakeFile(full, ""))
        throw std::runtime_error("cannot create a file in the temporary folder");
    return full;
}

std::vector<std::wstring> TempFolder::Entries() const {
    return EntriesOf(path_);
}

} // namespace testing_support
