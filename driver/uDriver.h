// The scale driver the library registers: the scale's settings, its
// connection, and the goods, tare, company and text uploads.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "device/uDevice.h"
#include "driver/uScaleOfflineDriver.h"

namespace driver {

class XmlRecord;
class XmlTable;

inline constexpr char16_t kDriverClassName[] = u"w_quorlan7t4p";

class TDriver : public TScaleOfflineDriver {
public:
    TDriver();
    ~TDriver() override;

    static std::u16string StaticClassName() { return kDriverClassName; }
    std::u16string NCClassName() const override { return StaticClassName(); }

    void RegisterMethods() override;
    void RegisterSettings() override;
    void Open() override;
    void Close() override;
    void DeviceTest(std::u16string& description, std::u16string& demoModeIsActivated) override;

protected:
    Action FindAction(const std::u16string& name) override;

private:
    // A fresh connection with the current address and port.
    void Reconnect();
    // One request per record of the table, each made while the scale answers
    // the one before (UploadRequests in uUploadLoop.h).
    using RecordRequest = std::function<device::TRequest(const XmlRecord&)>;
    void UploadRecords(const XmlTable& table, const RecordRequest& makeRequest);

    // Goods (uDriverGoods.cpp).
    void UploadGoods(const cf::VarArrayData& args);
    void ClearGoods();
    void DeleteGood(const cf::VarArrayData& args);
    void UploadGoodsXML(const XmlTable& table);

    // Tare, company and additional texts (uDriverTexts.cpp).
    void UploadCompany(const cf::VarArrayData& args);
    void UploadAdditionalText(const cf::VarArrayData& args);
    void UploadTare(const cf::VarArrayData& args);
    void UploadAdditionalTextXML(const XmlTable& table);
    void UploadTareXML(const XmlTable& table);

    void ShowAdvSettings();

    std::unique_ptr<device::TDevice> FDevice;
};

}  // namespace driver
