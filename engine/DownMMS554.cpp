#include "DownMMS554.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "AsciiText.h"
#include "Base64.h"
#include "ByteReader.h"
#include "Factories.h"
#include "HeaderText.h"
#include "TextNumbers.h"
#include "UrlModel.h"

namespace {

const char kClientLine1[] = "User-Agent: WMPlayer/9.0.0.2991 guid/3300AD50-2C39-46C0-AE0A-8038C077EF16\r\n";
const char kClientLine2[] = "Accept-Charset: UTF-8, *;q=0.1\r\n";
const char kClientLine3[] = "X-Accept-Authentication: Negotiate, NTLM, Digest, Basic\r\n";
const char kClientLine4[] = "Accept-Language: en-us, *;q=0.1\r\n";
const char kAsfHeaderKey[] = "a=pgmpu:data:application/vnd.ms.wms-hdr.asfv1;base64,";
const char kStatisticsBody[] =
    "<XML><Summary></Summary><c-dns>-</c-dns><c-ip>0.0.0.0</c-ip><c-os>Windows_.Net_Server</c-os>"
    "<c-osversion>5.2.0.3790</c-osversion><date>2003-08-27</date><time>02:48:27</time><c-cpu>Pentium</c-cpu>"
    "<transport>TCP</transport></XML>\r\n";
static_assert(sizeof kStatisticsBody - 1 == 229, "the statistics body is 229 bytes");

// RTP header, then the 4-byte ASF payload header.
constexpr size_t kFrameHeader = 16;
// How far behind the payload header an ASF packet may start, and where its start is searched.
constexpr size_t kMaxPacketShift = 16;
constexpr size_t kSearchWindow = 19;
const uint8_t kPacketStart[] = {0x82, 0x00, 0x00};

}  // namespace

int32_t CDownMMS554::Begin() {
    protocolKind_ = KindMms554;
    const int32_t code = CDownRtspBase::Begin();
    if (code != ResultSuccess) return code;
    Log("\r\n------vvv------START DOWNLOAD MMS 554--------------\r\n");
    return ResultSuccess;
}

bool CDownMMS554::ReturnTrue() { return true; }

std::string CDownMMS554::ClientLines() const {
    return std::string(kClientLine1) + kClientLine2 + kClientLine3 + kClientLine4;
}

bool CDownMMS554::SendRequest(const std::string& request) {
    lastRequest_ = std::chrono::steady_clock::now();
    return SendText(request);
}

int32_t CDownMMS554::ExchangeRequest(const std::string& request, CByteBuffer* reply) {
    lastRequest_ = std::chrono::steady_clock::now();
    return Exchange(request.data(), static_cast<int32_t>(request.size()), reply);
}

int32_t CDownMMS554::Handshake() {
    Log("Shaking hands......");
    if (IsStopRequested()) return ResultUserCancel;
    int32_t code = ShakeHandDescribe();
    if (code == ResultSuccess) code = ShakeHandGetParameter();
    if (code == ResultSuccess) code = ShakeHandSetup();
    if (code == ResultSuccess) code = ShakeHandPlay();
    if (code == ResultSuccess) code = ShakeHandSetParameter();
    if (code != ResultSuccess) return code;
    if (IsStopRequested()) return ResultUserCancel;
    Log("Shake hands success\r\n");
    return ResultSuccess;
}

int32_t CDownMMS554::ParseSdp(const std::string& sdp, std::vector<std::string>* controls, std::string* asfHeader,
                              const char** error) {
    int pos = 0;
    const std::string sessionControl = GetHeaderValue(sdp, "a=control:", &pos, "\r\n");
    if (sessionControl.empty() || sessionControl.back() != '/') {
        if (error) *error = "streamid path error";
        return ResultShakeHandError;
    }
    if (controls && !GetControlUrls(sdp.substr(static_cast<size_t>(pos)), *controls, sessionControl)) {
        if (error) *error = "URL too long";
        return ResultShakeHandError;
    }
    const std::string encoded = GetHeaderValue(sdp, kAsfHeaderKey, nullptr, "\r\n");
    if (encoded.empty()) {
        if (error) *error = "Get head error";
        return ResultShakeHandError;
    }
    if (asfHeader) {
        std::vector<uint8_t> decoded(encoded.size() + 1);
        const int n = Base64Decode(encoded.data(), static_cast<int>(encoded.size()), decoded.data());
        asfHeader->assign(reinterpret_cast<const char*>(decoded.data()), static_cast<size_t>(n > 0 ? n : 0));
    }
    return ResultSuccess;
}

