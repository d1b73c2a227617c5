#pragma once
// The ids of the frames in use, lowest free id first. The set holds only the ids in
// use, so a stored id as large as 2000000000 costs no more than a small one.
#include <cstddef>
#include <set>
#include <string>

namespace app {

class FrameIdSet {
public:
    // Whether id is a valid id (not negative) that no frame uses.
    bool IsFrameIdFree(int id) const;
    // With id < 0 the lowest free id; otherwise id itself, which must be free (raises
    // gui::UserError "Id.%d はすでに使われています" and marks nothing otherwise).
    // The returned id is marked in use.
    int AcquireFrameId(int id);
    void ReleaseFrameId(int id);
    // The number of ids in use.
    std::size_t Count() const { return used_.size(); }

private:
    std::set<int> used_;
};

// "Id.%d はすでに使われています": the error of an id in use.
std::wstring FrameIdInUseText(int id);

// The set of the process, which exists before any window.
FrameIdSet& FrameIds();

} // namespace app
