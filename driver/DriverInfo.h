// The process-wide description of the driver and the equipment types.
#pragma once

#include <cstdint>
#include <string>

namespace driver {

enum class TEquipmentType : uint8_t {
    etScanner,
    etMCR,
    etFR,
    etReceiptPrinter,
    etLabelPrinter,
    etCustomerDisplay,
    etDataCollectionTerminal,
    etAcquiringTerminal,
    etScale,
    etPrintingScale,
    etRFIDReader,
    etECR,
    etVideocamera,
    etElectronicLock,
    etUnknown,
};

// The Russian name the description document gives the type.
std::u16string GetEquipmentTypeName(TEquipmentType type);

struct TDriverInfo {
    std::u16string Name;
    std::u16string Description;
    TEquipmentType EquipmentType = TEquipmentType::etUnknown;
    bool IntegrationComponent = false;
    bool MainDriverInstalled = false;
    std::u16string DriverVersion;
    std::u16string IntegrationComponentVersion;
    std::u16string DownloadURL;
};

// One record per loaded library, shared by every driver object.
TDriverInfo& DriverInfo();

inline constexpr char16_t kDriverDownloadURL[] = u"https://ventarix.example/drivers/w_quorlan7t4p";

}  // namespace driver
