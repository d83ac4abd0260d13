// Runs an action when the scope ends, on every path out of it (the busy
// pointer returns to the default even when a handler stops early).
#pragma once

#include <functional>
#include <utility>

namespace db {

class ScopedAction {
  public:
    explicit ScopedAction(std::function<void()> action) : action_(std::move(action)) {}
    ~ScopedAction() {
        if (action_) {
            action_();
        }
    }
    ScopedAction(const ScopedAction&) = delete;
    ScopedAction& operator=(const ScopedAction&) = delete;

  private:
    std::function<void()> action_;
};

}  // namespace db
