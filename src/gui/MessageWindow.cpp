#include "gui/MessageWindow.h"

namespace gui {
namespace {

constexpr UINT WM_RUNPOSTEDCALL = WM_APP + 0x31;

} // namespace

MessageWindow::MessageWindow() : Window(nullptr) {
    CreateParams params;
    params.className = L"GuiMessageWindow";
    params.style = 0;
    params.classStyle = 0;
    params.owner = HWND_MESSAGE;
    CreateHandle(params);
}

class PostedCall::Target final : public MessageWindow {
public:
    explicit Target(PostedCall& call) : call_(call) {}

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_RUNPOSTEDCALL) {
            call_.Run();
            return 0;
        }
        return MessageWindow::HandleMessage(message, wParam, lParam);
    }

private:
    PostedCall& call_;
};

PostedCall::PostedCall(std::function<void()> call) : call_(std::move(call)) {}

PostedCall::~PostedCall() = default;

void PostedCall::Post() {
    if (pending_)
        return;
    if (!target_)
        target_ = std::make_unique<Target>(*this);
    if (::PostMessageW(target_->Handle(), WM_RUNPOSTEDCALL, 0, 0))
        pending_ = true;
}

void PostedCall::Run() {
    pending_ = false;
    if (call_)
        call_();
}

} // namespace gui
