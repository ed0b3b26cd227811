// The check boxes and radio buttons of the advanced settings dialog, once
// for both views: which group holds each and in which cell, its caption, the
// state field it shows, its name, its control identifier and the operator
// options' flag it sets. A view places each group among the other controls of
// its page and creates the group's rows in the table's order.
//
// A new check box: its field in TAdvSettingsState, its identifier in
// uControlIds.h, one row in uAdvSettingsChecks.cpp and, when the scale gets
// it, its bit in device::TOperatorFlag (uScaleFrames); its test in
// tests/unit/forms/AdvSettingsTest.cpp.
#pragma once

#include <optional>
#include <span>

#include "device/uScaleFrames.h"
#include "forms/uAdvSettingsState.h"

namespace forms {

enum class TCheckGroup {
    Mode,           // "Основной режим"
    Configuration,  // the page "Конфигурация" itself, under the paper type
    PriceEntry,     // " Ручной ввод цены "
    Receipt,        // " Параметры чека "
    Parameters,     // the page "Параметры" itself, under the store name
    Clock,          // " Установка даты и времени ", under the time
};

enum class TCheckKind {
    Check,
    RadioFirst,   // the first of a pair of radio buttons: checked while the field is false
    RadioSecond,  // the pair's second, which follows it: checked while the field is true
};

struct TCheckControl {
    TCheckGroup Group;
    int Column, Row;  // the cell in the group, from 0
    TCheckKind Kind;
    const char16_t* Caption;
    bool TAdvSettingsState::*Field;
    const char* Name;  // the control's name: the GTK widget's
    int Id;            // the Win32 control identifier
    // The flag set in the operator options while the field is true; both
    // buttons of a radio pair name it.
    std::optional<device::TOperatorFlag> OperatorFlag = std::nullopt;

    // Whether the control shows as checked in AState.
    bool Shown(const TAdvSettingsState& AState) const;
    // The control's check into AState; the first radio button of a pair
    // leaves it to its second.
    void Store(TAdvSettingsState& AState, bool AChecked) const;
};

std::span<const TCheckControl> CheckControls();

}  // namespace forms
