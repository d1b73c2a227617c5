#pragma once
// What the real-Shell tests of the shell helpers share: the module's start-up for the
// whole program, a temporary folder tree, and symbolic links.
#include <windows.h>
#include <shlobj.h>

#include <string>

namespace shelltest {

// A folder of its own below the system's temporary folder, removed with everything in
// it (links are removed, never followed) when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    // Path() + "\" + relative.
    std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

private:
    std::wstring path_;
};

// Creates a folder (and its parents) or a file with some content; false on failure.
bool MakeFolder(const std::wstring& path);
bool MakeFile(const std::wstring& path, const std::string& content = "content");

// Removes a file or folder tree; reparse points are removed, not followed.
void RemoveTree(const std::wstring& path);

// Makes a symbolic link at link to target (absolute paths). Windows makes it with
// CreateSymbolicLinkW when the account may. Wine reports success there but creates
// nothing, so under Wine the link is made on the Linux side with ln -s, which Wine
// then shows as a reparse point (a link to a folder; one to a file looks like a plain
// file there). False when neither works.
bool MakeSymbolicLink(const std::wstring& link, const std::wstring& target);

// Whether the file's attributes mark it as a reparse point.
bool IsReparsePoint(const std::wstring& path);

// Whether the desktop folder finds the two absolute ID lists equal.
bool SameIDList(PCIDLIST_ABSOLUTE a, PCIDLIST_ABSOLUTE b);

// Whether two file-system paths name the same file (letters compared without case).
bool SamePath(const std::wstring& a, const std::wstring& b);

} // namespace shelltest
