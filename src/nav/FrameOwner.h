#pragma once
// What a navigation frame asks of the window that holds it.
#include "nav/ChangeParts.h"

namespace nav {

class TNavFrame;

class INavFrameOwner {
public:
    virtual ~INavFrameOwner() = default;
    // Marks a part of the state as changed.
    virtual void InclModify(TChangePart part) = 0;
    // Removes and destroys the frame.
    virtual void DelFrame(TNavFrame& frame) = 0;
    // Moves current to the place of target.
    virtual void MoveFrame(TNavFrame& current, TNavFrame& target) = 0;
};

} // namespace nav
