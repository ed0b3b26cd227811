#include "bench/BenchSupport.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "lib/cf/TextUtils.h"

namespace bench {

namespace {

std::u16string PriceText(int64_t scaled) {
    // "10,5001": the comma decimal separator the platform's documents often carry.
    return cf::IntToStr(scaled / 10000) + u"," + cf::IntToStr(10000 + scaled % 10000).substr(1);
}

std::u16string Number(int value) { return cf::IntToStr(value); }

}  // namespace

void Die(const char* what) {
    std::perror(what);
    std::exit(1);
}

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

device::TPluRecord GoodsRecord(int plu) {
    device::TPluRecord r;
    r.PLU = plu;
    r.GroupNumber = 1 + plu % 20;
    r.ShelfLife = 7;
    r.SellByDate = 5;
    r.TaxNumber = 1;
    r.Barcode = u"21" + Number(plu);
    r.Name = u"Товар " + Number(plu) + u"||вторая строка";
    r.Price = device::TCurrency{105000 + plu};
    return r;
}

std::u16string GoodsDocument(int first, int count) {
    std::u16string xml = u"<Table>";
    for (int plu = first; plu < first + count; ++plu) {
        const device::TPluRecord r = GoodsRecord(plu);
        xml += u"<Record PLU=\"" + Number(plu) + u"\" Code=\"" + Number(plu) + u"\" EANData=\"" + r.Barcode +
               u"\" Name=\"" + r.Name + u"\" GroupCode=\"" + Number(r.GroupNumber) + u"\" Price=\"" +
               PriceText(r.Price.Scaled) +
               u"\" FixWeight=\"0\" SellByDate=\"5\" ShelfLife=\"7\" TaxNumber=\"1\" TextID=\"0\"/>";
    }
    return xml + u"</Table>";
}

std::u16string TareDocument(int count) {
    std::u16string xml = u"<Table>";
    for (int i = 0; i < count; ++i)
        xml += u"<Record TareNumber=\"" + Number(i % 17) + u"\" TareWeight=\"" + Number(5 + i % 1000) + u"\"/>";
    return xml + u"</Table>";
}

std::u16string TextsDocument(int count) {
    std::u16string xml = u"<Table>";
    for (int i = 0; i < count; ++i)
        xml += u"<Record TextID=\"" + Number(1 + i % 1000) + u"\" Value=\"Хранить при температуре от +2 до +6 °C " +
               Number(i) + u"||Изготовитель: ООО «Фермер»\"/>";
    return xml + u"</Table>";
}

TemporaryLogFolder::TemporaryLogFolder() {
    char pattern[] = "/tmp/wq-bench-log-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    folder_ = pattern;
    setenv("W_QUORLAN7T4P_LOG_DIR", folder_.c_str(), 1);
}

TemporaryLogFolder::~TemporaryLogFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

DriverSession::DriverSession(host_emulation::AddInLibrary& library, uint16_t port, bool logging)
    : driver_(library, u"w_quorlan7t4p", memory_, &connection_) {
    const auto set = [this](const char16_t* name, tVariant value) {
        Expect(u"SetParameter", {host_emulation::StringValue(memory_, name), value});
    };
    set(u"IPAddress", host_emulation::StringValue(memory_, u"127.0.0.1"));
    set(u"IPPort", host_emulation::DoubleValue(port));
    set(u"FirmwareType", host_emulation::DoubleValue(1));
    set(u"LogEnabled", host_emulation::BoolValue(logging));
    set(u"ExtLogEnabled", host_emulation::BoolValue(logging));
    Expect(u"Open", {host_emulation::EmptyValue()});
}

DriverSession::~DriverSession() { Call(u"Close", {host_emulation::EmptyValue()}); }

tVariant DriverSession::HostString(const std::u16string& text) { return host_emulation::StringValue(memory_, text); }

void DriverSession::Expect(const std::u16string& method, std::vector<tVariant> args) {
    if (Call(method, std::move(args))) return;
    std::fprintf(stderr, "driver: %s failed\n", cf::ToUtf8(method).c_str());
    std::exit(1);
}

bool DriverSession::Call(const std::u16string& method, std::vector<tVariant> args) {
    host_emulation::HostParams params(memory_, std::move(args));
    tVariant result = host_emulation::EmptyValue();
    driver_.CallAsFunc(driver_.FindMethod(method), &result, params.data(), params.count());
    return result.vt == VTYPE_BOOL && result.bVal;
}

}  // namespace bench
