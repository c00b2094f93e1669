#include "RmFile.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "Base64.h"
#include "ByteReader.h"

namespace {

std::string Take(ByteReader& r, size_t n) {
    const uint8_t* p = r.Bytes(n);
    return p ? std::string(p, p + n) : std::string();
}

std::string Id(ByteReader& r) { return Take(r, 4); }

void PutBe(std::string& out, uint32_t value, int width) {
    for (int i = width - 1; i >= 0; --i) out += char(value >> (8 * i));
}

std::string Quoted(const char* key, const std::string& value) {
    return std::string("a=") + key + "\"" + value + "\"\r\n";
}

std::string Base64(const std::string& bytes) { return Base64EncodeText(bytes); }

}  // namespace

RmFile ReadRmFile(const Bytes& bytes) {
    RmFile f;
    ByteReader r(bytes.data(), bytes.size());
    if (Id(r) != ".RMF" || r.U32Be() != 18 || r.U16Be() != 0) return f.error = "no .RMF chunk", f;
    r.U32Be();
    f.headerCount = r.U32Be();
    while (r.Ok() && r.Remaining() >= 10) {
        const size_t at = r.Position();
        const std::string id = Id(r);
        const uint32_t size = r.U32Be();
        // ffmpeg's own files give DATA a size 10 bytes past their end: its packets are walked
        // to the end of the file instead (the tests compare the size where it matters).
        const size_t extent = id == "DATA" ? bytes.size() - at : size;
        if (size < 10 || extent > r.Remaining() + 8) return f.error = id + " chunk size " + std::to_string(size), f;
        ByteReader c = ByteReader(bytes.data() + at, extent);
        c.Skip(10);
        if (id == "PROP") {
            f.maxBitRate = c.U32Be();
            f.avgBitRate = c.U32Be();
            f.maxPacketSize = c.U32Be();
            f.avgPacketSize = c.U32Be();
            f.packetCount = c.U32Be();
            f.duration = c.U32Be();
            f.preroll = c.U32Be();
            f.indexOffset = c.U32Be();
            f.dataOffset = c.U32Be();
            f.streamCount = c.U16Be();
            c.U16Be();
        } else if (id == "CONT") {
            f.title = Take(c, c.U16Be());
            f.author = Take(c, c.U16Be());
            f.copyright = Take(c, c.U16Be());
            Take(c, c.U16Be());
        } else if (id == "MDPR") {
            RmStreamInfo s;
            s.number = c.U16Be();
            s.maxBitRate = c.U32Be();
            s.avgBitRate = c.U32Be();
            s.maxPacketSize = c.U32Be();
            s.avgPacketSize = c.U32Be();
            s.startTime = c.U32Be();
            s.preroll = c.U32Be();
            s.duration = c.U32Be();
            s.name = Take(c, c.U8());
            s.mimeType = Take(c, c.U8());
            s.typeData = Take(c, c.U32Be());
            f.streams.push_back(s);
        } else if (id == "DATA") {
            if (at != f.dataOffset) return f.error = "DATA not at the PROP data offset", f;
            f.dataSize = size;
            f.dataCount = c.U32Be();
            c.U32Be();
            for (uint32_t i = 0; i < f.dataCount; ++i) {
                RmPacket p;
                p.offset = uint32_t(at + c.Position());
                if (c.U16Be() != 0) return f.error = "packet version", f;
                const uint16_t length = c.U16Be();
                p.stream = c.U16Be();
                p.timestamp = c.U32Be();
                c.U8();
                p.flags = c.U8();
                if (length < 12) return f.error = "packet length", f;
                p.data = Take(c, length - 12u);
                if (c.Failed()) return f.error = "packet " + std::to_string(i) + " past DATA", f;
                f.packets.push_back(p);
            }
            f.dataEnd = uint32_t(at + c.Position());
            break;
        }
        if (c.Failed()) return f.error = id + " chunk too short", f;
        r.Seek(at + size);
    }
    if (f.packets.size() != f.dataCount) return f.error = "no DATA chunk", f;
    for (uint32_t at = f.indexOffset; at != 0 && f.indexOffset < bytes.size();) {
        ByteReader c(bytes.data(), bytes.size());
        c.Seek(at);
        if (Id(c) != "INDX") return f.error = "no INDX at " + std::to_string(at), f;
        const uint32_t size = c.U32Be();
        c.U16Be();
        RmIndexChunk chunk;
        const uint32_t count = c.U32Be();
        chunk.stream = c.U16Be();
        chunk.next = c.U32Be();
        for (uint32_t i = 0; i < count; ++i) {
            c.U16Be();
            RmIndexEntry e;
            e.timestamp = c.U32Be();
            e.offset = c.U32Be();
            e.packetNumber = c.U32Be();
            chunk.entries.push_back(e);
        }
        if (c.Failed() || size != 20 + 14 * count) return f.error = "INDX chunk", f;
        f.index.push_back(chunk);
        if (chunk.next != 0 && chunk.next <= at) return f.error = "INDX chain goes back", f;
        at = chunk.next;
        if (f.index.size() > 64) return f.error = "INDX chain", f;
    }
    return f;
}

