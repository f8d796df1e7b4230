#pragma once

#include "platform/fileio/result.h"

#include <QString>

namespace tavik {

// The result of a platform operation that can fail, with the reason in words fit for
// a detail line of a message.
template <class T = void>
using Outcome = Result<T, QString>;

}  // namespace tavik
