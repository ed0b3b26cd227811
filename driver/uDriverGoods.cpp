// The goods methods: upload a goods table record by record, clear all goods, delete one.
#include "driver/DriverArguments.h"
#include "driver/XmlDocuments.h"
#include "driver/XmlTableReader.h"
#include "driver/uDriver.h"
#include "lib/cf/Exception.h"
#include "lib/cf/VariantConvert.h"

namespace driver {

namespace {

// The missing mark as a currency value, scaled like every price.
constexpr cf::Currency kMissingPrice = int64_t{kMissingValue} * cf::Currency::kScale;

// Fails the call with `message` when the reader found nothing usable.
int32_t Required(int32_t value, const char16_t* message) {
    if (value == kMissingValue) throw cf::Exception(message);
    return value;
}

// One record's values; the texts are the record's own, valid while it is visited.
struct GoodsRecord {
    int32_t PLU, Code, GroupCode, FixWeight, SellByDate, ShelfLife, TaxNumber, TareNumber, TextID;
    cf::Currency Price;
    std::u16string_view EANData, Name;
    bool IsWeightGoods;
};

// Every value read in place: an absent attribute reads as the empty text,
// which each reader takes as missing, just as it takes null.
GoodsRecord ReadGoodsRecord(const XmlRecord& record) {
    const auto integer = [&record](std::u16string_view name, int32_t defaultValue) {
        return VarToIntDef(record.Text(name), defaultValue);
    };
    GoodsRecord goods{};
    goods.PLU = integer(u"PLU", kMissingValue);
    goods.Code = integer(u"Code", kMissingValue);
    goods.EANData = record.Text(u"EANData");
    goods.Name = record.Text(u"Name");
    goods.GroupCode = integer(u"GroupCode", kMissingValue);
    // "12,50" and "12.50" alike: only the first comma becomes the decimal point.
    std::u16string price(record.Text(u"Price"));
    if (const std::size_t comma = price.find(u','); comma != std::u16string::npos) price[comma] = u'.';
    goods.Price = VarToCurrDef(std::u16string_view(price), kMissingPrice);
    goods.FixWeight = integer(u"FixWeight", kMissingValue);
    goods.SellByDate = integer(u"SellByDate", kMissingValue);
    goods.ShelfLife = integer(u"ShelfLife", kMissingValue);
    goods.TaxNumber = integer(u"TaxNumber", kMissingValue);
    goods.TareNumber = integer(u"TareNumber", 0);
    goods.IsWeightGoods = VarToBoolDef(record.Text(u"IsWeightGoods"), true);
    goods.TextID = integer(u"TextID", kMissingValue);
    return goods;
}

void CheckGoodsRecord(const GoodsRecord& goods) {
    Required(goods.PLU, u"Некорректный номер товара");
    Required(goods.Code, u"Некорректный код товара");
    Required(goods.GroupCode, u"Некорректный код группы товара");
    if (goods.Price == kMissingPrice) throw cf::Exception(u"Некорректная цена");
    Required(goods.FixWeight, u"Некорректный фиксированный вес в граммах");
    Required(goods.ShelfLife, u"Некорректный срок годности");
    Required(goods.SellByDate, u"Некорректный срок реализации");
    Required(goods.TaxNumber, u"Некорректная налоговая ставка");
    Required(goods.TareNumber, u"Некорректный номер тары");
    Required(goods.TextID, u"Некорректный ID дополнительного текста");
}

}  // namespace

void TDriver::UploadGoods(const cf::VarArrayData& args) {
    CheckEnabled();
    std::u16string converted;
    const XmlTable table(TextArgumentView(args.at(1), converted));
    Reconnect();
    UploadGoodsXML(table);
}

void TDriver::UploadGoodsXML(const XmlTable& table) {
    UploadRecords(table, [this](const XmlRecord& record) {
        const GoodsRecord goods = ReadGoodsRecord(record);
        CheckGoodsRecord(goods);
        return FDevice->PluRequest({goods.PLU, goods.GroupCode, goods.FixWeight, goods.ShelfLife, goods.SellByDate,
                                    goods.TaxNumber, goods.TareNumber, std::u16string(goods.EANData),
                                    std::u16string(goods.Name), goods.Price, goods.IsWeightGoods,
                                    goods.TextID});
    });
}

void TDriver::ClearGoods() {
    CheckEnabled();
    Reconnect();
    FDevice->ClearPLU();
}

void TDriver::DeleteGood(const cf::VarArrayData& args) {
    CheckEnabled();
    Reconnect();
    FDevice->DeletePLU(cf::VarToInt32(args.at(0)));
}

}  // namespace driver
