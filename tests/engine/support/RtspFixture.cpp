#include "RtspFixture.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "LittleEndian.h"

namespace {

constexpr int kSliceMs = 50;
// No wait for the client lasts longer than this.
constexpr int kLimitMs = 20000;
constexpr char kSessionId[] = "7240917359416411473";

const uint8_t kStreamPropertiesGuid[16] = {0x91, 0x07, 0xDC, 0xB7, 0xB7, 0xA9, 0xCF, 0x11,
                                           0x8E, 0xE6, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
const uint8_t kVideoMediaGuid[16] = {0xC0, 0xEF, 0x19, 0xBC, 0x4D, 0x5B, 0xCF, 0x11,
                                     0xA8, 0xFD, 0x00, 0x80, 0x5F, 0x5C, 0x44, 0x2B};

std::string Be(uint64_t value, size_t width) {
    std::string out(width, '\0');
    for (size_t i = 0; i < width; ++i) out[width - 1 - i] = static_cast<char>(value >> (8 * i));
    return out;
}

std::string Base64(const std::string& bytes) {
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t group = static_cast<uint8_t>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) group |= static_cast<uint8_t>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) group |= static_cast<uint8_t>(bytes[i + 2]);
        out += kAlphabet[(group >> 18) & 63];
        out += kAlphabet[(group >> 12) & 63];
        out += i + 1 < bytes.size() ? kAlphabet[(group >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kAlphabet[group & 63] : '=';
    }
    return out;
}

std::string Method(const std::string& request) { return request.substr(0, request.find(' ')); }

// The value of a head line, case ignored in its name.
std::string HeaderValue(const std::string& head, const std::string& name) {
    size_t start = 0;
    while (start < head.size()) {
        size_t end = head.find("\r\n", start);
        if (end == std::string::npos) end = head.size();
        const std::string line = head.substr(start, end - start);
        if (line.size() > name.size() && line[name.size()] == ':') {
            bool same = true;
            for (size_t i = 0; i < name.size() && same; ++i) same = std::tolower(line[i]) == std::tolower(name[i]);
            if (same) {
                size_t v = name.size() + 1;
                while (v < line.size() && line[v] == ' ') ++v;
                return line.substr(v);
            }
        }
        start = end + 2;
    }
    return std::string();
}

}  // namespace

std::string RtspFixture::Stripped(const std::string& packet, bool fit) {
    auto width = [](int type) -> size_t { return type == 3 ? 4 : static_cast<size_t>(type); };
    const uint8_t ecc = static_cast<uint8_t>(packet.at(0));
    const size_t at = (ecc & 0x80) ? 1 + (ecc & 0x0F) : 0;
    const uint8_t flags = static_cast<uint8_t>(packet.at(at));
    if ((flags >> 5) & 3) return packet;  // it names its length already
    const size_t sequence = width((flags >> 1) & 3), padWidth = width((flags >> 3) & 3);
    const size_t fields = at + 2;
    const size_t padding = padWidth ? static_cast<size_t>(Le(packet, fields + sequence, padWidth)) : 0;
    // The length field would make a packet with less padding longer than a packet.
    if (fit && padding < 2) return packet;
    const std::string rest = packet.substr(fields + sequence + padWidth, packet.size() - padding - (fields + sequence + padWidth));
    // Packet Length as a WORD, the padding length kept but 0.
    const size_t length = fields + 2 + sequence + padWidth + rest.size();
    std::string out = packet.substr(0, at);
    out += static_cast<char>(flags | 0x40);
    out += packet[at + 1];
    out += static_cast<char>(length & 0xFF);
    out += static_cast<char>(length >> 8);
    out += packet.substr(fields, sequence);
    out += std::string(padWidth, '\0');
    return out + rest;
}

RtspFixture::RtspFixture(Media media) : media_(std::move(media)) {}

RtspFixture::~RtspFixture() { Stop(); }

void RtspFixture::Start() {
    listener_.Start([this](sys::TcpSocket& socket) { Serve(socket); });
}

void RtspFixture::Stop() { listener_.Stop(); }

std::string RtspFixture::Url(const std::string& path) const {
    return "rtsp://127.0.0.1:" + std::to_string(Port()) + "/" + path;
}

std::vector<std::string> RtspFixture::Requests() const {
    std::lock_guard<std::mutex> guard(lock_);
    return requests_;
}

std::vector<std::string> RtspFixture::Requests(const std::string& method) const {
    std::vector<std::string> found;
    for (const auto& request : Requests()) {
        if (Method(request) == method) found.push_back(request);
    }
    return found;
}

bool RtspFixture::WaitSessions(int count, int ms) const { return listener_.WaitEnded(count, ms); }

size_t RtspFixture::PacketsSent() const {
    std::lock_guard<std::mutex> guard(lock_);
    return packetsSent_;
}

bool RtspFixture::SendAll(sys::TcpSocket& socket, const std::string& bytes) {
    return listener_.SendAll(socket, bytes.data(), bytes.size(), kLimitMs);
}

