// The goods, tare and text documents through the driver's upload methods
// down to the frames, which the in-process scale recorder checks. The same
// bytes go in as every document and as the company name; the input's length
// picks the firmware, so both frame layouts are reached.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "lib/cf/TextUtils.h"
#include "tests/fuzz/support/LinkedDriver.h"
#include "tests/fuzz/support/ScaleRecorder.h"
#include "tools/host-emulation/HostValues.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::u16string document = cf::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    fuzz_support::Recorder().Reset();
    fuzz_support::DriverSession session;
    session.SetParameter(u"IPAddress", session.Text(u"127.0.0.1"));
    session.SetParameter(u"IPPort", host_emulation::DoubleValue(3001));
    session.SetParameter(u"FirmwareType", host_emulation::DoubleValue(static_cast<double>(size % 2)));
    if (!session.Call(u"Open")) return 0;
    session.Call(u"UploadGoods", {host_emulation::EmptyValue(), session.Text(document), session.Text(u"first")});
    session.Call(u"UploadTare", {host_emulation::EmptyValue(), session.Text(document)});
    session.Call(u"UploadAdditionalText", {session.Text(document)});
    session.Call(u"UploadCompany", {session.Text(document)});
    session.Call(u"Close");
    return 0;
}
