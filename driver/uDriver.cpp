#include "driver/uDriver.h"

#include "common/Common.Log.h"
#include "driver/XmlTableReader.h"
#include "driver/uUploadLoop.h"
#include "forms/ufmAdvSettings.h"
#include "lib/cf/Exception.h"
#include "lib/cf/FormatSettings.h"
#include "lib/cf/TextUtils.h"

namespace driver {

namespace {

// The address as a file-name stem: dots become "_", and so does anything a
// file name cannot hold, so a setting never points the log elsewhere.
std::u16string LogStemFromAddress(const std::u16string& address) {
    std::u16string stem = cf::ReplaceAll(address, u".", u"_");
    for (char16_t& c : stem) {
        const bool invalid = c < 0x20 || c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' ||
                             c == u'"' || c == u'<' || c == u'>' || c == u'|';
        if (invalid) c = u'_';
    }
    return stem;
}

// The administrator tests the device where a log that cannot be written
// would otherwise go unnoticed: its problem follows the answer.
std::u16string WithLogProblem(const std::u16string& answer) {
    const std::u16string problem = common::ProbeLogFile();
    if (problem.empty()) return answer;
    return answer + u"\r\nВнимание: журнал драйвера не записывается. " + problem;
}

}  // namespace

TDriver::TDriver() : FDevice(std::make_unique<device::TDevice>()) {}

TDriver::~TDriver() = default;

void TDriver::RegisterMethods() {
    TScaleOfflineDriver::RegisterMethods();
    try {
        AddGuardedMethod(u"ВыгрузитьТовары", u"UploadGoods", 3, [this](cf::VarArrayData& args) { UploadGoods(args); });
        AddGuardedMethod(u"ОчиститьТовары", u"ClearGoods", 1, [this](cf::VarArrayData&) { ClearGoods(); });
        AddGuardedMethod(u"УдалитьТовар", u"DeleteGood", 1, [this](cf::VarArrayData& args) { DeleteGood(args); });
        AddGuardedMethod(u"ВыгрузитьНаименованиеОрганизации", u"UploadCompany", 1,
                         [this](cf::VarArrayData& args) { UploadCompany(args); });
        AddGuardedMethod(u"ВыгрузитьДополнительныйТекст", u"UploadAdditionalText", 1,
                         [this](cf::VarArrayData& args) { UploadAdditionalText(args); });
        AddGuardedMethod(u"ВыгрузитьТару", u"UploadTare", 2, [this](cf::VarArrayData& args) { UploadTare(args); });
    } catch (...) {
    }
}

void TDriver::RegisterSettings() {
    TScaleOfflineDriver::RegisterSettings();
    try {
        pt_Add(u"IPАдрес", u"IPAddress", false, cf::Variant(u""));
        pt_Add(u"IPПорт", u"IPPort", false, cf::Variant(u"0"));
        pt_Add(u"ТипПрошивки", u"FirmwareType", false, cf::Variant(u"1"));
        pt_Add(u"ВестиЛогОбмена", u"ExtLogEnabled", false, cf::Variant(u"false"));
    } catch (...) {
    }
}

void TDriver::Reconnect() {
    FDevice->Disable();
    const std::u16string address = GetSettingValueStr(u"IPAddress");
    const int32_t port = GetSettingValueInt(u"IPPort");
    FDevice->Enable(address, port);
}

void TDriver::UploadRecords(const XmlTable& table, const RecordRequest& makeRequest) {
    UploadRequests(*FDevice, [&](const TRequestSink& send) {
        table.ForEachRecord([&](const XmlRecord& record) { send(makeRequest(record)); });
    });
}

void TDriver::Open() {
    TScaleOfflineDriver::Open();
    cf::FormatSettings().DecimalSeparator = u'.';
    SetLogEnabled(GetSettingValueBool(u"LogEnabled"));
    common::SetLogFileStem(LogStemFromAddress(GetSettingValueStr(u"IPAddress")));
    FDevice->SetExtLogEnabled(GetSettingValueBool(u"ExtLogEnabled"));
    FDevice->SetFirmwareType(GetSettingValueInt(u"FirmwareType"));
    Reconnect();
}

void TDriver::Close() {
    if (FDevice) FDevice->Disable();
    TScaleOfflineDriver::Close();
}

void TDriver::DeviceTest(std::u16string& description, std::u16string& demoModeIsActivated) {
    description.clear();
    demoModeIsActivated.clear();
    const bool wasOpen = FEnabled;
    try {
        if (!wasOpen) Open();
        description = WithLogProblem(u"Весы подключены");
    } catch (...) {
        const std::u16string message = WithLogProblem(cf::CurrentExceptionMessage());
        if (!wasOpen) Close();
        throw cf::Exception(message);
    }
    if (!wasOpen) Close();
}

TDriver::Action TDriver::FindAction(const std::u16string& name) {
    if (cf::AsciiSameText(name, u"ShowAdvSettings")) return [this] { ShowAdvSettings(); };
    return TScaleOfflineDriver::FindAction(name);
}

void TDriver::ShowAdvSettings() {
    CheckEnabled();
    // The dialog makes a connection of its own; a scale serving one connection
    // at a time would not answer it while this one stays open. Every device
    // operation of the driver connects afresh, so nothing is lost.
    FDevice->Disable();
    forms::ShowAdvSettingsDialog(GetSettingValueInt(u"FirmwareType"), GetSettingValueBool(u"ExtLogEnabled"),
                                 GetSettingValueStr(u"IPAddress"), GetSettingValueInt(u"IPPort"));
}

}  // namespace driver