bool RtspFixture::ReadRequest(sys::TcpSocket& socket, std::string& buffer, std::string& request, int waitMs) {
    for (int waited = 0; !listener_.Stopping();) {
        const size_t end = buffer.find("\r\n\r\n");
        if (end != std::string::npos) {
            const std::string head = buffer.substr(0, end + 4);
            const size_t length = static_cast<size_t>(std::strtoul(HeaderValue(head, "Content-Length").c_str(), nullptr, 10));
            if (buffer.size() >= head.size() + length) {
                request = buffer.substr(0, head.size() + length);
                buffer.erase(0, request.size());
                std::lock_guard<std::mutex> guard(lock_);
                requests_.push_back(request);
                return true;
            }
        }
        // A wait of 0 still takes what has already arrived.
        if (waitMs > 0 && waited >= waitMs) return false;
        if (socket.Wait(0, waitMs > 0 ? kSliceMs : 0) != sys::WaitResult::Ready) {
            if (waitMs == 0) return false;
            waited += kSliceMs;
            continue;
        }
        char piece[4096];
        const int n = socket.Receive(piece, sizeof piece);
        if (n == sys::TcpSocket::kWouldBlock) continue;
        if (n <= 0) return false;
        buffer.append(piece, static_cast<size_t>(n));
    }
    return false;
}

std::string RtspFixture::Sdp(const std::string& url) const {
    std::string sdp =
        "v=0\r\n"
        "o=- 2026121001 2026121001 IN IP4 127.0.0.1\r\n"
        "s=fixture\r\n"
        "c=IN IP4 0.0.0.0\r\n"
        "b=AS:64\r\n"
        "t=0 0\r\n"
        "a=control:" + url + (url.empty() || url.back() != '/' ? "/" : "") + "\r\n"
        "a=range:npt=0-\r\n"
        "a=recvonly\r\n"
        "a=pgmpu:data:application/vnd.ms.wms-hdr.asfv1;base64," + Base64(media_.header) + "\r\n";
    // One media line per Stream Properties Object, with the ASF stream number.
    const std::string& h = media_.header;
    for (size_t at = 0; at + 74 <= h.size(); ++at) {
        if (std::memcmp(h.data() + at, kStreamPropertiesGuid, 16) != 0) continue;
        const bool video = std::memcmp(h.data() + at + 24, kVideoMediaGuid, 16) == 0;
        const int number = static_cast<int>(Le(h, at + 72, 2) & 0x7F);
        sdp += std::string("m=") + (video ? "video" : "audio") + " 0 RTP/AVP 96\r\n" +
               "a=rtpmap:96 x-asf-pf/1000\r\n" + "a=control:" + (video ? "video" : "audio") +
               std::to_string(number) + "\r\n" + "a=stream:" + std::to_string(number) + "\r\n";
    }
    return sdp;
}

bool RtspFixture::Reply(sys::TcpSocket& socket, const std::string& request) {
    const std::string method = Method(request);
    const std::string cseq = "CSeq: " + HeaderValue(request, "CSeq") + "\r\n";
    const std::string server = "Server: WMServer/9.1.1.5001\r\n";
    std::string reply = "RTSP/1.0 200 OK\r\n" + cseq + server;
    if (method == "OPTIONS") {
        reply += "Public: DESCRIBE, SETUP, TEARDOWN, PLAY, PAUSE, OPTIONS, ANNOUNCE, RECORD, GET_PARAMETER\r\n\r\n";
    } else if (method == "DESCRIBE") {
        const size_t start = request.find(' ') + 1;
        const std::string sdp = Sdp(request.substr(start, request.find(' ', start) - start));
        reply += "Content-Type: application/sdp\r\nX-Playlist-Gen-Id: 42\r\nContent-Length: " +
                 std::to_string(sdp.size()) + "\r\n\r\n" + sdp;
    } else if (method == "GET_PARAMETER" && HeaderValue(request, "Content-Type") == "application/x-rtsp-packetpair") {
        // Packet-pair data: bytes the client must read whole, some of them a '$'.
        const std::string body("$\x00\x00\x10packet-pair-data", 20);
        reply += "Content-Type: application/x-rtsp-packetpair\r\nContent-Length: " + std::to_string(body.size()) +
                 "\r\n\r\n" + body;
    } else if (method == "SETUP") {
        std::string transport = HeaderValue(request, "Transport");
        const size_t asked = transport.find("interleaved=0-1");
        if (options_.dataChannel != 0 && asked != std::string::npos) {
            transport.replace(asked, 15, "interleaved=" + std::to_string(options_.dataChannel) + "-" +
                                             std::to_string(options_.dataChannel + 1));
        }
        reply += "Session: " + std::string(kSessionId) + ";timeout=" + std::to_string(options_.sessionTimeOut) +
                 "\r\nTransport: " + transport + "\r\n\r\n";
    } else if (method == "PLAY") {
        const std::string range = HeaderValue(request, "Range");
        playFrom_ = range.compare(0, 4, "npt=") == 0 ? std::atof(range.c_str() + 4) : 0.0;
        reply += "Session: " + std::string(kSessionId) + "\r\nRange: npt=" + range.substr(range.find('=') + 1) + "\r\n\r\n";
    } else {
        reply += "Session: " + std::string(kSessionId) + "\r\nContent-Length: 0\r\n\r\n";
    }
    if (options_.rewrite) reply = options_.rewrite(method, reply);
    return SendAll(socket, reply);
}

