// The advanced settings dialog "Дополнительные настройки": the scale's
// receipt and label configuration, store name, clock, operators, label
// layout, barcode format and date lines, written to the scale on OK through
// the dialog's own connection. The dialog's state and rules; the views only
// show them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "device/uDevice.h"
#include "forms/uAdvSettingsState.h"
#include "forms/uFormServices.h"
#include "forms/ufmOpersEditTiger.h"

namespace forms {

class TfmAdvSettings {
public:
    explicit TfmAdvSettings(IClock& AClock, device::TExchangeLog ALog = device::LibraryExchangeLog());
    ~TfmAdvSettings();
    TfmAdvSettings(const TfmAdvSettings&) = delete;
    TfmAdvSettings& operator=(const TfmAdvSettings&) = delete;

    // Set by the opener from the driver's settings.
    int32_t FirmwareType = 0;
    bool ExtLogEnabled = false;
    std::u16string IPAddress;
    int32_t IPPort = 0;

    TAdvSettingsState& State() { return FState; }
    const TAdvSettingsState& State() const { return FState; }

    void cbFirmWareChange(int AItemIndex);
    void cbxCurrentDateTimeClick(bool AChecked);
    void btnOperEditClick(IOperatorEditor& AEditor);
    void LabelTemplatePathChange(const std::u16string& AText);
    // Writes everything to the scale. Raises the failing step's error; the
    // steps before it stay applied and the state is kept.
    void btnOKClick();

private:
    struct TPlan;
    // Everything OK sends, checked before anything is sent.
    TPlan Prepare();
    void Reconnect();

    IClock& FClock;
    std::unique_ptr<device::TDevice> FDevice;
    TAdvSettingsState FState;
};

// The opener's part the views share: the dialog on the computer's clock with
// the driver's four settings, handed to AShow, which shows it modally.
void OpenAdvSettings(int32_t AFirmwareType, bool AExtLogEnabled, const std::u16string& AIPAddress, int32_t AIPPort,
                     const std::function<void(TfmAdvSettings&)>& AShow);

// The opener's part: the dialog with the driver's four settings, shown
// modally on the calling thread until the user closes it; raises
// cf::Exception when it cannot be shown.
void ShowAdvSettingsDialog(int32_t AFirmwareType, bool AExtLogEnabled, const std::u16string& AIPAddress,
                           int32_t AIPPort);

}  // namespace forms
