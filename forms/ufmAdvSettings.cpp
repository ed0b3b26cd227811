#include "forms/ufmAdvSettings.h"

#include <cmath>
#include <optional>

#include "device/uSectionFile.h"
#include "forms/uAdvSettingsRecords.h"
#include "forms/uClock.h"
#include "lib/cf/Exception.h"

namespace forms {

struct TfmAdvSettings::TPlan {
    device::TOperatorOptions OperatorOptions;
    std::u16string Operators;
    device::TLabelOptions LabelOptions;
    std::u16string DateTexts;
    std::optional<std::u16string> Label;
    double DateTime = 0;
};

TfmAdvSettings::TfmAdvSettings(IClock& AClock, device::TExchangeLog ALog)
    : FClock(AClock),
      FDevice(std::make_unique<device::TDevice>(std::move(ALog))),
      FState(DefaultAdvSettings(std::floor(AClock.Now()))) {
    cbxCurrentDateTimeClick(FState.CurrentDateTime);
}

TfmAdvSettings::~TfmAdvSettings() = default;

void TfmAdvSettings::cbFirmWareChange(int AItemIndex) {
    FState.FirmWare.ItemIndex = AItemIndex;
    FState.FirmWare.Text = FState.FirmWare.SelectedText();
    TChoiceList* lists[] = {&FState.PackageDate, &FState.BestBeforeDate, &FState.SellByDate};
    int remembered[3];
    for (int i = 0; i < 3; ++i) remembered[i] = lists[i]->ItemIndex;
    if (AItemIndex == 0) {
        FState.PackageDate.Items = PackageDateItems(0);
        FState.PLU2Enabled = false;
    } else if (AItemIndex == 1) {
        FState.PackageDate.Items = PackageDateItems(1);
        FState.PLU2Enabled = true;
    }
    FState.BestBeforeDate.Items = FState.PackageDate.Items;
    FState.SellByDate.Items = FState.PackageDate.Items;
    for (int i = 0; i < 3; ++i) {
        const int last = static_cast<int>(lists[i]->Items.size()) - 1;
        lists[i]->ItemIndex = remembered[i] > last ? last : remembered[i];
        if (lists[i]->ItemIndex >= 0) lists[i]->Text = lists[i]->SelectedText();
    }
}

void TfmAdvSettings::cbxCurrentDateTimeClick(bool AChecked) {
    FState.CurrentDateTime = AChecked;
    FState.DateTimeEnabled = !AChecked;
}

void TfmAdvSettings::btnOperEditClick(IOperatorEditor& AEditor) {
    const int row = FState.SelectedOperator;
    if (row < 0 || row >= kOperatorRows) return;
    std::u16string& name = FState.Operators[static_cast<std::size_t>(row)];
    TfmOpersEditTiger window(row, name);
    if (AEditor.Edit(window)) name = window.edName();
}

void TfmAdvSettings::LabelTemplatePathChange(const std::u16string& AText) {
    FState.LabelTemplatePath = AText;
    std::vector<std::u16string> names;
    device::ReadFileSectionNames(LabelTemplateFile(AText), names);
    names.insert(names.begin(), kKeepCurrentLabel);
    FState.LabelFormat = {std::move(names), -1, {}};
}

TfmAdvSettings::TPlan TfmAdvSettings::Prepare() {
    TPlan plan;
    plan.OperatorOptions = OperatorOptionsOf(FState);
    plan.Operators = OperatorsTextOf(FState);
    plan.LabelOptions = LabelOptionsOf(FState, FirmwareType);
    plan.DateTexts = DateTextsOf(FState);
    if (!FState.LabelTemplatePath.empty() && FState.LabelFormat.ItemIndex > 0) {
        const std::u16string file = LabelTemplateFile(FState.LabelTemplatePath);
        const std::u16string name = FState.LabelFormat.SelectedText();
        plan.Label = device::ReadFileSection(file, name, u"");
        // Sending an empty layout would only wait for an answer that never comes.
        if (plan.Label->empty())
            throw cf::Exception(u"Этикетка «" + name + u"» не найдена в файле " + file +
                                u" или пуста: проверьте её начало и конец ([" + name + u"] и [/" + name + u"])");
    }
    plan.DateTime = FState.CurrentDateTime ? FClock.Now() : std::floor(FState.Date) + FState.Time;
    return plan;
}

void TfmAdvSettings::Reconnect() {
    FDevice->Disable();
    FDevice->SetExtLogEnabled(ExtLogEnabled);
    FDevice->SetFirmwareType(FirmwareType);
    FDevice->Enable(IPAddress, IPPort);
}

void TfmAdvSettings::btnOKClick() {
    const TPlan plan = Prepare();
    Reconnect();
    FDevice->WriteOperatorOptions(plan.OperatorOptions);
    if (!FState.MagazName.empty()) FDevice->WriteCompany(FState.MagazName);
    if (plan.Label) FDevice->WriteLabel(*plan.Label);
    FDevice->WriteDateTime(plan.DateTime);
    FDevice->WriteOpers(plan.Operators);
    FDevice->WriteBarcodeFormat(FState.ShkFormat.SelectedText(), FState.ShkPref);
    FDevice->WriteLabelOptions(plan.LabelOptions, plan.DateTexts);
    // The date texts the user typed would otherwise never reach the scale.
    FDevice->WriteDateText(plan.DateTexts);
}

void OpenAdvSettings(int32_t AFirmwareType, bool AExtLogEnabled, const std::u16string& AIPAddress, int32_t AIPPort,
                     const std::function<void(TfmAdvSettings&)>& AShow) {
    TSystemClock clock;
    TfmAdvSettings presenter(clock);
    presenter.FirmwareType = AFirmwareType;
    presenter.ExtLogEnabled = AExtLogEnabled;
    presenter.IPAddress = AIPAddress;
    presenter.IPPort = AIPPort;
    AShow(presenter);
}

}  // namespace forms
