// Goods, tare, company and additional texts against the simulator: every
// message, the order of the checks, partial uploads, and the frames on the
// wire compared with frames built here from the protocol's layout.
#include "tests/integration/driver/DriverFixture.h"

#include "lib/cf/TextUtils.h"
#include "tools/tiger-sim/ScaleModel.h"

using namespace driver_tests;
using namespace host_emulation;

namespace {

const char16_t kGoodRecord[] =
    u"PLU=\"1\" Code=\"1\" EANData=\"123\" Name=\"Apples||Red\" GroupCode=\"3\" Price=\"12,50\" FixWeight=\"0\" "
    u"SellByDate=\"5\" ShelfLife=\"7\" TaxNumber=\"2\" TareNumber=\"4\" IsWeightGoods=\"FALSE\" TextID=\"9\"";

// The good record with one attribute removed or replaced.
std::u16string RecordWith(const std::u16string& attribute, const std::u16string& replacement) {
    std::u16string record = kGoodRecord;
    const std::size_t start = record.find(attribute + u"=\"");
    const std::size_t end = record.find(u'"', start + attribute.size() + 2) + 1;
    record.replace(start, end - start, replacement);
    return u"<Table><Record " + record + u"/></Table>";
}

std::string Le(uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
    return out;
}

std::string Padded(const std::string& text, std::size_t width) { return (text + std::string(width, ' ')).substr(0, width); }

class Uploads : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ASSERT_TRUE(OpenOnSimulator());
    }
    bool UploadGoods(const std::u16string& xml) { return CallBool(u"UploadGoods", {EmptyValue(), Text(xml), Text(u"first")}); }
    bool UploadTare(const std::u16string& xml) { return CallBool(u"UploadTare", {EmptyValue(), Text(xml)}); }
    bool UploadTexts(const std::u16string& xml) { return CallBool(u"UploadAdditionalText", {Text(xml)}); }
    std::u16string Error() { return LastError().second; }
};

}  // namespace

TEST_F(Uploads, EveryGoodsAttributeHasItsMessage) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"PLU", u"Некорректный номер товара"},
        {u"Code", u"Некорректный код товара"},
        {u"GroupCode", u"Некорректный код группы товара"},
        {u"Price", u"Некорректная цена"},
        {u"FixWeight", u"Некорректный фиксированный вес в граммах"},
        {u"ShelfLife", u"Некорректный срок годности"},
        {u"SellByDate", u"Некорректный срок реализации"},
        {u"TaxNumber", u"Некорректная налоговая ставка"},
        {u"TextID", u"Некорректный ID дополнительного текста"},
    };
    for (const auto& [attribute, message] : cases) {
        EXPECT_FALSE(UploadGoods(RecordWith(attribute, u""))) << cf::ToUtf8(attribute);
        EXPECT_EQ(Error(), message);
        EXPECT_FALSE(UploadGoods(RecordWith(attribute, std::u16string(attribute) + u"=\"-999999\"")));
        EXPECT_EQ(Error(), message);
    }
    EXPECT_FALSE(UploadGoods(RecordWith(u"TareNumber", u"TareNumber=\"-999999\"")));
    EXPECT_EQ(Error(), u"Некорректный номер тары");
    EXPECT_FALSE(UploadGoods(RecordWith(u"PLU", u"PLU=\"42.0\"")));
    EXPECT_EQ(Error(), u"Некорректный номер товара");
    EXPECT_FALSE(UploadGoods(RecordWith(u"Price", u"Price=\"1,234.50\"")));
    EXPECT_EQ(Error(), u"Некорректная цена");
    EXPECT_TRUE(sim->State().Plu.empty());
}

