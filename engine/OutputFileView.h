// The output file of a download as the stream writers (ASF index, RealMedia file) use it.
#pragma once
#include "IOutputFile.h"
#include "sys/BinaryFile.h"

class OutputFileView final : public IOutputFile {
public:
    explicit OutputFileView(sys::BinaryFile& file) : file_(file) {}
    int64_t GetLength() override { return file_.Size(); }
    bool ReadAt(int64_t offset, uint8_t* data, size_t count) override { return file_.ReadAt(offset, data, count); }
    bool WriteAt(int64_t offset, const uint8_t* data, size_t count) override {
        return file_.WriteAt(offset, data, count);
    }
    bool SetLength(int64_t length) override { return file_.SetLength(length); }
    // The file keeps no buffer of its own: every write has reached the system when it returns.
    bool Flush() override { return true; }

private:
    sys::BinaryFile& file_;
};
