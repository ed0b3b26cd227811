// The scale command object: one connection, one exchange at a time, one
// operation per scale command.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
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
    // Runs ABody with the writes it makes pipelined: each frame goes out as
    // soon as the answer to the one before is judged, without waiting for its
    // own, so that the caller makes the next frame while the scale answers.
    // The wire and the log see the same bytes in the same order as one
    // exchange after another, and every answer is judged, in order, before
    // this returns or passes an error on (the scale's error first).
    void RunPipelined(const std::function<void()>& ABody);

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
    void SendPipelined(TByteString AFrame, uint8_t AGood, const char16_t* AMessage);
    // Back to one exchange after another, once the answer in flight is judged.
    void EndPipeline();
    // Reads and judges the answer to the frame in flight; its "<-" line is
    // left to the caller when ADeferLog, except on failure.
    void ReceivePending(bool ADeferLog);
    void Judge(uint8_t AGood, const char16_t* AMessage);
    void LogExchange(const char16_t* ADirection, const TByteString& ABytes);

    // The frame sent under RunPipelined whose answer is still to be read.
    struct TPending {
        uint8_t Good;
        const char16_t* Message;
    };

    TTCPSocket FConnection;
    TExchangeLog FLog;
    TByteString FRequest;
    TByteString FResponse;
    int32_t FFirmwareType = 0;
    bool FExtLogEnabled = false;
    bool FPipelined = false;
    std::optional<TPending> FPending;
};

}  // namespace device
