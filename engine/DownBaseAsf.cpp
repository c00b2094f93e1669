// The ASF output of the MMS downloads: the header, packets of exactly the header's packet size, the
// resume onto a partly written file, and the index at the end.
#include <algorithm>
#include <cstring>
#include <vector>

#include "DownBase.h"
#include "OutputFileView.h"

namespace {

// The file on disk read but never changed: the resume check before the start point is sent.
class ProbedAsfFile final : public IOutputFile {
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

// Packets at the end of the file that the stream must show again, at least; the run of packets
// sharing the first one's send time is taken whole, up to kMaxOverlap.
constexpr uint32_t kOverlapPackets = 8;
constexpr uint32_t kMaxOverlap = 4096;

// FNV-1a, 64 bits: with the send time it tells packets apart; a collision would need two packets
// of one send time with equal digests.
uint64_t Digest(const uint8_t* bytes, size_t count) {
    uint64_t h = 0xCBF29CE484222325ull;
    for (size_t i = 0; i < count; ++i) h = (h ^ bytes[i]) * 0x100000001B3ull;
    return h;
}

// The ASF header a file on disk begins with (Header Object and Data Object header), or empty.
std::vector<uint8_t> HeaderOnDisk(IOutputFile& file) {
    uint8_t head[30];
    if (!file.ReadAt(0, head, sizeof head)) return {};
    uint64_t size = 0;
    for (int i = 7; i >= 0; --i) size = (size << 8) | head[16 + i];
    const int64_t length = file.GetLength();
    if (size < sizeof head || size > uint64_t(CDownBase::kMaxPacketSize) || length < 0 ||
        size + 50 > uint64_t(length)) {
        return {};
    }
    std::vector<uint8_t> header(size_t(size) + 50);
    if (!file.ReadAt(0, header.data(), header.size())) return {};
    return header;
}

}  // namespace

// The resume rule of the MMS downloads, on every transport:
// - The file on disk decides, never a record: its whole packets, checked against the stream's
//   header before anything is asked for. A file of another stream is rewritten, and the request
//   asks from the start.
// - Neighbouring packets share send times, so a send time alone does not tell which of them the
//   file holds. The request asks from safely before the end: from the start of the run of equal
//   send times that holds the last few packets on disk (its packet number, and its send time less
//   one, for servers that seek by either). Those packets form the overlap; the stream must show
//   them again byte for byte, in order, before anything is appended. Packets sent before the
//   overlap are held by the file and dropped; so are the overlap's own.
// - Send times are the ASF send times inside the packets, whatever the transport carries them in.
// - No proven overlap, no append: a stream that goes past the file's end without showing its
//   overlap, or shows other packets in its place, is started afresh from its beginning (kStartFromZero).
//   Only a broadcast, which cannot go back, is continued across the gap, and the log says where.
// - The key frames of every packet on disk are indexed again, so the index at the end covers the
//   whole file.
bool CDownBase::PlanAsfOverlap(IOutputFile& file, CAsfParser& parser) {
    overlap_.clear();
    overlapSeen_ = 0;
    askPacket_ = 0;
    askTimeMs_ = 0;
    const uint32_t packets = parser.GetPacketsOnDisk();
    const int32_t size = parser.GetMaxPacketSize();
    if (packets == 0 || size <= 0) return true;
    const int64_t start = static_cast<int64_t>(parser.GetHeaderLength());
    std::vector<uint8_t> packet(static_cast<size_t>(size));
    auto readPacket = [&](uint32_t i) { return file.ReadAt(start + int64_t(i) * size, packet.data(), packet.size()); };
    auto sendTime = [&](uint32_t i, uint32_t* t) {
        if (!readPacket(i)) return false;
        *t = GetPacketSendTime(packet.data(), packet.size());
        return true;
    };
    uint32_t first = packets - std::min(packets, kOverlapPackets);
    uint32_t firstTime = 0;
    if (!sendTime(first, &firstTime)) return false;
    for (uint32_t before = 0; first > 0; --first) {
        if (!sendTime(first - 1, &before)) return false;
        if (before != firstTime) break;
        if (packets - first >= kMaxOverlap) return false;
    }
    for (uint32_t i = first; i < packets; ++i) {
        if (!readPacket(i)) return false;
        overlap_.push_back(AsfPacketMark{GetPacketSendTime(packet.data(), packet.size()),
                                         Digest(packet.data(), packet.size())});
    }
    askPacket_ = first;
    askTimeMs_ = firstTime > 0 ? firstTime - 1 : 0;
    return true;
}

int32_t CDownBase::MatchAsfOverlap(const uint8_t* packet, uint32_t sendTimeMs) {
    if (overlap_.empty()) return ResultSuccess;
    const AsfPacketMark mark{sendTimeMs, Digest(packet, static_cast<size_t>(packetSize_))};
    if (overlapSeen_ == 0) {
        // Before the overlap the file holds every packet.
        if (sendTimeMs < overlap_.front().sendTimeMs) return kUnitSkipped;
        const auto at = std::find(overlap_.begin(), overlap_.end(), mark);
        if (at != overlap_.end()) {
            overlapSeen_ = size_t(at - overlap_.begin()) + 1;
            return kUnitSkipped;
        }
    } else if (overlap_[overlapSeen_ - 1] == mark) {
        return kUnitSkipped;  // sent twice
    } else if (overlapSeen_ < overlap_.size() && overlap_[overlapSeen_] == mark) {
        ++overlapSeen_;
        return kUnitSkipped;
    }
    if (overlapSeen_ == overlap_.size()) return ResultSuccess;
    if (asfParser_ && asfParser_->IsBroadcast() && sendTimeMs > overlap_.back().sendTimeMs) {
        LogFormat("The broadcast moved on while the download was broken: the recording has a gap after packet %d "
                  "(send time %u ms) up to send time %u ms",
                  packetsWritten_, overlap_.back().sendTimeMs, sendTimeMs);
        overlapSeen_ = overlap_.size();
        return ResultSuccess;
    }
    LogFormat("The stream does not continue the file on disk (packet of send time %u ms): starting afresh",
              sendTimeMs);
    return kStartFromZero;
}

int32_t CDownBase::PrepareAsfResume() {
    if (!resuming_) return ResultSuccess;
    if (!asfParser_) return ResultInternalError;
    sys::BinaryFile onDisk;
    if (!onDisk.Open(localFile_, true)) return ResultFileError;
    ProbedAsfFile file(onDisk);
    switch (asfParser_->ReadIndex(file, false)) {
        case AsfResume::Ready:
            packetsWritten_ = static_cast<int32_t>(asfParser_->GetPacketsOnDisk());
            lastTimestampMs_ = static_cast<int32_t>(asfParser_->GetLastSendTimeOnDisk());
            if (PlanAsfOverlap(file, *asfParser_)) return ResultSuccess;
            Log("No packet of the file on disk can be recognised: starting afresh");
            break;
        case AsfResume::Refused:
            Log("The file on disk holds another stream: starting afresh");
            break;
        case AsfResume::FileError:
            return ResultFileError;
    }
    resuming_ = false;
    bytesOnDisk_ = 0;
    ReportProgress(0);
    packetsWritten_ = 0;
    lastTimestampMs_ = 0;
    askPacket_ = askTimeMs_ = 0;
    return ResultSuccess;
}

int32_t CDownBase::PrepareAsfResumeFromDisk() {
    askPacket_ = askTimeMs_ = 0;
    if (!resuming_) return ResultSuccess;
    sys::BinaryFile onDisk;
    if (!onDisk.Open(localFile_, true)) return ResultFileError;
    ProbedAsfFile file(onDisk);
    const std::vector<uint8_t> header = HeaderOnDisk(file);
    // A file that holds no ASF header is asked from the start; BeginAsfOutput rewrites it.
    if (header.empty()) return ResultSuccess;
    const auto parser = CAsfParser::Create(header.data(), header.size());
    if (!parser) return ResultMemoryError;
    if (parser->ReadIndex(file, false) != AsfResume::Ready || !PlanAsfOverlap(file, *parser)) {
        askPacket_ = askTimeMs_ = 0;
    }
    return ResultSuccess;
}

int32_t CDownBase::BeginAsfOutput() {
    if (!asfParser_ || !outputFile_.IsOpen()) return ResultInternalError;
    if (resuming_) {
        const bool askedLater = askPacket_ != 0 || askTimeMs_ != 0;
        OutputFileView file(outputFile_);
        switch (asfParser_->ReadIndex(file)) {
            case AsfResume::Ready:
                packetsWritten_ = static_cast<int32_t>(asfParser_->GetPacketsOnDisk());
                lastTimestampMs_ = static_cast<int32_t>(asfParser_->GetLastSendTimeOnDisk());
                bytesOnDisk_ = outputFile_.Size();
                if (bytesOnDisk_ < 0 || !outputFile_.SeekEnd()) return ResultFileError;
                if (!PlanAsfOverlap(file, *asfParser_)) {
                    Log("No packet of the file on disk can be recognised: starting afresh");
                    return kStartFromZero;
                }
                // With no packet on disk there is nothing to recognise: a first packet counts.
                if (overlap_.empty()) resumePointPassed_ = true;
                break;
            case AsfResume::Refused:
                Log("The file on disk holds another stream: starting afresh");
                // The stream was asked for from the old file's point: it must come from its start.
                if (askedLater) return kStartFromZero;
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

int32_t CDownBase::WriteAsfPacket(const uint8_t* packet, size_t length) {
    if (!asfParser_) return ResultInternalError;
    // A header without a packet size leaves no room for any packet.
    if (packetSize_ <= 0) return ResultReceiveError;
    const size_t size = static_cast<size_t>(packetSize_);
    if (length > size) {
        LogFormat("A packet of %u bytes is larger than the stream's packet size (%u bytes)", unsigned(length),
                  unsigned(size));
        return ResultReceiveError;
    }
    // Padded with zeros, a unit without a packet would pass for one and take a real packet's place
    // in the count.
    if (GetPacketHeaderLength(packet, length) == 0) {
        if (!shortUnitLogged_) Log("A data unit too short to hold a packet was dropped");
        shortUnitLogged_ = true;
        return kUnitSkipped;
    }
    const uint8_t* bytes = packet;
    std::vector<uint8_t> padded;
    if (length < size) {
        padded.assign(size, 0);
        std::memcpy(padded.data(), packet, length);
        bytes = padded.data();
    }
    // A server that sends a packet twice has not sent two: the copy is neither written nor counted.
    if (lastPacket_.size() == size && std::memcmp(lastPacket_.data(), bytes, size) == 0) return kUnitSkipped;
    const uint32_t sendTimeMs = GetPacketSendTime(bytes, size);
    if (resuming_ && !resumePointPassed_) {
        const int32_t match = MatchAsfOverlap(bytes, sendTimeMs);
        if (match != ResultSuccess) return match;
    }
    resumePointPassed_ = true;
    if (!WriteOutput(bytes, size)) return ResultFileError;
    lastPacket_.assign(bytes, bytes + size);
    asfParser_->IndexPacket(bytes, size, static_cast<uint32_t>(packetsWritten_));
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
        if (r == 0 || r == kUnitSkipped) continue;
        if (r == kStreamEnd) {
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
    // A live stream that ended before it showed the packets the file holds added nothing.
    if (code == ResultSuccess && ended && resuming_ && !resumePointPassed_ && !overlap_.empty() &&
        overlapSeen_ < overlap_.size() && announced == 0) {
        Log(kEndedShortOfFile);
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
