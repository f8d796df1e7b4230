#pragma once

#include <QDate>

#include <functional>

namespace tavik {

// Today's date, replaceable in tests.
class Clock {
public:
    // The local date, or the stand-in's date while one is set.
    static QDate today();

    // nullptr restores the system clock.
    static void setStandIn(std::function<QDate()> standIn);
};

}  // namespace tavik
