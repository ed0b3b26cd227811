// tiger-sim: the scale simulator as a process.
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "tools/tiger-sim/Simulator.h"
#include "tools/tiger-sim/StopSignal.h"

int main(int argc, char** argv) {
    tiger_sim::TSimOptions options;
    try {
        options = tiger_sim::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tiger-sim: %s (see --help)\n", e.what());
        return 2;
    }
    if (options.Help) {
        std::fputs(tiger_sim::HelpText().c_str(), stdout);
        return 0;
    }
    try {
        tiger_sim::InstallStopHandlers();
        tiger_sim::TSimulator simulator(options);
        const uint16_t port = simulator.Start();
        std::printf("PORT %u\n", static_cast<unsigned>(port));
        std::fflush(stdout);
        while (!tiger_sim::StopRequested()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        simulator.Stop();
        std::printf("%s\n", simulator.Summary().Text().c_str());
        std::fflush(stdout);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tiger-sim: %s\n", e.what());
        return 1;
    }
}
