// 10,000 goods records through the driver's UploadGoods (via the exports, as
// the platform calls it) beside a raw client that sends the same frames over
// one connection in the same request-answer lockstep, both against the
// simulator on loopback in the same run. Prints records per second and the
// ratio driver/raw (time), with logging off and with exchange logging on.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "device/uScaleFrames.h"
#include "device/uTCPSocket.h"
#include "lib/cf/TextUtils.h"
#include "tools/host-emulation/AddInClient.h"
#include "tools/host-emulation/HostValues.h"
#include "tools/tiger-sim/Simulator.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRecords = 10000;

device::TPluRecord Record(int plu) {
    device::TPluRecord r;
    r.PLU = plu;
    r.GroupNumber = 1 + plu % 20;
    r.ShelfLife = 7;
    r.SellByDate = 5;
    r.TaxNumber = 1;
    r.Barcode = u"21" + cf::IntToStr(plu);
    r.Name = u"Товар " + cf::IntToStr(plu) + u"||вторая строка";
    r.Price = device::TCurrency{105000 + plu};
    return r;
}

std::u16string PriceText(int64_t scaled) {
    // "10,5001": the comma decimal separator the platform's documents often carry.
    return cf::IntToStr(scaled / 10000) + u"," + cf::IntToStr(10000 + scaled % 10000).substr(1);
}

// The same records as one goods document, from `first` for `count` records.
std::u16string GoodsDocument(int first, int count) {
    std::u16string xml = u"<Table>";
    for (int plu = first; plu < first + count; ++plu) {
        const device::TPluRecord r = Record(plu);
        xml += u"<Record PLU=\"" + cf::IntToStr(plu) + u"\" Code=\"" + cf::IntToStr(plu) + u"\" EANData=\"" +
               r.Barcode + u"\" Name=\"" + r.Name + u"\" GroupCode=\"" + cf::IntToStr(r.GroupNumber) +
               u"\" Price=\"" + PriceText(r.Price.Scaled) +
               u"\" FixWeight=\"0\" SellByDate=\"5\" ShelfLife=\"7\" TaxNumber=\"1\" TextID=\"0\"/>";
    }
    return xml + u"</Table>";
}

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double RawClient(uint16_t port) {
    std::vector<std::string> frames;
    frames.reserve(kRecords);
    for (int plu = 1; plu <= kRecords; ++plu) frames.push_back(device::WritePluFrame(1, Record(plu)));
    device::TTCPSocket socket;
    socket.SetIPAddress(u"127.0.0.1");
    socket.SetIPPort(port);
    const Clock::time_point start = Clock::now();
    socket.SetConnection();
    std::string answer;
    for (const std::string& frame : frames) {
        socket.WriteStr(frame);
        socket.ReadString(1, answer);
        if (answer[0] != 0x06) {
            std::fprintf(stderr, "raw client: frame refused\n");
            std::exit(1);
        }
    }
    socket.CloseConnection();
    return Seconds(start);
}

class DriverSession {
public:
    DriverSession(host_emulation::AddInLibrary& library, uint16_t port, bool logging)
        : driver_(library, u"w_quorlan7t4p", memory_, &connection_) {
        Set(u"IPAddress", host_emulation::StringValue(memory_, u"127.0.0.1"));
        Set(u"IPPort", host_emulation::DoubleValue(port));
        Set(u"FirmwareType", host_emulation::DoubleValue(1));
        Set(u"LogEnabled", host_emulation::BoolValue(logging));
        Set(u"ExtLogEnabled", host_emulation::BoolValue(logging));
        Expect(Call(u"Open", {host_emulation::EmptyValue()}), "Open");
    }
    ~DriverSession() { Call(u"Close", {host_emulation::EmptyValue()}); }

    // Uploads in calls of `batch` records; answers the seconds the calls took.
    double Upload(int batch) {
        std::vector<std::u16string> documents;
        for (int first = 1; first <= kRecords; first += batch) documents.push_back(GoodsDocument(first, batch));
        const Clock::time_point start = Clock::now();
        for (const std::u16string& document : documents) {
            Expect(Call(u"UploadGoods", {host_emulation::EmptyValue(), host_emulation::StringValue(memory_, document),
                                         host_emulation::StringValue(memory_, u"regular")}),
                   "UploadGoods");
        }
        return Seconds(start);
    }

private:
    bool Call(const std::u16string& method, std::vector<tVariant> args) {
        host_emulation::HostParams params(memory_, std::move(args));
        tVariant result = host_emulation::EmptyValue();
        driver_.CallAsFunc(driver_.FindMethod(method), &result, params.data(), params.count());
        return result.vt == VTYPE_BOOL && result.bVal;
    }
    void Set(const std::u16string& name, tVariant value) {
        Expect(Call(u"SetParameter", {host_emulation::StringValue(memory_, name), value}), "SetParameter");
    }
    static void Expect(bool ok, const char* what) {
        if (ok) return;
        std::fprintf(stderr, "driver: %s failed\n", what);
        std::exit(1);
    }

    host_emulation::HostMemoryManager memory_;
    host_emulation::HostConnection connection_;
    host_emulation::ComponentClient driver_;
};

void Report(const char* label, double driverSeconds, double rawSeconds) {
    std::printf("%-34s driver %8.0f rec/s  raw %8.0f rec/s  ratio driver/raw %.2f\n", label, kRecords / driverSeconds,
                kRecords / rawSeconds, driverSeconds / rawSeconds);
}

}  // namespace

int main() {
    device::SocketsStart();
    tiger_sim::TSimulator sim{tiger_sim::TSimOptions{}};
    const uint16_t port = sim.Start();
    host_emulation::AddInLibrary library(host_emulation::ExecutableFolder() + WQ_DRIVER_LIBRARY);
    std::printf("%d WritePlu records (two-line firmware) to the simulator on 127.0.0.1:%u\n", kRecords, port);

    struct Case {
        const char* label;
        bool logging;
        int batch;
    };
    for (const Case& c : {Case{"logging off, one call", false, kRecords}, Case{"logging off, 100 per call", false, 100},
                          Case{"exchange logging on, one call", true, kRecords}}) {
        // Alternate which runs first, so neither always meets a warmer simulator.
        double driver = 0, raw = 0;
        for (int round = 0; round < 2; ++round) {
            if (round == 1) raw += RawClient(port);
            {
                DriverSession session(library, port, c.logging);
                driver += session.Upload(c.batch);
            }
            if (round == 0) raw += RawClient(port);
        }
        Report(c.label, driver / 2, raw / 2);
    }
    sim.Stop();
    device::SocketsStop();
    return 0;
}
