// The computer's clock for the windows.
#pragma once

#include "forms/uFormServices.h"

namespace forms {

class TSystemClock : public IClock {
public:
    double Now() override;
};

}  // namespace forms
