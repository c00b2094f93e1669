#include "MmsHttpFramer.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "AsfParser.h"
#include "ByteReader.h"
#include "FileBytes.h"

namespace {

const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

void PutLe(std::string& out, uint64_t value, int width) {
    for (int i = 0; i < width; ++i) out += char((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string MmsHttpFramer::Chunk(char type, const std::string& payload, uint32_t sequence) {
    std::string chunk = "$";
    chunk += type;
    PutLe(chunk, payload.size() + 8, 2);
    PutLe(chunk, sequence, 4);
    chunk += char(0);
    chunk += char(type == 'H' ? 0x0C : 0);
    PutLe(chunk, payload.size() + 8, 2);
    return chunk + payload;
}

std::string MmsHttpFramer::EndChunk(End form) {
    switch (form) {
        case End::Long:
            return Chunk('E', "", 0);
        case End::Short: {
            std::string chunk = "$E";
            PutLe(chunk, 4, 2);
            PutLe(chunk, 0, 4);
            return chunk;
        }
        case End::None:
            break;
    }
    return "";
}

uint32_t MmsHttpFramer::StreamTime(const std::string& request) {
    const size_t at = request.find("stream-time=");
    return at == std::string::npos ? 0 : uint32_t(std::stoul(request.substr(at + 12)));
}

size_t MmsHttpFramer::FirstPacketFor(uint32_t streamTimeMs) const {
    if (streamTimeMs == 0) return 0;
    size_t i = 0;
    while (i < media_.packets.size() &&
           GetPacketSendTime(Bytes(media_.packets[i]), media_.packets[i].size()) < streamTimeMs) {
        ++i;
    }
    return i >= 2 ? i - 2 : 0;
}

std::string MmsHttpFramer::Reply(const std::string& request) const {
    const bool play = request.find("xPlayStrm=1") != std::string::npos;
    std::string body;
    if (options_.contentLength) {
        body = media_.header;
        for (const auto& packet : media_.packets) body += packet;
        return "HTTP/1.1 200 OK\r\nContent-Type: video/x-ms-asf\r\nContent-Length: " + std::to_string(body.size()) +
               "\r\n\r\n" + body;
    }
    const size_t parts = options_.headerChunks ? options_.headerChunks : 1;
    const size_t step = (media_.header.size() + parts - 1) / parts;
    uint32_t sequence = 0;
    for (size_t at = 0; at < media_.header.size(); at += step) {
        body += Chunk('H', media_.header.substr(at, step), sequence++);
    }
    if (play) {
        body += options_.extraChunk;
        size_t i = FirstPacketFor(StreamTime(request));
        while (options_.joinedAtMs && i < media_.packets.size() && AsfMedia::SendTime(media_.packets[i]) < options_.joinedAtMs) {
            ++i;
        }
        for (size_t sent = 0; i < media_.packets.size() && sent < options_.stopAfter; ++i, ++sent) {
            std::string packet = media_.packets[i];
            if (options_.trimPadding) {
                while (!packet.empty() && packet.back() == 0) packet.pop_back();
            }
            body += Chunk('D', packet, sequence++);
            const auto& repeats = options_.repeatPackets;
            if (std::find(repeats.begin(), repeats.end(), i) != repeats.end()) body += Chunk('D', packet, sequence - 1);
        }
        if (i == media_.packets.size() || options_.endAtStop) body += EndChunk(options_.end);
    }
    const char* type = play ? "application/x-mms-framed" : "application/vnd.ms.wms-hdr.asfv1";
    const std::string length = options_.framedLength ? "Content-Length: " + std::to_string(body.size()) + "\r\n" : "";
    return std::string("HTTP/1.0 200 OK\r\nContent-Type: ") + type +
           "\r\nServer: Cougar/9.01.01.3814\r\nPragma: no-cache\r\nCache-Control: no-cache\r\n" + length + "\r\n" +
           body;
}

void MmsHttpFramer::Answer(FixtureServer::Script& script) const {
    // The script may outlive this framer.
    auto self = std::make_shared<MmsHttpFramer>(*this);
    script.ExpectHead().Call([self](FixtureServer::Session& session) {
        const std::string reply = self->Reply(session.Received());
        const int pause = self->options_.pauseMs;
        const size_t piece = pause > 0 ? self->media_.packetSize + 12 : reply.size();
        for (size_t at = 0; at < reply.size() && !session.Stopping(); at += piece) {
            if (at > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pause));
            if (!session.Send(reply.substr(at, piece))) return;
        }
    });
    if (options_.holdOpenMs > 0) script.Silence(options_.holdOpenMs);
    script.Close();
}

void MmsHttpFramer::AddTo(FixtureServer& server) const {
    Answer(server.AddScript());
    server.RepeatLastScript();
}
