// Reads a fuzz input as a sequence of typed pieces; past the end every read
// gives zeros or nothing, so any input is a valid sequence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace fuzz_support {

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }

    template <typename T>
    T Raw() {
        unsigned char bytes[sizeof(T)] = {};
        for (unsigned char& b : bytes) b = Byte();
        T value;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }

    // Up to `count` bytes, fewer at the end.
    std::string_view Bytes(std::size_t count) {
        const std::size_t taken = count < size_ - at_ ? count : size_ - at_;
        const std::string_view bytes(reinterpret_cast<const char*>(data_ + at_), taken);
        at_ += taken;
        return bytes;
    }
    // A piece whose length is the next byte.
    std::string_view Piece() { return Bytes(Byte()); }
    // UTF-16 units taken as little-endian pairs: every unit, surrogates alone included.
    std::u16string Units(std::size_t count) {
        std::u16string text;
        for (std::size_t i = 0; i < count && at_ < size_; ++i) text += Raw<char16_t>();
        return text;
    }
    std::string_view Rest() { return Bytes(size_ - at_); }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace fuzz_support
