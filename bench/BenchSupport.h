// What the upload benchmarks share: the records and documents they send and a
// driver session driven through the exports, as the platform drives it.
#pragma once

#include <string>
#include <vector>

#include "device/uScaleFrames.h"
#include "tools/host-emulation/AddInClient.h"
#include "tools/host-emulation/HostValues.h"

namespace bench {

// Prints what failed with errno's text and ends the program.
[[noreturn]] void Die(const char* what);

// The floor: the same frames through blocking send and receive on one
// loopback connection, each answered by an ACK before the next goes out.
void RawClient(uint16_t port, const std::vector<std::string>& frames);

// One goods record shaped like examples/goods.xml.
device::TPluRecord GoodsRecord(int plu);
// Goods, tare and texts documents of `count` records from record `first`.
std::u16string GoodsDocument(int first, int count);
std::u16string TareDocument(int count);
std::u16string TextsDocument(int count);

// Points the driver's log at a fresh temporary folder (before the library
// loads) and removes it at the end.
class TemporaryLogFolder {
public:
    TemporaryLogFolder();
    ~TemporaryLogFolder();
    TemporaryLogFolder(const TemporaryLogFolder&) = delete;
    TemporaryLogFolder& operator=(const TemporaryLogFolder&) = delete;

private:
    std::string folder_;
};

// The driver opened against 127.0.0.1:port, two-line firmware; `logging`
// switches both LogEnabled and ExtLogEnabled.
class DriverSession {
public:
    DriverSession(host_emulation::AddInLibrary& library, uint16_t port, bool logging);
    ~DriverSession();
    DriverSession(const DriverSession&) = delete;
    DriverSession& operator=(const DriverSession&) = delete;

    // The host's copy of a document, made before the call as the platform does.
    tVariant HostString(const std::u16string& text);
    // Calls a method by name; exits the program when it answers false.
    void Expect(const std::u16string& method, std::vector<tVariant> args);
    // Calls a method by name; its answer.
    bool Call(const std::u16string& method, std::vector<tVariant> args);

private:

    host_emulation::HostMemoryManager memory_;
    host_emulation::HostConnection connection_;
    host_emulation::ComponentClient driver_;
};

}  // namespace bench
