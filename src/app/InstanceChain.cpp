#include "app/InstanceChain.h"

namespace app {
namespace {

HWND AsWindow(LPARAM argument) { return reinterpret_cast<HWND>(argument); }
LPARAM AsArgument(HWND wnd) { return reinterpret_cast<LPARAM>(wnd); }

} // namespace

bool InstanceChain::HasPrevWnd() {
    if (host_.IsPeerWindow(FPrevWnd))
        return true;
    if (FPrevWnd != self_) {
        FPrevWnd = self_;
        host_.ForgetBlendColor();
    }
    return false;
}

bool InstanceChain::HasNextWnd() {
    if (host_.IsPeerWindow(FNextWnd))
        return true;
    FNextWnd = self_;
    return false;
}

void InstanceChain::Receive(WPARAM code, LPARAM argument) {
    HWND sender = AsWindow(argument);
    switch (code) {
    case dcJoin:
        // The joining window's handle travels down to the last window, which accepts
        // it. A handle that is no peer is never answered: the private message must
        // not reach windows of other programs.
        if (HasNextWnd())
            host_.PostChain(FNextWnd, dcJoin, argument);
        else if (host_.IsPeerWindow(sender))
            host_.PostChain(sender, dcAccept, AsArgument(self_));
        break;
    case dcAccept:
        if (!host_.IsPeerWindow(sender))
            break;
        FPrevWnd = sender;
        host_.Redock();
        host_.PostChain(FPrevWnd, dcLinkNext, AsArgument(self_));
        // A window that joins after its previous window vanished brings the rest of
        // its chain along; a newly docked window has no next window here.
        if (HasNextWnd())
            host_.PostChain(FNextWnd, dcRedock, AsArgument(self_));
        break;
    case dcLinkNext:
        if (!host_.IsPeerWindow(sender))
            break;
        FNextWnd = sender;
        host_.PostChain(FNextWnd, dcColor, static_cast<LPARAM>(host_.CurrentColor()));
        break;
    case dcColor:
        host_.ReceiveBlendColor(static_cast<gui::TColor>(static_cast<ULONG_PTR>(argument) & 0xFFFFFFFFu));
        break;
    case dcRedock:
        host_.Redock();
        if (HasNextWnd())
            host_.PostChain(FNextWnd, dcRedock, AsArgument(self_));
        break;
    case dcPrevLeft:
        // The argument is the leaving window's previous window, or the leaving window
        // itself when it was first (which is then our previous window).
        FPrevWnd = sender == FPrevWnd ? self_ : sender;
        host_.Redock();
        if (HasPrevWnd())
            host_.PostChain(FPrevWnd, dcLinkNext, AsArgument(self_));
        if (HasNextWnd())
            host_.PostChain(FNextWnd, dcRedock, AsArgument(self_));
        break;
    case dcNextLeft:
        FNextWnd = self_;
        break;
    default:
        break;
    }
}

void InstanceChain::Join(HWND first) { host_.PostChain(first, dcJoin, AsArgument(self_)); }

void InstanceChain::Leave() {
    if (HasNextWnd())
        host_.PostChain(FNextWnd, dcPrevLeft, AsArgument(FPrevWnd));
    else if (HasPrevWnd())
        host_.PostChain(FPrevWnd, dcNextLeft, AsArgument(self_));
    FPrevWnd = self_;
    FNextWnd = self_;
}

} // namespace app
