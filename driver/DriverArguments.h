// Reading the platform's arguments of the scale methods.
#pragma once

#include <string>

#include "lib/cf/Variant.h"

namespace driver {

// The argument as text; an undefined value (empty or null) is a conversion error.
std::u16string TextArgument(const cf::Variant& value);

}  // namespace driver
