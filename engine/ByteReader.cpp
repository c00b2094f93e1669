#include "ByteReader.h"

#include <algorithm>

namespace {

uint64_t Little(const uint8_t* p, size_t count) {
    uint64_t value = 0;
    for (size_t i = count; i-- > 0;) value = (value << 8) | p[i];
    return value;
}

uint64_t Big(const uint8_t* p, size_t count) {
    uint64_t value = 0;
    for (size_t i = 0; i < count; ++i) value = (value << 8) | p[i];
    return value;
}

}  // namespace

void ByteReader::Fail() {
    failed_ = true;
    position_ = size_;
}

bool ByteReader::Advance(size_t count) {
    if (failed_ || count > size_ - position_) {
        Fail();
        return false;
    }
    position_ += count;
    return true;
}

const uint8_t* ByteReader::Take(size_t count) {
    const size_t at = position_;
    // A reader over no bytes at all has no address to hand out, even for count 0.
    return Advance(count) && data_ ? data_ + at : nullptr;
}

uint8_t ByteReader::U8() {
    const uint8_t* p = Take(1);
    return p ? *p : 0;
}

uint16_t ByteReader::U16Le() {
    const uint8_t* p = Take(2);
    return p ? static_cast<uint16_t>(Little(p, 2)) : 0;
}

uint16_t ByteReader::U16Be() {
    const uint8_t* p = Take(2);
    return p ? static_cast<uint16_t>(Big(p, 2)) : 0;
}

uint32_t ByteReader::U32Le() {
    const uint8_t* p = Take(4);
    return p ? static_cast<uint32_t>(Little(p, 4)) : 0;
}

uint32_t ByteReader::U32Be() {
    const uint8_t* p = Take(4);
    return p ? static_cast<uint32_t>(Big(p, 4)) : 0;
}

uint64_t ByteReader::U64Le() {
    const uint8_t* p = Take(8);
    return p ? Little(p, 8) : 0;
}

uint64_t ByteReader::U64Be() {
    const uint8_t* p = Take(8);
    return p ? Big(p, 8) : 0;
}

bool ByteReader::Skip(size_t count) { return Advance(count); }

const uint8_t* ByteReader::Bytes(size_t count) { return Take(count); }

ByteReader ByteReader::Sub(size_t count) {
    const size_t at = position_;
    if (!Advance(count)) {
        ByteReader empty;
        empty.failed_ = true;
        return empty;
    }
    return ByteReader(data_ ? data_ + at : nullptr, count);
}

bool ByteReader::Seek(size_t position) {
    if (failed_ || position > size_) {
        Fail();
        return false;
    }
    position_ = position;
    return true;
}

size_t ByteReader::Find(const uint8_t* pattern, size_t length) const {
    if (length == 0) return position_;
    if (!pattern || length > size_ - position_) return npos;
    const uint8_t* begin = data_ + position_;
    const uint8_t* end = data_ + size_;
    const uint8_t* hit = std::search(begin, end, pattern, pattern + length);
    return hit == end ? npos : static_cast<size_t>(hit - data_);
}
