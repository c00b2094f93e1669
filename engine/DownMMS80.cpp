#include "DownMMS80.h"

#include "Factories.h"

CDownMMS80::CDownMMS80() : reader_([this](uint8_t* bytes, size_t count) { return Fill(bytes, count); }) {
    // A stream server answers a resumed request with 200 and the stream from the asked send time.
    restartOnWholeReply_ = false;
}

int32_t CDownMMS80::Begin() {
    protocolKind_ = KindMms80;
    const int32_t code = CDownBase::Begin();
    if (code != 0) return code;
    Log("\r\n------vvv------START DOWNLOAD MMS 80--------------\r\n");
    return ResultSuccess;
}

std::string CDownMMS80::MakeRequest() {
    std::string request = RequestLine();
    request += "Accept: */*\r\n";
    request += "User-Agent: NSPlayer/4.1.0.3927\r\n";
    request += "Host: " + HostAndPort() + "\r\n";
    // The start point comes from the file on disk; its header is checked against the stream's
    // once that comes. A file that cannot be read is asked from the start: the overlap is then
    // found in the stream all the same.
    if (resuming_ && PrepareAsfResumeFromDisk() != ResultSuccess) ForgetAsk();
    if (resuming_) {
        request += "Pragma: no-cache,rate=1.000000,stream-time=" + std::to_string(ResumeAskTimeMs()) +
                   ",stream-offset=4294967295:4294967295,packet-num=4294967295,max-duration=0\r\n";
    } else {
        request += "Pragma: no-cache,rate=1.000000,stream-time=0,stream-offset=0:0,request-context=1,max-duration=0\r\n";
    }
    request +=
        "Pragma: xPlayStrm=1\r\n"
        "Supported: com.microsoft.wm.srvppair, com.microsoft.wm.sswitch, com.microsoft.wm.predstrm\r\n"
        "Pragma: xClientGUID={D959D31B-0DBF-4FD4-BC94-71A5A71464D7}\r\n"
        "\r\n";
    return request;
}

int32_t CDownMMS80::ParseHeaders(const char* reply) {
    std::string value;
    int64_t length = 0;
    if (FindHeader(reply ? reply : "", "Content-Length", &value) && ParseLength(value, &length) && length != 0) {
        totalSize_ = length;
    }
    return ResultSuccess;
}

MmsHttpChunkReader::Fill CDownMMS80::Fill(uint8_t* bytes, size_t count) {
    size_t got = 0;
    // Bytes read ahead to tell a framed body from a plain one come first.
    while (got < count && leadUsed_ < lead_.size()) bytes[got++] = lead_[leadUsed_++];
    while (got < count) {
        const int32_t n = socket_ ? socket_->ReceiveAvailable(bytes + got, int32_t(count - got)) : CQmSocket::kFailed;
        if (n > 0) {
            got += size_t(n);
        } else if (n == 0 && got == 0) {
            return MmsHttpChunkReader::Fill::Closed;
        } else {
            return MmsHttpChunkReader::Fill::Failed;
        }
    }
    return MmsHttpChunkReader::Fill::Ok;
}

int32_t CDownMMS80::Problem(int32_t code) {
    if (!reader_.Problem().empty()) Log(reader_.Problem().c_str());
    return code;
}

int32_t CDownMMS80::ReadLead(size_t count) {
    lead_.assign(count, 0);
    leadUsed_ = 0;
    if (count && (!socket_ || !socket_->ReceiveExact(lead_.data(), int32_t(count)))) return ResultTimeOut;
    return ResultSuccess;
}

int32_t CDownMMS80::ReceivePlainBody() {
    if (resuming_) {
        // A body of stated length is a whole file, not the rest of a stream.
        Log("The server sends the whole file; starting afresh");
        if (!RestartOutput()) return ResultFileError;
    }
    ReportTotalSize(totalSize_);
    if (!lead_.empty()) {
        if (!WriteOutput(lead_.data(), lead_.size())) return ResultFileError;
        bytesOnDisk_ += int64_t(lead_.size());
        ReportProgress(bytesOnDisk_);
    }
    leadUsed_ = lead_.size();
    return ReceiveBody(totalSize_ - bytesOnDisk_, true);
}

int32_t CDownMMS80::ReceiveData() {
    Log("Receiving data......");
    if (totalSize_ != -1) {
        // A stated length does not make a body plain: servers frame streams with one too. What
        // the body starts with tells.
        int32_t code = ReadLead(totalSize_ < 2 ? size_t(totalSize_) : 2);
        if (code != 0) return code;
        if (lead_.size() == 2 && lead_[0] == '$' && lead_[1] == 'H') {
            totalSize_ = -1;
        } else if ((code = ReceivePlainBody()) != 0) {
            return code;
        }
    }
    if (totalSize_ == -1) {
        int32_t code = ReadHeaderPackets();
        if (code != 0) return code;
        if ((code = BeginAsfOutput()) != 0) return code;
        if ((code = ReadDataPackets()) != 0) return code;
    }
    Log("Receive data success\r\n");
    Log("\r\n------^^^------DOWNLOAD MMS 80 SUCCESS------------\r\n");
    return ResultSuccess;
}

int32_t CDownMMS80::ReadHeaderPackets() {
    std::vector<uint8_t> header;
    const int32_t code = reader_.ReadHeader(header, [this] { return IsStopRequested(); });
    if (code != 0) return Problem(code);
    headerBytes_.Reset();
    if (!headerBytes_.Append(header.data(), int32_t(header.size()))) return ResultMemoryError;
    const int32_t set = SetStreamHeader(header.data(), int32_t(header.size()));
    if (set != 0) return set;
    if (packetSize_ <= 0) {
        Log("The stream header names no packet size");
        return ResultReceiveError;
    }
    return ResultSuccess;
}

int32_t CDownMMS80::ReadDataPackets() {
    packet_.assign(size_t(packetSize_), 0);
    return ReceiveAsfPackets([this] { return ReceivePacket(); });
}

int32_t CDownMMS80::ReceivePacket() {
    if (IsStopRequested()) return ResultUserCancel;
    size_t length = 0;
    const int32_t code = reader_.ReadDataChunk(packet_.data(), packet_.size(), &length);
    if (code != 0) return Problem(code);
    // A short packet is padded there, and one too short to be a packet is dropped.
    return WriteAsfPacket(packet_.data(), length);
}

FK_DEFINE_FACTORIES(DOWNMMS80, CDownMMS80)