// The goods document is read, never copied back into platform memory; the
// out-parameters of DeviceTest are still handed over.
TEST_F(Uploads, TheGoodsDocumentStaysThePlatformsOwnRecord) {
    const std::u16string xml = GoodsDocument(1, 3);
    HostParams params(memory, {EmptyValue(), Text(xml), Text(u"first")});
    const WCHAR_T* document = params[1].pwstrVal;
    const std::size_t allocations = memory.Allocations();
    const std::size_t frees = memory.Frees();
    tVariant result = EmptyValue();
    ASSERT_TRUE(driver->CallAsFunc(driver->FindMethod(u"UploadGoods"), &result, params.data(), params.count()));
    EXPECT_TRUE(result.vt == VTYPE_BOOL && result.bVal) << cf::ToUtf8(Error());
    EXPECT_EQ(params[1].pwstrVal, document);
    EXPECT_EQ(StringOf(params[1]), xml);
    EXPECT_EQ(memory.Allocations(), allocations);
    EXPECT_EQ(memory.Frees(), frees);

    HostParams test(memory, {Text(u"прежнее"), Text(u"прежнее")});
    ASSERT_TRUE(driver->CallAsFunc(driver->FindMethod(u"DeviceTest"), &result, test.data(), test.count()));
    EXPECT_EQ(StringOf(test[0]), u"Весы подключены");
    EXPECT_EQ(StringOf(test[1]), u"");
}

TEST_F(Uploads, ChecksRunInTheirOrder) {
    EXPECT_FALSE(UploadGoods(u"<Table><Record Name=\"x\"/></Table>"));
    EXPECT_EQ(Error(), u"Некорректный номер товара");
    EXPECT_FALSE(UploadGoods(u"<Table><Record PLU=\"1\" Code=\"1\" GroupCode=\"1\" ShelfLife=\"x\" SellByDate=\"x\"/></Table>"));
    EXPECT_EQ(Error(), u"Некорректная цена");
}

TEST_F(Uploads, FailingRecordInTheMiddleKeepsEarlierOnesAndSendsNoLaterOne) {
    const std::u16string xml = u"<Table>" + GoodsDocument(1, 1).substr(7, GoodsDocument(1, 1).size() - 15) +
                               u"<Record PLU=\"2\" Code=\"2\" Price=\"1\"/>" +
                               GoodsDocument(3, 1).substr(7, GoodsDocument(3, 1).size() - 15) + u"</Table>";
    EXPECT_FALSE(UploadGoods(xml));
    EXPECT_EQ(Error(), u"Некорректный код группы товара");
    const tiger_sim::TScaleState state = sim->State();
    ASSERT_EQ(state.Plu.size(), 1u);
    EXPECT_EQ(state.Plu.begin()->first, 1u);
}

// Good records followed by what only a conforming parser refuses: nothing of
// any table reaches the scale, and the message is the parser's.
TEST_F(Uploads, MalformedTablesSendNothing) {
    const std::u16string goods = GoodsDocument(1, 3);
    const std::u16string tare = u"<Table><Record TareNumber=\"1\" TareWeight=\"5\"/>";
    const std::u16string texts = u"<Table><Record TextID=\"1\" Value=\"a\"/>";
    const uint64_t framesBefore = sim->Summary().Frames;
    EXPECT_FALSE(UploadGoods(goods + u"<Table/>"));
    EXPECT_EQ(Error().rfind(u"Ошибка разбора XML: junk after document element (позиция ", 0), 0u);
    EXPECT_FALSE(UploadTare(tare + u"<Record TareNumber=\"2\" TareNumber=\"3\"/></Table>"));
    EXPECT_EQ(Error().rfind(u"Ошибка разбора XML: duplicate attribute (позиция ", 0), 0u);
    EXPECT_FALSE(UploadTexts(texts + u"<Record TextID=\"2\" Value=\"a & b\"/></Table>"));
    EXPECT_EQ(Error().rfind(u"Ошибка разбора XML: not well-formed (invalid token) (позиция ", 0), 0u);
    EXPECT_EQ(sim->Summary().Frames, framesBefore);
    EXPECT_TRUE(sim->State().Plu.empty());
    EXPECT_TRUE(sim->State().Tare.empty());
    EXPECT_TRUE(sim->State().AdditionalTexts.empty());
}

TEST_F(Uploads, ScaleRefusalStopsTheUpload) {
    sim->Stop();
    tiger_sim::TSimOptions options;
    options.RefuseAt = {2};
    StartSimulator(options);
    EXPECT_TRUE(SetParameter(u"IPPort", DoubleValue(port)));
    EXPECT_FALSE(UploadGoods(GoodsDocument(1, 3)));
    EXPECT_EQ(Error(), u"Ошибка выгрузки PLU");
    EXPECT_EQ(sim->State().Plu.size(), 1u);
    EXPECT_EQ(sim->Summary().Frames, 2u);
}

