// One UploadGoods of 10,000 records in a fresh process, as a host's first big
// call meets the driver, beside a raw client in a fresh process of its own
// that sends the same frames. Each side runs in a new program image (fork and
// exec), so no heap, page or cache warmed by an earlier round is reused; only
// the call itself is measured: wall time, user time, fresh page faults (the
// new memory it touches) and the resident memory it keeps afterwards.
// Under valgrind (when it is installed) each side runs once more to count the
// call's instructions, which repeat exactly where times do not.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_TOGGLE_COLLECT
#endif

#include "bench/AnswerServer.h"
#include "bench/BenchSupport.h"
#include "device/uTCPSocket.h"

namespace {

constexpr int kRecords = 10000;
constexpr int kRounds = 5;
constexpr const char* kValgrind = "/usr/bin/valgrind";

// What one side's call cost, as its child reports it.
struct CallCost {
    double wall = 0, user = 0;  // seconds
    long faults = 0;            // minor page faults during the call
    long keptKiB = 0;           // resident memory after the call beyond before it
};

struct Snapshot {
    std::chrono::steady_clock::time_point wall;
    double user;
    long faults, residentKiB;
};

long ResidentKiB() {
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

Snapshot Take() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return {std::chrono::steady_clock::now(), usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6,
            usage.ru_minflt, ResidentKiB()};
}

// Runs `call` between two snapshots (and, under callgrind, with collection on)
// and prints its cost as the parent reads it.
template <typename F>
void MeasureAndPrint(F&& call) {
    const Snapshot before = Take();
    CALLGRIND_TOGGLE_COLLECT;
    call();
    CALLGRIND_TOGGLE_COLLECT;
    const Snapshot after = Take();
    std::printf("%.9f %.9f %ld %ld\n", std::chrono::duration<double>(after.wall - before.wall).count(),
                after.user - before.user, after.faults - before.faults, after.residentKiB - before.residentKiB);
}

int DriverChild(uint16_t port, bool logging) {
    bench::TemporaryLogFolder logFolder;
    host_emulation::AddInLibrary library(host_emulation::ExecutableFolder() + WQ_DRIVER_LIBRARY);
    bench::DriverSession session(library, port, logging);
    // The host's own copy of the document exists before the call, as the platform's does.
    const tVariant document = session.HostString(bench::GoodsDocument(1, kRecords));
    const tVariant name = session.HostString(u"regular");
    MeasureAndPrint([&] { session.Expect(u"UploadGoods", {host_emulation::EmptyValue(), document, name}); });
    return 0;
}

int RawChild(uint16_t port) {
    std::vector<std::string> frames;
    for (int plu = 1; plu <= kRecords; ++plu) frames.push_back(device::WritePluFrame(1, bench::GoodsRecord(plu)));
    MeasureAndPrint([&] { bench::RawClient(port, frames); });
    return 0;
}

// This program's own file, for valgrind to start.
std::string SelfPath() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) bench::Die("readlink /proc/self/exe");
    return std::string(path, static_cast<std::size_t>(length));
}

// Runs this program as a child with `arguments`, under valgrind's callgrind
// when asked (whose summary then joins the output); its standard output.
std::string RunChild(const std::vector<std::string>& arguments, bool underValgrind) {
    std::vector<std::string> command;
    if (underValgrind)
        command = {kValgrind, "--tool=callgrind", "--collect-atstart=no", "--callgrind-out-file=/dev/null"};
    command.push_back(SelfPath());
    command.insert(command.end(), arguments.begin(), arguments.end());
    int out[2];
    if (pipe(out) != 0) bench::Die("pipe");
    const pid_t child = fork();
    if (child < 0) bench::Die("fork");
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        if (underValgrind) dup2(out[1], STDERR_FILENO);
        close(out[0]);
        close(out[1]);
        std::vector<char*> argv;
        for (std::string& word : command) argv.push_back(word.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) > 0;) output.append(buffer, static_cast<size_t>(got));
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "child %s failed:\n%s\n", arguments[0].c_str(), output.c_str());
        std::exit(1);
    }
    return output;
}

CallCost ParseCost(const std::string& line) {
    CallCost cost;
    if (std::sscanf(line.c_str(), "%lf %lf %ld %ld", &cost.wall, &cost.user, &cost.faults, &cost.keptKiB) != 4) {
        std::fprintf(stderr, "unreadable child report: %s\n", line.c_str());
        std::exit(1);
    }
    return cost;
}

