// A 32-bit FNV-1a hash, fed byte by byte. Whole numbers go in as their four
// bytes, lowest first, so the value is the same on any machine: demo files
// keep these hashes and compare them on playback.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>

class FnvHash {
public:
    void addBytes(const void* data, std::size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            value_ = (value_ ^ bytes[i]) * kPrime;
        }
    }
    void addInt(int32_t number)
    {
        const auto bits = static_cast<uint32_t>(number);
        for (int shift = 0; shift < 32; shift += 8) {
            const unsigned char byte = static_cast<unsigned char>(bits >> shift);
            addBytes(&byte, 1);
        }
    }
    void addInts(std::initializer_list<int32_t> numbers)
    {
        for (int32_t number : numbers) {
            addInt(number);
        }
    }
    // Floats by their bit pattern: two values hash alike only if identical.
    void addFloat(float number)
    {
        uint32_t bits;
        std::memcpy(&bits, &number, sizeof bits);
        addInt(static_cast<int32_t>(bits));
    }
    uint32_t value() const { return value_; }

private:
    static constexpr uint32_t kOffsetBasis = 2166136261u;
    static constexpr uint32_t kPrime = 16777619u;
    uint32_t value_ = kOffsetBasis;
};
