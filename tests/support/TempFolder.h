#pragma once
// A folder of its own below the system's temporary folder for one test, removed with
// everything in it (read-only files too; links are removed, never followed) when the
// object goes.
#include <string>
#include <vector>

namespace testing_support {

class TempFolder {
public:
    // Throws std::runtime_error when the folder cannot be made.
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const noexcept { return path_; }
    // Path() + "\" + relative; both spellings are in use.
    std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }
    std::wstring File(const std::wstring& name) const { return *this / name; }
    std::wstring Join(const std::wstring& relative) const { return *this / relative; }
    // Make a folder (with its parents) or an empty file at a relative path and give its
    // full path; throw std::runtime_error when they cannot.
    std::wstring MakeFolder(const std::wstring& relative) const;
    std::wstring MakeFile(const std::wstring& relative) const;
    // Names of the files and folders directly inside, sorted.
    std::vector<std::wstring> Entries() const;

private:
    std::wstring path_;
};

} // namespace testing_support
