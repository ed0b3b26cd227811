#include <gtest/gtest.h>

#include "device/uScaleFrames.h"
#include "lib/cf/DateTime.h"
#include "tests/unit/device/DeviceTestSupport.h"

using namespace device;
using device_test::Bytes;
using device_test::Hex;
using device_test::MessageOf;

namespace {

// Data bytes of a finished frame: between the header and the CRC.
std::string DataOf(const std::string& frame) { return frame.substr(kHeaderSize, frame.size() - kHeaderSize - 2); }

// Every finished frame carries its lengths and a CRC over all bytes after STX.
void ExpectWellFormed(const std::string& frame, std::size_t dataLength) {
    ASSERT_EQ(frame.size(), dataLength + 17);
    EXPECT_EQ(IntToBytesLE(2, static_cast<int64_t>(dataLength + 8)), frame.substr(1, 2));
    EXPECT_EQ(IntToBytesLE(2, static_cast<int64_t>(dataLength)), frame.substr(5, 2));
    const uint16_t crc = Crc16(std::string_view(frame).substr(1, frame.size() - 3));
    EXPECT_EQ(static_cast<uint8_t>(frame[frame.size() - 2]), crc >> 8);
    EXPECT_EQ(static_cast<uint8_t>(frame.back()), crc & 0xFF);
}

TPluRecord SamplePlu() {
    TPluRecord r;
    r.PLU = 7;
    r.GroupNumber = 3;
    r.FixWeight = 500;
    r.ShelfLife = 10;
    r.SellByDate = 5;
    r.TaxNumber = 2;
    r.TareNumber = 1;
    r.Barcode = u"1234567";
    r.Name = u"Сыр||Российский";
    r.Price = TCurrency{123400};
    r.IsWeightGoods = true;
    r.TextID = 4;
    return r;
}

}  // namespace

TEST(Frames, WorkedExamplesByteForByte) {
    EXPECT_EQ(Hex(ReadConfFrame(0)), "0209000100010000C900020000000200ABE9");
    EXPECT_EQ(Hex(ReadConfFrame(1)), "0209000100010000C900020000000100FEBA");
    EXPECT_EQ(DeletePLUFrame(0, 1234),
              Bytes("02 35 00 01 00 2D 00 00 CF 00 01 00 01 00 02 D2 04 00 00") + std::string(41, ' ') + Bytes("EC 83"));
    EXPECT_EQ(WriteTareFrame(1, 1, 150), Bytes("02 0E 00 01 00 06 00 00 D7 00 00 00 01 00 01 01 00 96 00 00 00 F4 B1"));
}

TEST(Frames, TrailerSetsTheFirmwareMarkWhateverWasBuilt) {
    for (char built : {'\x00', '\x01', '\x02'}) {
        std::string request = FrameHeader(kReadConf) + std::string(1, '\0');
        request[kFirmwareMarkOffset] = built;
        EXPECT_EQ(Hex(FinishFrame(request, 0)), "0209000100010000C900020000000200ABE9");
        EXPECT_EQ(Hex(FinishFrame(request, 7)), "0209000100010000C900020000000100FEBA");  // like type 1
    }
    std::string header = FrameHeader(kReadConf);
    CalcTrailer(header, 0);
    EXPECT_EQ(header[kFirmwareMarkOffset], 0);  // a bare header gets no mark
}

TEST(Frames, HeadersOfEveryCommandAndWellFormedFrames) {
    const TLabelOptions label;
    const struct {
        std::string frame;
        const char* header;  // with the firmware mark of type 1
    } cases[] = {
        {ClearPLUFrame(1), "02 35 00 01 00 2D 00 00 CF 00 08 00 01 00 01"},
        {ReadPLUFrame(1), "02 35 00 01 00 2D 00 00 CF 00 03 00 01 00 01"},
        {ReadAdditionalTextFrame(1, 3), "02 0A 00 01 00 02 00 00 D1 00 02 00 00 00 01"},
        {WriteAdditionalTextFrame(1, 3, u"x"), "02 D2 00 01 00 CA 00 00 D1 00 00 00 01 00 01"},
        {WriteCompanyFrame(1, u"x"), "02 50 00 01 00 48 00 00 D4 00 00 00 00 00 01"},
        {WriteDateTimeFrame(1, 45356.5), "02 0E 00 01 00 06 00 00 EE 00 00 00 00 00 01"},
        {WriteOperatorOptionsFrame(1, {}), "02 13 00 01 00 0B 00 00 CA 00 00 00 01 00 01"},
        {WriteOpersFrame(1, 0, u"a"), "02 1E 00 01 00 16 00 00 CC 00 00 00 00 00 01"},
        {WriteDateTextFrame(1, 1, u"a"), "02 28 00 01 00 20 00 00 DB 00 00 00 00 00 01"},
        {WriteBarcodeFormatFrame(1, u"XX AAAAA BBBBB", u""), "02 1C 00 01 00 14 00 00 D6 00 00 00 01 00 01"},
        {WriteLabelOptionsFrame(1, label), "02 1A 00 01 00 12 00 00 F3 00 00 00 01 00 01"},
        {WritePluFrame(0, SamplePlu()), "02 4C 00 01 00 44 00 00 CF 00 00 00 01 00 02"},
        {WritePluFrame(1, SamplePlu()), "02 6C 00 01 00 64 00 00 CF 00 00 00 01 00 01"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Hex(c.frame.substr(0, kHeaderSize)), Hex(Bytes(c.header)));
        ExpectWellFormed(c.frame, c.frame.size() - 17);
    }
    EXPECT_EQ(DataOf(ReadPLUFrame(0)), Bytes("01 00 00 00") + std::string(41, ' '));
    EXPECT_EQ(DataOf(ClearPLUFrame(0)), std::string(45, ' '));
    EXPECT_EQ(DataOf(ReadAdditionalTextFrame(0, 258)), Bytes("02 01"));
}

