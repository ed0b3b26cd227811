// The tare table, the company name and the additional texts.
#include "driver/DriverArguments.h"
#include "driver/XmlDocuments.h"
#include "driver/XmlTableReader.h"
#include "driver/uDriver.h"
#include "lib/cf/Exception.h"
#include "lib/cf/VariantConvert.h"

namespace driver {

namespace {

constexpr uint32_t kMaxTareNumber = 16;

// The table a parameter's document holds.
XmlTable TableParameter(const cf::Variant& parameter) {
    std::u16string converted;
    return XmlTable(TextArgumentView(parameter, converted));
}

}  // namespace

void TDriver::UploadCompany(const cf::VarArrayData& args) {
    CheckEnabled();
    Reconnect();
    FDevice->WriteCompany(TextArgument(args.at(0)));
}

void TDriver::UploadAdditionalText(const cf::VarArrayData& args) {
    CheckEnabled();
    const XmlTable table = TableParameter(args.at(0));
    Reconnect();
    UploadAdditionalTextXML(table);
}

void TDriver::UploadAdditionalTextXML(const XmlTable& table) {
    UploadRecords(table, [this](const XmlRecord& record) {
        const int32_t textId = VarToIntDef(record.Text(u"TextID"), kMissingValue);
        if (textId == kMissingValue) throw cf::Exception(u"Некорректный ID текста");
        return FDevice->AdditionalTextRequest(textId, record.Text(u"Value"));
    });
}

void TDriver::UploadTare(const cf::VarArrayData& args) {
    CheckEnabled();
    const XmlTable table = TableParameter(args.at(1));
    Reconnect();
    UploadTareXML(table);
}

void TDriver::UploadTareXML(const XmlTable& table) {
    UploadRecords(table, [this](const XmlRecord& record) {
        const int32_t number = VarToIntDef(record.Text(u"TareNumber"), kMissingValue);
        const int32_t weight = VarToIntDef(record.Text(u"TareWeight"), kMissingValue);
        // Taken as unsigned, every negative number is out of range too.
        if (number == kMissingValue || static_cast<uint32_t>(number) > kMaxTareNumber)
            throw cf::Exception(u"Некорректный номер тары. Диапазон от 0 до 16");
        if (weight == kMissingValue) throw cf::Exception(u"Некорректный вес тары");
        return FDevice->TareRequest(number, weight);
    });
}

}  // namespace driver
