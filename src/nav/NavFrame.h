#pragma once
// TNavFrame: one pane of the edge window, a caption bar above (or beside) one Shell
// namespace tree. The frame's owner creates, orders and destroys it.
#include "gui/CaptionBar.h"
#include "gui/PopupMenu.h"
#include "gui/SpeedButton.h"
#include "gui/Window.h"
#include "nav/FrameOwner.h"
#include "shellctrls/NameSpaceTreeControl.h"

#include <shobjidl.h>
#include <wrl/client.h>

#include <memory>
#include <string>
#include <vector>

namespace nav {

using gui::TAlign;

class TNavFrame : public gui::Window {
public:
    // A frame of 320 x 240 inside parent, with an empty tree; owner gets its changes.
    TNavFrame(INavFrameOwner& owner, gui::Window& parent, int id);
    ~TNavFrame() override;

    int ID() const { return FID; }
    // Orients the frame: alTop stacks it in a column (caption bar at the top), alLeft
    // puts it in a row (caption bar at the left, text running upwards).
    void SetFrameAlign(TAlign value);
    bool Collapsed() const { return FSwitchingBtn->Tag() == 2; }
    void SetCollapsed(bool value);
    int ExpandWidth() const { return FExpandWidth; }
    void SetExpandWidth(int value);
    int ExpandHeight() const { return FExpandHeight; }
    void SetExpandHeight(int value);
    // The tree's first selected item, or nil.
    Microsoft::WRL::ComPtr<IShellItem> Selected();

    shellctrls::TNameSpaceTreeControl& NameSpaceTree() { return *FNameSpaceTree; }
    gui::CaptionBar& CaptionPanel() { return *FCaptionPanel; }
    gui::SpeedButton& PreferenceBtn() { return *FPreferenceBtn; }
    gui::SpeedButton& SwitchingBtn() { return *FSwitchingBtn; }
    gui::SpeedButton& CloseBtn() { return *FCloseBtn; }
    gui::PopupMenu& PreferenceMenu() { return FPreferenceMenu; }
    const gui::ImageList& CaptionImages() const { return FCaptionPanel->Images(); }

    // Item paths still to be expanded, and still to be selected or shown.
    std::vector<std::wstring> ExpandingReserves;
    std::vector<std::wstring> MarkingReserves;

    // Handlers, public so that they can be driven as the user would.
    void CaptionPanelClick();
    void PreferenceMenuPopup();
    void PreferenceMnusClick(gui::MenuItem& item);
    void SwitchingBtnClick() { SetCollapsed(!Collapsed()); }
    void CloseBtnClick();
    void FrameExit() { FOwner.InclModify(cpFrame); }
    void NameSpaceTreeNTEOnSelectionChanged(IShellItemArray* selection, HRESULT& result);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CaptionPanelMouseDown(gui::MouseButton button, POINT point);
    void CaptionPanelDragOver(gui::Window& source, bool& accept);
    void CaptionPanelDragDrop(gui::Window& source);
    void NameSpaceTreeViewWndProc(shellctrls::TMessage& message);
    void WMCloseFrame();

    INavFrameOwner& FOwner;
    int FID;
    int FExpandWidth = 300;
    int FExpandHeight = 225;
    Microsoft::WRL::ComPtr<IShellItemArray> FChoices;

    std::unique_ptr<gui::CaptionBar> FCaptionPanel;
    // The buttons belong to the caption bar.
    gui::SpeedButton* FPreferenceBtn = nullptr;
    gui::SpeedButton* FCloseBtn = nullptr;
    gui::SpeedButton* FSwitchingBtn = nullptr;
    std::unique_ptr<shellctrls::TNameSpaceTreeControl> FNameSpaceTree;
    gui::PopupMenu FPreferenceMenu;
};

// The frame whose caption bar a window is, or null.
TNavFrame* FrameOfCaption(gui::Window& window);

} // namespace nav