int32_t CDownMMS554::ShakeHandDescribe() {
    Log("Shaking hands DESCRIBE....");
    std::string request = "DESCRIBE " + requestUrl_ + " RTSP/1.0\r\n";
    request += kClientLine1;
    request += "Accept: application/sdp\r\n";
    request += kClientLine2;
    request += user_.empty() ? std::string(kClientLine3) : MakeAuthorization();
    request += kClientLine4;
    request += NextCSeqLine();
    request +=
        "Supported: com.microsoft.wm.srvppair, com.microsoft.wm.sswitch, com.microsoft.wm.eosmsg, "
        "com.microsoft.wm.predstrm\r\n\r\n";
    CByteBuffer reply;
    int32_t code = ExchangeRequest(request, &reply);
    if (code != ResultSuccess) return code;
    const std::string head = reply.GetString();
    playlistGenId_ = GetHeaderValue(head, "X-Playlist-Gen-Id:", nullptr, "\r\n");
    if (playlistGenId_.empty()) {
        Log("get X-Playlist-Gen-Id error\r\n");
        return ResultReceiveError;
    }
    uint64_t length = 0;
    if (!ParseByteCount(GetHeaderValue(head, "Content-Length:", nullptr, "\r\n"), kMaxBodySize, &length)) {
        Log("get Content-Length error\r\n");
        return ResultReceiveError;
    }
    std::string sdp;
    if (ReceiveBody(size_t(length), &sdp) != ResultSuccess) {
        Log("Can not receive opaque");
        return ResultTimeOut;
    }
    // A NUL inside the body ends the description, as it would in a text buffer.
    sdp.resize(std::strlen(sdp.c_str()));
    std::string header;
    const char* error = nullptr;
    code = ParseSdp(sdp, &controlUrls_, &header, &error);
    if (code != ResultSuccess) {
        Log(error);
        return code;
    }
    headerBytes_.Append(header.data(), static_cast<int32_t>(header.size()));
    code = SetStreamHeader(headerBytes_.GetData(), headerBytes_.GetLength());
    if (code != ResultSuccess) return code;
    if (packetSize_ <= 0) {
        // Without a packet size no packet can be written whole.
        Log("Get head error");
        return ResultShakeHandError;
    }
    Log("Shake hands DESCRIBE success");
    return ResultSuccess;
}

int32_t CDownMMS554::ShakeHandGetParameter() {
    Log("Shaking hand GET PARAMETER....");
    std::string request = "GET_PARAMETER " + requestUrl_ + " RTSP/1.0\r\n";
    request += "Content-Length: 0\r\n";
    request += ClientLines();
    request += "Content-Type: application/x-rtsp-packetpair\r\n";
    request += NextCSeqLine();
    request += "\r\n";
    CByteBuffer reply;
    int32_t code = ExchangeRequest(request, &reply);
    if (code != ResultSuccess) return code;
    const std::string value = GetHeaderValue(reply.GetString(), "Content-Length:", nullptr, "\r\n");
    if (!value.empty()) {
        // The body must be read whole, or its bytes would be taken for the next reply.
        uint64_t length = 0;
        if (!ParseByteCount(value, kMaxBodySize, &length)) return ResultReceiveError;
        code = ReceiveBody(size_t(length), nullptr);
        if (code != ResultSuccess) return code;
    }
    Log("Shake hand GET PARAMETER success");
    return ResultSuccess;
}

