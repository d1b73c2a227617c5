#pragma once
// The Linux side of Wine, for what tests cannot do through Win32 there: Wine's
// CreateSymbolicLinkW reports success but creates nothing, and its RemoveDirectoryW
// follows a link to a folder. Every function answers false or nothing on Windows.
#include <optional>
#include <string>

namespace testing_support {

// Whether the program runs under Wine, which exports its path conversions.
bool UnderWine();

// Wine's conversions between its drives and the Linux file system.
std::optional<std::string> UnixPath(const std::wstring& path);
std::optional<std::wstring> DosPath(const std::string& unixPath);

// Makes link a symbolic link to target (absolute paths) with ln -s. Wine then shows a
// link to a folder as a reparse point and one to a file as a plain file; it follows
// both. False where the link could not be made.
bool MakeLinkOnLinuxSide(const std::wstring& link, const std::wstring& target);

// Removes a file, link or folder tree with rm -rf: links themselves, never what they
// lead to; read-only files too. False when something is still there.
bool RemoveOnLinuxSide(const std::wstring& path);

} // namespace testing_support
