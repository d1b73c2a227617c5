#pragma once
// A window timer with its own id, owned by this object. Stop() may be called any number
// of times, and a tick that arrives after Stop() is ignored.
#include <windows.h>
#include <functional>

namespace gui {

class Timer {
public:
    Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer();

    UINT Interval() const { return interval_; }
    // Takes effect at once when running.
    void SetInterval(UINT milliseconds);
    void Start();
    void Stop();
    bool Running() const { return running_; }
    UINT_PTR Id() const { return id_; }

    // The handler may be switched at any time, also from inside a tick.
    std::function<void()> OnTimer;

private:
    friend class Application;
    void Tick();

    UINT_PTR id_;
    UINT interval_ = 1000;
    bool running_ = false;
};

} // namespace gui
