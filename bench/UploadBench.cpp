// 10,000 goods records through the driver's UploadGoods (via the exports, as
// the platform calls it) beside a raw client that sends the same precomputed
// frames in the same request-answer lockstep, both against a minimal
// answering server in another process, in the same run and in alternating
// order. Prints µs per record and the ratio driver/raw (time), with logging
// off and with full logging (LogEnabled and ExtLogEnabled), in one call and in
// calls of 100 records. Each figure is the median of alternating rounds: the
// machine's other load shows as outliers that a mean would carry.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/AnswerServer.h"
#include "bench/BenchSupport.h"
#include "device/uTCPSocket.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRecords = 10000;
constexpr int kRounds = 5;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// This process's CPU time (user and system): the peer's is not in it, and it
// moves less than the wall clock when the machine is busy.
double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

struct Timing {
    double wall = 0, cpu = 0;
};

template <typename F>
Timing Measure(F&& run) {
    const double cpu = CpuSeconds();
    const Clock::time_point start = Clock::now();
    run();
    return {Seconds(start), CpuSeconds() - cpu};
}

[[noreturn]] void Die(const char* what) {
    std::perror(what);
    std::exit(1);
}

// The median of each figure on its own.
Timing Median(const std::vector<Timing>& rounds) {
    const auto median = [&](double Timing::*field) {
        std::vector<double> values;
        for (const Timing& t : rounds) values.push_back(t.*field);
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        return values[values.size() / 2];
    };
    return {median(&Timing::wall), median(&Timing::cpu)};
}

// The floor: blocking send and receive on one connection, nothing else.
void RawClient(uint16_t port, const std::vector<std::string>& frames) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) Die("raw client");
    for (const std::string& frame : frames) {
        char answer = 0;
        if (send(fd, frame.data(), frame.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(frame.size()) ||
            recv(fd, &answer, 1, 0) != 1 || answer != 0x06)
            Die("raw client exchange");
    }
    close(fd);
}

Timing DriverUpload(host_emulation::AddInLibrary& library, uint16_t port, bool logging, int batch) {
    bench::DriverSession session(library, port, logging);
    std::vector<tVariant> documents;
    for (int first = 1; first <= kRecords; first += batch)
        documents.push_back(session.HostString(bench::GoodsDocument(first, batch)));
    return Measure([&] {
        for (const tVariant& document : documents)
            session.Expect(u"UploadGoods", {host_emulation::EmptyValue(), document, session.HostString(u"regular")});
    });
}

void Report(const char* label, const Timing& driver, const Timing& raw) {
    const double perRecord = 1e6 / kRecords;
    std::printf("%-28s driver %6.1f µs/record (cpu %5.1f)  raw %6.1f µs/record (cpu %5.1f)  ratio driver/raw %.2f\n",
                label, driver.wall * perRecord, driver.cpu * perRecord, raw.wall * perRecord, raw.cpu * perRecord,
                driver.wall / raw.wall);
}

}  // namespace

int main() {
    bench::AnswerServer server;  // forked before anything else starts
    bench::TemporaryLogFolder logFolder;
    device::SocketsStart();
    host_emulation::AddInLibrary library(host_emulation::ExecutableFolder() + WQ_DRIVER_LIBRARY);
    std::vector<std::string> frames;
    for (int plu = 1; plu <= kRecords; ++plu) frames.push_back(device::WritePluFrame(1, bench::GoodsRecord(plu)));
    std::printf("%d WritePlu records (two-line firmware), answering server in another process on 127.0.0.1:%u, "
                "median of %d rounds\n",
                kRecords, server.Port(), kRounds);

    struct Case {
        const char* label;
        bool logging;
        int batch;
    };
    for (const Case& c : {Case{"logging off, one call", false, kRecords}, Case{"logging off, 100 per call", false, 100},
                          Case{"full logging, one call", true, kRecords},
                          Case{"full logging, 100 per call", true, 100}}) {
        std::vector<Timing> driver, raw;
        const auto rawRound = [&] { raw.push_back(Measure([&] { RawClient(server.Port(), frames); })); };
        for (int round = 0; round < kRounds; ++round) {
            // Alternate which runs first, so that neither always meets a warmer peer.
            if (round % 2 == 1) rawRound();
            driver.push_back(DriverUpload(library, server.Port(), c.logging, c.batch));
            if (round % 2 == 0) rawRound();
        }
        Report(c.label, Median(driver), Median(raw));
    }
    device::SocketsStop();
    return 0;
}
