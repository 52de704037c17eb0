// Little-endian numbers in byte buffers, for the configuration record, the
// BMP headers and the asset generator. Standard C++ only, so that the pure
// logic and the generator build anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

// Stores the sizeof(T) bytes of value at `at`, lowest first.
template <typename T>
void storeLittleEndian(std::uint8_t* at, T value) {
    auto bits = static_cast<std::make_unsigned_t<T>>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i) at[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

// The sizeof(T) bytes at `at`, lowest first, as a T.
template <typename T>
T loadLittleEndian(const std::uint8_t* at) {
    std::make_unsigned_t<T> bits = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) bits = static_cast<std::make_unsigned_t<T>>((bits << 8) | at[i]);
    return static_cast<T>(bits);
}

// Appends the sizeof(T) bytes of value to a growing buffer.
template <typename T>
void appendLittleEndian(std::vector<std::uint8_t>& out, T value) {
    out.resize(out.size() + sizeof(T));
    storeLittleEndian(out.data() + out.size() - sizeof(T), value);
}
