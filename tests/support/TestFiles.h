#pragma once
// Files and folders that real-file tests make, read and remove, and symbolic links.
#include <string>
#include <vector>

namespace testing_support {

// Creates a folder (and its parents) or a file with some content; false on failure.
bool MakeFolder(const std::wstring& path);
bool MakeFile(const std::wstring& path, const std::string& content = "content");

// The same as MakeFile and a whole file's bytes, throwing std::runtime_error on failure.
void WriteBytes(const std::wstring& fileName, const std::string& bytes);
std::string ReadBytes(const std::wstring& fileName);

// Whether anything, a folder or a link too (even a dangling one), has that name.
bool FileExists(const std::wstring& path);

// Names of the files and folders directly inside a folder, sorted; none when it cannot
// be read.
std::vector<std::wstring> EntriesOf(const std::wstring& folder);

// Removes a file or folder tree with read-only files in it; links are removed, never
// followed.
void RemoveTree(const std::wstring& path);

// Makes a symbolic link at link to target (absolute paths). Windows makes it with
// CreateSymbolicLinkW when the account may. Wine reports success there but creates
// nothing, so under Wine the link is made on the Linux side with ln -s, which Wine
// then shows as a reparse point (a link to a folder; one to a file looks like a plain
// file there). False when neither works.
bool MakeSymbolicLink(const std::wstring& link, const std::wstring& target);

// Whether the file's attributes mark it as a reparse point.
bool IsReparsePoint(const std::wstring& path);

// UTF-8 of a wide text (for expected file contents) and back.
std::string Utf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

} // namespace testing_support
