#include "driver/DriverArguments.h"

#include "lib/cf/Exception.h"
#include "lib/cf/VariantConvert.h"

namespace driver {

std::u16string TextArgument(const cf::Variant& value) {
    if (value.IsEmpty() || value.IsNull()) throw cf::EConvertError(u"Значение параметра не задано: ожидается строка");
    return cf::VarToStr(value);
}

std::u16string_view TextArgumentView(const cf::Variant& value, std::u16string& storage) {
    if (value.IsString()) return value.StringValue();
    storage = TextArgument(value);
    return storage;
}

}  // namespace driver
