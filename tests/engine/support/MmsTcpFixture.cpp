#include "MmsTcpFixture.h"

#include "LittleEndian.h"
#include <algorithm>
#include <chrono>
#include <algorithm>
#include <cstring>
#include <thread>


namespace {

using Bytes = MmsTcpFixture::Bytes;
using Clock = std::chrono::steady_clock;

constexpr int kWaitMs = 10000;

void PutLe(Bytes& out, uint64_t value, size_t width) {
    for (size_t i = 0; i < width; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

bool SendAll(sys::TcpSocket& socket, const Bytes& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        if (socket.Wait(1, kWaitMs) != sys::WaitResult::Ready) return false;
        const int n = socket.Send(bytes.data() + sent, static_cast<int>(bytes.size() - sent));
        if (n == sys::TcpSocket::kWouldBlock) continue;
        if (n <= 0) return false;
        sent += size_t(n);
    }
    return true;
}

bool ReceiveExact(sys::TcpSocket& socket, uint8_t* out, size_t count, int timeoutMs,
                  const std::atomic<bool>& stopping) {
    size_t got = 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (got < count) {
        if (stopping || Clock::now() > deadline) return false;
        const auto ready = socket.Wait(0, 100);
        if (ready == sys::WaitResult::TimedOut) continue;
        if (ready == sys::WaitResult::Failed) return false;
        const int n = socket.Receive(out + got, static_cast<int>(count - got));
        if (n == sys::TcpSocket::kWouldBlock) continue;
        if (n <= 0) return false;
        got += size_t(n);
    }
    return true;
}

bool ReadClientCommand(sys::TcpSocket& socket, MmsTcpFixture::Received& out, int timeoutMs,
                       const std::atomic<bool>& stopping) {
    Bytes message(16);
    if (!ReceiveExact(socket, message.data(), 16, timeoutMs, stopping)) return false;
    const uint32_t rest = uint32_t(Le(message, 8, 4));
    if (rest > 65536) return false;
    message.resize(16 + rest);
    if (!ReceiveExact(socket, message.data() + 16, rest, timeoutMs, stopping)) return false;
    out.command = uint16_t(Le(message, 36, 2));
    out.sequence = uint32_t(Le(message, 20, 4));
    out.body.assign(message.begin() + (message.size() >= 40 ? 40 : long(message.size())), message.end());
    return true;
}

}  // namespace

namespace {

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

MmsTcpFixture::Media InBytes(const AsfMedia& split) {
    MmsTcpFixture::Media media;
    media.header = ToBytes(split.header);
    for (const std::string& packet : split.packets) media.packets.push_back(ToBytes(packet));
    return media;
}

}  // namespace

MmsTcpFixture::Media MmsTcpFixture::LoadAsf(const std::string& path) { return InBytes(AsfMedia::FromFile(path)); }

MmsTcpFixture::Media MmsTcpFixture::LoadAsfStream(const std::string& path) {
    return InBytes(AsfMedia::FromStreamFile(path));
}

uint32_t MmsTcpFixture::SendTime(const Bytes& packet) {
    return AsfMedia::SendTime(std::string(packet.begin(), packet.end()));
}

Bytes MmsTcpFixture::Command(uint16_t command, const Bytes& body) {
    Bytes padded = body;
    padded.resize((padded.size() + 7) / 8 * 8, 0);
    const uint32_t length = uint32_t(padded.size()) + 24;
    Bytes out;
    PutLe(out, 1, 4);
    PutLe(out, 0xB00BFACE, 4);
    PutLe(out, length, 4);
    out.insert(out.end(), {'M', 'M', 'S', ' '});
    PutLe(out, length / 8, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 8);
    PutLe(out, length / 8 - 2, 4);
    PutLe(out, command, 2);
    PutLe(out, 4, 2);
    out.insert(out.end(), padded.begin(), padded.end());
    return out;
}

Bytes MmsTcpFixture::Unit(uint8_t id, uint8_t flags, const Bytes& payload, uint32_t location) {
    Bytes out;
    PutLe(out, location, 4);
    out.push_back(id);
    out.push_back(flags);
    PutLe(out, payload.size() + 8, 2);
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

MmsTcpFixture::MmsTcpFixture(Media media) : media_(std::move(media)) {}

MmsTcpFixture::~MmsTcpFixture() { Stop(); }

void MmsTcpFixture::Start() {
    listener_.Start([this](sys::TcpSocket& socket) { Serve(socket); });
}

void MmsTcpFixture::Stop() { listener_.Stop(); }

std::string MmsTcpFixture::Url(const std::string& path, const std::string& scheme) const {
    return scheme + "://127.0.0.1:" + std::to_string(Port()) + "/" + path;
}

void MmsTcpFixture::Serve(sys::TcpSocket& socket) {
    const Bytes zeros(8, 0);
    Received command;
    while (!listener_.Stopping() && ReadClientCommand(socket, command, kWaitMs, listener_.Stopping())) {
        Record(command);
        if (hangUpAt != 0 && command.command == hangUpAt) return;
        if (pingBeforeReplyTo != 0 && command.command == pingBeforeReplyTo && !Ping(socket)) return;
        switch (command.command) {
            case 0x01: {
                // Status 0, then the version text's length in characters at 80 and the text at 96.
                Bytes body(56, 0);
                const uint32_t characters = uint32_t(serverVersion.size() + 1);
                std::memcpy(&body[40], &characters, 4);
                for (char c : serverVersion) PutLe(body, uint8_t(c), 2);
                PutLe(body, 0, 2);
                if (!SendAll(socket, Command(0x01, body))) return;
                break;
            }
            case 0x18:
                if (!SendAll(socket, Command(0x15, Bytes(32, 0)))) return;
                break;
            case 0x02:
                if (!SendAll(socket, Command(0x02, zeros))) return;
                break;
            case 0x05:
                if (!SendAll(socket, Command(0x06, Bytes(64, 0)))) return;
                break;
            case 0x15:
                if (!SendAll(socket, Command(0x11, zeros)) || !SendHeader(socket)) return;
                break;
            case 0x33:
                if (!SendAll(socket, Command(0x21, zeros))) return;
                break;
            case 0x07: {
                double seconds = 0;
                std::memcpy(&seconds, command.body.data() + 8, 8);
                const uint32_t startMs = uint32_t(seconds * 1000 + 0.5);
                size_t first = 0;
                const uint32_t asked = uint32_t(Le(command.body, 20, 4));
                if (seekByPacket) {
                    first = std::min<size_t>(asked, media_.packets.size());
                } else {
                    for (size_t i = 0; startMs > 0 && i < media_.packets.size(); ++i) {
                        if (SendTime(media_.packets[i]) <= startMs) first = i;
                    }
                }
                if (startMs > 0 || asked > 0) first = std::min(first + startLate, media_.packets.size());
                {
                    std::lock_guard<std::mutex> g(lock_);
                    startTimeMs_ = startMs;
                    packetsAsked_ = asked;
                    firstSent_ = first;
                }
                if (!SendAll(socket, Command(0x05, zeros))) return;
                if (!beforeData.empty() && !SendAll(socket, beforeData)) return;
                if (!SendPackets(socket, first)) return;
                Drain(socket, 3000);
                return;
            }
            default:
                break;
        }
    }
}

bool MmsTcpFixture::SendHeader(sys::TcpSocket& socket) {
    if (!headerOverride.empty()) return SendAll(socket, headerOverride);
    const Bytes& header = media_.header;
    const size_t pieces = size_t(headerUnits < 1 ? 1 : headerUnits);
    size_t at = 0;
    for (size_t i = 0; i < pieces; ++i) {
        size_t end = i + 1 == pieces ? header.size() : header.size() * (i + 1) / pieces;
        // Only the last piece may end 01 01, or the header would seem complete too early.
        while (end < header.size() && end >= 2 && header[end - 1] == 1 && header[end - 2] == 1) ++end;
        const Bytes piece(header.begin() + long(at), header.begin() + long(end));
        if (!SendAll(socket, Unit(2, end == header.size() ? 0x08 : 0x04, piece))) return false;
        at = end;
        if (i == 0 && pingInHeader && !Ping(socket)) return false;
        if (at == header.size()) break;
    }
    return true;
}

bool MmsTcpFixture::SendPackets(sys::TcpSocket& socket, size_t first) {
    int sent = 0;
    for (size_t i = first; i < media_.packets.size() && !listener_.Stopping(); ++i) {
        if (closeAfter >= 0 && sent >= closeAfter) return false;
        if (endAfter >= 0 && sent >= endAfter) break;
        if (pingEvery > 0 && sent > 0 && sent % pingEvery == 0 && !Ping(socket)) return false;
        if (pauseMs > 0 && sent > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        Bytes payload = media_.packets[i];
        if (trimPadding) {
            while (!payload.empty() && payload.back() == 0) payload.pop_back();
        }
        // Servers number the data units by their place in the stream.
        Bytes unit = Unit(4, 0, payload, uint32_t(i));
        if (editUnit) editUnit(i, unit);
        if (!SendAll(socket, unit)) return false;
        if (std::find(repeatPackets.begin(), repeatPackets.end(), i) != repeatPackets.end() && !SendAll(socket, unit)) {
            return false;
        }
        ++sent;
    }
    if (sendEnd) return SendAll(socket, Command(0x1E, Bytes(8, 0)));
    return true;
}

// A ping, then the client's answer (a client that does not answer is noted by its absence).
bool MmsTcpFixture::Ping(sys::TcpSocket& socket) {
    if (!SendAll(socket, Command(0x1B, Bytes(8, 0)))) return false;
    Received pong;
    if (ReadClientCommand(socket, pong, 3000, listener_.Stopping())) Record(pong);
    return true;
}

void MmsTcpFixture::Record(const Received& command) {
    std::lock_guard<std::mutex> g(lock_);
    commands_.push_back(command);
    if (command.command == 0x1B) ++pongs_;
}

// Reads what the client still sends (a pong, its close command) until it closes or ms pass.
void MmsTcpFixture::Drain(sys::TcpSocket& socket, int ms) {
    Received command;
    while (ReadClientCommand(socket, command, ms, listener_.Stopping())) Record(command);
}

std::vector<MmsTcpFixture::Received> MmsTcpFixture::Commands() const {
    std::lock_guard<std::mutex> g(lock_);
    return commands_;
}

int MmsTcpFixture::Pongs() const {
    std::lock_guard<std::mutex> g(lock_);
    return pongs_;
}

int MmsTcpFixture::Connections() const { return listener_.Accepted(); }

uint32_t MmsTcpFixture::StartTimeMs() const {
    std::lock_guard<std::mutex> g(lock_);
    return startTimeMs_;
}

uint32_t MmsTcpFixture::PacketsAsked() const {
    std::lock_guard<std::mutex> g(lock_);
    return packetsAsked_;
}

size_t MmsTcpFixture::FirstPacketSent() const {
    std::lock_guard<std::mutex> g(lock_);
    return firstSent_;
}

bool MmsTcpFixture::WaitConnections(int count, int ms) const { return listener_.WaitEnded(count, ms); }
