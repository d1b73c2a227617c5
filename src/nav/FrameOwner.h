#pragma once
// What a navigation frame asks of the window that holds it.
#include "gui/Align.h"
#include "nav/ChangeParts.h"

#include <windows.h>

#include <string>
#include <vector>

namespace gui {
class ScrollBox;
}
namespace shellctrls {
class TNamespaceTreeRoot;
}

namespace nav {

class TNavFrame;

// What the data file remembers of one frame's tree.
struct TFrameSnapshot {
    // The frame's tree had the keyboard focus.
    bool active = false;
    // Item paths to expand, in the file's order, and of the selected item (under each
    // root that names one).
    std::vector<std::wstring> expands;
    std::vector<std::wstring> selected;
};

class INavFrameOwner {
public:
    virtual ~INavFrameOwner() = default;
    // Marks a part of the state as changed, or takes the mark away.
    virtual void InclModify(TChangePart part) = 0;
    virtual void ExclModify(TChangePart part) = 0;
    // Removes and destroys the frame.
    virtual void DelFrame(TNavFrame& frame) = 0;
    // Moves current to the place of target.
    virtual void MoveFrame(TNavFrame& current, TNavFrame& target) = 0;
    // A new frame at the end; a negative id asks for the lowest free one.
    virtual TNavFrame& AddFrame(int frameId) = 0;
    // A root with the default filters, no root styles and this designation at the end
    // of frame's tree.
    virtual shellctrls::TNamespaceTreeRoot& AddRoot(TNavFrame* frame, const std::wstring& path) = 0;
    // The edge the window is docked at, and the box that scrolls the frames.
    virtual gui::TAlign SnapEdge() const = 0;
    virtual gui::ScrollBox& ScrollBox() = 0;
    // A control of the frame took the keyboard focus.
    virtual void SetActiveControl(HWND control) = 0;
    // Reads what the data file holds for the frame with this id now (nothing when the
    // file cannot be read).
    virtual TFrameSnapshot ReadFrameSnapshot(int id) = 0;
};

} // namespace nav
