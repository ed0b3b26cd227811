#include "forms/uClock.h"

#include "common/uCommonUtils.h"

namespace forms {

double TSystemClock::Now() { return cf::EncodeDateTime(common::LocalNow()); }

}  // namespace forms
