// Host values built from the input, of every type code the platform may
// send, through the conversions both ways, and the driver's method and
// property tables by number and by name through the raw slots, with those
// values as parameters and property values.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "lib/cf/Exception.h"
#include "lib/cf/HostValue.h"
#include "tests/fuzz/support/FuzzCheck.h"
#include "tests/fuzz/support/FuzzInput.h"
#include "tests/fuzz/support/LinkedDriver.h"
#include "tests/fuzz/support/ScaleRecorder.h"
#include "tools/host-emulation/HostValues.h"

using namespace host_emulation;

namespace {

// The type codes the platform knows, and one it does not.
constexpr uint16_t kTypes[] = {VTYPE_EMPTY, VTYPE_NULL, VTYPE_I2, VTYPE_I4,   VTYPE_R4,    VTYPE_R8,  VTYPE_DATE,
                               VTYPE_TM,    VTYPE_PSTR, VTYPE_ERROR, VTYPE_BOOL, VTYPE_I8, VTYPE_PWSTR, VTYPE_BLOB, 0x4A};

// A value as the platform would lay it out; strings and blobs in its memory.
tVariant ValueFrom(fuzz_support::FuzzInput& input, HostMemoryManager& memory) {
    const uint16_t vt = kTypes[input.Byte() % std::size(kTypes)];
    if (vt == VTYPE_PWSTR) return StringValue(memory, input.Units(input.Byte()));
    if (vt == VTYPE_BLOB || vt == VTYPE_PSTR) {
        tVariant value = BlobValue(memory, [&] {
            const std::string_view bytes = input.Piece();
            return std::vector<uint8_t>(bytes.begin(), bytes.end());
        }());
        value.vt = vt;
        return value;
    }
    tVariant value = TypeOnly(vt);
    const std::string_view raw = input.Bytes(sizeof(cf::abi::HostTm));
    std::memcpy(reinterpret_cast<char*>(&value) + offsetof(tVariant, intVal), raw.data(), raw.size());
    return value;
}

// Both ways: a value the component takes comes back to the platform as a
// value the platform can free.
void RoundTrip(const tVariant& value, HostMemoryManager& memory) {
    try {
        const cf::Variant converted = cf::HostToVariant(value);
        tVariant back = EmptyValue();
        cf::VariantToHost(memory.Interface(), converted, back);
        Release(memory, back);
    } catch (const cf::Exception&) {
    }
}

// Any other method may show a window, which a fuzz run has no one to close.
bool MayCall(const std::u16string& englishName) { return englishName != u"DoAdditionalAction"; }

void ThroughTables(fuzz_support::DriverSession& session, fuzz_support::FuzzInput& input) {
    ComponentClient& driver = session.Driver();
    HostMemoryManager& memory = session.Memory();
    driver.FindMethod(input.Units(input.Byte() % 40));
    driver.FindProp(input.Units(input.Byte() % 40));

    const long method = static_cast<long>(input.Byte() % (driver.GetNMethods() + 4)) - 2;
    const long alias = input.Byte() % 3;
    const std::u16string english = driver.GetMethodName(method, 1);
    driver.GetMethodName(method, alias);
    const long params = driver.GetNParams(method);
    driver.HasRetVal(method);
    tVariant defaultValue = EmptyValue();
    driver.Call<bool>(kGetParamDefValue, method, static_cast<long>(input.Byte() % 4) - 1, &defaultValue);
    Release(memory, defaultValue);
    if (MayCall(english) && method >= 0 && method < driver.GetNMethods()) {
        std::vector<tVariant> values;
        for (long i = 0; i < params; ++i) values.push_back(ValueFrom(input, memory));
        HostParams args(memory, std::move(values));
        tVariant result = EmptyValue();
        if (input.Byte() % 2) {
            driver.CallAsFunc(method, &result, args.data(), args.count());
        } else {
            driver.CallAsProc(method, args.data(), args.count());
        }
        Release(memory, result);
    }

    const long property = static_cast<long>(input.Byte() % (driver.GetNProps() + 4)) - 2;
    driver.GetPropName(property, alias);
    driver.IsPropReadable(property);
    driver.IsPropWritable(property);
    tVariant read = EmptyValue();
    driver.GetPropValue(property, read);
    Release(memory, read);
    tVariant written = ValueFrom(input, memory);
    driver.SetPropValue(property, written);
    Release(memory, written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz_support::FuzzInput input(data, size);
    fuzz_support::Recorder().Reset();
    fuzz_support::DriverSession session(fuzz_support::TReports::Allowed);
    tVariant value = ValueFrom(input, session.Memory());
    RoundTrip(value, session.Memory());
    Release(session.Memory(), value);
    ThroughTables(session, input);
    return 0;
}
