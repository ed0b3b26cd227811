// The records and texts the advanced settings dialog sends on OK, computed
// from its state. Values a control should have refused are refused here
// again with a message naming the field: a program or a paste can put any
// text into a control.
#pragma once

#include <cstdint>
#include <string>

#include "device/uScaleFrames.h"
#include "forms/uAdvSettingsState.h"

namespace forms {

device::TOperatorOptions OperatorOptionsOf(const TAdvSettingsState& AState);
// The date flags; AFirmwareType is the driver's setting, not the dialog's list.
int32_t PrintFormatOf(const TAdvSettingsState& AState, int32_t AFirmwareType);
device::TLabelOptions LabelOptionsOf(const TAdvSettingsState& AState, int32_t AFirmwareType);
// The five names joined by "|".
std::u16string OperatorsTextOf(const TAdvSettingsState& AState);
// The three date texts joined by "|".
std::u16string DateTextsOf(const TAdvSettingsState& AState);
// A spin field's value: one or two digits within 1..20.
int32_t FontValue(const std::u16string& AText, const char16_t* ACaption);
// AFolder with a separator added when missing, then "Labels.mtt".
std::u16string LabelTemplateFile(const std::u16string& AFolder);

}  // namespace forms
