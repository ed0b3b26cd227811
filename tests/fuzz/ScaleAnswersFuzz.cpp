// The scale answering as the input says: any bytes, more or fewer than
// asked, in pieces, late, or not at all; connections refused, sends taken in
// part, the connection closed or reset after an answer. Through them every
// upload method, DeviceTest, the connection's open and close, and the
// advanced settings dialog's OK writes. Every call must end within its time
// bounds (the recorder checks every wait) with its result true, or false
// with a message of the system's own, and leave neither the log file kept
// nor, at the end, a socket open.
//
// The first byte picks the firmware and the logs; the rest answers.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "common/Common.Log.h"
#include "device/uFrameFields.h"
#include "device/uTCPSocket.h"
#include "forms/uFormServices.h"
#include "forms/ufmAdvSettings.h"
#include "lib/cf/DateTime.h"
#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"
#include "tests/fuzz/support/FuzzCheck.h"
#include "tests/fuzz/support/FuzzFolder.h"
#include "tests/fuzz/support/FuzzInput.h"
#include "tests/fuzz/support/LinkedDriver.h"
#include "tests/fuzz/support/ScaleRecorder.h"
#include "tests/support/ReferenceFrames.h"

namespace {

using fuzz_support::IScaleWire;
using fuzz_support::Recorder;
using fuzz_support::Require;
using Messages = std::initializer_list<const char16_t*>;

// Any call that talks to the scale may end with one of these.
constexpr Messages kTransport = {u"Ошибка при установлении подключения", u"Ошибка при отправке данных серверу",
                                 u"Ошибка при получении ответа от сервера"};
constexpr Messages kDialog = {
    u"Ошибка изменения конфигурации обслуживания", u"Ошибка изменения наименования организации",
    u"Ошибка прогрузки данных этикетки",           u"Ошибка изменения даты и времени",
    u"Ошибка прогрузки данных операторов",         u"Ошибка прогрузки шаблона штрихкода",
    u"Ошибка прогрузки опций этикетки",            u"Ошибка прогрузки опций для препака",
    u"Ошибка прогрузки текста даты"};

constexpr char16_t kGoods[] =
    u"<Table><Record PLU=\"1\" Code=\"1\" EANData=\"2100001000000\" Name=\"Яблоки||Голден\" GroupCode=\"1\" "
    u"Price=\"129,90\" FixWeight=\"0\" SellByDate=\"10\" ShelfLife=\"14\" TaxNumber=\"1\" TareNumber=\"1\" "
    u"IsWeightGoods=\"true\" TextID=\"0\"/><Record PLU=\"2\" Code=\"2\" EANData=\"2100002000000\" Name=\"Груши\" "
    u"GroupCode=\"1\" Price=\"189.50\" FixWeight=\"0\" SellByDate=\"7\" ShelfLife=\"10\" TaxNumber=\"1\" "
    u"TareNumber=\"1\" IsWeightGoods=\"false\" TextID=\"1\"/><Record PLU=\"3\" Code=\"3\" EANData=\"\" "
    u"Name=\"Бананы\" GroupCode=\"2\" Price=\"99\" FixWeight=\"500\" SellByDate=\"5\" ShelfLife=\"7\" "
    u"TaxNumber=\"2\" TareNumber=\"0\" IsWeightGoods=\"true\" TextID=\"0\"/></Table>";
constexpr char16_t kTare[] =
    u"<Table><Record TareNumber=\"0\" TareWeight=\"0\"/><Record TareNumber=\"1\" TareWeight=\"5\"/>"
    u"<Record TareNumber=\"16\" TareWeight=\"150\"/></Table>";
constexpr char16_t kTexts[] =
    u"<Table><Record TextID=\"1\" Value=\"Хранить при +2..+6 °C||ООО «Фермер»\"/>"
    u"<Record TextID=\"2\" Value=\"##15##Акция!\"/></Table>";

// The scale as the input plays it; past the input's end it answers as it
// should. Until it first does otherwise, every call must succeed.
class InputWire : public IScaleWire {
public:
    explicit InputWire(fuzz_support::FuzzInput& input) : input_(input) {}

    bool Faulty() const { return faulty_; }

    TConnect Connect() override {
        const auto connect = static_cast<TConnect>(input_.Byte() % 5);
        faulty_ |= connect != TConnect::Taken && connect != TConnect::TakenLate;
        return connect;
    }

    // A send taken in part is no fault: the driver sends the rest.
    std::size_t Accept(std::size_t size) override {
        const uint8_t part = input_.Byte();
        return part == 0 ? size : 1 + part % size;
    }

    // Bit 0: bytes of the input instead of the good answer; bit 1: in pieces,
    // each late by up to 6.4 s; the next bits: open, closed or reset after it.
    TAnswer Answer(const std::string& good) override {
        const uint8_t how = input_.Byte();
        std::string bytes = how & 1 ? std::string(input_.Bytes(input_.Byte() % 8)) : good;
        TAnswer answer;
        answer.After = static_cast<TAfter>((how >> 2) % 3);
        faulty_ |= bytes != good || answer.After != TAfter::Open;
        if (!(how & 2)) {
            answer.Pieces.push_back({std::move(bytes), 0});
            return answer;
        }
        int late = 0;
        do {
            const std::size_t length = bytes.empty() ? 0 : 1 + input_.Byte() % bytes.size();
            answer.Pieces.push_back({bytes.substr(0, length), input_.Byte() * 25});
            late += answer.Pieces.back().DelayMs;
            bytes.erase(0, length);
        } while (!bytes.empty());
        faulty_ |= late >= kLateAnswerMs;
        return answer;
    }

private:
    // Late enough to miss the driver's bound, with room for the rounding of its clock.
    static constexpr int kLateAnswerMs = device::TTCPSocket::kReceiveTimeoutMs - 100;

