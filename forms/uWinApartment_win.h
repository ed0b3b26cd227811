// COM's single-threaded apartment for the windows that host controls which
// need one (the web browser control hangs in the multi-threaded apartment).
#pragma once

#include <functional>

namespace forms::win {

// Runs AWork with OLE initialised on the calling thread. When that thread is
// in the multi-threaded apartment already, AWork runs on a thread of its own
// while the caller waits modally (WaitModal); what AWork raises reaches the caller.
void RunInSingleThreadedApartment(const std::function<void()>& AWork);

}  // namespace forms::win
