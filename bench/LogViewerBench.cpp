// The log viewer's presenter on a day of exchange logging: opening a 50 MB
// log, and following it while it grows by 1 MB.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "forms/uDiskLogFiles.h"
#include "forms/ufmLog.h"
#include "lib/cf/TextUtils.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLogSize = 50u << 20;
constexpr std::size_t kGrowthSize = 1u << 20;

// Log lines as the driver writes them with exchange logging on.
std::string LogLines(std::size_t size) {
    const std::string line = cf::ToUtf8(
        u"2026.12.09 13:45:30.123\tDEBUG\tДанные обмена -> : \t021E0001001600CC000000000001"
        u"00004976616E6F7620202020202020202020202020205A3D\r\n"
        u"2026.12.09 13:45:30.125\tDEBUG\t> UploadGoods: \tParams: Товар «Колбаса докторская», 1 сорт\r\n");
    std::string text;
    text.reserve(size + line.size());
    while (text.size() < size) text += line;
    return text;
}

// The disk's files in a folder of the benchmark's own.
class TBenchLogFiles : public forms::TDiskLogFiles {
public:
    TBenchLogFiles() : FFolder(fs::temp_directory_path() / "wq_log_viewer_bench") {
        fs::remove_all(FFolder);
        fs::create_directories(FFolder);
        std::ofstream(FFolder / "w_quorlan7t4p_2026.12.09.log", std::ios::binary) << LogLines(kLogSize);
    }
    ~TBenchLogFiles() override { fs::remove_all(FFolder); }
    std::u16string LogFolder() override { return (FFolder / "").u16string(); }
    void Grow() { std::ofstream(FFolder / "w_quorlan7t4p_2026.12.09.log", std::ios::binary | std::ios::app) << LogLines(kGrowthSize); }

private:
    fs::path FFolder;
};

class TNoShell : public forms::IShell {
public:
    void Explore(const std::u16string&) override {}
};

void BM_OpenFiftyMegabyteLog(benchmark::State& state) {
    TBenchLogFiles files;
    TNoShell shell;
    for (auto _ : state) {
        forms::TfrmLog viewer(files, shell);
        benchmark::DoNotOptimize(viewer.FormCreate());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kLogSize));
}
BENCHMARK(BM_OpenFiftyMegabyteLog)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FollowOneMegabyteOfGrowth(benchmark::State& state) {
    TBenchLogFiles files;
    TNoShell shell;
    forms::TfrmLog viewer(files, shell);
    viewer.FormCreate();
    for (auto _ : state) {
        state.PauseTiming();
        files.Grow();
        state.ResumeTiming();
        const forms::TLogTextUpdate update = viewer.tmrCheckFileTimer();
        if (update.Kind != forms::TLogTextUpdate::TKind::Append) state.SkipWithError("the growth was not appended");
        benchmark::DoNotOptimize(update);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kGrowthSize));
}
BENCHMARK(BM_FollowOneMegabyteOfGrowth)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