bool RtspFixture::AnswerWaiting(sys::TcpSocket& socket, std::string& buffer) {
    std::string request;
    while (ReadRequest(socket, buffer, request, 0)) {
        if (!Reply(socket, request)) return false;
        if (Method(request) == "TEARDOWN") return false;
    }
    return true;
}

std::string RtspFixture::Frame(uint8_t channel, const std::string& payload) {
    return std::string("$") + static_cast<char>(channel) + Be(payload.size(), 2) + payload;
}

std::string RtspFixture::RtpPacket(const std::string& packet, int channel) {
    // RTP: version 2, marker set (the packet is whole), payload type 96, timestamp = send time.
    std::string rtp = "\x80\xE0" + Be(sequence_++, 2) + Be(AsfMedia::SendTime(packet) + options_.rtpBase, 4) + Be(0x54F33838, 4);
    // ASF payload header: length present, then the extra fields the flags announce.
    static const uint8_t kExtraFlags[] = {0x00, 0x20, 0x30, 0x38};
    const size_t extra = options_.packetShift / 4 > 3 ? 3 : options_.packetShift / 4;
    rtp += static_cast<char>(0x40 | kExtraFlags[extra]);
    rtp += Be(4 + extra * 4 + packet.size(), 3);
    rtp += std::string(extra * 4, '\0');
    return Frame(static_cast<uint8_t>(channel), rtp + packet);
}

void RtspFixture::Stream(sys::TcpSocket& socket, std::string& buffer, double fromSeconds) {
    size_t sent = 0;
    for (size_t i = 0; i < media_.packets.size() && !listener_.Stopping(); ++i) {
        const std::string& packet = media_.packets[i];
        if (AsfMedia::SendTime(packet) < static_cast<uint32_t>(fromSeconds * 1000 + 0.5)) continue;
        if (sent == options_.stopAfter) break;
        if (!AnswerWaiting(socket, buffer)) return;
        if (options_.rtcpEvery && sent % static_cast<size_t>(options_.rtcpEvery) == 0) {
            // A receiver report shape: version 2, type 200, then bytes.
            if (!SendAll(socket, Frame(1, std::string("\x80\xC8\x00\x06", 4) + std::string(24, '\x11')))) return;
        }
        if (options_.messageEvery && sent % static_cast<size_t>(options_.messageEvery) == 0) {
            const std::string body = Frame(0, std::string(20, '\x82'));
            if (!SendAll(socket, "RTSP/1.0 200 OK\r\nCSeq: 0\r\nContent-Type: text/plain\r\nContent-Length: " +
                                     std::to_string(body.size()) + "\r\n\r\n" + body)) {
                return;
            }
        }
        const std::string bytes = options_.strip ? Stripped(packet, !options_.lengthInEvery) : packet;
        if (options_.strayChannel >= 0 && !SendAll(socket, RtpPacket(bytes, options_.strayChannel))) return;
        if (!SendAll(socket, RtpPacket(bytes, options_.dataChannel))) return;
        const auto& repeats = options_.repeatPackets;
        if (std::find(repeats.begin(), repeats.end(), i) != repeats.end() &&
            !SendAll(socket, RtpPacket(bytes, options_.dataChannel))) {
            return;
        }
        {
            std::lock_guard<std::mutex> guard(lock_);
            ++packetsSent_;
        }
        ++sent;
        if (sent == 1 && !options_.injectAfterFirst.empty() && !SendAll(socket, options_.injectAfterFirst)) return;
        if (options_.pauseMs) std::this_thread::sleep_for(std::chrono::milliseconds(options_.pauseMs));
    }
    if (!AnswerWaiting(socket, buffer)) return;
    switch (options_.end) {
        case Options::End::Close:
            return;
        case Options::End::Message:
            SendAll(socket, "SET_PARAMETER * RTSP/1.0\r\nCSeq: 1\r\nSession: " + std::string(kSessionId) +
                                "\r\nContent-Type: application/x-wms-sendevent\r\nContent-Length: 11\r\n\r\nEOF: true\r\n");
            break;
        case Options::End::Hold:
            break;
    }
    // Answer whatever comes (a TEARDOWN, say) until the client leaves.
    std::string request;
    while (!listener_.Stopping() && ReadRequest(socket, buffer, request, kLimitMs)) {
        if (options_.end == Options::End::Hold) continue;
        if (!Reply(socket, request)) return;
    }
}

void RtspFixture::Serve(sys::TcpSocket& socket) {
    std::string buffer, request;
    sequence_ = 0;
    while (ReadRequest(socket, buffer, request, kLimitMs)) {
        if (!Reply(socket, request)) return;
        if (Method(request) == "PLAY") {
            Stream(socket, buffer, playFrom_);
            return;
        }
    }
}
