// Peak resident memory of one upload call of 100,000 records: goods, tare and
// texts, logging off and full logging, each case in a child process of its
// own against a minimal answering server in another. Prints the peak beyond
// the process's memory just before the call, as a multiple of the document's
// size as the host passes it (UTF-16).
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/AnswerServer.h"
#include "bench/BenchSupport.h"

namespace {

constexpr int kRecords = 100000;

// A field of /proc/self/status in KiB.
long StatusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.compare(0, prefix.size(), prefix) == 0) return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    return -1;
}

// Starts the high-water mark again from the present resident size.
void ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

enum class Table { Goods, Tare, Texts };

void RunCase(uint16_t port, Table table, bool logging) {
    host_emulation::AddInLibrary library(host_emulation::ExecutableFolder() + WQ_DRIVER_LIBRARY);
    bench::DriverSession session(library, port, logging);
    const std::u16string document = table == Table::Goods  ? bench::GoodsDocument(1, kRecords)
                                    : table == Table::Tare ? bench::TareDocument(kRecords)
                                                           : bench::TextsDocument(kRecords);
    const tVariant text = session.HostString(document);
    const tVariant regular = session.HostString(u"regular");
    const double documentMiB = document.size() * 2 / 1048576.0;
    ResetPeak();
    const long before = StatusKiB("VmRSS");
    switch (table) {
        case Table::Goods: session.Expect(u"UploadGoods", {host_emulation::EmptyValue(), text, regular}); break;
        case Table::Tare: session.Expect(u"UploadTare", {host_emulation::EmptyValue(), text}); break;
        case Table::Texts: session.Expect(u"UploadAdditionalText", {text}); break;
    }
    const long peak = StatusKiB("VmHWM");
    const double beyondMiB = (peak - before) / 1024.0;
    static const char* const kNames[] = {"goods", "tare", "texts"};
    std::printf("%-6s %-13s document %6.1f MiB  peak beyond before %7.1f MiB  = %5.2fx the document\n",
                kNames[static_cast<int>(table)], logging ? "full logging" : "logging off", documentMiB, beyondMiB,
                beyondMiB / documentMiB);
    std::fflush(stdout);
}

}  // namespace

int main() {
    bench::AnswerServer server;
    bench::TemporaryLogFolder logFolder;
    std::printf("one call of %d records each, a child process per case\n", kRecords);
    std::fflush(stdout);
    for (const Table table : {Table::Goods, Table::Tare, Table::Texts}) {
        for (const bool logging : {false, true}) {
            const pid_t child = fork();
            if (child == 0) {
                RunCase(server.Port(), table, logging);
                std::_Exit(0);
            }
            int status = 0;
            if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
                std::fprintf(stderr, "memory case failed\n");
                return 1;
            }
        }
    }
    return 0;
}
