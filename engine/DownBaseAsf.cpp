// The ASF output of the MMS downloads: the header, packets of exactly the header's packet size, the
// resume onto a partly written file, and the index at the end.
#include <cstring>
#include <vector>

#include "DownBase.h"
#include "OutputFileView.h"

namespace {

// The file on disk read but never changed: the resume check before the start point is sent.
class ProbedAsfFile final : public IAsfFile {
public:
    explicit ProbedAsfFile(sys::BinaryFile& file) : file_(file) {}
    int64_t GetLength() override { return file_.Size(); }
    bool ReadAt(int64_t offset, uint8_t* data, size_t count) override { return file_.ReadAt(offset, data, count); }
    bool WriteAt(int64_t, const uint8_t*, size_t) override { return true; }
    bool SetLength(int64_t) override { return true; }
    bool Flush() override { return true; }

private:
    sys::BinaryFile& file_;
};

}  // namespace

int32_t CDownBase::PrepareAsfResume() {
    if (!resuming_) return ResultSuccess;
    if (!asfParser_) return ResultInternalError;
    sys::BinaryFile onDisk;
    if (!onDisk.Open(localFile_, true)) return ResultFileError;
    ProbedAsfFile file(onDisk);
    switch (asfParser_->ReadIndex(file)) {
        case AsfResume::Ready:
            packetsWritten_ = static_cast<int32_t>(asfParser_->GetPacketsOnDisk());
            lastTimestampMs_ = static_cast<int32_t>(asfParser_->GetLastSendTimeOnDisk());
            return ResultSuccess;
        case AsfResume::Refused:
            Log("The file on disk holds another stream: starting afresh");
            resuming_ = false;
            bytesOnDisk_ = 0;
            ReportProgress(0);
            packetsWritten_ = 0;
            lastTimestampMs_ = 0;
            return ResultSuccess;
        case AsfResume::FileError:
            break;
    }
    return ResultFileError;
}

int32_t CDownBase::BeginAsfOutput() {
    if (!asfParser_ || !outputFile_.IsOpen()) return ResultInternalError;
    if (resuming_) {
        OutputFileView file(outputFile_);
        switch (asfParser_->ReadIndex(file)) {
            case AsfResume::Ready:
                // The file is the truth: a record left by a killed run may lag behind it.
                packetsWritten_ = static_cast<int32_t>(asfParser_->GetPacketsOnDisk());
                lastTimestampMs_ = static_cast<int32_t>(asfParser_->GetLastSendTimeOnDisk());
                bytesOnDisk_ = outputFile_.Size();
                if (bytesOnDisk_ < 0 || !outputFile_.SeekEnd()) return ResultFileError;
                // With no packet on disk there is nothing to skip: a first packet sent at 0 counts.
                if (packetsWritten_ == 0) resumePointPassed_ = true;
                break;
            case AsfResume::Refused:
                Log("The file on disk holds another stream: starting afresh");
                if (!RestartOutput()) return ResultFileError;
                packetsWritten_ = 0;
                lastTimestampMs_ = 0;
                break;
            case AsfResume::FileError:
                return ResultFileError;
        }
    }
    if (!resuming_) {
        if (!WriteOutput(headerBytes_.GetData(), static_cast<size_t>(headerBytes_.GetLength()))) return ResultFileError;
        bytesOnDisk_ += headerBytes_.GetLength();
    }
    ReportTotalSize(totalSize_);
    ReportProgress(bytesOnDisk_);
    return ResultSuccess;
}

int32_t CDownBase::WriteAsfPacket(const uint8_t* packet, size_t length, uint32_t sendTimeMs) {
    if (!asfParser_) return ResultInternalError;
    // A header without a packet size leaves no room for any packet.
    if (packetSize_ <= 0 || length > static_cast<size_t>(packetSize_)) return ResultReceiveError;
    if (resuming_ && !resumePointPassed_ && sendTimeMs <= static_cast<uint32_t>(lastTimestampMs_)) {
        return -2;
    }
    resumePointPassed_ = true;
    const uint8_t* bytes = packet;
    std::vector<uint8_t> padded;
    if (length < static_cast<size_t>(packetSize_)) {
        padded.assign(static_cast<size_t>(packetSize_), 0);
        if (length) std::memcpy(padded.data(), packet, length);
        bytes = padded.data();
    }
    if (!WriteOutput(bytes, static_cast<size_t>(packetSize_))) return ResultFileError;
    asfParser_->IndexPacket(bytes, static_cast<size_t>(packetSize_), static_cast<uint32_t>(packetsWritten_));
    ++packetsWritten_;
    lastTimestampMs_ = static_cast<int32_t>(sendTimeMs);
    bytesOnDisk_ += packetSize_;
    ReportProgress(bytesOnDisk_);
    return ResultSuccess;
}

int32_t CDownBase::ReceiveAsfPackets(const std::function<int32_t()>& receivePacket) {
    const uint32_t announced = static_cast<uint32_t>(packetCount_);
    int32_t code = ResultSuccess;
    bool ended = false;
    while (announced == 0 || static_cast<uint32_t>(packetsWritten_) < announced) {
        const int32_t r = receivePacket();
        if (r == 0 || r == -2) continue;
        if (r == -1) {
            ended = true;
            break;
        }
        code = r;
        break;
    }
    // A stream that ends short of what its header announced is incomplete: keep it resumable.
    if (code == ResultSuccess && ended && announced != 0 && static_cast<uint32_t>(packetsWritten_) < announced) {
        Log("The stream ended before all its packets arrived");
        code = ResultReceiveError;
    }
    const int32_t finished = FinishAsfOutput();
    return code != ResultSuccess ? code : finished;
}

int32_t CDownBase::FinishAsfOutput() {
    if (!asfParser_ || !outputFile_.IsOpen()) return ResultInternalError;
    OutputFileView file(outputFile_);
    if (!asfParser_->WriteIndex(file)) return ResultFileError;
    bytesOnDisk_ = outputFile_.Size();
    return ResultSuccess;
}
