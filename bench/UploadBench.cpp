// 10,000 goods records through the driver's UploadGoods (via the exports, as
// the platform calls it) beside a raw client that sends the same precomputed
// frames in the same request-answer lockstep, both against a minimal
// answering server in another process, in the same run and in alternating
// order. Prints µs per record and the ratio driver/raw (time), with logging
// off and with full logging (LogEnabled and ExtLogEnabled), in one call and in
// calls of 100 records.
//
// Twice: with the server on the other processor, polling, as a scale is
// hardware of its own that answers without being woken (the loopback and the
// client's own wake-up are then the floor), and on the same processor, where
// nothing of the driver's work can hide behind the wait. Each figure is the median of alternating rounds, the ratio the
// median of each round's own driver/raw: a virtual machine's processors slow
// down and speed up between runs, which the pair shares.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "bench/AnswerServer.h"
#include "bench/BenchSupport.h"
#include "device/uTCPSocket.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRecords = 10000;
constexpr int kRounds = 7;

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

// The part no network wait can hide: the whole document is read before the
// first frame goes out. A root other than Table is refused after the reading,
// with nothing sent.
Timing DriverReadingOnly(host_emulation::AddInLibrary& library, uint16_t port) {
    bench::DriverSession session(library, port, false);
    std::u16string text = bench::GoodsDocument(1, kRecords);
    text.replace(text.size() - 6, 5, u"Other").replace(1, 5, u"Other");
    const tVariant document = session.HostString(text);
    return Measure([&] {
        if (session.Call(u"UploadGoods", {host_emulation::EmptyValue(), document, session.HostString(u"regular")})) {
            std::fprintf(stderr, "a table without its root was taken\n");
            std::exit(1);
        }
    });
}

double MedianOf(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The median of each round's driver/raw.
double RatioOfPairs(const std::vector<Timing>& driver, const std::vector<Timing>& raw) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < driver.size(); ++i) ratios.push_back(driver[i].wall / raw[i].wall);
    return MedianOf(ratios);
}

double Report(const char* label, const std::vector<Timing>& driverRounds, const std::vector<Timing>& rawRounds) {
    const double perRecord = 1e6 / kRecords;
    const Timing driver = Median(driverRounds), raw = Median(rawRounds);
    const double ratio = RatioOfPairs(driverRounds, rawRounds);
    std::printf("  %-28s driver %6.1f µs/record (cpu %5.1f)  raw %6.1f µs/record (cpu %5.1f)  ratio driver/raw %.2f\n",
                label, driver.wall * perRecord, driver.cpu * perRecord, raw.wall * perRecord, raw.cpu * perRecord,
                ratio);
    return ratio;
}


struct Case {
    const char* label;
    bool logging;
    int batch;
};
constexpr Case kCases[] = {{"logging off, one call", false, kRecords},
                           {"logging off, 100 per call", false, 100},
                           {"full logging, one call", true, kRecords},
                           {"full logging, 100 per call", true, 100}};

// The cases whose label contains `only`, against one server; then full
// logging's time over logging off's, each as its ratio to the raw client.
void RunPlacement(host_emulation::AddInLibrary& library, uint16_t port, const std::vector<std::string>& frames,
                  const std::string& only) {
    double ratios[std::size(kCases)] = {};
    for (std::size_t index = 0; index < std::size(kCases); ++index) {
        const Case& c = kCases[index];
        if (std::string(c.label).find(only) == std::string::npos) continue;
        std::vector<Timing> driver, raw;
        const auto rawRound = [&] { raw.push_back(Measure([&] { bench::RawClient(port, frames); })); };
        for (int round = 0; round < kRounds; ++round) {
            // Alternate which runs first, so that neither always meets a warmer peer.
            if (round % 2 == 1) rawRound();
            driver.push_back(DriverUpload(library, port, c.logging, c.batch));
            if (round % 2 == 0) rawRound();
        }
        ratios[index] = Report(c.label, driver, raw);
    }
    if (ratios[0] > 0 && ratios[2] > 0 && ratios[1] > 0 && ratios[3] > 0)
        std::printf("  full logging ÷ logging off: %.2f one call, %.2f 100 per call\n", ratios[2] / ratios[0],
                    ratios[3] / ratios[1]);
}

}  // namespace

// An optional argument picks the cases whose label contains it ("off", "full", "one call").
int main(int argc, char** argv) {
    const std::string only = argc > 1 ? argv[1] : "";
    // The benchmark runs on processor 0; one server on the other, one beside it.
    const bool twoProcessors = sysconf(_SC_NPROCESSORS_ONLN) > 1;
    std::optional<bench::AnswerServer> otherProcessor;
    if (twoProcessors) otherProcessor.emplace(1, true);
    bench::AnswerServer sameProcessor(0);
    if (!bench::PinToCpu(0)) bench::Die("sched_setaffinity");
    bench::TemporaryLogFolder logFolder;
    device::SocketsStart();
    host_emulation::AddInLibrary library(host_emulation::ExecutableFolder() + WQ_DRIVER_LIBRARY);
    std::vector<std::string> frames;
    for (int plu = 1; plu <= kRecords; ++plu) frames.push_back(device::WritePluFrame(1, bench::GoodsRecord(plu)));
    std::printf("%d WritePlu records (two-line firmware), answering server in another process on loopback, "
                "median of %d rounds\n",
                kRecords, kRounds);
    if (twoProcessors) {
        std::printf("server on the other processor (the scale's own hardware):\n");
        RunPlacement(library, otherProcessor->Port(), frames, only);
    }
    std::printf("server on the same processor (nothing of the driver's work hidden):\n");
    RunPlacement(library, sameProcessor.Port(), frames, only);
    if (only.empty() || only == "off") {
        std::vector<Timing> reading;
        for (int round = 0; round < kRounds; ++round) reading.push_back(DriverReadingOnly(library, sameProcessor.Port()));
        const Timing median = Median(reading);
        std::printf("reading the document: %.1f µs/record (cpu %.1f), before anything is sent\n",
                    median.wall * 1e6 / kRecords, median.cpu * 1e6 / kRecords);
    }
    device::SocketsStop();
    return 0;
}