// Tare and texts share the goods' upload loop, each with its own refusal.
TEST_F(Uploads, TareAndTextRefusalsStopTheirUploadsWithTheirMessages) {
    sim->Stop();
    tiger_sim::TSimOptions options;
    options.RefuseAt = {2, 5};
    StartSimulator(options);
    EXPECT_TRUE(SetParameter(u"IPPort", DoubleValue(port)));
    EXPECT_FALSE(UploadTare(u"<Table><Record TareNumber=\"1\" TareWeight=\"5\"/><Record TareNumber=\"2\" "
                            u"TareWeight=\"6\"/><Record TareNumber=\"3\" TareWeight=\"7\"/></Table>"));
    EXPECT_EQ(Error(), u"Ошибка выгрузки веса тары");
    EXPECT_EQ(sim->Summary().Frames, 2u);
    EXPECT_EQ(sim->State().Tare.size(), 1u);
    EXPECT_FALSE(UploadTexts(u"<Table><Record TextID=\"1\" Value=\"a\"/><Record TextID=\"2\" Value=\"b\"/>"
                             u"<Record TextID=\"3\" Value=\"c\"/><Record TextID=\"4\" Value=\"d\"/></Table>"));
    EXPECT_EQ(Error(), u"Ошибка выгрузки дополнительного текста");
    EXPECT_EQ(sim->Summary().Frames, 5u);
    EXPECT_EQ(sim->State().AdditionalTexts.size(), 2u);
}

TEST_F(Uploads, TableShapeRecordNamesAndCleaning) {
    EXPECT_FALSE(UploadGoods(u"<table><Record/></table>"));
    EXPECT_EQ(Error(), u"Не найден корневой узел");
    EXPECT_FALSE(UploadGoods(u"<Table><Record></Table>"));
    EXPECT_EQ(Error().rfind(u"Ошибка разбора XML", 0), 0u);
    EXPECT_FALSE(CallBool(u"UploadGoods"));  // the document left undefined
    EXPECT_TRUE(UploadGoods(u"<Table/>"));
    const std::u16string mixed = u"<Table><record PLU=\"7\" Code=\"1\" GroupCode=\"1\" Price=\"12.50\" FixWeight=\"0\" "
                                 u"SellByDate=\"1\" ShelfLife=\"1\" TaxNumber=\"1\" TextID=\"0\" "
                                 u"Name=\"Сыр\u0001 \U0001F9C0твёрдый\"/><Item PLU=\"8\"/></Table>";
    EXPECT_TRUE(UploadGoods(mixed));
    const tiger_sim::TScaleState state = sim->State();
    ASSERT_EQ(state.Plu.size(), 1u);
    const tiger_sim::TPluEntry& plu = state.Plu.at(7);
    EXPECT_EQ(tiger_sim::TextOf866(plu.Line1), cf::ToUtf8(u"Сыр твёрдый"));
    EXPECT_EQ(plu.PriceHundredths, 1250u);
    EXPECT_EQ(plu.TareNumber, 0u);
    EXPECT_TRUE(plu.IsWeightGoods);
}

TEST_F(Uploads, ClearAndDeleteGoods) {
    ASSERT_TRUE(UploadGoods(GoodsDocument(1, 3)));
    EXPECT_TRUE(CallBool(u"DeleteGood", {Text(u"2")}));
    EXPECT_EQ(sim->State().Plu.size(), 2u);
    EXPECT_FALSE(CallBool(u"DeleteGood", {Text(u"два")}));
    EXPECT_TRUE(CallBool(u"ОчиститьТовары"));
    EXPECT_TRUE(sim->State().Plu.empty());
}

