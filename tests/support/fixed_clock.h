#pragma once

#include <QDate>

namespace tavik {

// Makes Clock::today() give a fixed date while it lives.
class FixedClock {
public:
    explicit FixedClock(QDate date);
    ~FixedClock();
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

    void set(QDate date) { m_date = date; }

private:
    QDate m_date;
};

}  // namespace tavik
