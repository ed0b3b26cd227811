// What the library does once when it is loaded and once when it is unloaded.
// Each product (the driver library, the frame's test library) supplies its
// own start and stop steps; the frame calls them and empties the registry.
#pragma once

namespace cf {

// Runs after every module has been initialised; registers the component classes.
void LibraryStart();
// Runs before the registry is emptied at unload.
void LibraryStop();

}  // namespace cf
