// Ctrl+C and SIGTERM ask the simulator process to stop.
#pragma once

namespace tiger_sim {

void InstallStopHandlers();
bool StopRequested();

}  // namespace tiger_sim