RmServerStream MakeServerStream(const RmFile& file, size_t controlEvery) {
    RmServerStream s;
    std::string sdp = "v=0\r\no=- 0 0 IN IP4 127.0.0.1\r\ns=" + file.title + "\r\nc=IN IP4 0.0.0.0\r\n";
    // The server counts each text's terminating NUL.
    sdp += Quoted("Title:buffer;", Base64(file.title + '\0'));
    sdp += Quoted("Author:buffer;", Base64(file.author + '\0'));
    sdp += Quoted("Copyright:buffer;", Base64(file.copyright + '\0'));
    sdp += "a=StreamCount:integer;" + std::to_string(file.streams.size()) + "\r\n";
    for (const RmStreamInfo& m : file.streams) {
        char length[32];
        std::snprintf(length, sizeof length, "%u.%03u", m.duration / 1000, m.duration % 1000);
        sdp += "m=" + std::string(m.mimeType.compare(0, 5, "video") == 0 ? "video" : "audio") +
               " 0 RTP/AVP 101\r\n";
        sdp += "a=control:streamid=" + std::to_string(m.number) + "\r\n";
        sdp += "a=length:npt=" + std::string(length) + "\r\n";
        sdp += "a=MaxBitRate:integer;" + std::to_string(m.maxBitRate) + "\r\n";
        sdp += "a=AvgBitRate:integer;" + std::to_string(m.avgBitRate) + "\r\n";
        sdp += "a=MaxPacketSize:integer;" + std::to_string(m.maxPacketSize) + "\r\n";
        sdp += "a=AvgPacketSize:integer;" + std::to_string(m.avgPacketSize) + "\r\n";
        sdp += "a=StartTime:integer;" + std::to_string(m.startTime) + "\r\n";
        sdp += "a=Preroll:integer;" + std::to_string(m.preroll) + "\r\n";
        sdp += Quoted("mimetype:string;", m.mimeType);
        sdp += Quoted("StreamName:string;", m.name);
        sdp += Quoted("OpaqueData:buffer;", Base64(m.typeData));
        sdp += "a=ASMRuleBook:string;\"Marker=0, AverageBandwidth=" + std::to_string(m.avgBitRate) +
               ";\"\r\n";
    }
    s.sdp = sdp;
    for (size_t i = 0; i < file.packets.size(); ++i) {
        const RmPacket& p = file.packets[i];
        std::string header;  // the 10-byte payload header
        header += char(0x40 | p.stream << 1);
        header += char(0);                  // packet type
        header += char(i);                  // sequence, not looked at
        header += char(p.flags & 2 ? 0 : 1);  // bit 0 clear: key frame
        PutBe(header, p.timestamp, 4);
        header += std::string(2, '\0');
        std::string payload;
        if (controlEvery != 0 && i % controlEvery == controlEvery - 1) {
            // The 0xFF form: 9 leading bytes, the usual header's first 8, 2 more, then the data.
            payload = std::string(1, char(0x40)) + char(0xFF) + std::string(7, 'x');
            payload += header.substr(0, 8) + "yy";
        } else {
            payload = header;
        }
        payload += p.data;
        std::string unit = "$";
        unit += char(0);
        PutBe(unit, uint32_t(payload.size()), 2);
        s.units.push_back(unit + payload);
        s.timestamps.push_back(p.timestamp);
    }
    return s;
}