TEST(WritePlu, OneLineLayout) {
    const std::string data = DataOf(WritePluFrame(0, SamplePlu()));
    ASSERT_EQ(data.size(), 68u);
    EXPECT_EQ(data.substr(0, 4), Bytes("07 00 00 00"));
    EXPECT_EQ(data.substr(4, 13), "0000001234567");
    EXPECT_EQ(data.substr(17, 28), StrToCP866(u"Сыр") + std::string(25, ' '));
    EXPECT_EQ(Hex(data.substr(45)), "20" "D2040000" "02" "01" "0000" "F401" "0000" "0300" "0000" "0A00" "0500" "0400");
}

TEST(WritePlu, TwoLineLayoutShiftsTheTailBy32) {
    TPluRecord r = SamplePlu();
    r.IsWeightGoods = false;
    const std::string data = DataOf(WritePluFrame(1, r));
    ASSERT_EQ(data.size(), 100u);
    EXPECT_EQ(data.substr(17, 60), StrToCP866(u"Сыр") + std::string(27, ' ') + StrToCP866(u"Российский") +
                                       std::string(20, ' '));
    EXPECT_EQ(Hex(data.substr(77)), "20" "D2040000" "02" "01" "0000" "F401" "0000" "0300" "0100" "0A00" "0500" "0400");
}

TEST(WritePlu, NameLinesOnBothFirmwareTypes) {
    const auto name = [](int fw, std::u16string text) {
        TPluRecord r = SamplePlu();
        r.Name = std::move(text);
        return DataOf(WritePluFrame(fw, r)).substr(17, fw == 0 ? 28 : 60);
    };
    const std::string forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";
    const std::u16string forty16(forty.begin(), forty.end());
    EXPECT_EQ(name(0, forty16), forty.substr(0, 28));
    EXPECT_EQ(name(1, forty16), forty.substr(0, 30) + std::string(30, ' '));
    EXPECT_EQ(name(1, u"Line1"), "Line1" + std::string(55, ' '));
    EXPECT_EQ(name(1, u"one||two||three"), "one" + std::string(27, ' ') + "three" + std::string(25, ' '));
    EXPECT_EQ(name(0, u"one||two"), "one" + std::string(25, ' '));
    EXPECT_EQ(name(0, u""), std::string(28, ' '));
    EXPECT_EQ(name(1, u""), std::string(60, ' '));
    EXPECT_EQ(name(1, u"a|||b"), "a" + std::string(29, ' ') + "|b" + std::string(28, ' '));
    EXPECT_EQ(name(1, u"a|b"), "a|b" + std::string(57, ' '));
    EXPECT_EQ(name(0, u"Ящик €"), StrToCP866(u"Ящик ?") + std::string(22, ' '));
}

