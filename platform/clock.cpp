#include "platform/clock.h"

namespace tavik {

namespace {

std::function<QDate()>& standInSlot()
{
    static std::function<QDate()> standIn;
    return standIn;
}

}  // namespace

QDate Clock::today()
{
    if (const auto& standIn = standInSlot())
        return standIn();
    return QDate::currentDate();
}

void Clock::setStandIn(std::function<QDate()> standIn)
{
    standInSlot() = std::move(standIn);
}

}  // namespace tavik
