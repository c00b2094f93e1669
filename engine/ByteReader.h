// A bounded cursor over bytes owned by someone else: every wire and file parser of the engine reads
// through it, so that no length, count or offset from a peer can make a read pass the bytes there.
//
// Once a read, skip or seek would pass the end, the reader fails for good: the position moves to
// the end, that read and every later one return 0 (or null), and Failed() stays true. A parser
// can therefore read a whole record and check Failed() once at the end.
#pragma once
#include <cstddef>
#include <cstdint>

class ByteReader {
public:
    static constexpr size_t npos = static_cast<size_t>(-1);

    ByteReader() = default;
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}

    uint8_t U8();
    uint16_t U16Le();
    uint16_t U16Be();
    uint32_t U32Le();
    uint32_t U32Be();
    uint64_t U64Le();
    uint64_t U64Be();

    // Moves on by count bytes.
    bool Skip(size_t count);
    // The next count bytes, moving past them; null when fewer are left (count 0: the current spot).
    const uint8_t* Bytes(size_t count);
    // A reader over the next count bytes, moving past them; an empty failed reader when fewer are
    // left.
    ByteReader Sub(size_t count);
    // Moves to an absolute position (0 to Size()).
    bool Seek(size_t position);

    // Absolute position of the first occurrence of the pattern at or after the current position,
    // or npos. Does not move and never fails the reader; an empty pattern is found where it stands.
    size_t Find(const uint8_t* pattern, size_t length) const;

    size_t Position() const { return position_; }
    size_t Remaining() const { return size_ - position_; }
    size_t Size() const { return size_; }
    bool Failed() const { return failed_; }
    bool Ok() const { return !failed_; }
    const uint8_t* Data() const { return data_; }

private:
    bool Advance(size_t count);
    // The next count bytes, or null once the reader has failed.
    const uint8_t* Take(size_t count);
    void Fail();

    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    size_t position_ = 0;
    bool failed_ = false;
};
