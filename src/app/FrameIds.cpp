#include "app/FrameIds.h"

#include "gui/Error.h"

#include <string>

namespace app {

bool FrameIdSet::IsFrameIdFree(int id) const {
    return id >= 0 && used_.count(id) == 0;
}

int FrameIdSet::AcquireFrameId(int id) {
    if (id < 0) {
        // The ids in use are ordered: the first gap from 0 on is the lowest free id.
        id = 0;
        for (int used : used_) {
            if (used != id)
                break;
            ++id;
        }
    } else if (!IsFrameIdFree(id)) {
        throw gui::UserError(FrameIdInUseText(id));
    }
    used_.insert(id);
    return id;
}

void FrameIdSet::ReleaseFrameId(int id) {
    used_.erase(id);
}

std::wstring FrameIdInUseText(int id) {
    return L"Id." + std::to_wstring(id) + L" はすでに使われています";
}

FrameIdSet& FrameIds() {
    static FrameIdSet ids;
    return ids;
}

} // namespace app
