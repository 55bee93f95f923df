#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace tovarin {

// The listeners of a model: each hears of every change after it is made;
// the token Add returns removes the listener again.
template <typename... Change>
class TListeners {
public:
    using Listener = std::function<void(Change...)>;

    int Add(Listener listener) {
        listeners_.emplace_back(nextToken_, std::move(listener));
        return nextToken_++;
    }

    void Remove(int token) {
        std::erase_if(listeners_, [token](const auto& entry) { return entry.first == token; });
    }

    void Notify(Change... change) const {
        // A listener may subscribe or unsubscribe while it is told.
        const auto listeners = listeners_;
        for (const auto& entry : listeners) {
            entry.second(change...);
        }
    }

private:
    std::vector<std::pair<int, Listener>> listeners_;
    int nextToken_ = 1;
};

}  // namespace tovarin
