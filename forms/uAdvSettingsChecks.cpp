#include "forms/uAdvSettingsChecks.h"

#include "forms/uControlIds.h"

namespace forms {

namespace {

using S = TAdvSettingsState;
using G = TCheckGroup;
using K = TCheckKind;
using F = device::TOperatorFlag;

constexpr TCheckControl kChecks[] = {
    {G::Mode, 0, 0, K::RadioFirst, u"Режим продажи (*)", &S::Power2, "rbPower1", ids::kPower1, F::PackingMode},
    {G::Mode, 0, 1, K::RadioSecond, u"Режим упаковки", &S::Power2, "rbPower2", ids::kPower2, F::PackingMode},
    {G::Configuration, 0, 0, K::Check, u"Бегущая строка", &S::RunningMessage, "cbRunningMessage",
     ids::kRunningMessage, F::RunningMessage},
    {G::PriceEntry, 0, 0, K::RadioFirst, u"Не исп. кнопку #", &S::Price2, "rbPrice1", ids::kPrice1, F::PriceKey},
    {G::PriceEntry, 0, 1, K::RadioSecond, u"Исп. кнопку # (*)", &S::Price2, "rbPrice2", ids::kPrice2, F::PriceKey},
    {G::Receipt, 0, 0, K::Check, u"Номер ячейки", &S::PLUNumber, "cbPLUNumber", ids::kPLUNumber, F::PLUNumber},
    {G::Receipt, 0, 1, K::Check, u"Штрихкод", &S::Barcode, "cbBarcode", ids::kBarcode, F::Barcode},
    {G::Receipt, 0, 2, K::Check, u"Штрихкод на корешке", &S::BarcodeOnStub, "cbBarcodeOnStub",
     ids::kBarcodeOnStub, F::BarcodeOnStub},
    {G::Receipt, 0, 3, K::Check, u"Текущий итог", &S::TotalWeight, "cbTotalWeight", ids::kTotalWeight, F::TotalWeight},
    {G::Receipt, 0, 4, K::Check, u"Номер чека", &S::TicketNo, "cbTicketNo", ids::kTicketNo, F::TicketNo},
    {G::Receipt, 1, 0, K::Check, u"Шапка", &S::Header, "cbHeader", ids::kHeader, F::Header},
    {G::Receipt, 1, 1, K::Check, u"Подвал", &S::Footer, "cbFooter", ids::kFooter, F::Footer},
    {G::Receipt, 1, 2, K::Check, u"Упаковка", &S::Tare, "cbTare", ids::kTare, F::Tare},
    {G::Receipt, 1, 3, K::Check, u"Корешок", &S::Stub, "cbStub", ids::kStub, F::Stub},
    {G::Parameters, 0, 0, K::Check, u"Печатать наименование магазина", &S::StoreAddress, "cbStoreAddress",
     ids::kStoreAddress},
    {G::Clock, 0, 0, K::Check, u"Прогружать текущее время компьютера", &S::CurrentDateTime, "cbxCurrentDateTime",
     ids::kCurrentDateTime},
};

}  // namespace

bool TCheckControl::Shown(const TAdvSettingsState& AState) const {
    return AState.*Field != (Kind == TCheckKind::RadioFirst);
}

void TCheckControl::Store(TAdvSettingsState& AState, bool AChecked) const {
    if (Kind != TCheckKind::RadioFirst) AState.*Field = AChecked;
}

std::span<const TCheckControl> CheckControls() { return kChecks; }

}  // namespace forms
