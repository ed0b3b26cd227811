#include "tools/host-emulation/HostValues.h"

#include <cstring>

namespace host_emulation {

tVariant EmptyValue() {
    tVariant value;
    std::memset(static_cast<void*>(&value), 0, sizeof(value));
    return value;
}

tVariant TypeOnly(uint16_t vt) {
    tVariant value = EmptyValue();
    value.vt = vt;
    return value;
}

tVariant IntValue(int32_t number) {
    tVariant value = TypeOnly(VTYPE_I4);
    value.intVal = number;
    return value;
}

tVariant DoubleValue(double number) {
    tVariant value = TypeOnly(VTYPE_R8);
    value.dblVal = number;
    return value;
}

tVariant BoolValue(bool flag) {
    tVariant value = TypeOnly(VTYPE_BOOL);
    value.bVal = flag;
    return value;
}

tVariant TmValue(int year, int month, int day, int hour, int minute, int second) {
    tVariant value = TypeOnly(VTYPE_TM);
    value.tmVal.tm_year = year - 1900;
    value.tmVal.tm_mon = month - 1;
    value.tmVal.tm_mday = day;
    value.tmVal.tm_hour = hour;
    value.tmVal.tm_min = minute;
    value.tmVal.tm_sec = second;
    return value;
}

tVariant StringValue(HostMemoryManager& memory, std::u16string_view text) {
    tVariant value = TypeOnly(VTYPE_PWSTR);
    const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
    auto* block = static_cast<char16_t*>(memory.Alloc(bytes));
    std::memcpy(block, text.data(), text.size() * sizeof(char16_t));
    block[text.size()] = 0;
    value.pwstrVal = block;
    value.wstrLen = static_cast<uint32_t>(text.size());
    return value;
}

tVariant BlobValue(HostMemoryManager& memory, const std::vector<uint8_t>& bytes) {
    tVariant value = TypeOnly(VTYPE_BLOB);
    value.pstrVal = static_cast<char*>(memory.Alloc(bytes.size()));
    if (!bytes.empty()) std::memcpy(value.pstrVal, bytes.data(), bytes.size());
    value.strLen = static_cast<uint32_t>(bytes.size());
    return value;
}

std::u16string StringOf(const tVariant& value) {
    if (value.vt != VTYPE_PWSTR || value.pwstrVal == nullptr) return {};
    return std::u16string(value.pwstrVal);
}

std::vector<uint8_t> BytesOf(const tVariant& value) {
    if (value.vt != VTYPE_BLOB || value.pstrVal == nullptr) return {};
    return std::vector<uint8_t>(value.pstrVal, value.pstrVal + value.strLen);
}

void Release(HostMemoryManager& memory, tVariant& value) {
    if (value.vt == VTYPE_PWSTR) memory.Free(value.pwstrVal);
    if (value.vt == VTYPE_BLOB || value.vt == VTYPE_PSTR) memory.Free(value.pstrVal);
    value = EmptyValue();
}

HostParams::~HostParams() {
    for (tVariant& value : values_) Release(memory_, value);
}

}  // namespace host_emulation
