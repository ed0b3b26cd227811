// Access rights on the log folder: every user of the machine writes the same log.
#pragma once

#include <string>

namespace common {

// Gives the group Everyone full access, inherited by files and subfolders, on a
// folder that was just created. Raises cf::Exception with the system's error
// when the rights cannot be read or built; a failure to store them is ignored.
void GrantEveryoneFullAccess(const std::u16string& path);

}  // namespace common
