#pragma once
// Valid data files the mutations start from, written by the store itself so that they
// have exactly the layout of a file the program saved.
#include <string>
#include <vector>

namespace fuzz {

struct SeedFile {
    std::string name;
    std::string bytes;
};

// Writes each seed through the store at fileName (which names the document's root
// element, so it is the data file's own name) and keeps its bytes; removes the file.
std::vector<SeedFile> MakeSeeds(const std::wstring& fileName);

} // namespace fuzz
