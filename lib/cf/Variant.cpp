#include "lib/cf/Variant.h"

namespace cf {

Variant::Variant(bool value) : kind_(VarKind::Bool), integer_(value ? 1 : 0) {}
Variant::Variant(int32_t value) : kind_(VarKind::Int32), integer_(value) {}
Variant::Variant(int64_t value) : kind_(VarKind::Int64), integer_(value) {}
Variant::Variant(double value) : kind_(VarKind::Double), float_(value) {}
Variant::Variant(std::u16string value) : kind_(VarKind::String), string_(std::move(value)) {}
Variant::Variant(const char16_t* value) : kind_(VarKind::String), string_(value ? value : u"") {}

Variant Variant::MakeNull() {
    Variant v;
    v.kind_ = VarKind::Null;
    return v;
}

Variant Variant::MakeInteger(VarKind kind, int64_t value) {
    Variant v;
    v.kind_ = kind;
    v.integer_ = value;
    return v;
}

Variant Variant::MakeSingle(float value) {
    Variant v;
    v.kind_ = VarKind::Single;
    v.float_ = value;
    return v;
}

Variant Variant::MakeCurrency(Currency value) {
    Variant v;
    v.kind_ = VarKind::Currency;
    v.integer_ = value.Scaled;
    return v;
}

Variant Variant::MakeDate(double days) {
    Variant v;
    v.kind_ = VarKind::Date;
    v.float_ = days;
    return v;
}

Variant Variant::MakeByteArray(std::vector<uint8_t> bytes) {
    Variant v;
    v.kind_ = VarKind::Array;
    v.elementKind_ = VarKind::UInt8;
    v.bytes_ = std::move(bytes);
    return v;
}

Variant Variant::MakeArray(VarKind elementKind, std::vector<Variant> items) {
    if (elementKind == VarKind::UInt8) {
        std::vector<uint8_t> bytes;
        for (const Variant& item : items) bytes.push_back(static_cast<uint8_t>(item.integer_));
        return MakeByteArray(std::move(bytes));
    }
    Variant v;
    v.kind_ = VarKind::Array;
    v.elementKind_ = elementKind;
    v.items_ = std::move(items);
    return v;
}

bool Variant::IsOrdinal() const {
    switch (kind_) {
        case VarKind::Int8: case VarKind::Int16: case VarKind::Int32: case VarKind::Int64:
        case VarKind::UInt8: case VarKind::UInt16: case VarKind::UInt32: case VarKind::UInt64:
        case VarKind::Bool:
            return true;
        default:
            return false;
    }
}

bool Variant::IsFloating() const {
    return kind_ == VarKind::Single || kind_ == VarKind::Double || kind_ == VarKind::Currency;
}

double Variant::FloatValue() const {
    if (kind_ == VarKind::Currency) return static_cast<double>(integer_) / Currency::kScale;
    return float_;
}

int64_t Variant::UpperBound() const {
    const std::size_t count = elementKind_ == VarKind::UInt8 ? bytes_.size() : items_.size();
    return static_cast<int64_t>(count) - 1;
}

bool Variant::operator==(const Variant& other) const {
    return kind_ == other.kind_ && elementKind_ == other.elementKind_ && integer_ == other.integer_ &&
           float_ == other.float_ && string_ == other.string_ && bytes_ == other.bytes_ && items_ == other.items_;
}

}  // namespace cf