void CDownMMS554::TakeSessionTimeOut(const std::string& head) {
    const std::string line = FindHeaderField(head, "Session:", nullptr, "\r\n", " ");
    const size_t at = line.find("timeout=");
    if (at == std::string::npos) return;
    const long seconds = std::strtol(line.c_str() + at + 8, nullptr, 10);
    if (seconds <= 0 || seconds > 86400) return;
    // Half the session's life, so a keep-alive always arrives in time.
    keepAliveInterval_ = std::chrono::milliseconds(seconds * 500);
}

uint8_t CDownMMS554::InterleavedChannel(const std::string& head) {
    // Every SETUP asks for 0-1; a server may give the stream other channels.
    const std::string transport = FindHeaderField(head, "Transport:", nullptr, "\r\n", " ");
    const size_t at = transport.find("interleaved=");
    if (at == std::string::npos) return 0;
    const char* digits = transport.c_str() + at + 12;
    if (*digits < '0' || *digits > '9') return 0;
    const long channel = std::strtol(digits, nullptr, 10);
    return channel >= 0 && channel <= 255 ? static_cast<uint8_t>(channel) : 0;
}

bool CDownMMS554::IsDataChannel(uint8_t channel) const {
    if (dataChannels_.empty()) return channel == 0;
    return std::find(dataChannels_.begin(), dataChannels_.end(), channel) != dataChannels_.end();
}

int32_t CDownMMS554::ShakeHandSetup() {
    Log("Shaking hand SETUP....");
    dataChannels_.clear();
    for (size_t i = 0; i < controlUrls_.size(); ++i) {
        std::string request = "SETUP " + controlUrls_[i] + " RTSP/1.0\r\n";
        request += ClientLines();
        if (i > 0) request += "Session: " + session_ + "\r\n";
        request += NextCSeqLine();
        request += "X-Playlist-Gen-Id: " + playlistGenId_ + "\r\n";
        request += "Transport: RTP/AVP/TCP;unicast;interleaved=0-1;ssrc=54f33838;mode=PLAY\r\n\r\n";
        CByteBuffer reply;
        const int32_t code = ExchangeRequest(request, &reply);
        if (code != ResultSuccess) return code;
        const std::string head = reply.GetString();
        dataChannels_.push_back(InterleavedChannel(head));
        if (i == 0) {
            session_ = FindHeaderField(head, "Session:", nullptr, ";\r\n", " ");
            if (session_.empty()) return ResultShakeHandError;
            TakeSessionTimeOut(head);
        }
    }
    Log("Shake hand SETUP success");
    return ResultSuccess;
}

int32_t CDownMMS554::ShakeHandPlay() {
    Log("Shaking hand PLAY....");
    // The start point comes from the file on disk, checked against the header DESCRIBE gave.
    const int32_t prepared = PrepareAsfResume();
    if (prepared != ResultSuccess) return prepared;
    std::string request = "PLAY " + requestUrl_ + " RTSP/1.0\r\n";
    request += "X-Playlist-Seek-Id: " + playlistGenId_ + "\r\n";
    request += ClientLines();
    request += "Session: " + session_ + "\r\n";
    request += NextCSeqLine();
    if (resuming_) {
        char range[64];
        std::snprintf(range, sizeof range, "Range: npt=%.3f-\r\n", ResumeAskTimeMs() * 0.001);
        request += range;
    } else {
        request += "Range: npt=0.000-\r\n";
    }
    request +=
        "Speed:  5.302\r\n"
        "Bandwidth: 1858964\r\n"
        "X-Accelerate-Streaming: AccelDuration=10000;AccelBandwidth=2147483647\r\n"
        "\r\n";
    CByteBuffer reply;
    const int32_t code = ExchangeRequest(request, &reply);
    if (code != ResultSuccess) return code;
    Log("Shake hand PLAY success");
    return ResultSuccess;
}

