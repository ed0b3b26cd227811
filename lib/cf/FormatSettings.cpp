#include "lib/cf/FormatSettings.h"

namespace cf {

TFormatSettings& FormatSettings() {
    static TFormatSettings settings;
    return settings;
}

}  // namespace cf
