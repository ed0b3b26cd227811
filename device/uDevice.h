// The scale command object: one connection, one exchange at a time, one
// operation per scale command.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "device/uFrameFields.h"
#include "device/uScaleFrames.h"
#include "device/uTCPSocket.h"

namespace device {

// Where exchange lines go when ExtLogEnabled is on: text and detail of a
// DEBUG entry.
using TExchangeLog = std::function<void(std::u16string_view AText, std::u16string_view ADetail)>;
// The library's log (common::WriteLog at DEBUG level).
TExchangeLog LibraryExchangeLog();

class TDevice {
public:
    explicit TDevice(TExchangeLog ALog = LibraryExchangeLog());
    TDevice(const TDevice&) = delete;
    TDevice& operator=(const TDevice&) = delete;

    const TByteString& Request() const { return FRequest; }
    const TByteString& Response() const { return FResponse; }
    int32_t FirmwareType() const { return FFirmwareType; }
    void SetFirmwareType(int32_t AValue) { FFirmwareType = AValue; }
    bool ExtLogEnabled() const { return FExtLogEnabled; }
    void SetExtLogEnabled(bool AValue) { FExtLogEnabled = AValue; }
    TTCPSocket& Connection() { return FConnection; }

    void Enable(std::u16string_view AIPAddress, int32_t AIPPort);
    void Disable();
    // Sends ACmd and reads the one answer byte into Response; judges nothing.
    void RunCommand(const TByteString& ACmd);

    void ClearPLU();
    void DeletePLU(int32_t APluId);
    void ReadPLU();
    void ReadConf();
    void ReadAdditionalText(int32_t ATextID);
    void WritePlu(int32_t APLU, int32_t AGroupNumber, int32_t AFixWeight, int32_t AShelfLife, int32_t ASellByDate,
                  int32_t ATaxNumber, int32_t ATareNumber, std::u16string_view ABarcode, std::u16string_view AName,
                  TCurrency APrice, bool AIsWeightGoods, int32_t ATextID);
    void WriteTare(int32_t LTareNumber, int32_t LTareWeight);
    void WriteCompany(std::u16string_view AName);
    void WriteAdditionalText(int32_t ATextID, std::u16string_view AValue);

    void WriteDateTime(double ADateTime);
    void WriteOperatorOptions(const TOperatorOptions& AOperOptions);
    // AData: a complete frame as hexadecimal text, sent unchanged.
    void WriteLabel(std::u16string_view AData);
    void WriteOpers(std::u16string_view AOperators);
    void WriteDateText(std::u16string_view ADate);
    void WriteBarcodeFormat(std::u16string_view ABarcode, std::u16string_view APrefix);
    void WriteLabelOptions(const TLabelOptions& ALabelOptions, std::u16string_view ADate);

private:
    // Sends a finished frame, checks the first answer byte against AGood and,
    // for reads, fetches AFurther more bytes into Response.
    void Execute(TByteString AFrame, uint8_t AGood, const char16_t* AMessage, int AFurther = 0);
    void ReadAnswer(int ALen);

    TTCPSocket FConnection;
    TExchangeLog FLog;
    TByteString FRequest;
    TByteString FResponse;
    int32_t FFirmwareType = 0;
    bool FExtLogEnabled = false;
};

}  // namespace device
