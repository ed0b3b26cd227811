// Conversions of the component's values to text and to the settings' types,
// in one place. The texts follow the process number format (FormatSettings).
// An empty value converts to the type's zero, false or empty text; a value
// with no form in the asked type raises EConvertError.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "lib/cf/Currency.h"
#include "lib/cf/Variant.h"

namespace cf {

// Up to 15 significant digits, the process decimal separator; exponent form
// ("1E20", "1.5E-7") below 0.00001 and from 15 integer digits on.
std::u16string FloatToStr(double value);
// "12.5", "-0.0001": up to four decimals, no trailing zeros, the given
// separator (the scale's messages always use ".").
std::u16string CurrToStr(Currency value, char16_t decimalSeparator);

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
// Text through TryTextToCurrency, other numbers through TryFloatToCurrency.
Currency VarToCurrency(const Variant& value);
// Days since 30 December 1899; text as "dd.mm.yyyy[ hh:nn[:ss]]" with the
// process separators.
double VarToDateTime(const Variant& value);

// Texts to numbers, false when the text is not one; leading and trailing
// blanks and control characters are passed over.
//
// A floating number with the process decimal separator.
bool TryTextToFloat(std::u16string_view text, double& value);
// Optional sign and decimal digits.
bool TryTextToInt64(std::u16string_view text, int64_t& value);
// Optional sign, digits with at most one separator, optional exponent
// ("1.5E2"), rounded to four decimals with halves to even on the exact
// decimal value; false beyond the currency's 64 bits.
bool TryTextToCurrency(std::u16string_view text, char16_t decimalSeparator, Currency& value);

// A floating number rounded to four decimals, halves to even; false beyond
// the currency's 64 bits.
bool TryFloatToCurrency(double number, Currency& value);

}  // namespace cf
