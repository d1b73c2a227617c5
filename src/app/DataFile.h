#pragma once
// The program's data file: named after the executable, below the roaming AppData folder.
#include <string>

namespace app {

// "Tamberlow\Kestrav\" + the executable's file name with its last extension replaced
// by ".xml" (a name without extension gets ".xml" appended).
std::wstring DataFileRelativeName(const std::wstring& exeFileName);

// The full path of the data file, computed once (creating its folders) before the
// main window exists.
const std::wstring& DataFileName();

// Points the process at another data file. Test programs call it before any window
// exists, so that they never read or write the user's own file.
void SetDataFileName(const std::wstring& fileName);

// Where a data file that could not be loaded whole is kept before a save replaces it.
std::wstring BrokenFileName(const std::wstring& fileName);

} // namespace app
