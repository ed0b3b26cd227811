#include "lib/cf/PropertyTable.h"

#include "lib/cf/Exception.h"
#include "lib/cf/MethodTable.h"
#include "lib/cf/TextUtils.h"

namespace cf {

namespace {

bool NameMatches(const std::u16string& entryName, std::u16string_view name) {
    return !entryName.empty() && SameText(entryName, name);
}

std::u16string Quoted(std::u16string_view name) { return u"\"" + std::u16string(name) + u"\""; }

}  // namespace

void TPropertiesList::Add(std::u16string name1, std::u16string name2, bool isReadonly, Variant value) {
    if (Find(name1) >= 0 || Find(name2) >= 0)
        throw Exception(u"Свойство с указанным именем уже зарегистрировано. [" + name1 + u"," + name2 + u"]");
    properties_.push_back(TProperty{std::move(name1), std::move(name2), isReadonly, std::move(value)});
}

int32_t TPropertiesList::Find(std::u16string_view name) const {
    if (name.empty()) return -1;
    for (std::size_t i = 0; i < properties_.size(); ++i)
        if (NameMatches(properties_[i].PropertyName1, name) || NameMatches(properties_[i].PropertyName2, name))
            return static_cast<int32_t>(i);
    return -1;
}

const TProperty& TPropertiesList::Get(int32_t number) const {
    if (!Contains(number)) RaiseIndexError(number);
    return properties_[static_cast<std::size_t>(number)];
}

TProperty& TPropertiesList::Lookup(std::u16string_view name, const char16_t* missingSuffix) {
    const int32_t number = Find(name);
    if (number < 0) throw Exception(u"Свойство " + Quoted(name) + u" не существует" + missingSuffix);
    return properties_[static_cast<std::size_t>(number)];
}

const Variant& TPropertiesList::Value(std::u16string_view name) const {
    return const_cast<TPropertiesList*>(this)->Lookup(name, u"").Value;
}

void TPropertiesList::SetValue(std::u16string_view name, const Variant& value) {
    TProperty& property = Lookup(name, u".");
    if (property.isReadonly) throw Exception(u"Свойство " + Quoted(name) + u" запрещено к изменению.");
    property.Value = value;
}

void TPropertiesList::SetValueDirect(std::u16string_view name, const Variant& value) {
    Lookup(name, u".").Value = value;
}

}  // namespace cf
