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

// How the answer to a frame is judged: its first byte must be Good, else the
// command fails with Message.
struct TAnswerCheck {
    uint8_t Good = kACK;
    const char16_t* Message = u"";
};

// A finished frame with the check of its answer.
struct TRequest {
    TByteString Frame;
    TAnswerCheck Check;
};

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

    // The two halves of every command, for a caller that makes its next frame
    // while the scale answers (the driver's upload loop). SendRequest sends a finished
    // frame, which becomes Request; AwaitAnswer reads the answer's first byte
    // into Response and judges it. A refused answer's exchange line is
    // written before the refusal raises; the other lines are the caller's to
    // write (LogRequest, LogAnswer), so that the frame may go out first.
    void SendRequest(TByteString AFrame);
    void AwaitAnswer(const TAnswerCheck& ACheck);
    // The exchange lines of Request and of Response, when ExtLogEnabled.
    void LogRequest() const;
    void LogAnswer() const;

    // The requests of the records an upload sends.
    TRequest PluRequest(const TPluRecord& ARecord) const;
    TRequest TareRequest(int32_t LTareNumber, int32_t LTareWeight) const;
    TRequest AdditionalTextRequest(int32_t ATextID, std::u16string_view AValue) const;

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
    // One exchange: sends the frame, judges the first answer byte and, for
    // reads, fetches AFurther more bytes into Response.
    void Execute(TRequest ARequest, int AFurther = 0);
    void LogExchange(const char16_t* ADirection, const TByteString& ABytes) const;

    TTCPSocket FConnection;
    TExchangeLog FLog;
    TByteString FRequest;
    TByteString FResponse;
    int32_t FFirmwareType = 0;
    bool FExtLogEnabled = false;
};

}  // namespace device
