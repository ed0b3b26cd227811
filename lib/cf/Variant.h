// The component's own tagged value: what host values become inside the library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lib/cf/Currency.h"

namespace cf {

enum class VarKind : uint8_t {
    Empty,
    Null,
    Int8,
    Int16,
    Int32,
    Int64,
    UInt8,
    UInt16,
    UInt32,
    UInt64,
    Single,
    Double,
    Currency,
    Date,
    Bool,
    String,
    Array,
};

class Variant {
public:
    Variant() = default;
    Variant(bool value);
    Variant(int32_t value);
    Variant(int64_t value);
    Variant(double value);
    Variant(std::u16string value);
    Variant(const char16_t* value);

    static Variant MakeNull();
    // Any integer kind; the value is kept as 64 bits (unsigned kinds as their bit pattern).
    static Variant MakeInteger(VarKind kind, int64_t value);
    static Variant MakeSingle(float value);
    static Variant MakeCurrency(Currency value);
    static Variant MakeDate(double days);
    // A one-dimensional byte array with bounds 0 .. size - 1.
    static Variant MakeByteArray(std::vector<uint8_t> bytes);
    // A one-dimensional array of other elements, bounds 0 .. size - 1.
    static Variant MakeArray(VarKind elementKind, std::vector<Variant> items);

    VarKind Kind() const { return kind_; }
    bool IsEmpty() const { return kind_ == VarKind::Empty; }
    bool IsNull() const { return kind_ == VarKind::Null; }
    bool IsOrdinal() const;   // integers and boolean
    bool IsFloating() const;  // single, double, currency
    bool IsString() const { return kind_ == VarKind::String; }
    bool IsArray() const { return kind_ == VarKind::Array; }

    int64_t IntegerValue() const { return integer_; }  // integers; boolean as 0/1
    bool BoolValue() const { return integer_ != 0; }
    double FloatValue() const;                          // floating kinds and date
    Currency CurrencyValue() const { return integer_; }
    const std::u16string& StringValue() const { return string_; }

    VarKind ElementKind() const { return elementKind_; }
    // Upper bound of the first dimension (-1 for an empty array).
    int64_t UpperBound() const;
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    const std::vector<Variant>& Items() const { return items_; }

    // Whether this is an argument exactly as the platform passed it. Set when
    // a call's arguments are read; every store into a variant (any assignment)
    // clears it, and no copy carries it, so a method's changed arguments are
    // the ones without it.
    bool IsPlatformArgument() const { return platformArgument_.IsSet(); }
    void MarkPlatformArgument() { platformArgument_.Set(); }

    // Compares values; the platform-argument mark is no part of the value.
    bool operator==(const Variant& other) const;

private:
    // A flag that copying never passes on and assignment always clears.
    class TUnstoredMark {
    public:
        TUnstoredMark() = default;
        TUnstoredMark(const TUnstoredMark&) noexcept {}
        TUnstoredMark& operator=(const TUnstoredMark&) noexcept {
            set_ = false;
            return *this;
        }
        void Set() { set_ = true; }
        bool IsSet() const { return set_; }

    private:
        bool set_ = false;
    };

    VarKind kind_ = VarKind::Empty;
    VarKind elementKind_ = VarKind::Empty;
    int64_t integer_ = 0;
    double float_ = 0;
    std::u16string string_;
    std::vector<uint8_t> bytes_;
    std::vector<Variant> items_;
    TUnstoredMark platformArgument_;
};

// The argument list a method handler receives; the handler may change it in place.
using VarArrayData = std::vector<Variant>;

}  // namespace cf