// RDT's stream-end packet: flags, the type 0xFF06, sequence, time stamp, reliable count.
std::string EndUnit() { return std::string("$\0\0\x0b" "\x40\xFF\x06" "\0\x07" "\0\0\x1f\x40" "\0\0", 15); }

std::string WriterUnit(const RmPacket& p) {
    std::string unit = "$";
    unit += char(0);
    unit += char(p.data.size() & 0xFF);
    unit += char(p.data.size() >> 8);
    unit += char(p.stream << 1);
    unit += char(0);
    unit += char(0);
    unit += char(p.flags & 2 ? 0 : 1);
    PutBe(unit, p.timestamp, 4);
    unit += std::string(2, '\0');
    return unit + p.data;
}

Bytes WriteRmFile(const RmFile& f) {
    std::string mdprs;
    for (const RmStreamInfo& s : f.streams) {
        std::string m = "MDPR";
        PutBe(m, uint32_t(46 + s.name.size() + s.mimeType.size() + s.typeData.size()), 4);
        PutBe(m, 0, 2);
        PutBe(m, s.number, 2);
        for (uint32_t v : {s.maxBitRate, s.avgBitRate, s.maxPacketSize, s.avgPacketSize, s.startTime, s.preroll,
                           s.duration})
            PutBe(m, v, 4);
        m += char(s.name.size()) + s.name + char(s.mimeType.size()) + s.mimeType;
        PutBe(m, uint32_t(s.typeData.size()), 4);
        mdprs += m + s.typeData;
    }
    std::string cont = "CONT";
    PutBe(cont, uint32_t(18 + f.title.size() + f.author.size() + f.copyright.size()), 4);
    PutBe(cont, 0, 2);
    for (const std::string* t : {&f.title, &f.author, &f.copyright}) {
        PutBe(cont, uint32_t(t->size()), 2);
        cont += *t;
    }
    PutBe(cont, 0, 2);
    std::string packets;
    for (const RmPacket& p : f.packets) {
        PutBe(packets, 0, 2);
        PutBe(packets, uint32_t(12 + p.data.size()), 2);
        PutBe(packets, p.stream, 2);
        PutBe(packets, p.timestamp, 4);
        packets += char(0);
        packets += char(p.flags);
        packets += p.data;
    }
    const uint32_t dataOffset = uint32_t(18 + 50 + cont.size() + mdprs.size());
    std::string out = ".RMF";
    PutBe(out, 18, 4);
    PutBe(out, 0, 2);
    PutBe(out, 0, 4);
    PutBe(out, uint32_t(f.streams.size() + 4), 4);
    out += "PROP";
    PutBe(out, 50, 4);
    PutBe(out, 0, 2);
    for (uint32_t v : {f.maxBitRate, f.avgBitRate, f.maxPacketSize, f.avgPacketSize, uint32_t(f.packets.size()),
                       f.duration, f.preroll, 0u, dataOffset})
        PutBe(out, v, 4);
    PutBe(out, uint32_t(f.streams.size()), 2);
    PutBe(out, 0, 2);
    out += cont + mdprs + "DATA";
    PutBe(out, uint32_t(18 + packets.size()), 4);
    PutBe(out, 0, 2);
    PutBe(out, uint32_t(f.packets.size()), 4);
    PutBe(out, 0, 4);
    out += packets;
    return Bytes(out.begin(), out.end());
}

RmFile SplitVideoFrames(const RmFile& file) {
    RmFile out = file;
    out.packets.clear();
    for (const RmPacket& p : file.packets) {
        if (p.stream != 0 || p.data.size() < 2) {
            out.packets.push_back(p);
            continue;
        }
        RmPacket a = p, b = p;
        a.data = p.data.substr(0, p.data.size() / 2);
        b.data = p.data.substr(p.data.size() / 2);
        out.packets.push_back(a);
        out.packets.push_back(b);
    }
    return out;
}

uint32_t ResumePointOf(const std::vector<RmPacket>& onDisk) {
    std::map<uint16_t, uint32_t> last;
    for (const RmPacket& p : onDisk) last[p.stream] = std::max(last[p.stream], p.timestamp);
    uint32_t first = UINT32_MAX;
    for (const auto& entry : last) first = std::min(first, entry.second);
    return first > 1000 ? first - 1000 : 0;
}
