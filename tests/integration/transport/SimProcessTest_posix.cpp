// The simulator as a process: its port line, its serving, and its summary
// when stopped by SIGTERM.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "device/uScaleFrames.h"
#include "tests/integration/transport/TransportSupport.h"

namespace {

struct SimProcess {
    pid_t pid = -1;
    FILE* output = nullptr;

    explicit SimProcess(std::vector<std::string> args) {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) return;
        pid = fork();
        if (pid == 0) {
            dup2(pipeFds[1], STDOUT_FILENO);
            close(pipeFds[0]);
            close(pipeFds[1]);
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

}  // namespace

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
