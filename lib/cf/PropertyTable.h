// The component's properties: two names each, a read-only flag and a stored
// value. The driver keeps its settings here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lib/cf/Variant.h"

namespace cf {

struct TProperty {
    std::u16string PropertyName1;
    std::u16string PropertyName2;
    bool isReadonly = false;
    Variant Value;
};

class TPropertiesList {
public:
    void Add(std::u16string name1, std::u16string name2, bool isReadonly, Variant value);
    // An empty name never matches, so several entries may leave their second name empty.
    int32_t Find(std::u16string_view name) const;
    const TProperty& Get(int32_t number) const;
    bool Contains(int64_t number) const { return number >= 0 && number < Count(); }
    int32_t Count() const { return static_cast<int32_t>(properties_.size()); }
    void Clear() { properties_.clear(); }

    // Read by name: "Свойство "X" не существует" when not registered.
    const Variant& Value(std::u16string_view name) const;
    // Write by name; refuses read-only entries.
    void SetValue(std::u16string_view name, const Variant& value);
    // Write by name, read-only entries included.
    void SetValueDirect(std::u16string_view name, const Variant& value);

private:
    TProperty& Lookup(std::u16string_view name, const char16_t* missingSuffix);
    std::vector<TProperty> properties_;
};

}  // namespace cf
