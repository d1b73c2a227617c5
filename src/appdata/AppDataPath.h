#pragma once
// Where the data file lives: a relative name below a shell folder, with the folders
// on the way created.
#include <string>

namespace appdata {

// Full path of RelName ("Dir\Sub\Name.ext") below the shell folder with CSIDL Folder.
// Creates the missing folders of the path; the file itself is not touched.
std::wstring SpecialFolderPath(int folder, const std::wstring& relName);

// SpecialFolderPath below the per-user roaming application-data folder.
std::wstring AppDataPath(const std::wstring& relName);

// The part of SpecialFolderPath after the folder query: Base\Dir\Name with Base\Dir
// created. Neither step reports failure; a folder that cannot be made surfaces later,
// when the file is written.
std::wstring PathBelow(const std::wstring& base, const std::wstring& relName);

} // namespace appdata
