// The engine's growable byte array: requests, replies, stream headers and item logs.
#pragma once
#include <cstdint>

#include "EngineTypes.h"

class CByteBuffer final {
public:
    CByteBuffer() = default;
    ~CByteBuffer();
    CByteBuffer(const CByteBuffer&) = delete;
    CByteBuffer& operator=(const CByteBuffer&) = delete;

    virtual void Reset();
    virtual uint8_t* FK_STDCALL GetData();
    virtual uint8_t* FK_STDCALL GetDataInternal();  // same as GetData; the buffer's own operations use it
    virtual int32_t FK_STDCALL GetLength();
    virtual bool FK_STDCALL IsEmpty();
    virtual bool FK_STDCALL AppendByte(uint8_t byte);
    // Nothing in the engine calls it: kept for the table's layout.
    virtual bool FK_STDCALL AppendDword(uint32_t value);
    // NUL-terminated view of the content (not counted in the length); null while there is no storage.
    virtual char* FK_STDCALL GetString();
    virtual bool FK_STDCALL AppendString(const char* text);
    virtual bool FK_STDCALL Append(const void* bytes, int32_t count);
    // Formats into a bounded scratch area; longer output is cut at kFormatLimit - 1 bytes. Nothing
    // in the engine calls it: kept for the table's layout.
    virtual bool AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Replaces the content with a file's bytes, every 0x00 byte dropped.
    virtual bool FK_STDCALL LoadFile(const char* path);
    virtual bool FK_STDCALL AppendBuffer(CByteBuffer& other);
    virtual CByteBuffer& FK_STDCALL SetBlockSize(int32_t size);
    // Nothing in the engine calls these two: kept for the table's layout.
    virtual void FK_STDCALL PadTo(int32_t multiple);
    virtual bool FK_STDCALL SaveFile(const char* path);

    int32_t Capacity() const { return capacity_; }

    static constexpr int kFormatLimit = 4096;

private:
    bool Grow(int64_t needed);

    int32_t blockSize_ = 256;
    uint8_t* data_ = nullptr;
    int32_t length_ = 0;
    int32_t capacity_ = 0;
};
