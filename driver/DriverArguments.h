// Reading the platform's arguments of the scale methods.
#pragma once

#include <string>
#include <string_view>

#include "lib/cf/Variant.h"

namespace driver {

// The argument as text; an undefined value (empty or null) is a conversion error.
std::u16string TextArgument(const cf::Variant& value);
// The same without copying a string value (a document may be tens of
// megabytes): a view of the value's own text, or of `storage` holding the
// conversion of any other value. Valid while both live.
std::u16string_view TextArgumentView(const cf::Variant& value, std::u16string& storage);

}  // namespace driver
