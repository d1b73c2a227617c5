#pragma once
// The ids of the frames in use: a growable bit set, lowest free id first.
#include <cstddef>
#include <vector>

namespace app {

class FrameIdSet {
public:
    // Whether id is free; an id at or beyond the set's size first grows it to id + 4.
    bool IsFrameIdFree(int id);
    // With id < 0 the lowest free id; otherwise id itself, which must be free (raises
    // gui::UserError "Id.%d はすでに使われています" and marks nothing otherwise).
    // The returned id is marked in use.
    int AcquireFrameId(int id);
    void ReleaseFrameId(int id);
    std::size_t Size() const { return bits_.size(); }

private:
    std::vector<bool> bits_;
};

// The set of the process, which exists before any window.
FrameIdSet& FrameIds();

} // namespace app
