#include "DownMMS1755.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "ByteReader.h"
#include "Factories.h"
#include "UrlModel.h"

namespace {

const uint8_t kSeal[4] = {'M', 'M', 'S', ' '};
constexpr uint16_t kDirectionToServer = 3;
constexpr uint16_t kDirectionToClient = 4;
const char kPlayerIdentity[] = "NSPlayer/9.0.0.2991; {00000000-0000-0000-0000-000000000000}";
const char kClientVersion[] = "9.0.0.2991";

void PutLe(std::vector<uint8_t>& out, uint64_t value, size_t width) {
    for (size_t i = 0; i < width; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutBytes(std::vector<uint8_t>& out, std::initializer_list<uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// Each byte of the text followed by a zero byte, then two zero bytes.
void AppendWideString(std::vector<uint8_t>& out, const std::string& text) {
    for (char c : text) {
        out.push_back(static_cast<uint8_t>(c));
        out.push_back(0);
    }
    PutBytes(out, {0, 0});
}

void PutDouble(std::vector<uint8_t>& out, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    PutLe(out, bits, 8);
}

uint16_t U16At(const std::vector<uint8_t>& bytes, size_t at) {
    ByteReader reader(bytes.data(), bytes.size());
    reader.Seek(at);
    return reader.U16Le();
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
    ByteReader reader(bytes.data(), bytes.size());
    reader.Seek(at);
    return reader.U32Le();
}

// Reads count more bytes onto the end of out.
bool ReadMore(const CDownMMS1755::ReceiveExactFn& receive, std::vector<uint8_t>& out, size_t count) {
    if (count == 0) return true;
    const size_t at = out.size();
    out.resize(at + count);
    return receive(out.data() + at, static_cast<int32_t>(count));
}

// The 16 bytes every command message starts with are in out; reads the rest its length gives.
int32_t ReadCommandRest(const CDownMMS1755::ReceiveExactFn& receive, std::vector<uint8_t>& out) {
    if (std::memcmp(out.data() + 12, kSeal, sizeof kSeal) != 0) return ResultReceiveError;
    const uint32_t rest = U32At(out, 8);
    if (rest > CDownMMS1755::kMaxCommandLength) return ResultReceiveError;
    return ReadMore(receive, out, rest) ? ResultSuccess : ResultTimeOut;
}

}  // namespace

int32_t CDownMMS1755::Begin() {
    protocolKind_ = KindMms1755;
    port_ = 1755;
    const int32_t code = CDownBase::Begin();
    if (code != 0) return code;
    Log("\r\n------vvv------START DOWNLOAD MMS 1755--------------\r\n");
    return ResultSuccess;
}

bool CDownMMS1755::ReturnTrue() { return true; }

std::vector<uint8_t> CDownMMS1755::BuildCommand(uint16_t command, uint32_t sequence,
                                                const std::vector<uint8_t>& body) {
    std::vector<uint8_t> padded = body;
    padded.resize((padded.size() + 7) / 8 * 8, 0);
    const uint32_t length = static_cast<uint32_t>(padded.size()) + 24;
    std::vector<uint8_t> out;
    out.reserve(40 + padded.size());
    PutLe(out, 1, 4);
    PutLe(out, kSignature, 4);
    PutLe(out, length, 4);
    out.insert(out.end(), kSeal, kSeal + 4);
    PutLe(out, length / 8, 4);
    PutLe(out, sequence, 4);
    PutLe(out, 0, 8);  // time sent
    PutLe(out, length / 8 - 2, 4);
    PutLe(out, command, 2);
    PutLe(out, kDirectionToServer, 2);
    out.insert(out.end(), padded.begin(), padded.end());
    return out;
}

int32_t CDownMMS1755::ReadCommand(const ReceiveExactFn& receive, std::vector<uint8_t>& out) {
    out.clear();
    if (!ReadMore(receive, out, 16)) return ResultTimeOut;
    return ReadCommandRest(receive, out);
}

int32_t CDownMMS1755::ReadReply(const ReceiveExactFn& receive, const std::function<void()>& pong,
                                std::vector<uint8_t>& out) {
    for (int pings = 0;; ++pings) {
        const int32_t code = ReadCommand(receive, out);
        if (code != 0 || CommandOf(out) != kCommandPing) return code;
        // A server asks whether we are alive whenever it likes, even while we wait for a reply.
        if (pings >= kMaxHeaderPings) return ResultReceiveError;
        if (pong) pong();
    }
}

int32_t CDownMMS1755::ReadUnit(const ReceiveExactFn& receive, std::vector<uint8_t>& out) {
    out.clear();
    if (!ReadMore(receive, out, 8)) return ResultTimeOut;
    if (U32At(out, 4) == kSignature) {
        if (!ReadMore(receive, out, 8)) return ResultTimeOut;
        return ReadCommandRest(receive, out);
    }
    const uint16_t length = U16At(out, 6);
    if (length < 8) return ResultReceiveError;
    return ReadMore(receive, out, length - 8u) ? ResultSuccess : ResultTimeOut;
}

bool CDownMMS1755::IsCommandUnit(const std::vector<uint8_t>& unit) {
    return unit.size() >= 8 && U32At(unit, 4) == kSignature;
}

uint16_t CDownMMS1755::CommandOf(const std::vector<uint8_t>& message) {
    return message.size() >= 38 ? U16At(message, 36) : 0;
}

int32_t CDownMMS1755::CollectHeader(const ReceiveExactFn& receive, const std::function<void()>& pong,
                                    std::vector<uint8_t>& header) {
    header.clear();
    std::vector<uint8_t> unit;
    int pings = 0;
    for (int units = 0; units < kMaxHeaderUnits;) {
        const int32_t code = ReadUnit(receive, unit);
        if (code != 0) return code;
        // A ping while the header comes is the server asking whether we are alive, not header.
        if (IsCommandUnit(unit)) {
            if (CommandOf(unit) != kCommandPing || ++pings > kMaxHeaderPings) return ResultReceiveError;
            if (pong) pong();
            continue;
        }
        ++units;
        header.insert(header.end(), unit.begin() + 8, unit.end());
        if (unit.size() >= 2 && unit[unit.size() - 1] == 0x01 && unit[unit.size() - 2] == 0x01) return ResultSuccess;
    }
    return ResultReceiveError;
}

bool CDownMMS1755::CheckServerVersion(const std::vector<uint8_t>& reply) {
    const uint32_t characters = U32At(reply, 80);
    uint8_t ours[2 * sizeof kClientVersion];
    for (size_t i = 0; i < sizeof kClientVersion; ++i) {
        ours[2 * i] = static_cast<uint8_t>(kClientVersion[i]);
        ours[2 * i + 1] = 0;
    }
    size_t count = sizeof ours;
    if (characters < count / 2) count = characters * 2;
    if (reply.size() < 96) return true;
    if (reply.size() - 96 < count) count = reply.size() - 96;
    for (size_t i = 0; i < count; ++i) {
        if (reply[96 + i] != ours[i]) return reply[96 + i] < ours[i];
    }
    return true;
}

CDownMMS1755::ReceiveExactFn CDownMMS1755::SocketReader() {
    return [this](void* bytes, int32_t count) { return socket_ && socket_->ReceiveExact(bytes, count); };
}

int32_t CDownMMS1755::Exchange(const void* request, int32_t length, CByteBuffer* reply) {
    if (!socket_ || !socket_->SendAll(request, length)) return ResultTimeOut;
    if (!reply) return ResultInternalError;
    reply->Reset();
    std::vector<uint8_t> message;
    const int32_t code = ReadReply(SocketReader(), [this] { SendPong(); }, message);
    if (code != 0) return code;
    if (!reply->Append(message.data(), static_cast<int32_t>(message.size()))) return ResultMemoryError;
    return IsStopRequested() ? ResultUserCancel : ResultSuccess;
}

int32_t CDownMMS1755::SendCommand(uint16_t command, uint32_t sequence, const std::vector<uint8_t>& body,
                                  uint16_t expected, std::vector<uint8_t>& reply) {
    const std::vector<uint8_t> message = BuildCommand(command, sequence, body);
    CByteBuffer buffer;
    const int32_t code = Exchange(message.data(), static_cast<int32_t>(message.size()), &buffer);
    if (code != 0) return code;
    reply.assign(buffer.GetData(), buffer.GetData() + buffer.GetLength());
    if (expected != 0 && (reply.size() < 40 || CommandOf(reply) != expected ||
                          U16At(reply, 38) != kDirectionToClient)) {
        Log("Invalid received data");
        return ResultShakeHandError;
    }
    return ResultSuccess;
}

int32_t CDownMMS1755::ShakeHand01() {
    Log("Shaking hands 01....");
    std::vector<uint8_t> body;
    PutBytes(body, {0xF0, 0xF0, 0xF0, 0xF0, 0x0B, 0x00, 0x04, 0x00, 0x1C, 0x00, 0x03, 0x00});
    AppendWideString(body, kPlayerIdentity);
    std::vector<uint8_t> reply;
    const int32_t code = SendCommand(0x0001, 0, body, 0x0001, reply);
    if (code != 0) return code;
    if (!CheckServerVersion(reply)) {
        Log("server version is so high");
        return ResultShakeHandError;
    }
    Log("Shake hand 01 success");
    return ResultSuccess;
}

int32_t CDownMMS1755::ShakeHand18() {
    Log("Shaking hands 18....");
    std::vector<uint8_t> reply;
    const int32_t code = SendCommand(0x0018, 1, {0xEF, 0xF0, 0xF0, 0xF0, 0x0B, 0x00, 0x04, 0x00}, 0x0015, reply);
    if (code != 0) return code;
    Log("Shake hand 18 success");
    return ResultSuccess;
}

int32_t CDownMMS1755::ShakeHand02() {
    Log("Shaking hands 02....");
    char address[32] = {};
    int32_t localPort = 0;
    if (socket_) socket_->GetSockName(address, &localPort);
    char transport[96];
    std::snprintf(transport, sizeof transport, "\\\\%s\\TCP\\%d", address, static_cast<int>(localPort));
    std::vector<uint8_t> body;
    PutBytes(body, {0xF1, 0xF0, 0xF0, 0xF0, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00,
                    0x00, 0x00, 0x00, 0x00, 0xA0, 0x00, 0x02, 0x00, 0x00, 0x00});
    AppendWideString(body, transport);
    std::vector<uint8_t> reply;
    const int32_t code = SendCommand(0x0002, 2, body, 0x0002, reply);
    if (code != 0) return code;
    Log("Shake hand 02 success");
    return ResultSuccess;
}

int32_t CDownMMS1755::ShakeHand05() {
    Log("Shaking hands 05....");
    std::vector<uint8_t> body;
    PutBytes(body, {0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0});
    AppendWideString(body, UrlDecode(GetUrlPath(requestUrl_)));
    std::vector<uint8_t> reply;
    const int32_t code = SendCommand(0x0005, 3, body, 0x0006, reply);
    if (code != 0) return code;
    Log("Shake hand 05 success....");
    return ResultSuccess;
}

int32_t CDownMMS1755::ShakeHand15() {
    Log("Shaking hands 15....");
    std::vector<uint8_t> body;
    PutBytes(body, {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                    0x00, 0x80, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00,
                    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                    0x00, 0x20, 0xAC, 0x40, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
    std::vector<uint8_t> reply;
    int32_t code = SendCommand(0x0015, 4, body, 0x0011, reply);
    if (code != 0) return code;
    std::vector<uint8_t> header;
    code = CollectHeader(SocketReader(), [this] { SendPong(); }, header);
    if (code != 0) return code;
    if (!headerBytes_.Append(header.data(), static_cast<int32_t>(header.size()))) return ResultMemoryError;
    code = SetStreamHeader(headerBytes_.GetData(), headerBytes_.GetLength());
    if (code != 0) return code;
    Log("Shake hand 15 success....");
    return ResultSuccess;
}

int32_t CDownMMS1755::ShakeHand33() {
    Log("Shaking hands 33....");
    uint32_t streams = asfParser_ ? asfParser_->CountStreamObjects() : 0;
    if (streams < 2) streams = 2;
    std::vector<uint8_t> body;
    PutLe(body, streams, 4);
    for (uint32_t i = 1; i <= streams; ++i) {
        PutLe(body, 0xFFFF, 2);
        PutLe(body, i, 2);
        PutLe(body, 0, 2);
    }
    std::vector<uint8_t> reply;
    const int32_t code = SendCommand(0x0033, 5, body, 0, reply);
    if (code != 0) return code;
    Log("Shake hand 33 success....");
    return ResultSuccess;
}

int32_t CDownMMS1755::ShakeHand07() {
    Log("Shaking hands 07....");
    // The start point comes from the file on disk, so a file of another stream is never continued
    // from the middle of this one.
    int32_t code = PrepareAsfResume();
    if (code != 0) return code;
    std::vector<uint8_t> body;
    PutBytes(body, {0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x01, 0x00});
    PutDouble(body, ResumeAskTimeMs() * 0.001);
    PutBytes(body, {0xFF, 0xFF, 0xFF, 0xFF});
    PutLe(body, ResumeAskPacket(), 4);
    PutBytes(body, {0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x00, 0x00,
                    0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x00, 0x00});
    std::vector<uint8_t> reply;
    code = SendCommand(0x0007, 6, body, 0, reply);
    if (code != 0) return code;
    Log("Shake hand 07 success....");
    return ResultSuccess;
}

int32_t CDownMMS1755::Handshake() {
    Log("Shaking hands......");
    if (IsStopRequested()) return ResultUserCancel;
    int32_t (CDownMMS1755::*const steps[])() = {
        &CDownMMS1755::ShakeHand01, &CDownMMS1755::ShakeHand18, &CDownMMS1755::ShakeHand02,
        &CDownMMS1755::ShakeHand05, &CDownMMS1755::ShakeHand15, &CDownMMS1755::ShakeHand33,
        &CDownMMS1755::ShakeHand07,
    };
    for (auto step : steps) {
        const int32_t code = (this->*step)();
        if (code != 0) return code;
    }
    if (IsStopRequested()) return ResultUserCancel;
    Log("Shake hands success\r\n");
    return ResultSuccess;
}

void CDownMMS1755::SendPong() {
    const std::vector<uint8_t> pong = BuildCommand(kCommandPing, 8, {0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x01, 0x00});
    if (socket_) socket_->SendAll(pong.data(), static_cast<int32_t>(pong.size()));
}

int32_t CDownMMS1755::ReceivePacket() {
    if (IsStopRequested()) return ResultUserCancel;
    std::vector<uint8_t> unit;
    const int32_t code = ReadUnit(SocketReader(), unit);
    if (code != 0) return code;
    if (IsCommandUnit(unit)) {
        switch (CommandOf(unit)) {
            case kCommandPing:
                SendPong();
                return kUnitSkipped;
            case kCommandEnd:
                return kStreamEnd;
            default:
                return ResultReceiveError;
        }
    }
    // The packet is the unit less its 8-byte prefix.
    return WriteAsfPacket(unit.data() + 8, unit.size() - 8);
}

int32_t CDownMMS1755::ReceiveData() {
    Log("Receiving data......");
    int32_t code = BeginAsfOutput();
    if (code != 0) return code;
    code = ReceiveAsfPackets([this] { return ReceivePacket(); });
    if (code != 0) return code;
    Log("Receive data success\r\n");
    Log("\r\n------^^^------DOWNLOAD MMS 1755 SUCCESS------------\r\n");
    return ResultSuccess;
}

FK_DEFINE_FACTORIES(DOWNMMS1755, CDownMMS1755)
