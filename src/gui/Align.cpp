#include "gui/Align.h"

#include <algorithm>

namespace gui {

std::vector<RECT> AlignLayout(const RECT& client, const Padding& padding, const std::vector<AlignItem>& items) {
    std::vector<RECT> result;
    result.reserve(items.size());
    for (const AlignItem& item : items)
        result.push_back(item.bounds);

    RECT room{client.left + padding.left, client.top + padding.top, client.right - padding.right,
              client.bottom - padding.bottom};
    room.right = std::max(room.right, room.left);
    room.bottom = std::max(room.bottom, room.top);

    for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (size_t i = 0; i < items.size(); ++i) {
            const AlignItem& item = items[i];
            if (!item.visible || item.align != pass)
                continue;
            int w = Width(item.bounds);
            int h = Height(item.bounds);
            RECT& r = result[i];
            switch (pass) {
            case alTop:
                r = {room.left, room.top, room.right, room.top + h};
                room.top += h;
                break;
            case alBottom:
                r = {room.left, room.bottom - h, room.right, room.bottom};
                room.bottom -= h;
                break;
            case alLeft:
                r = {room.left, room.top, room.left + w, room.bottom};
                room.left += w;
                break;
            case alRight:
                r = {room.right - w, room.top, room.right, room.bottom};
                room.right -= w;
                break;
            default:
                r = room;
                break;
            }
            // Items that overflow the room leave it empty, never inverted.
            if (room.top > room.bottom)
                pass == alTop ? room.top = room.bottom : room.bottom = room.top;
            if (room.left > room.right)
                pass == alLeft ? room.left = room.right : room.right = room.left;
        }
    }
    return result;
}

} // namespace gui
