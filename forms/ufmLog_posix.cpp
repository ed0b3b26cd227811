#include "forms/ufmLog.h"

#include "lib/cf/Exception.h"

namespace forms {

// The GTK view comes later; until then a clear answer instead of a window.
void ViewLogWindow() { throw cf::Exception(u"Окно просмотра лога недоступно в этой версии драйвера"); }

}  // namespace forms
