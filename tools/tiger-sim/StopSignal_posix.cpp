#include <signal.h>

#include "tools/tiger-sim/StopSignal.h"

namespace tiger_sim {

namespace {

volatile sig_atomic_t gStop = 0;

void OnSignal(int) { gStop = 1; }

}  // namespace

void InstallStopHandlers() {
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

bool StopRequested() { return gStop != 0; }

}  // namespace tiger_sim