// Callgrind's count of the instructions collected while the call ran.
long long Instructions(const std::string& output) {
    const std::size_t at = output.find("Collected :");
    return at == std::string::npos ? -1 : std::atoll(output.c_str() + at + std::strlen("Collected :"));
}

std::vector<std::string> DriverArguments(uint16_t port, bool logging) {
    return {"driver", std::to_string(port), logging ? "full" : "off"};
}

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

void ReportCase(const char* label, uint16_t port, bool logging) {
    std::vector<CallCost> driver, raw;
    for (int round = 0; round < kRounds; ++round) {
        // Alternate which runs first, so that neither always meets a warmer peer.
        if (round % 2 == 1) raw.push_back(ParseCost(RunChild({"raw", std::to_string(port)}, false)));
        driver.push_back(ParseCost(RunChild(DriverArguments(port, logging), false)));
        if (round % 2 == 0) raw.push_back(ParseCost(RunChild({"raw", std::to_string(port)}, false)));
    }
    const auto median = [](const std::vector<CallCost>& costs, auto field) {
        std::vector<double> values;
        for (const CallCost& cost : costs) values.push_back(static_cast<double>(cost.*field));
        return Median(values);
    };
    std::vector<double> ratios;
    for (int round = 0; round < kRounds; ++round) ratios.push_back(driver[round].wall / raw[round].wall);
    const double perRecord = 1e6 / kRecords;
    std::printf("  %-13s driver %5.1f µs/record (user %4.1f)  raw %5.1f µs/record (user %4.1f)  ratio driver/raw %.2f\n",
                label, median(driver, &CallCost::wall) * perRecord, median(driver, &CallCost::user) * perRecord,
                median(raw, &CallCost::wall) * perRecord, median(raw, &CallCost::user) * perRecord, Median(ratios));
    const double faults = median(driver, &CallCost::faults);
    std::printf("  %-13s fresh page faults: driver %.0f (%.1f MiB touched), raw %.0f; driver keeps %.1f MiB after the call\n",
                "", faults, faults * sysconf(_SC_PAGESIZE) / 1048576.0, median(raw, &CallCost::faults),
                median(driver, &CallCost::keptKiB) / 1024.0);
    if (access(kValgrind, X_OK) != 0) return;
    const long long driverInstructions = Instructions(RunChild(DriverArguments(port, logging), true));
    const long long rawInstructions = Instructions(RunChild({"raw", std::to_string(port)}, true));
    std::printf("  %-13s instructions (callgrind): driver %lld/record, raw %lld/record\n", "",
                driverInstructions / kRecords, rawInstructions / kRecords);
}

}  // namespace

// Without arguments: the whole comparison. "driver PORT off|full" and
// "raw PORT" are the children it starts.
int main(int argc, char** argv) {
    if (argc >= 3) {
        const uint16_t port = static_cast<uint16_t>(std::atoi(argv[2]));
        if (std::strcmp(argv[1], "driver") == 0) return DriverChild(port, argc > 3 && std::strcmp(argv[3], "full") == 0);
        if (std::strcmp(argv[1], "raw") == 0) return RawChild(port);
        return 2;
    }
    const bool twoProcessors = sysconf(_SC_NPROCESSORS_ONLN) > 1;
    // The scale is hardware of its own: with two processors the server polls on the other.
    bench::AnswerServer server(twoProcessors ? 1 : -1, twoProcessors);
    if (!bench::PinToCpu(0)) bench::Die("sched_setaffinity");
    const double documentMiB = bench::GoodsDocument(1, kRecords).size() * 2 / 1048576.0;
    std::printf("%d WritePlu records in one UploadGoods, each side in a fresh process, server %s, median of %d "
                "rounds; document %.1f MiB (UTF-16)\n",
                kRecords, twoProcessors ? "on the other processor" : "on the same processor", kRounds, documentMiB);
    ReportCase("logging off", server.Port(), false);
    ReportCase("full logging", server.Port(), true);
    if (access(kValgrind, X_OK) != 0) std::printf("instructions not counted: %s is not installed\n", kValgrind);
    return 0;
}
