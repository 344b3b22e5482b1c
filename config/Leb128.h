// Unsigned LEB128: a number in groups of 7 bits, lowest first, each byte but
// the last with its top bit set, so that a small number takes one byte. The
// kept headers in memory and the state file on disk both count sizes so.
#pragma once

#include <concepts>
#include <cstddef>
#include <limits>
#include <optional>

// The most bytes a T can take.
template <std::unsigned_integral T>
inline constexpr std::size_t kLeb128MaxBytes = (std::numeric_limits<T>::digits + 6) / 7;

template <std::unsigned_integral T> constexpr std::size_t Leb128Bytes(T value) {
    std::size_t bytes = 1;
    for (; value > 0x7f; value >>= 7) {
        ++bytes;
    }
    return bytes;
}

// Writes value from at on, which must have room for Leb128Bytes(value);
// returns where it ended.
template <std::unsigned_integral T> char* PutLeb128(char* at, T value) {
    for (; value > 0x7f; value >>= 7) {
        *at++ = static_cast<char>((value & 0x7f) | 0x80);
    }
    *at++ = static_cast<char>(value);
    return at;
}

// The number whose bytes nextByte() hands over in turn (an
// std::optional<unsigned char>, none when there are no more). None when they
// end first or go on past kLeb128MaxBytes<T>.
template <std::unsigned_integral T, typename NextByte>
std::optional<T> ReadLeb128(NextByte&& nextByte) {
    T value = 0;
    for (int shift = 0; shift < std::numeric_limits<T>::digits; shift += 7) {
        const std::optional<unsigned char> byte = nextByte();
        if (!byte) {
            return std::nullopt;
        }
        value |= static_cast<T>(*byte & 0x7fu) << shift;
        if ((*byte & 0x80) == 0) {
            return value;
        }
    }
    return std::nullopt;
}