TEST_F(Uploads, TareChecks) {
    EXPECT_TRUE(UploadTare(u"<Table><Record TareNumber=\"0\" TareWeight=\"5\"/><Record TareNumber=\"16\" TareWeight=\"150\"/></Table>"));
    EXPECT_EQ(sim->State().Tare.size(), 2u);
    EXPECT_EQ(sim->State().Tare.at(16), 150u);
    for (const char16_t* bad : {u"17", u"-1", u"x"}) {
        EXPECT_FALSE(UploadTare(u"<Table><Record TareNumber=\"" + std::u16string(bad) + u"\" TareWeight=\"1\"/></Table>"));
        EXPECT_EQ(Error(), u"Некорректный номер тары. Диапазон от 0 до 16");
    }
    EXPECT_FALSE(UploadTare(u"<Table><Record TareNumber=\"1\"/></Table>"));
    EXPECT_EQ(Error(), u"Некорректный вес тары");
    EXPECT_FALSE(UploadTare(u"<Tare/>"));
    EXPECT_EQ(Error(), u"Не найден корневой узел");
}

TEST_F(Uploads, AdditionalTextsAndCompany) {
    EXPECT_TRUE(UploadTexts(u"<Table><Record TextID=\"1\" Value=\"Строка||вторая ##15##\"/><Record TextID=\"2\"/></Table>"));
    const tiger_sim::TScaleState state = sim->State();
    EXPECT_EQ(tiger_sim::TextOf866(state.AdditionalTexts.at(1)), cf::ToUtf8(u"Строка\x10вторая \x0f"));
    EXPECT_EQ(tiger_sim::TextOf866(state.AdditionalTexts.at(2)), "");
    EXPECT_FALSE(UploadTexts(u"<Table><Record Value=\"x\"/></Table>"));
    EXPECT_EQ(Error(), u"Некорректный ID текста");
    EXPECT_TRUE(CallBool(u"UploadCompany", {Text(u"ООО Ромашка##15##")}));
    EXPECT_EQ(tiger_sim::TextOf866(sim->State().Company.value()), cf::ToUtf8(u"ООО Ромашка\x0f"));
    EXPECT_TRUE(CallBool(u"UploadCompany", {Text(u"")}));
    EXPECT_EQ(tiger_sim::TextOf866(sim->State().Company.value()), "");
    EXPECT_FALSE(CallBool(u"UploadCompany"));
}

TEST_F(Uploads, FramesOnTheWireMatchTheProtocolLayout) {
    ASSERT_TRUE(UploadGoods(u"<Table><Record " + std::u16string(kGoodRecord) + u"/></Table>"));
    ASSERT_TRUE(UploadTare(u"<Table><Record TareNumber=\"1\" TareWeight=\"150\"/></Table>"));
    ASSERT_TRUE(CallBool(u"UploadCompany", {Text(u"Shop##15##One")}));
    ASSERT_TRUE(UploadTexts(u"<Table><Record TextID=\"3\" Value=\"A||B\"/></Table>"));
    const std::string plu = Le(1, 4) + "0000000000123" + Padded("Apples", 30) + Padded("Red", 30) + " " + Le(1250, 4) +
                            Le(2, 1) + Le(4, 1) + Le(0, 2) + Le(0, 2) + Le(0, 2) + Le(3, 2) + Le(1, 2) + Le(7, 2) +
                            Le(5, 2) + Le(9, 2);
    const std::vector<std::string> expected = {
        ReferenceFrame(0xCF, 0, 1, 0x01, plu),
        ReferenceFrame(0xD7, 0, 1, 0x01, Le(1, 2) + Le(150, 4)),
        ReferenceFrame(0xD4, 0, 0, 0x01, Le(1, 2) + Padded("Shop\x0fOne", 70)),
        ReferenceFrame(0xD1, 0, 1, 0x01, Le(3, 2) + Padded("A\x10" "B", 200)),
    };
    EXPECT_EQ(ReceivedFrames(), expected);
    EXPECT_EQ(ReferenceCrc("123456789"), 0x31C3);
}

TEST_F(Uploads, OneLineFirmwareGetsTheShortRecord) {
    EXPECT_TRUE(SetParameter(u"FirmwareType", DoubleValue(0)));
    ASSERT_TRUE(CallBool(u"Open"));
    ASSERT_TRUE(UploadGoods(u"<Table><Record " + std::u16string(kGoodRecord) + u"/></Table>"));
    const std::vector<std::string> frames = ReceivedFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].size(), 68u + 17u);
    EXPECT_EQ(static_cast<uint8_t>(frames[0][14]), 0x02);
    EXPECT_EQ(frames[0].substr(15 + 17, 28), Padded("Apples", 28));
}
