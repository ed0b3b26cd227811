// The driver library's load and unload steps. The driver class joins the
// registry here once it exists; until then the library offers no class.
#include "lib/cf/LibraryLifetime.h"

namespace cf {

void LibraryStart() {}
void LibraryStop() {}

}  // namespace cf
