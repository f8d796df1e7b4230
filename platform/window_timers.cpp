#include "platform/window_timers.h"

#include <QTimer>

#include <algorithm>

namespace tavik {

namespace {

// Windows does not run a timer faster than this; a period of 0 would otherwise spin.
constexpr int kMinimumPeriodMs = 10;

}  // namespace

WindowTimers::WindowTimers(Callback onTimer)
    : m_onTimer(std::move(onTimer))
{
}

WindowTimers::~WindowTimers() = default;

void WindowTimers::setTimer(int id, int periodMs)
{
    std::unique_ptr<QTimer>& timer = m_timers[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [this, id] {
            if (m_onTimer)
                m_onTimer(id);
        });
    }
    // Timers are only stopped, never deleted, so a callback may kill or reset its own timer.
    timer->start(std::max(periodMs, kMinimumPeriodMs));
}

bool WindowTimers::killTimer(int id)
{
    const auto it = m_timers.find(id);
    if (it == m_timers.end() || !it->second->isActive())
        return false;
    it->second->stop();
    return true;
}

}  // namespace tavik