// Typographic characters become one byte each: widths, the cut and the "||"
// split stay where they were.
TEST(TextFields, StandInsKeepWidthsCutsAndTheNameSplit) {
    TPluRecord r = SamplePlu();
    r.Name = u"Конфеты «Ромашка»||Весовые — 1 кг…";
    EXPECT_EQ(DataOf(WritePluFrame(1, r)).substr(17, 60), StrToCP866(u"Конфеты \"Ромашка\"") + std::string(13, ' ') +
                                                             StrToCP866(u"Весовые - 1 кг.") + std::string(15, ' '));
    r.Name = u"«Ромашка» конфеты — в коробке 200 г";
    EXPECT_EQ(DataOf(WritePluFrame(0, r)).substr(17, 28), StrToCP866(u"\"Ромашка\" конфеты - в коробк"));

    EXPECT_EQ(DataOf(WriteCompanyFrame(0, u"ООО «Весёлый фермер»")).substr(2),
              StrToCP866(u"ООО \"Весёлый фермер\"") + std::string(50, ' '));
    EXPECT_EQ(DataOf(WriteAdditionalTextFrame(0, 1, u"Хранить при −18 °C||«Ешь» …")).substr(2, 26),
              StrToCP866(u"Хранить при -18 °C") + "\x10" + StrToCP866(u"\"Ешь\" ."));
    EXPECT_EQ(DataOf(WriteOpersFrame(0, 1, u"Иванов|О’Нил Зоё")).substr(2),
              StrToCP866(u"О'Нил Зоё") + std::string(11, ' '));
    EXPECT_EQ(DataOf(WriteBarcodeFormatFrame(0, u"XX AAAAA", u"2‑1")), "\x02" "02-1AAAAAC" + std::string(9, ' '));
}

TEST(WritePlu, BarcodePriceAndWeightFlag) {
    const auto data = [](auto change) {
        TPluRecord r = SamplePlu();
        change(r);
        return DataOf(WritePluFrame(0, r));
    };
    EXPECT_EQ(data([](TPluRecord& r) { r.Barcode = u"123456789012345"; }).substr(4, 13), "1234567890123");
    EXPECT_EQ(data([](TPluRecord& r) { r.Barcode = u""; }).substr(4, 13), std::string(13, '0'));
    EXPECT_EQ(data([](TPluRecord& r) { r.Price = TCurrency{1250}; }).substr(46, 4), Bytes("0C 00 00 00"));
    EXPECT_EQ(data([](TPluRecord& r) { r.Price = TCurrency{1350}; }).substr(46, 4), Bytes("0E 00 00 00"));
    EXPECT_EQ(data([](TPluRecord& r) { r.IsWeightGoods = true; }).substr(60, 2), Bytes("00 00"));
    EXPECT_EQ(data([](TPluRecord& r) { r.IsWeightGoods = false; }).substr(60, 2), Bytes("01 00"));
}

TEST(WritePlu, RefusesValuesOutsideTheirFieldsAndUnknownFirmware) {
    const auto message = [](auto change, int fw = 0) {
        TPluRecord r = SamplePlu();
        change(r);
        return MessageOf([&] { WritePluFrame(fw, r); });
    };
    EXPECT_EQ(message([](TPluRecord& r) { r.PLU = -1; }),
              u"Значение поля «Номер PLU» вне допустимого диапазона 0..4294967295: -1");
    EXPECT_EQ(message([](TPluRecord& r) { r.TaxNumber = 256; }),
              u"Значение поля «Налоговая ставка» вне допустимого диапазона 0..255: 256");
    EXPECT_EQ(message([](TPluRecord& r) { r.TextID = 70000; }),
              u"Значение поля «ID дополнительного текста» вне допустимого диапазона 0..65535: 70000");
    EXPECT_EQ(message([](TPluRecord& r) { r.Price = TCurrency{-10000}; }),
              u"Значение поля «Цена» вне допустимого диапазона 0..42949672.95: -1");
    EXPECT_EQ(message([](TPluRecord& r) { r.Price = TCurrency{429496729600}; }),
              u"Значение поля «Цена» вне допустимого диапазона 0..42949672.95: 42949672.96");
    EXPECT_EQ(message([](TPluRecord&) {}, 2),
              u"Неподдерживаемый тип прошивки весов: 2 (допустимы 0 — однострочная и 1 — двухстрочная)");
    EXPECT_EQ(message([](TPluRecord& r) { r.Price = TCurrency{-40}; }), u"(no error)");  // rounds to 0
}

TEST(TextCommands, CompanyAndAdditionalTextReplacements) {
    const std::string company = DataOf(WriteCompanyFrame(0, u"ООО ##15##Ромашка"));
    ASSERT_EQ(company.size(), 72u);
    EXPECT_EQ(company.substr(0, 2), Bytes("01 00"));
    EXPECT_EQ(company.substr(2), StrToCP866(u"ООО \x0FРомашка") + std::string(58, ' '));

    const std::string text = DataOf(WriteAdditionalTextFrame(0, 5, u"Line1||Line2"));
    ASSERT_EQ(text.size(), 202u);
    EXPECT_EQ(text.substr(0, 2), Bytes("05 00"));
    EXPECT_EQ(text.substr(2), "Line1\x10Line2" + std::string(189, ' '));
    // "||" is replaced before "##15##", so a marker split by it survives as a marker.
    EXPECT_EQ(DataOf(WriteAdditionalTextFrame(0, 1, u"a##15##||b")).substr(2, 4), "a\x0F\x10" "b");
    const std::string long70(80, 'x');
    EXPECT_EQ(DataOf(WriteCompanyFrame(0, std::u16string(long70.begin(), long70.end()))).substr(2), std::string(70, 'x'));
}

