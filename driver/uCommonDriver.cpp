#include "driver/uCommonDriver.h"


#include "common/Common.Log.h"
#include "common/uVInfo.h"
#include "driver/XmlDocuments.h"
#include "forms/ufmDocView.h"
#include "forms/ufmLog.h"
#include "help/uMarkdownRenderer.h"
#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"
#include "lib/cf/VariantConvert.h"
#include "lib/cf/uEquipmentErrors.h"
#include "resources/Resources.h"

namespace driver {

namespace {

// An embedded document, parsed and written out again.
std::u16string EmbeddedDocument(const char16_t* name) {
    pugi::xml_document document;
    ParseXmlUtf8(resources::LoadDataResource(name), document);
    return XmlToText(document);
}

constexpr int32_t kDeviceNotEnabledCode = 70;

}  // namespace

void BeginDriverInfo(const std::u16string& name, const std::u16string& description) {
    common::SetLogFileStem(name);
    try {
        common::WriteStartBanner();
    } catch (...) {
        // A log that cannot be written never stops the driver's description.
    }
    DriverInfo().Name = name;
    DriverInfo().Description = description;
}

void TCommonDriver::UpdateDriverInfo(TDriverInfo& info) {
    info.EquipmentType = TEquipmentType::etUnknown;
    info.IntegrationComponent = false;
    info.MainDriverInstalled = false;
    info.DownloadURL = kDriverDownloadURL;
    info.DriverVersion = common::GetFileVersionString(u"");
    info.IntegrationComponentVersion = info.DriverVersion;
}

void TCommonDriver::AfterConstruction() {
    UpdateOwnDriverInfo();
    RegisterMethods();
    RegisterSettings();
}

void TCommonDriver::BeforeDestruction() { Close(); }

void TCommonDriver::pt_Add(std::u16string name1, std::u16string name2, bool isReadonly, cf::Variant value) {
    try {
        TCustomDriver::pt_Add(std::move(name1), std::move(name2), isReadonly, std::move(value));
    } catch (const cf::Exception& e) {
        common::WriteLog(NCClassName(), e.Message(), common::TLogLevel::llDebug);
    }
}

bool TCommonDriver::GetLogEnabled() const { return common::GetLogMode() != common::TLogMode::lmOff; }

void TCommonDriver::SetLogEnabled(bool enabled) {
    common::SetLogMode(enabled ? common::TLogMode::lmAll : common::TLogMode::lmOff);
}

void TCommonDriver::CheckEnabled() const {
    if (!FEnabled) throw cf::EquException(kDeviceNotEnabledCode, resources::LoadStringResource(resources::kDeviceNotEnabled));
}

void TCommonDriver::AddGuardedMethod(const char16_t* name1, const char16_t* name2, int32_t paramsCount,
                                     std::function<void(cf::VarArrayData& args)> work) {
    _mt.Add(name1, name2, paramsCount, [this, work = std::move(work)](cf::VarArrayData& args, cf::Variant& result) {
        try {
            work(args);
            result = cf::Variant(true);
        } catch (...) {
            ReportError(cf::CurrentExceptionMessage());
            result = cf::Variant(false);
        }
    });
}

void TCommonDriver::RegisterMethods() {
    _mt.Add(u"ПолучитьРевизиюИнтерфейса", u"GetInterfaceRevision", 0,
            [this](cf::VarArrayData&, cf::Variant& result) { result = cf::Variant(GetInterfaceRevision()); });
    AddGuardedMethod(u"ПолучитьОписание", u"GetDescription", 1,
                     [this](cf::VarArrayData& args) { args.at(0) = cf::Variant(GetDescriptionXML()); });
    _mt.Add(u"ПолучитьОшибку", u"GetLastError", 1, [this](cf::VarArrayData& args, cf::Variant& result) {
        args.at(0) = cf::Variant(FLastResult.ErrorDescription);
        result = cf::Variant(FLastResult.ErrorCode);
    });
    AddGuardedMethod(u"Подключить", u"Open", 1, [this](cf::VarArrayData&) { Open(); });
    AddGuardedMethod(u"Отключить", u"Close", 1, [this](cf::VarArrayData&) { Close(); });
    AddGuardedMethod(u"ПолучитьПараметры", u"GetParameters", 1,
                     [this](cf::VarArrayData& args) { args.at(0) = cf::Variant(GetParametersXML()); });
    AddGuardedMethod(u"УстановитьПараметр", u"SetParameter", 2,
                     [this](cf::VarArrayData& args) { SetParameter(args); });
    AddGuardedMethod(u"ТестУстройства", u"DeviceTest", 2, [this](cf::VarArrayData& args) {
        std::u16string description, demoMode;
        DeviceTest(description, demoMode);
        args.at(0) = cf::Variant(description);
        args.at(1) = cf::Variant(demoMode);
    });
    AddGuardedMethod(u"ПолучитьДополнительныеДействия", u"GetAdditionalActions", 1,
                     [this](cf::VarArrayData& args) { args.at(0) = cf::Variant(GetActionsXML()); });
    AddGuardedMethod(u"ВыполнитьДополнительноеДействие", u"DoAdditionalAction", 1,
                     [this](cf::VarArrayData& args) { DoAction(cf::VarToStr(args.at(0))); });
}

void TCommonDriver::RegisterSettings() { pt_Add(u"ЛогВключен", u"LogEnabled", false, cf::Variant(false)); }

void TCommonDriver::Open() { FEnabled = true; }

void TCommonDriver::Close() { FEnabled = false; }

void TCommonDriver::DeviceTest(std::u16string& description, std::u16string& demoModeIsActivated) {
    description.clear();
    demoModeIsActivated.clear();
}

void TCommonDriver::SetParameter(const cf::VarArrayData& args) {
    const cf::Variant& value = args.at(1);
    AssignProperty(cf::VarToStr(args.at(0)), value);
}

void TCommonDriver::AssignProperty(const std::u16string& name, const cf::Variant& value) {
    // An unnamed setting could never be read back.
    if (name.empty()) throw cf::Exception(u"Не указано имя параметра");
    if (_pl.Find(name) < 0) {
        pt_Add(name, u"", false, value);
        return;
    }
    _pl.SetValue(name, value);
}

std::u16string TCommonDriver::GetParametersXML() { return EmbeddedDocument(u"Parameters"); }

std::u16string TCommonDriver::GetActionsXML() { return EmbeddedDocument(u"Actions"); }

std::u16string TCommonDriver::GetDescriptionXML() {
    const TDriverInfo& info = DriverInfo();
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("DriverDescription");
    SetAttribute(root, "Name", info.Name);
    SetAttribute(root, "Description", info.Description);
    SetAttribute(root, "EquipmentType", GetEquipmentTypeName(info.EquipmentType));
    SetBoolAttribute(root, "IntegrationComponent", info.IntegrationComponent);
    SetBoolAttribute(root, "MainDriverInstalled", info.MainDriverInstalled);
    SetAttribute(root, "DriverVersion", info.DriverVersion);
    SetAttribute(root, "IntegrationComponentVersion", info.IntegrationComponentVersion);
    SetAttribute(root, "DownloadURL", info.DownloadURL);
    SetBoolAttribute(root, "LogIsEnabled", GetLogEnabled());
    SetAttribute(root, "LogPath", common::DescribeLogFolder());
    return XmlToText(document);
}

void TCommonDriver::DoAction(const std::u16string& name) {
    const Action action = FindAction(name);
    if (!action) throw cf::Exception(u"Action not found");
    action();
}

TCommonDriver::Action TCommonDriver::FindAction(const std::u16string& name) {
    if (cf::AsciiSameText(name, u"ViewLog")) return [this] { ViewLog(); };
    if (cf::AsciiSameText(name, u"ShowHelp")) return [this] { ShowHelp(); };
    return {};
}

void TCommonDriver::ViewLog() { forms::ViewLogWindow(); }

void TCommonDriver::ShowHelp() {
    help::THelpServices services;
    services.FindResource = resources::FindDataResource;
    services.ShowPage = forms::ShowDocView;
    help::TMarkdownRenderer::Render(u"help", resources::LoadStringResource(resources::kHelpCaption), services);
}

}  // namespace driver
