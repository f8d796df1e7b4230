#pragma once

#include <QString>

#include <utility>

namespace tavik {

// The result of a platform operation that can fail: ok, or the reason it did
// not work, in words fit for a log or a detail line of a message.
struct Outcome {
    bool ok = true;
    QString reason;

    static Outcome success() { return {}; }
    static Outcome failure(QString why) { return {false, std::move(why)}; }
    explicit operator bool() const { return ok; }
};

}  // namespace tavik