TEST(ConfigurationCommands, DateTimeAndOperatorOptions) {
    const double when = cf::EncodeDateTime({2024, 3, 5, 14, 7, 9, 0});
    EXPECT_EQ(Hex(DataOf(WriteDateTimeFrame(0, when))), "050318" "0E0709");
    EXPECT_EQ(MessageOf([] { WriteDateTimeFrame(0, 1e300); }), u"Некорректные дата и время для весов");
    const TOperatorOptions options{2, 0x41, 0x80, 0x10, 0x4A};
    EXPECT_EQ(Hex(DataOf(WriteOperatorOptionsFrame(0, options))), "0000" "02" "00010001" "41" "80" "10" "4A");
    EXPECT_EQ(MessageOf([] { WriteOperatorOptionsFrame(0, TOperatorOptions{300, 0, 0, 0, 0}); }),
              u"Значение поля «Носитель печати» вне допустимого диапазона 0..255: 300");
}

TEST(ConfigurationCommands, OperatorsAndDateTexts) {
    EXPECT_EQ(DataOf(WriteOpersFrame(0, 0, u"Ivanov|Petrov")), Bytes("00 00") + "Ivanov" + std::string(14, ' '));
    EXPECT_EQ(DataOf(WriteOpersFrame(0, 1, u"Ivanov||Petrov")), Bytes("01 00") + "Petrov" + std::string(14, ' '));
    EXPECT_EQ(DataOf(WriteOpersFrame(0, 4, u"Ivanov|Petrov")), Bytes("04 00") + std::string(20, ' '));
    EXPECT_EQ(DataOf(WriteOpersFrame(0, 0, u"Сидоров")), Bytes("00 00") + StrToCP866(u"Сидоров") + std::string(13, ' '));
    EXPECT_EQ(DataOf(WriteDateTextFrame(0, 2, u"Packed|Best before|Sell by")),
              Bytes("02 00") + "Best before" + std::string(19, ' '));
    EXPECT_EQ(DataOf(WriteDateTextFrame(0, 3, u"a|b")), Bytes("03 00") + std::string(30, ' '));
}

TEST(ConfigurationCommands, BarcodeFormatFillAndCut) {
    EXPECT_EQ(Hex(DataOf(WriteBarcodeFormatFrame(0, u"XX AAAAA QQQQQ", u"22"))),
              "0230323241414141415151515151432020202020");
    EXPECT_EQ(DataOf(WriteBarcodeFormatFrame(0, u"XX AAAAA BBBBB", u"")), "\x02" "0AAAAABBBBBC" + std::string(7, ' '));
    EXPECT_EQ(DataOf(WriteBarcodeFormatFrame(0, u"AAAAAAA QQQQQ", u"123456")), "\x02" "0123456AAAAAAAQQQQQ");
    EXPECT_EQ(DataOf(WriteBarcodeFormatFrame(0, u"X AAAAAA QQQQQ", u"1234567")), "\x02" "01234567AAAAAAQQQQQ");  // "C" cut off
}

TEST(ConfigurationCommands, LabelOptionsLayoutsAndPrepackFrame) {
    TLabelOptions o;
    o.FontPLU1 = 1;
    o.FontPLU2 = 2;
    o.FontDopText = 3;
    o.PrintStoreAddress = 1;
    o.PrintFormat = 0x1D3;
    EXPECT_EQ(Hex(DataOf(WriteLabelOptionsFrame(0, o))), "020001000000" "01" "03" "01" "00010203" "00" "D301" "0000");
    const std::string first = WriteLabelOptionsFrame(1, o);
    EXPECT_EQ(Hex(DataOf(first)), "020001000000" "01" "02" "03" "01" "03010203" "D301" "0000");
    const std::string second = PrepackLabelOptionsFrame(1, first);
    ExpectWellFormed(second, 18);
    EXPECT_EQ(static_cast<uint8_t>(second[15]), 0x05);
    EXPECT_EQ(second.substr(0, 15), first.substr(0, 15));
    EXPECT_EQ(second.substr(16, 17), first.substr(16, 17));
    EXPECT_NE(second.substr(33), first.substr(33));
    EXPECT_EQ(MessageOf([&] { WriteLabelOptionsFrame(-1, o); }),
              u"Неподдерживаемый тип прошивки весов: -1 (допустимы 0 — однострочная и 1 — двухстрочная)");
    o.PrintFormat = 65536;
    EXPECT_EQ(MessageOf([&] { WriteLabelOptionsFrame(0, o); }),
              u"Значение поля «Формат печати дат» вне допустимого диапазона 0..65535: 65536");
}
