#include "forms/ufmDocView.h"

#include "lib/cf/Exception.h"

namespace forms {

// The GTK view comes later; until then a clear answer instead of a window.
void ShowDocView(const std::u16string&, const std::u16string&) {
    throw cf::Exception(u"Окно справки недоступно в этой версии драйвера");
}

}  // namespace forms
