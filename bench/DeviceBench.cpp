// Building a goods frame with its CRC, and one exchange with the simulator
// over loopback.
#include <benchmark/benchmark.h>

#include "device/uDevice.h"
#include "device/uScaleFrames.h"
#include "tools/tiger-sim/Simulator.h"

namespace {

device::TPluRecord SampleRecord() {
    device::TPluRecord r;
    r.PLU = 1234;
    r.GroupNumber = 7;
    r.ShelfLife = 10;
    r.TaxNumber = 1;
    r.Barcode = u"4600000000017";
    r.Name = u"Колбаса докторская||вареная, 1 сорт";
    r.Price = device::TCurrency{4599900};
    r.TextID = 3;
    return r;
}

void BM_WritePluFrame(benchmark::State& state) {
    const device::TPluRecord record = SampleRecord();
    const int32_t firmwareType = static_cast<int32_t>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(device::WritePluFrame(firmwareType, record));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WritePluFrame)->Arg(0)->Arg(1);

void BM_Crc16(benchmark::State& state) {
    const std::string frame = device::WritePluFrame(1, SampleRecord());
    for (auto _ : state) benchmark::DoNotOptimize(device::Crc16(frame));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(frame.size()));
}
BENCHMARK(BM_Crc16);

void BM_WritePluExchange(benchmark::State& state) {
    tiger_sim::TSimulator sim({});
    const uint16_t port = sim.Start();
    device::TDevice scale{device::TExchangeLog()};
    scale.SetFirmwareType(1);
    scale.Enable(u"127.0.0.1", port);
    const device::TPluRecord r = SampleRecord();
    for (auto _ : state) {
        scale.WritePlu(r.PLU, r.GroupNumber, r.FixWeight, r.ShelfLife, r.SellByDate, r.TaxNumber, r.TareNumber,
                       r.Barcode, r.Name, r.Price, r.IsWeightGoods, r.TextID);
    }
    state.SetItemsProcessed(state.iterations());
    scale.Disable();
    sim.Stop();
}
BENCHMARK(BM_WritePluExchange)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
