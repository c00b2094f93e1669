// A byte file with 64-bit sizes and offsets, written straight to the operating system (no buffer
// of our own, so every Write has handed its bytes over when it returns; nothing forces them to disk).
#pragma once
#include <cstdint>
#include <string>

namespace sys {

class BinaryFile {
public:
    BinaryFile() = default;
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    // Read and write access, created when missing; truncated unless keep is true.
    bool Open(const std::string& path, bool keep);
    bool IsOpen() const { return handle_ != kInvalid; }
    bool Write(const void* bytes, size_t count);
    bool SeekEnd();
    bool Truncate();  // to 0 bytes, position 0
    // Exactly count bytes at offset, or false. Moves the position.
    bool ReadAt(int64_t offset, void* bytes, size_t count);
    // count bytes at offset (the file grows as needed). Moves the position.
    bool WriteAt(int64_t offset, const void* bytes, size_t count);
    // Cuts or extends the file to length and positions at its new end.
    bool SetLength(int64_t length);
    int64_t Size() const;
    void Close();

private:
    static constexpr intptr_t kInvalid = -1;
    intptr_t handle_ = kInvalid;
};

}  // namespace sys
