#pragma once
// A fresh folder under the temporary directory for one test, removed with everything
// in it (read-only files included) when the test ends; and whole-file helpers.
#include <windows.h>

#include <string>
#include <vector>

namespace appdata_test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const noexcept { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
    // Names of the files and folders directly inside, sorted.
    std::vector<std::wstring> Entries() const;

private:
    std::wstring path_;
};

std::string ReadBytes(const std::wstring& fileName);
void WriteBytes(const std::wstring& fileName, const std::string& bytes);
bool FileExists(const std::wstring& fileName);

// Makes link a symbolic link to target with the Linux side's ln (Wine follows such
// links); false where that cannot be done (not under Wine).
bool MakeLinkOnLinuxSide(const std::wstring& link, const std::wstring& target);
bool RemoveLinkOnLinuxSide(const std::wstring& link);

// UTF-8 of a wide text, for building expected file contents.
std::string Utf8(const std::wstring& text);

} // namespace appdata_test
