// The simulator as a process: its port line, its serving, and its summary
// when stopped by SIGTERM.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "device/uScaleFrames.h"
#include "tests/integration/transport/TransportSupport.h"

namespace {

struct SimProcess {
    pid_t pid = -1;
    FILE* output = nullptr;

    // plainAllocator: under AddressSanitizer, freed blocks go back at once
    // instead of into its quarantine, so resident memory measures the program.
    explicit SimProcess(std::vector<std::string> args, bool plainAllocator = false) {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) return;
        pid = fork();
        if (pid == 0) {
            dup2(pipeFds[1], STDOUT_FILENO);
            close(pipeFds[0]);
            close(pipeFds[1]);
            if (plainAllocator) {
                const char* given = std::getenv("ASAN_OPTIONS");
                const std::string options = std::string(given != nullptr ? given : "") + ":quarantine_size_mb=0";
                setenv("ASAN_OPTIONS", options.c_str(), 1);
            }
            std::vector<char*> argv{const_cast<char*>(WQ_TIGER_SIM_PROGRAM)};
            for (std::string& arg : args) argv.push_back(arg.data());
            argv.push_back(nullptr);
            execv(WQ_TIGER_SIM_PROGRAM, argv.data());
            _exit(127);
        }
        close(pipeFds[1]);
        output = fdopen(pipeFds[0], "r");
    }
    ~SimProcess() {
        if (output) fclose(output);
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    std::string Line() {
        char line[512] = {};
        return output && fgets(line, sizeof line, output) ? line : "";
    }
    int Stop() {
        kill(pid, SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

// The resident memory of a process, in KiB, as the kernel counts it.
long ResidentKiB(pid_t pid) {
    std::FILE* status = std::fopen(("/proc/" + std::to_string(pid) + "/status").c_str(), "r");
    if (status == nullptr) return -1;
    char line[256];
    long kib = -1;
    while (std::fgets(line, sizeof line, status) != nullptr)
        if (std::sscanf(line, "VmRSS: %ld kB", &kib) == 1) break;
    std::fclose(status);
    return kib;
}

std::size_t CountLines(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) return 0;
    std::size_t lines = 0;
    for (int c; (c = std::fgetc(file)) != EOF;) lines += c == '\n';
    std::fclose(file);
    return lines;
}

}  // namespace

// Integrators leave the simulator running for days: what it keeps must not
// grow with the frames it has served, while the journal still gets every one.
TEST(SimProcess, MemoryStaysFlatOverAHundredThousandFramesAndTheJournalIsStreamed) {
    const std::string journal = "/tmp/wq-sim-journal-" + std::to_string(getpid()) + ".jsonl";
    SimProcess sim({"--port", "0", "--journal", journal}, true);
    const std::string first = sim.Line();
    ASSERT_EQ(first.rfind("PORT ", 0), 0u) << first;
    device::TDevice scale{device::TExchangeLog()};
    scale.Enable(u"127.0.0.1", std::stoi(first.substr(5)));

    constexpr int kWarmUp = 10000;
    constexpr int kFrames = 100000;
    long afterWarmUp = 0;
    for (int frame = 1; frame <= kFrames; ++frame) {
        scale.WriteTare(1 + frame % 100, frame);  // a bounded table: the scale's own state stays the same size
        if (frame == kWarmUp) afterWarmUp = ResidentKiB(sim.pid);
    }
    const long atEnd = ResidentKiB(sim.pid);
    scale.Disable();
    ASSERT_GT(afterWarmUp, 0);
    std::printf("tiger-sim resident: %ld KiB after %d frames, %ld KiB after %d\n", afterWarmUp, kWarmUp, atEnd, kFrames);
    EXPECT_LT(atEnd - afterWarmUp, 4 * 1024) << "grew by " << atEnd - afterWarmUp << " KiB";
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_EQ(CountLines(journal), static_cast<std::size_t>(kFrames));
    std::remove(journal.c_str());
}

TEST(SimProcess, PrintsItsPortServesAndSummarisesOnSigterm) {
    SimProcess sim({"--port", "0", "--refuse-at", "2"});
    const std::string first = sim.Line();
    ASSERT_EQ(first.rfind("PORT ", 0), 0u) << first;
    const int port = std::stoi(first.substr(5));
    ASSERT_GT(port, 0);

    device::TDevice scale{device::TExchangeLog()};
    scale.Enable(u"127.0.0.1", port);
    scale.WriteTare(1, 150);
    EXPECT_EQ(transport_test::MessageOf([&] { scale.WriteTare(2, 150); }), u"Ошибка выгрузки веса тары");
    scale.Disable();

    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_EQ(sim.Line(),
              "tiger-sim: 2 frames on 1 connections; answered 0x06: 1, 0x66: 0, 0x15: 1 (bad frames: 0); "
              "dropped: 0; unanswered: 0\n");
}

TEST(SimProcess, HelpAndBadOptions) {
    SimProcess help({"--help"});
    EXPECT_EQ(help.Line().rfind("Usage: tiger-sim", 0), 0u);
    SimProcess bad({"--port", "x"});
    EXPECT_EQ(bad.Line(), "");  // the complaint goes to the error stream
    EXPECT_EQ(bad.Stop(), 2);
}
