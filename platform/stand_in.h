#pragma once

#include <functional>
#include <utility>

namespace tavik {

// The seam of a service that waits for a person or reaches outside the program (a
// message box, a modal dialog, process start, shell open, the clock). While a test
// has set a stand-in, the service hands each request to it instead of doing the
// real thing; the stand-in records what was asked and answers as the test says.
template <class Signature>
class StandIn {
public:
    using Function = std::function<Signature>;

    // nullptr restores the real service.
    void set(Function function) { m_function = std::move(function); }
    explicit operator bool() const { return static_cast<bool>(m_function); }

    // Calls a copy, so that a stand-in may replace itself while it runs.
    template <class... Args>
    decltype(auto) operator()(Args&&... args) const
    {
        const Function function = m_function;
        return function(std::forward<Args>(args)...);
    }

private:
    Function m_function;
};

}  // namespace tavik
