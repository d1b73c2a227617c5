#pragma once
// One case fed to the real loader: the bytes become the data file, the edge window is
// made over it, left to settle, then ended. Then once more, saved, and loaded again.
// What must hold:
//  - the window comes up with at least one frame and at most one message, never empty;
//  - the file is byte for byte as written until something is saved;
//  - a save after a load that reported an error keeps the bytes beside as .broken
//    first, and one after a clean load keeps nothing beside;
//  - what was saved loads again without a message, and no temporary file is left.
#include <string>
#include <vector>

namespace fuzz {

struct CaseOutcome {
    std::vector<std::string> failures; // empty when every check held
    std::wstring message;              // what the first load reported (empty if nothing)
    size_t frames = 0;                 // the frames the first load gave
};

// Runs the case on dataFile, whose folder holds nothing else; empties the folder again
// afterwards.
CaseOutcome LoadCase(const std::wstring& dataFile, const std::string& bytes);

} // namespace fuzz
