#include "shellctrls/ScrollIn.h"

namespace shellctrls {

TDirectionTest ScrollZone(POINT client, const RECT& clientRect, int range) noexcept {
    if (!::PtInRect(&clientRect, client))
        return dtOuter;
    RECT inner{clientRect.left + range, clientRect.top + range, clientRect.right - range,
               clientRect.bottom - range};
    if (client.x < inner.left)
        return dtLeft;
    if (client.x > inner.right)
        return dtRight;
    if (client.y < inner.top)
        return dtUp;
    if (client.y > inner.bottom)
        return dtDown;
    return dtInner;
}

bool CanScrollLine(TDirectionTest direction, const SCROLLINFO& info) noexcept {
    switch (direction) {
    case dtLeft:
    case dtUp:
        return info.nPos > info.nMin;
    case dtRight:
    case dtDown:
        // In 64 bits, so that a huge page or position cannot wrap around.
        return static_cast<long long>(info.nPos) + static_cast<long long>(info.nPage) <= info.nMax;
    default:
        return false;
    }
}

} // namespace shellctrls
