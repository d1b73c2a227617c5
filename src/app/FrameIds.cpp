#include "app/FrameIds.h"

#include "gui/Error.h"

#include <string>

namespace app {

bool FrameIdSet::IsFrameIdFree(int id) {
    if (id < 0)
        return false;
    if (static_cast<size_t>(id) >= bits_.size())
        bits_.resize(static_cast<size_t>(id) + 4, false);
    return !bits_[static_cast<size_t>(id)];
}

int FrameIdSet::AcquireFrameId(int id) {
    if (id < 0) {
        size_t free = 0;
        while (free < bits_.size() && bits_[free])
            ++free;
        id = static_cast<int>(free);
        IsFrameIdFree(id); // grows the set when every id was taken
    } else if (!IsFrameIdFree(id)) {
        throw gui::UserError(L"Id." + std::to_wstring(id) + L" はすでに使われています");
    }
    bits_[static_cast<size_t>(id)] = true;
    return id;
}

void FrameIdSet::ReleaseFrameId(int id) {
    if (id >= 0 && static_cast<size_t>(id) < bits_.size())
        bits_[static_cast<size_t>(id)] = false;
}

FrameIdSet& FrameIds() {
    static FrameIdSet ids;
    return ids;
}

} // namespace app
