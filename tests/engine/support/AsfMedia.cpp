#include "AsfMedia.h"

#include <memory>

#include "AsfParser.h"
#include "ByteReader.h"
#include "FileBytes.h"

namespace {

const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

uint32_t MaxPacketSize(const std::string& header) {
    std::unique_ptr<CAsfParser> parser = CAsfParser::Create(Bytes(header), header.size());
    return parser ? uint32_t(parser->GetMaxPacketSize()) : 0;
}

}  // namespace

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

uint32_t AsfMedia::SendTime(const std::string& packet) {
    ByteReader reader(Bytes(packet), packet.size());
    const uint8_t ecc = reader.U8();
    if (ecc & 0x80) {
        reader.Skip(ecc & 0x0F);
    } else {
        reader.Seek(0);
    }
    const uint8_t flags = reader.U8();
    reader.Skip(1);  // property flags
    auto width = [](int type) -> size_t { return type == 3 ? 4 : static_cast<size_t>(type); };
    reader.Skip(width((flags >> 5) & 3) + width((flags >> 1) & 3) + width((flags >> 3) & 3));
    const uint32_t time = reader.U32Le();
    return reader.Failed() ? 0 : time;
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
    for (int i = 0; i < 8; ++i) field += char((count >> (8 * i)) & 0xFF);
    header.replace(header.size() - 50 + 40, 8, field);
}
