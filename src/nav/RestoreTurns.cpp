#include "nav/RestoreTurns.h"

#include <algorithm>

namespace nav {

RestoreTurns& RestoreTurns::Instance() {
    static RestoreTurns instance;
    return instance;
}

RestoreTurns::RestoreTurns() {
    // The application is made first so that it outlives this queue, whose hook it holds.
    gui::Application::Instance();
    hook_ = std::make_unique<gui::ApplicationEvents>();
    hook_->OnIdle = [this] { Idle(); };
}

void RestoreTurns::Join(const void* key, Turn turn) {
    if (Waiting(key))
        return;
    parties_.push_back({key, std::move(turn)});
}

void RestoreTurns::Leave(const void* key) {
    auto found =
        std::find_if(parties_.begin(), parties_.end(), [key](const Party& p) { return p.key == key; });
    if (found == parties_.end())
        return;
    std::size_t index = static_cast<std::size_t>(found - parties_.begin());
    parties_.erase(found);
    // The party after the one that left keeps its turn; an empty queue starts afresh.
    if (index < next_)
        --next_;
    if (parties_.empty())
        next_ = 0;
}

bool RestoreTurns::Waiting(const void* key) const {
    return std::any_of(parties_.begin(), parties_.end(), [key](const Party& p) { return p.key == key; });
}

void RestoreTurns::Idle() {
    // At most one round: a party that cannot work yet passes its turn on.
    for (std::size_t tried = 0, count = parties_.size(); tried < count && !parties_.empty(); ++tried) {
        if (next_ >= parties_.size())
            next_ = 0;
        // A copy: the party may leave (and so drop its own function) during its turn.
        Turn turn = parties_[next_].turn;
        ++next_;
        if (turn()) {
            // The loop raises idle only once it has emptied its queue; while items wait,
            // a message of no meaning brings the next idle turn after whatever input came
            // meanwhile, instead of the next timer tick.
            if (!parties_.empty())
                ::PostMessageW(gui::Application::Instance().Handle(), WM_NULL, 0, 0);
            return;
        }
    }
}

} // namespace nav
