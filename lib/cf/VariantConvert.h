// Conversions of the component's values to text and to the settings' types,
// in one place. The texts follow the process number format (FormatSettings).
// An empty value converts to the type's zero, false or empty text; a value
// with no form in the asked type raises EConvertError.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "lib/cf/Variant.h"

namespace cf {

// Up to 15 significant digits, the process decimal separator; exponent form
// ("1E20", "1.5E-7") below 0.00001 and from 15 integer digits on.
std::u16string FloatToStr(double value);
// A currency value given scaled by 10000, with up to 4 decimals.
std::u16string CurrToStr(int64_t scaled);

// The standard text form: integers in decimal, floating numbers and currency
// as above, date-times by DateTimeToStr, booleans "True"/"False", empty and
// null as the empty text. An array raises.
std::u16string VarToStr(const Variant& value);

// Boolean as is; a number is true unless zero; text "true"/"false" in any
// letter case, or a number in text.
bool VarToBool(const Variant& value);
// Floating values rounded half to even; text holding a number.
int32_t VarToInt32(const Variant& value);
double VarToDouble(const Variant& value);
// Fixed point with four decimals, scaled by 10000.
int64_t VarToCurrency(const Variant& value);
// Days since 30 December 1899; text as "dd.mm.yyyy[ hh:nn[:ss]]" with the
// process separators.
double VarToDateTime(const Variant& value);

// Text to number with the process decimal separator; false when it is not one.
bool TryTextToFloat(std::u16string_view text, double& value);
bool TryTextToInt64(std::u16string_view text, int64_t& value);

}  // namespace cf
