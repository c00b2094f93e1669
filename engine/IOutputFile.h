// The output file as the stream writers need it: the ASF parser and the RealMedia writer read, write
// and cut it through this. The downloader's file object implements it (or a few lines adapt it).
// Offsets are absolute; the writers keep no position of their own.
#pragma once
#include <cstddef>
#include <cstdint>

class IOutputFile {
public:
    // Length in bytes; -1 when it cannot be told.
    virtual int64_t GetLength() = 0;
    // Exactly count bytes at offset, or false.
    virtual bool ReadAt(int64_t offset, uint8_t* data, size_t count) = 0;
    // Writes count bytes at offset (the file grows when needed), or false.
    virtual bool WriteAt(int64_t offset, const uint8_t* data, size_t count) = 0;
    // Cuts (or extends) the file to length and leaves a positioned file at its new end.
    virtual bool SetLength(int64_t length) = 0;
    // Hands buffered bytes to the operating system.
    virtual bool Flush() = 0;

protected:
    ~IOutputFile() = default;
};
