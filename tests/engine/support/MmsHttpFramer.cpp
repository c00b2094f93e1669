#include "MmsHttpFramer.h"

#include <memory>

#include "AsfParser.h"
#include "ByteReader.h"
#include "FileBytes.h"

namespace {

const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

void PutLe(std::string& out, uint64_t value, int width) {
    for (int i = 0; i < width; ++i) out += char((value >> (8 * i)) & 0xFF);
}

uint32_t MaxPacketSize(const std::string& header) {
    std::unique_ptr<CAsfParser> parser = CAsfParser::Create(Bytes(header), header.size());
    return parser ? uint32_t(parser->GetMaxPacketSize()) : 0;
}

}  // namespace

std::string MediaPath(const std::string& name) {
    std::string dir = __FILE__;
    dir = dir.substr(0, dir.find_last_of("/\\") + 1) + "../../fixtures/media/";
#ifdef _WIN32
    // Built on Linux, run under Wine: the source tree is reached through drive Z:.
    if (!dir.empty() && dir[0] == '/') dir = "Z:" + dir;
#endif
    return dir + name;
}

AsfMedia AsfMedia::FromFile(const std::string& path) {
    AsfMedia media;
    const std::string file = ReadFileBytes(path);
    ByteReader reader(Bytes(file), file.size());
    reader.Skip(16);
    const uint64_t headerObject = reader.U64Le();
    if (reader.Failed() || headerObject > file.size() || headerObject + 50 > file.size()) return media;
    media.header = file.substr(0, size_t(headerObject) + 50);
    media.packetSize = MaxPacketSize(media.header);
    const uint64_t count = media.HeaderPacketCount();
    size_t at = media.header.size();
    for (uint64_t i = 0; i < count && media.packetSize && at + media.packetSize <= file.size(); ++i) {
        media.packets.push_back(file.substr(at, media.packetSize));
        at += media.packetSize;
    }
    return media;
}

AsfMedia AsfMedia::FromStreamFile(const std::string& path) {
    AsfMedia media;
    const std::string file = ReadFileBytes(path);
    ByteReader reader(Bytes(file), file.size());
    while (reader.Remaining() >= 4) {
        reader.Skip(1);
        const char type = char(reader.U8());
        const uint16_t length = reader.U16Le();
        const uint8_t* body = reader.Bytes(length);
        if (!body || length < 8) break;
        const std::string payload(reinterpret_cast<const char*>(body) + 8, length - 8);
        if (type == 'H') media.header += payload;
        if (type == 'D') media.packets.push_back(payload);
        if (type == 'E') break;
    }
    media.packetSize = MaxPacketSize(media.header);
    return media;
}

uint64_t AsfMedia::HeaderPacketCount() const {
    if (header.size() < 50) return 0;
    ByteReader reader(Bytes(header), header.size());
    reader.Seek(header.size() - 50 + 40);
    return reader.U64Le();
}

void AsfMedia::SetHeaderPacketCount(uint64_t count) {
    if (header.size() < 50) return;
    std::string field;
    PutLe(field, count, 8);
    header.replace(header.size() - 50 + 40, 8, field);
}

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
        for (size_t sent = 0; i < media_.packets.size() && sent < options_.stopAfter; ++i, ++sent) {
            std::string packet = media_.packets[i];
            if (options_.trimPadding) {
                while (!packet.empty() && packet.back() == 0) packet.pop_back();
            }
            body += Chunk('D', packet, sequence++);
        }
        if (i == media_.packets.size()) body += EndChunk(options_.end);
    }
    const char* type = play ? "application/x-mms-framed" : "application/vnd.ms.wms-hdr.asfv1";
    return std::string("HTTP/1.0 200 OK\r\nContent-Type: ") + type +
           "\r\nServer: Cougar/9.01.01.3814\r\nPragma: no-cache\r\nCache-Control: no-cache\r\n\r\n" + body;
}

void MmsHttpFramer::Answer(FixtureServer::Script& script) const {
    // The script may outlive this framer.
    auto self = std::make_shared<MmsHttpFramer>(*this);
    script.ExpectHead().Call([self](FixtureServer::Session& session) { session.Send(self->Reply(session.Received())); });
    if (options_.holdOpenMs > 0) script.Silence(options_.holdOpenMs);
    script.Close();
}

void MmsHttpFramer::AddTo(FixtureServer& server) const {
    Answer(server.AddScript());
    server.RepeatLastScript();
}
