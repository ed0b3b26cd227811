// Host value records as the platform makes and frees them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lib/cf/HostAbi.h"
#include "tools/host-emulation/HostMemoryManager.h"

namespace host_emulation {

tVariant EmptyValue();
tVariant IntValue(int32_t value);
tVariant DoubleValue(double value);
tVariant BoolValue(bool value);
tVariant TmValue(int year, int month, int day, int hour, int minute, int second);
tVariant TypeOnly(uint16_t vt);
// Strings and blobs live in the platform's memory, like the platform's own.
tVariant StringValue(HostMemoryManager& memory, std::u16string_view text);
tVariant BlobValue(HostMemoryManager& memory, const std::vector<uint8_t>& bytes);

std::u16string StringOf(const tVariant& value);
std::vector<uint8_t> BytesOf(const tVariant& value);
// Frees a string (wide or narrow) or blob the record holds and empties it.
void Release(HostMemoryManager& memory, tVariant& value);

// A parameter array that frees what it holds at the end of its scope.
class HostParams {
public:
    HostParams(HostMemoryManager& memory, std::vector<tVariant> values) : memory_(memory), values_(std::move(values)) {}
    ~HostParams();
    HostParams(const HostParams&) = delete;
    HostParams& operator=(const HostParams&) = delete;
    tVariant* data() { return values_.empty() ? nullptr : values_.data(); }
    long count() const { return static_cast<long>(values_.size()); }
    tVariant& operator[](std::size_t i) { return values_[i]; }

private:
    HostMemoryManager& memory_;
    std::vector<tVariant> values_;
};

}  // namespace host_emulation
