#pragma once
// The base of every window and control of the library. The C++ object owns its window:
// a static window procedure keeps `this` in the class's extra bytes (GWLP_USERDATA stays
// free for the program) and forwards every message to HandleMessage.
#include "gui/Align.h"
#include "gui/Color.h"

#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace gui {

// Sent to a window when its colour has changed (also to children that follow their
// parent's colour).
constexpr UINT CM_COLORCHANGED = 0xB00D;

enum class MouseButton { Left, Right, Middle };

class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    // The object of one of our windows, or null for any other window.
    static Window* FromHandle(HWND handle);

    HWND Handle() const { return handle_; }
    Window* Parent() const { return parent_; }
    const std::vector<Window*>& Children() const { return children_; }

    // Bounds in the parent's client coordinates; screen coordinates for top-level windows.
    // An aligned child keeps the size set here across its aligned axis, whatever the
    // layout gave it meanwhile.
    const RECT& Bounds() const { return bounds_; }
    void SetBounds(const RECT& bounds);
    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.right - bounds_.left; }
    int Height() const { return bounds_.bottom - bounds_.top; }
    void SetWidth(int width) { SetBounds(MakeRect(Left(), Top(), width, Height())); }
    void SetHeight(int height) { SetBounds(MakeRect(Left(), Top(), Width(), height)); }
    void SetLeft(int left) { SetBounds(MakeRect(left, Top(), Width(), Height())); }
    void SetTop(int top) { SetBounds(MakeRect(Left(), top, Width(), Height())); }
    RECT ClientRect() const;
    RECT ScreenBounds() const;

    TAlign Align() const { return align_; }
    // Turning between a horizontal and a vertical alignment exchanges width and height.
    void SetAlign(TAlign align);
    const Padding& GetPadding() const { return padding_; }
    void SetPadding(const Padding& padding);
    // Moves a child to another place in the order in which aligned children are laid out.
    void MoveChildTo(Window* child, size_t index);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const;
    void SetEnabled(bool enabled);
    // A character typed with Alt (or where the focus takes no characters): true when
    // this window takes it as its accelerator and has acted on it.
    virtual bool DialogChar(wchar_t) { return false; }

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool parentColor);

    // The font is borrowed: whoever sets it keeps it alive.
    HFONT Font() const { return font_; }
    void SetFont(HFONT font);

    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    std::wstring Text() const { return text_; }
    void SetText(const std::wstring& text);

    void Realign();
    // Holds back laying out the aligned children until the matching EnableAlign, which
    // lays them out once if anything asked for it meanwhile (many changes, one layout).
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();
    void Invalidate();
    void Update();
    void SetFocus();
    bool Focused() const;
    bool MouseCaptured() const;

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void()> OnResize;
    std::function<void(MouseButton, WPARAM keys, POINT)> OnMouseDown;
    std::function<void(WPARAM keys, POINT)> OnMouseMove;
    std::function<void(MouseButton, WPARAM keys, POINT)> OnMouseUp;
    std::function<void()> OnExit;
    // In-program drags of controls (see ControlDrag.h): whether this window takes the
    // dragged control at a screen point, and the drop itself.
    std::function<void(Window& source, POINT screen, bool& accept)> OnDragOver;
    std::function<void(Window& source, POINT screen)> OnDragDrop;

protected:
    struct CreateParams {
        const wchar_t* className = nullptr;
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        DWORD exStyle = 0;
        UINT classStyle = CS_DBLCLKS;
        HWND owner = nullptr; // top-level windows only
        HCURSOR cursor = nullptr;
        // A platform class (an edit, a button...) that this class is made from; its
        // window procedure handles every message that HandleMessage passes on.
        const wchar_t* baseClass = nullptr;
    };

    // A child of parent, or a top-level window when parent is null.
    explicit Window(Window* parent);

    void CreateHandle(const CreateParams& params);
    // Destroys and creates the window again with the same settings.
    void RecreateHandle();
    void DestroyHandle();

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Paints the client area on top of the background, which is already filled.
    virtual void Paint(HDC dc);
    virtual void EraseBackground(HDC dc);
    // Runs after the colour changed: repaints and passes the colour to children that
    // follow their parent's colour.
    virtual void ColorChanged();
    // Runs after the window handle exists and before it goes.
    virtual void HandleCreated() {}
    // The rectangle aligned children are laid out in (the client area by default).
    virtual RECT AlignArea() const { return ClientRect(); }
    // Runs after the aligned children have been laid out again.
    virtual void Realigned() {}
    virtual void HandleDestroying() {}
    // A notification that a platform control sends its parent (WM_COMMAND, WM_NOTIFY,
    // WM_DRAWITEM, scrolling, WM_CTLCOLOR...), handed back to the control it concerns.
    // True when handled, with the answer in result.
    virtual bool Notified(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static LRESULT CALLBACK StaticWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    static WNDPROC RegisterClassOnce(const CreateParams& params);
    static WNDPROC BaseProcOf(HWND handle);
    bool ReflectNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT DispatchMouse(UINT message, WPARAM wParam, LPARAM lParam);
    void WMPaint();
    void WMWindowPosChanged(const WINDOWPOS& pos);
    void WMKillFocus(HWND to);
    void BoundsChanged();
    void ApplyBounds(const RECT& bounds);

    Window* parent_;
    std::vector<Window*> children_;
    HWND handle_ = nullptr;
    WNDPROC baseProc_ = nullptr;
    CreateParams spec_;
    RECT bounds_{0, 0, 0, 0};
    SIZE explicit_{0, 0};
    TAlign align_ = alNone;
    Padding padding_;
    bool visible_ = false;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    HFONT font_ = nullptr;
    int tag_ = 0;
    std::wstring text_;
    bool pressed_ = false;
    bool realigning_ = false;
    int alignDisabled_ = 0;
    bool alignPending_ = false;
};

} // namespace gui
