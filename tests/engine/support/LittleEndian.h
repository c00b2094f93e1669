// Little-endian fields of wire and file records, read from a byte string or byte vector. A field
// past the end reads as 0: a short record fails a test's comparison, and never throws inside a
// fixture server's thread.
#pragma once
#include <cstddef>
#include <cstdint>

template <class Bytes>
uint64_t Le(const Bytes& bytes, size_t at, size_t width = 8) {
    uint64_t value = 0;
    for (size_t i = width; i-- > 0;) {
        value = (value << 8) | (at + i < bytes.size() ? static_cast<uint8_t>(bytes[at + i]) : 0);
    }
    return value;
}
