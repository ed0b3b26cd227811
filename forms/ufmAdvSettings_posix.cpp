#include "forms/ufmAdvSettings.h"

#include "lib/cf/Exception.h"

namespace forms {

// The GTK view comes later; until then a clear answer instead of a window.
void ShowAdvSettingsDialog(int32_t, bool, const std::u16string&, int32_t) {
    throw cf::Exception(u"Окно дополнительных настроек недоступно в этой версии драйвера");
}

}  // namespace forms
