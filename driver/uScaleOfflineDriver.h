// A driver of a label-printing scale working offline.
#pragma once

#include "driver/uCommonDriver.h"

namespace driver {

class TScaleOfflineDriver : public TCommonDriver {
public:
    static void UpdateDriverInfo(TDriverInfo& info) {
        TCommonDriver::UpdateDriverInfo(info);
        info.EquipmentType = TEquipmentType::etPrintingScale;
        info.IntegrationComponent = false;
    }

protected:
    void UpdateOwnDriverInfo() override { UpdateDriverInfo(DriverInfo()); }
};

}  // namespace driver
