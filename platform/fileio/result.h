#pragma once

#include <optional>
#include <string>
#include <utility>

namespace tavik {

// The result of an operation that can fail: its value (none for Result<void, …>), or
// the reason it failed, in words fit for the detail line of a message. The Qt-free
// core gives its reasons as FileFailure (FileResult); the Qt side as QString (Outcome).
template <class T, class Reason>
class [[nodiscard]] Result {
public:
    Result(T value)
        : m_value(std::move(value))
    {
    }
    static Result failure(Reason reason)
    {
        Result result;
        result.m_reason = std::move(reason);
        return result;
    }

    explicit operator bool() const { return m_value.has_value(); }
    const T& operator*() const& { return *m_value; }
    T& operator*() & { return *m_value; }
    T&& operator*() && { return std::move(*m_value); }
    const T* operator->() const { return &*m_value; }
    // Empty when the operation worked.
    const Reason& reason() const { return m_reason; }

private:
    Result() = default;

    std::optional<T> m_value;
    Reason m_reason;
};

template <class Reason>
class [[nodiscard]] Result<void, Reason> {
public:
    static Result success() { return Result(); }
    static Result failure(Reason reason)
    {
        Result result;
        result.m_ok = false;
        result.m_reason = std::move(reason);
        return result;
    }

    explicit operator bool() const { return m_ok; }
    const Reason& reason() const { return m_reason; }

private:
    Result() = default;

    bool m_ok = true;
    Reason m_reason;
};

// Why a file operation failed: the system's own description with the path, for a log or a
// command line, and the errno value behind it, from which ErrorReason words it for the user.
struct FileFailure {
    std::string reason;
    int error = 0;
};

template <class T = void>
using FileResult = Result<T, FileFailure>;

}  // namespace tavik
