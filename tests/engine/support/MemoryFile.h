// An output file in memory for the ASF and RealMedia writers: tests read back what was written and
// can make it refuse writes; the fuzz targets rely on its size limit, so that no input can make it
// take all memory.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "IOutputFile.h"

class MemoryFile final : public IOutputFile {
public:
    explicit MemoryFile(std::vector<uint8_t> bytes = {}) : bytes(std::move(bytes)) {}
    int64_t GetLength() override { return int64_t(bytes.size()); }
    bool ReadAt(int64_t offset, uint8_t* data, size_t count) override {
        if (offset < 0 || uint64_t(offset) > bytes.size() || count > bytes.size() - size_t(offset)) {
            return false;
        }
        std::copy_n(bytes.begin() + long(offset), count, data);
        return true;
    }
    bool WriteAt(int64_t offset, const uint8_t* data, size_t count) override {
        if (refuseWrites || offset < 0 || size_t(offset) + count > kLimit) return false;
        if (bytes.size() < size_t(offset) + count) bytes.resize(size_t(offset) + count);
        std::copy_n(data, count, bytes.begin() + long(offset));
        return true;
    }
    bool SetLength(int64_t length) override {
        if (refuseWrites || length < 0 || size_t(length) > kLimit) return false;
        bytes.resize(size_t(length));
        return true;
    }
    bool Flush() override { return true; }

    static constexpr size_t kLimit = 64 << 20;
    std::vector<uint8_t> bytes;
    bool refuseWrites = false;  // writes and length changes fail, as on a full disk
};