int32_t CDownMMS554::ShakeHandSetParameter() {
    Log("Shaking hand SET PARAMETER....");
    std::string request = "SET_PARAMETER " + requestUrl_ + " RTSP/1.0\r\n";
    request += "Content-Length: " + std::to_string(sizeof kStatisticsBody - 1) + "\r\n";
    request += ClientLines();
    request += "Session: " + session_ + "\r\n";
    request += "Content-Type: application/x-wms-Logconnectstats;charset=UTF-8\r\n";
    request += NextCSeqLine();
    request += "\r\n";
    request += kStatisticsBody;
    // Its reply comes among the data.
    SendRequest(request);
    if (IsStopRequested()) return ResultUserCancel;
    Log("Shake hand SET PARAMETER success");
    return ResultSuccess;
}

void CDownMMS554::SendKeepAlive() {
    std::string request = "GET_PARAMETER " + requestUrl_ + " RTSP/1.0\r\n";
    request += ClientLines();
    request += "Session: " + session_ + "\r\n";
    request += NextCSeqLine();
    request += "\r\n";
    SendRequest(request);
}

int32_t CDownMMS554::ReceiveData() {
    Log("Receiving data......");
    int32_t code = BeginAsfOutput();
    if (code != ResultSuccess) return code;
    code = ReceiveAsfPackets([this] { return ReceivePacket(); });
    if (code != ResultSuccess) return code;
    Log("Receive data success\r\n");
    Log("\r\n------^^^------DOWNLOAD MMS 554 SUCCESS------------\r\n");
    return ResultSuccess;
}

int32_t CDownMMS554::ParseDataFrame(const uint8_t* payload, size_t length, int32_t packetSize, DataFrame* frame) {
    if (!payload || !frame || packetSize <= 0 || length < kFrameHeader) return ResultReceiveError;
    ByteReader reader(payload, length);
    reader.Skip(4);
    frame->sendTimeMs = reader.U32Be();
    const size_t size = static_cast<size_t>(packetSize);
    const size_t rest = length - kFrameHeader;
    if (rest <= size) {
        frame->offset = kFrameHeader;
        frame->length = rest;
        return ResultSuccess;
    }
    // Longer than a packet: extra fields of the payload header come first; the packet starts
    // where its error-correction bytes stand.
    if (rest - size > kMaxPacketShift) return ResultReceiveError;
    ByteReader window(payload + kFrameHeader, rest < kSearchWindow ? rest : kSearchWindow);
    const size_t at = window.Find(kPacketStart, sizeof kPacketStart);
    if (at == ByteReader::npos || at > kMaxPacketShift) return ResultReceiveError;
    // A packet that is still longer than a packet is the writer's to refuse.
    frame->offset = kFrameHeader + at;
    frame->length = rest - at;
    return ResultSuccess;
}

int32_t CDownMMS554::ReceivePacket() {
    if (IsStopRequested()) return ResultUserCancel;
    if (std::chrono::steady_clock::now() - lastRequest_ >= keepAliveInterval_) SendKeepAlive();
    RtspUnit unit;
    const int32_t code = ReadInterleaved(&unit);
    if (code != ResultSuccess) return code;
    if (!unit.frame) {
        // Replies (to the statistics and the keep-alives) come with their bodies already read.
        if (StartsWithNoCase(unit.head, "RTSP/1.0 200 OK")) return kUnitSkipped;
        if (unit.head.compare(0, 13, "SET_PARAMETER") == 0) return kStreamEnd;
        return ResultReceiveError;
    }
    // Only the RTP channel of a stream that was set up carries ASF packets: the channel after it
    // carries RTCP, and any other is no stream of this session.
    if (!IsDataChannel(unit.channel)) return kUnitSkipped;
    DataFrame frame;
    if (ParseDataFrame(unit.payload.data(), unit.payload.size(), packetSize_, &frame) != ResultSuccess) {
        return ResultReceiveError;
    }
    // The send time is the packet's own; the RTP time stamp may count from another base.
    return WriteAsfPacket(unit.payload.data() + frame.offset, frame.length);
}

FK_DEFINE_FACTORIES(DOWNMMS554, CDownMMS554)