    fuzz_support::FuzzInput& input_;
    bool faulty_ = false;
};

bool OneOf(const std::u16string& message, Messages first, Messages second) {
    for (Messages list : {first, second})
        for (const char16_t* known : list)
            if (message == known) return true;
    return false;
}

void CheckEnd(const InputWire& wire, bool ok, const std::u16string& message, Messages own) {
    Require(ok || wire.Faulty(), "a call failed though the scale answered as it should");
    if (!ok && !OneOf(message, kTransport, own)) {
        std::fprintf(stderr, "message: %s\n", cf::ToUtf8(message).c_str());
        fuzz_support::Finding("a call failed with a message that is not the system's");
    }
    Require(!common::LogKeptFromOtherWriters(), "the log file is still kept from other writers after a call");
}

void CheckedCall(const InputWire& wire, fuzz_support::DriverSession& session, const std::u16string& method,
                 std::vector<tVariant> args, Messages own = {}) {
    const bool ok = session.Call(method, std::move(args));
    CheckEnd(wire, ok, ok ? std::u16string() : session.LastError(), own);
}

// A fresh log folder for every input that logs, so that a long run stays small.
void EmptyLogFolder() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(common::GetLogFolder()), error))
        std::filesystem::remove(entry.path(), error);
}

void DriverCalls(const InputWire& wire, int firmware, bool log, bool exchangeLog) {
    using host_emulation::BoolValue;
    using host_emulation::DoubleValue;
    using host_emulation::EmptyValue;
    fuzz_support::DriverSession session;
    session.SetParameter(u"IPAddress", session.Text(u"127.0.0.1"));
    session.SetParameter(u"IPPort", DoubleValue(3001));
    session.SetParameter(u"FirmwareType", DoubleValue(firmware));
    session.SetParameter(u"LogEnabled", BoolValue(log));
    session.SetParameter(u"ExtLogEnabled", BoolValue(exchangeLog));
    CheckedCall(wire, session, u"DeviceTest", {});  // opens and closes by itself
    Require(!Recorder().SocketOpen(), "DeviceTest left its connection open");
    CheckedCall(wire, session, u"Open", {});
    CheckedCall(wire, session, u"UploadGoods", {EmptyValue(), session.Text(kGoods), session.Text(u"first")},
                {u"Ошибка выгрузки PLU"});
    CheckedCall(wire, session, u"UploadTare", {EmptyValue(), session.Text(kTare)}, {u"Ошибка выгрузки веса тары"});
    CheckedCall(wire, session, u"UploadAdditionalText", {session.Text(kTexts)},
                {u"Ошибка выгрузки дополнительного текста"});
    CheckedCall(wire, session, u"UploadCompany", {session.Text(u"ООО «Ромашка»")},
                {u"Ошибка изменения наименования организации"});
    CheckedCall(wire, session, u"DeleteGood", {DoubleValue(2)}, {u"Ошибка удаления PLU"});
    CheckedCall(wire, session, u"ClearGoods", {}, {u"Ошибка удаления PLU"});
    CheckedCall(wire, session, u"DeviceTest", {});
    CheckedCall(wire, session, u"Close", {});
    Require(!Recorder().SocketOpen(), "Close left the connection open");
}

class FixedClock : public forms::IClock {
public:
    double Now() override { return cf::EncodeDateTime({2026, 12, 9, 13, 45, 30, 0}); }
};

// The one label of the template file: a frame the scale takes as it comes.
const std::string& Label() {
    static const std::string label = test_support::ReferenceFrame(0xF4, 0, 0, 1, "\x20\x41");
    return label;
}

// The template file's folder, made once.
const std::u16string& LabelTemplates() {
    static const std::u16string folder = [] {
        const std::filesystem::path path = fuzz_support::FreshFolder("w_quorlan7t4p-fuzz-labels");
        fuzz_support::WriteFile(path / "Labels.mtt",
                                "[Label]\r\n" + cf::ToUtf8(device::BytesToHex(Label())) + "\r\n[/Label]\r\n");
        return path.u16string();
    }();
    return folder;
}

// OK of the advanced settings dialog, every step it can take.
void DialogWrites(const InputWire& wire, int firmware, bool exchangeLog) {
    Recorder().AcceptLabel(Label());
    FixedClock clock;
    forms::TfmAdvSettings dialog(clock);
    dialog.FirmwareType = firmware;
    dialog.ExtLogEnabled = exchangeLog;
    dialog.IPAddress = u"127.0.0.1";
    dialog.IPPort = 3001;
    dialog.State().MagazName = u"Магазин «Ромашка»";
    dialog.LabelTemplatePathChange(LabelTemplates());
    dialog.State().LabelFormat.ItemIndex = 1;
    std::u16string message;
    try {
        dialog.btnOKClick();
    } catch (const cf::Exception& e) {
        message = e.Message().empty() ? u"(empty)" : e.Message();
    } catch (...) {
        fuzz_support::Finding("the dialog's OK raised something other than the system's error");
    }
    CheckEnd(wire, message.empty(), message, kDialog);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz_support::FuzzInput input(data, size);
    const uint8_t setup = input.Byte();
    const int firmware = setup & 1;
    const bool log = setup & 2, exchangeLog = setup & 4;
    fuzz_support::LinkedDriverLibrary();
    if (log) EmptyLogFolder();
    InputWire wire(input);
    Recorder().Reset(&wire);
    DriverCalls(wire, firmware, log, exchangeLog);
    DialogWrites(wire, firmware, exchangeLog);
    Require(!Recorder().SocketOpen(), "a socket is left open");
    Recorder().Reset();
    return 0;
}
