#include <windows.h>

#include <atomic>

#include "tools/tiger-sim/StopSignal.h"

namespace tiger_sim {

namespace {

std::atomic<bool> gStop{false};

BOOL WINAPI OnConsoleEvent(DWORD) {
    gStop = true;
    return TRUE;
}

}  // namespace

void InstallStopHandlers() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

bool StopRequested() { return gStop; }

}  // namespace tiger_sim
