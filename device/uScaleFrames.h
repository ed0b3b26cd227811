// Request frames of every scale command, built and finished (firmware mark
// and CRC) but not sent. TDevice sends them; tests and tools build them too.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "device/uFrameFields.h"
#include "device/uScaleCommands.h"

namespace device {

// Service options; each field goes out as one byte.
struct TOperatorOptions {
    int32_t Printer_Media = 0;
    int32_t TicketSetting0 = 0;
    int32_t Running_Message = 0;
    int32_t Use_Key = 0;
    int32_t TicketSetting1 = 0;
};

// The settings the operator options carry as one bit each.
enum class TOperatorFlag {
    Barcode,
    BarcodeOnStub,
    TotalWeight,
    PLUNumber,
    Stub,
    Header,
    Footer,
    RunningMessage,
    PriceKey,     // the "#" key enters a price
    TicketNo,
    PackingMode,  // packing rather than sale
    Tare,
};
// Sets the flag's bit in the field of AOptions that carries it.
void SetOperatorFlag(TOperatorOptions& AOptions, TOperatorFlag AFlag);

// The dates a label prints.
enum class TLabelDate { Package, BestBefore, SellBy };
// The date's bits of the label options' print format for the format chosen
// (its index in the firmware's list, -1 for none): one-line firmware (type 0)
// has a code per format, two-line firmware one flag for any choice; other
// types print no date.
int32_t PrintFormatBits(int32_t AFirmwareType, TLabelDate ADate, int AChoice);

// Label options. The date texts are short strings of at most 30 single-byte
// characters; they ride along for the dialog and are not sent.
struct TLabelOptions {
    std::string PackadgeDateText;
    std::string BestBeforeDateText;
    std::string SellByDateText;
    int32_t PrintFormat = 0;
    int32_t PrintStoreAddress = 0;
    int32_t FontPLU1 = 0;
    int32_t FontPLU2 = 0;
    int32_t FontDopText = 0;
};

struct TPluRecord {
    int32_t PLU = 0;
    int32_t GroupNumber = 0;
    int32_t FixWeight = 0;
    int32_t ShelfLife = 0;
    int32_t SellByDate = 0;
    int32_t TaxNumber = 0;
    int32_t TareNumber = 0;
    std::u16string Barcode;
    std::u16string Name;
    TCurrency Price;
    bool IsWeightGoods = true;
    int32_t TextID = 0;
};

// The first 15 bytes of a request; the firmware mark is left 0.
TByteString FrameHeader(const TCommandCode& ACommand);
// Sets the firmware mark (0x02 for type 0, 0x01 otherwise) and returns the
// CRC of everything after STX, high byte first.
TByteString CalcTrailer(TByteString& ARequest, int32_t AFirmwareType);
// ARequest with its trailer appended.
TByteString FinishFrame(TByteString ARequest, int32_t AFirmwareType);

// Name lines: split at every "||"; the first piece is line 1, the last
// further piece line 2 (empty without one); both views into AName.
std::pair<std::u16string_view, std::u16string_view> SplitPluName(std::u16string_view AName);

TByteString ClearPLUFrame(int32_t AFirmwareType);
TByteString DeletePLUFrame(int32_t AFirmwareType, int32_t APluId);
TByteString ReadPLUFrame(int32_t AFirmwareType);
TByteString ReadConfFrame(int32_t AFirmwareType);
TByteString ReadAdditionalTextFrame(int32_t AFirmwareType, int32_t ATextID);
// Refuses a firmware type other than 0 and 1.
TByteString WritePluFrame(int32_t AFirmwareType, const TPluRecord& ARecord);
TByteString WriteTareFrame(int32_t AFirmwareType, int32_t LTareNumber, int32_t LTareWeight);
TByteString WriteCompanyFrame(int32_t AFirmwareType, std::u16string_view AName);
TByteString WriteAdditionalTextFrame(int32_t AFirmwareType, int32_t ATextID, std::u16string_view AValue);
// ADateTime: local date and time as days since 30 December 1899.
TByteString WriteDateTimeFrame(int32_t AFirmwareType, double ADateTime);
TByteString WriteOperatorOptionsFrame(int32_t AFirmwareType, const TOperatorOptions& AOptions);
// Operator AIndex (0..4) named by field AIndex + 1 of AOperators.
TByteString WriteOpersFrame(int32_t AFirmwareType, int AIndex, std::u16string_view AOperators);
// Date text AIndex (1..3): field AIndex of ADate in the system's OEM code page.
TByteString WriteDateTextFrame(int32_t AFirmwareType, int AIndex, std::u16string_view ADate);
TByteString WriteBarcodeFormatFrame(int32_t AFirmwareType, std::u16string_view ABarcode, std::u16string_view APrefix);
// Refuses a firmware type other than 0 and 1.
TByteString WriteLabelOptionsFrame(int32_t AFirmwareType, const TLabelOptions& AOptions);
// The second label-options frame of two-line firmware: the first one sent,
// with data byte 0 set to 0x05 and a new trailer.
TByteString PrepackLabelOptionsFrame(int32_t AFirmwareType, const TByteString& AFirstFrame);

// The firmware types that have a PLU and label-options layout.
void CheckFirmwareType(int32_t AFirmwareType);

}  // namespace device
