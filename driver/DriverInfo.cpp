#include "driver/DriverInfo.h"

namespace driver {

std::u16string GetEquipmentTypeName(TEquipmentType type) {
    static const char16_t* const kNames[] = {
        u"СканерШтрихкода",     u"СчитывательМагнитныхКарт", u"ФискальныйРегистратор", u"ПринтерЧеков",
        u"ПринтерЭтикеток",     u"ДисплейПокупателя",        u"ТерминалСбораДанных",   u"ЭквайринговыйТерминал",
        u"ЭлектронныеВесы",     u"ВесыСПечатьюЭтикеток",     u"СчитывательRFID",       u"ККТ",
        u"Видеокамера",         u"ЭлектронныеЗамки",         u"НеизвестныйТипОборудования",
    };
    const auto index = static_cast<std::size_t>(type);
    return index < sizeof(kNames) / sizeof(kNames[0]) ? kNames[index] : kNames[14];
}

TDriverInfo& DriverInfo() {
    static TDriverInfo info;
    return info;
}

}  // namespace driver
