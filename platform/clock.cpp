#include "platform/clock.h"

namespace tavik {

QDate Clock::today()
{
    if (standIn)
        return standIn();
    return QDate::currentDate();
}

}  // namespace tavik
