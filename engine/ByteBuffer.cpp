#include "ByteBuffer.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace

CByteBuffer::~CByteBuffer() { delete[] data_; }

void CByteBuffer::Reset() {
    delete[] data_;
    data_ = nullptr;
    length_ = 0;
    capacity_ = 0;
}

uint8_t* CByteBuffer::GetData() { return data_; }
uint8_t* CByteBuffer::GetDataInternal() { return data_; }
int32_t CByteBuffer::GetLength() { return length_; }
bool CByteBuffer::IsEmpty() { return length_ == 0; }

bool CByteBuffer::AppendByte(uint8_t byte) { return Append(&byte, 1); }

bool CByteBuffer::AppendDword(uint32_t value) {
    const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                              uint8_t(value >> 24)};
    return Append(bytes, 4);
}

bool CByteBuffer::Grow(int64_t needed) {
    if (needed <= capacity_) return true;
    const int64_t block = blockSize_;
    const int64_t size = (block + needed - 1) / block * block;
    if (size > INT32_MAX) return false;
    auto* fresh = new (std::nothrow) uint8_t[size_t(size)];
    if (!fresh) return false;
    if (length_) std::memcpy(fresh, data_, size_t(length_));
    delete[] data_;
    data_ = fresh;
    capacity_ = int32_t(size);
    return true;
}

bool CByteBuffer::Append(const void* bytes, int32_t count) {
    if (count == 0) return true;
    if (count < 0 || !bytes) return false;
    // Bytes taken from this buffer's own storage (AppendBuffer of itself) move with it when it
    // grows: they are found again by their offset.
    const auto source = reinterpret_cast<std::uintptr_t>(bytes);
    const auto start = reinterpret_cast<std::uintptr_t>(data_);
    const bool own = data_ && source >= start && source < start + std::uintptr_t(capacity_);
    const std::uintptr_t offset = own ? source - start : 0;
    if (!Grow(int64_t(length_) + count)) return false;
    if (own) bytes = data_ + offset;
    std::memmove(data_ + length_, bytes, size_t(count));
    length_ += count;
    return true;
}

char* CByteBuffer::GetString() {
    if (!GetDataInternal()) return nullptr;
    if (length_ == capacity_) {
        if (!AppendByte(0)) return nullptr;
        --length_;
    } else {
        data_[length_] = 0;
    }
    return reinterpret_cast<char*>(GetDataInternal());
}

bool CByteBuffer::AppendString(const char* text) {
    if (!text) return true;
    return Append(text, int32_t(std::strlen(text)));
}

bool CByteBuffer::AppendFormat(const char* format, ...) {
    char scratch[kFormatLimit];
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(scratch, sizeof scratch, format, args);
    va_end(args);
    if (written < 0) return false;
    if (written >= int(sizeof scratch)) written = int(sizeof scratch) - 1;
    return Append(scratch, written);
}

bool CByteBuffer::LoadFile(const char* path) {
    FilePtr file(std::fopen(path, "rb"));
    if (!file) return false;
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return false;
    const long size = std::ftell(file.get());
    if (size < 0 || size > INT32_MAX) return false;
    if (size == 0) return true;
    if (std::fseek(file.get(), 0, SEEK_SET) != 0) return false;
    std::unique_ptr<uint8_t[]> raw(new (std::nothrow) uint8_t[size_t(size)]);
    if (!raw) return false;
    if (std::fread(raw.get(), 1, size_t(size), file.get()) != size_t(size)) return false;
    // Compacting in place keeps the storage at exactly the file's size.
    int32_t kept = 0;
    for (long i = 0; i < size; ++i) {
        if (raw[i] != 0) raw[kept++] = raw[i];
    }
    delete[] data_;
    data_ = raw.release();
    length_ = kept;
    capacity_ = int32_t(size);
    return true;
}

bool CByteBuffer::AppendBuffer(CByteBuffer& other) {
    return Append(other.GetDataInternal(), other.GetLength());
}

CByteBuffer& CByteBuffer::SetBlockSize(int32_t size) {
    if (size > 0) blockSize_ = size;
    return *this;
}

void CByteBuffer::PadTo(int32_t multiple) {
    if (multiple <= 0) return;
    const int32_t rest = length_ % multiple;
    if (rest == 0) return;
    const int32_t pad = multiple - rest;
    if (!Grow(int64_t(length_) + pad)) return;
    std::memset(data_ + length_, 0, size_t(pad));
    length_ += pad;
}

bool CByteBuffer::SaveFile(const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    // A short write or a failed close is reported, so a caller never takes a cut file for whole.
    bool ok = !length_ || std::fwrite(data_, 1, size_t(length_), file) == size_t(length_);
    if (std::fclose(file) != 0) ok = false;
    return ok;
}
