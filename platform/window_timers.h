#pragma once

#include <functional>
#include <map>
#include <memory>

class QTimer;

namespace tavik {

// The timers of one window, by id, as Windows keeps them: setting an id starts its
// timer, which then calls back with its id once per period until it is killed;
// setting an id that runs already restarts it with the new period. A member of the
// window it belongs to; its timers end with it.
class WindowTimers {
public:
    using Callback = std::function<void(int id)>;

    explicit WindowTimers(Callback onTimer);
    WindowTimers(const WindowTimers&) = delete;
    WindowTimers& operator=(const WindowTimers&) = delete;
    ~WindowTimers();

    void setTimer(int id, int periodMs);
    // Stops timer `id`; false when it was not running. Safe inside the callback.
    bool killTimer(int id);

private:
    Callback m_onTimer;
    std::map<int, std::unique_ptr<QTimer>> m_timers;
};

}  // namespace tavik
