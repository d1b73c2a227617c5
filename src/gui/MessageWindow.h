#pragma once
// A hidden message-only window of the library: it gets the messages sent or posted to
// it and nothing else (no input, no broadcasts). Derived classes handle them in
// HandleMessage.
#include "gui/Window.h"

#include <functional>
#include <memory>

namespace gui {

class MessageWindow : public Window {
protected:
    // Raises HResultError when the window cannot be created.
    MessageWindow();
};

// Runs a function once the message being handled now has returned. Post() queues one
// run (posts made before it runs add nothing); a run still queued when the object goes
// is dropped.
class PostedCall {
public:
    explicit PostedCall(std::function<void()> call);
    PostedCall(const PostedCall&) = delete;
    PostedCall& operator=(const PostedCall&) = delete;
    ~PostedCall();

    void Post();
    bool Pending() const { return pending_; }

private:
    class Target;
    void Run();

    std::function<void()> call_;
    std::unique_ptr<Target> target_; // made on the first post
    bool pending_ = false;
};

} // namespace gui
