#pragma once

#include "platform/stand_in.h"

#include <QDate>

namespace tavik {

// Today's date, replaceable in tests.
class Clock {
public:
    // The local date, or the stand-in's date while one is set.
    static QDate today();

    static inline StandIn<QDate()> standIn;
};

}  // namespace tavik
