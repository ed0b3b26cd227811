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

// The document text of a parameter (a view of it, or of `converted`),
// checked to be well-formed before anything reaches the scale.
std::u16string_view TableParameter(const cf::Variant& parameter, std::u16string& converted) {
    const std::u16string_view document = TextArgumentView(parameter, converted);
    CheckXmlTable(document);
    return document;
}

}  // namespace

void TDriver::UploadCompany(const cf::VarArrayData& args) {
    CheckEnabled();
    Reconnect();
    FDevice->WriteCompany(TextArgument(args.at(0)));
}

void TDriver::UploadAdditionalText(const cf::VarArrayData& args) {
    CheckEnabled();
    std::u16string converted;
    const std::u16string_view document = TableParameter(args.at(0), converted);
    Reconnect();
    UploadAdditionalTextXML(document);
}

void TDriver::UploadAdditionalTextXML(std::u16string_view document) {
    ForEachRecord(document, [this](const XmlRecord& record) {
        const int32_t textId = VarToIntDef(record.Attribute("TextID"), kMissingValue);
        const std::u16string value = record.Text("Value");
        if (textId == kMissingValue) throw cf::Exception(u"Некорректный ID текста");
        FDevice->WriteAdditionalText(textId, value);
    });
}

void TDriver::UploadTare(const cf::VarArrayData& args) {
    CheckEnabled();
    std::u16string converted;
    const std::u16string_view document = TableParameter(args.at(1), converted);
    Reconnect();
    UploadTareXML(document);
}

void TDriver::UploadTareXML(std::u16string_view document) {
    ForEachRecord(document, [this](const XmlRecord& record) {
        const int32_t number = VarToIntDef(record.Attribute("TareNumber"), kMissingValue);
        const int32_t weight = VarToIntDef(record.Attribute("TareWeight"), kMissingValue);
        // Taken as unsigned, every negative number is out of range too.
        if (number == kMissingValue || static_cast<uint32_t>(number) > kMaxTareNumber)
            throw cf::Exception(u"Некорректный номер тары. Диапазон от 0 до 16");
        if (weight == kMissingValue) throw cf::Exception(u"Некорректный вес тары");
        FDevice->WriteTare(number, weight);
    });
}

}  // namespace driver
