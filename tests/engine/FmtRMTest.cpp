// The RealMedia file writer against real files made by ffmpeg (tests/fixtures/media/make-media.sh):
// their packets go in as a server's units with the description a server makes of them, and the
// file that comes out must read, in our reader and in ffmpeg, as the original.
#include "FmtRM.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "Base64.h"
#include "Factories.h"
#include "MediaFiles.h"
#include "MemoryFile.h"
#include "OutputFileView.h"
#include "RmFile.h"
#include "TempDir.h"

namespace {

struct Source {
    const char* name;
    RmFile file;
    RmServerStream stream;
};

const std::vector<Source>& Sources() {
    static const std::vector<Source> sources = [] {
        std::vector<Source> out;
        for (const char* name : {"av.rm", "audio.rm"}) {
            RmFile file = ReadRmFile(ReadAll(MediaDir() + name));
            RmServerStream stream = MakeServerStream(file);
            out.push_back({name, std::move(file), std::move(stream)});
        }
        return out;
    }();
    return sources;
}

EnginePtr<CFmtRM> NewWriter() { return EnginePtr<CFmtRM>(static_cast<CFmtRM*>(NEW_FMTRM())); }

CByteBuffer& Unit(const std::string& bytes) {
    static CByteBuffer buffer;
    buffer.Reset();
    buffer.Append(bytes.data(), int32_t(bytes.size()));
    return buffer;
}

// Writes the packets [first, last) of a source through one writer.
int32_t WriteRange(CFmtRM& writer, const RmFile& source, size_t first, size_t last) {
    for (size_t i = first; i < last && i < source.packets.size(); ++i) {
        const int32_t code = writer.WritePacket(&Unit(WriterUnit(source.packets[i])));
        if (code != 0) return code;
    }
    return 0;
}

Bytes WriteWhole(const Source& s, bool finish = true) {
    MemoryFile file;
    auto writer = NewWriter();
    writer->Open(&file, s.stream.sdp.c_str(), false);
    EXPECT_EQ(WriteRange(*writer, s.file, 0, s.file.packets.size()), ResultSuccess);
    if (finish) {
        EXPECT_TRUE(writer->Finish());
    }
    return file.bytes;
}

// The index every stream should have: one entry per key-frame packet, at that packet.
void ExpectIndexAtKeyFrames(const RmFile& written) {
    ASSERT_EQ(written.index.size(), written.streams.size());
    for (size_t s = 0; s < written.index.size(); ++s) {
        std::vector<RmIndexEntry> expected;
        for (size_t i = 0; i < written.packets.size(); ++i) {
            const RmPacket& p = written.packets[i];
            if (p.stream == s && (p.flags & 2)) expected.push_back({p.timestamp, p.offset, uint32_t(i)});
        }
        EXPECT_EQ(written.index[s].stream, s);
        EXPECT_EQ(written.index[s].entries, expected) << "stream " << s;
        EXPECT_EQ(written.index[s].next == 0, s + 1 == written.index.size());
    }
}

TEST(FmtRM, RebuildsTheHeadersPacketsAndIndexOfRealFiles) {
    for (const Source& s : Sources()) {
        SCOPED_TRACE(s.name);
        ASSERT_EQ(s.file.error, "");
        const RmFile written = ReadRmFile(WriteWhole(s));
        ASSERT_EQ(written.error, "");
        EXPECT_EQ(written.headerCount, s.file.streams.size() + 4);
        EXPECT_EQ(written.title, s.file.title);
        EXPECT_EQ(written.author, s.file.author);
        EXPECT_EQ(written.copyright, s.file.copyright);
        ASSERT_EQ(written.streams.size(), s.file.streams.size());
        uint32_t duration = 0;
        for (size_t i = 0; i < written.streams.size(); ++i) {
            const RmStreamInfo& a = written.streams[i];
            const RmStreamInfo& b = s.file.streams[i];
            EXPECT_EQ(a.number, i);
            EXPECT_EQ(a.maxBitRate, b.maxBitRate);
            EXPECT_EQ(a.avgBitRate, b.avgBitRate);
            EXPECT_EQ(a.maxPacketSize, b.maxPacketSize);
            EXPECT_EQ(a.avgPacketSize, b.avgPacketSize);
            EXPECT_EQ(a.preroll, b.preroll);
            EXPECT_EQ(a.duration, b.duration);
            EXPECT_EQ(a.name, b.name);
            EXPECT_EQ(a.mimeType, b.mimeType);
            EXPECT_EQ(a.typeData, b.typeData);
            duration = std::max(duration, b.duration);
        }
        EXPECT_EQ(written.duration, duration);
        EXPECT_EQ(written.packetCount, s.file.packets.size());
        EXPECT_EQ(written.dataCount, s.file.packets.size());
        EXPECT_EQ(written.packets, s.file.packets);
        EXPECT_EQ(written.dataOffset + written.dataSize, written.dataEnd);
        EXPECT_EQ(written.indexOffset, written.dataEnd);
        ExpectIndexAtKeyFrames(written);
    }
}

TEST(FmtRM, EveryPrefixIsACompleteFile) {
    const Source& s = Sources()[0];
    MemoryFile file;
    auto writer = NewWriter();
    writer->Open(&file, s.stream.sdp.c_str(), false);
    for (size_t i = 0; i < s.file.packets.size(); ++i) {
        ASSERT_EQ(writer->WritePacket(&Unit(WriterUnit(s.file.packets[i]))), ResultSuccess);
        const RmFile partial = ReadRmFile(file.bytes);
        ASSERT_EQ(partial.error, "") << "after packet " << i;
        ASSERT_EQ(partial.packets.size(), i + 1);
        ASSERT_EQ(partial.packets.back(), s.file.packets[i]);
        ASSERT_EQ(writer->BytesWritten(), int32_t(file.bytes.size()));
    }
}

TEST(FmtRM, EstimatedSizeIsBitRateTimesDuration) {
    const Source& s = Sources()[0];
    MemoryFile file;
    auto writer = NewWriter();
    writer->Open(&file, s.stream.sdp.c_str(), false);
    int64_t expected = 0;
    for (const RmStreamInfo& m : s.file.streams) expected += int64_t(double(m.avgBitRate) * m.duration * 0.000125);
    EXPECT_EQ(writer->EstimatedSize(), expected);
    EXPECT_GT(expected, 0);
}

// Resuming: the file of an interrupted download is continued and the server replays from a
// second before the last packet; the result must be the whole file, no packet twice. Audio and
// video share time stamps in these files, so matching on the time stamp alone would lose some.
TEST(FmtRM, ResumeContinuesWithoutAPacketTwiceOrLost) {
    struct Case {
        const char* name;
        bool finished;   // the first run ended with Finish (stopped) or not (crashed)
        size_t tornBytes;  // a last packet cut short by this many bytes
    };
    const Case cases[] = {{"stopped", true, 0}, {"crashed", false, 0}, {"torn packet", false, 5}};
    for (const Source& s : Sources()) {
        // Cut after the first packet too: in av.rm it is the video packet at 0 ms, and the audio
        // packet at 0 ms follows it.
        for (const size_t half : {size_t(1), s.file.packets.size() / 2})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(s.name) + " " + c.name + " cut at " + std::to_string(half));
            MemoryFile file;
            {
                auto writer = NewWriter();
                writer->Open(&file, s.stream.sdp.c_str(), false);
                ASSERT_EQ(WriteRange(*writer, s.file, 0, half), ResultSuccess);
                if (c.finished) writer->Finish();
            }
            if (c.tornBytes) {
                // The headers already count the next packet, but only part of it reached the disk.
                auto writer = NewWriter();
                MemoryFile copy = file;
                writer->Open(&copy, s.stream.sdp.c_str(), true);
                // A continued file takes new packets only after the ones it holds came again.
                ASSERT_EQ(WriteRange(*writer, s.file, 0, half + 1), ResultSuccess);
                ASSERT_EQ(writer->PacketCount(), half + 1);
                file.bytes = copy.bytes;
                file.bytes.resize(file.bytes.size() - c.tornBytes);
            }
            const uint32_t resumeFrom = s.file.packets[half - 1].timestamp;
            size_t replay = 0;
            while (s.file.packets[replay].timestamp + 1000 < resumeFrom) ++replay;
            auto writer = NewWriter();
            writer->Open(&file, s.stream.sdp.c_str(), true);
            EXPECT_TRUE(writer->Continued());
            ASSERT_EQ(WriteRange(*writer, s.file, replay, s.file.packets.size()), ResultSuccess);
            ASSERT_TRUE(writer->Finish());
            const RmFile written = ReadRmFile(file.bytes);
            ASSERT_EQ(written.error, "");
            EXPECT_EQ(written.packets, s.file.packets);
            EXPECT_EQ(written.dataCount, s.file.packets.size());
            ExpectIndexAtKeyFrames(written);
            EXPECT_EQ(file.bytes, WriteWhole(s));
        }
    }
}

// A file to resume that is not one of ours, or that lies about its lengths, is started afresh
// (and the attempt ends: a packet length under 12 once made the reader loop for ever).
TEST(FmtRM, ResumeOfAForeignOrBrokenFileStartsAfresh) {
    const Source& s = Sources()[0];
    const Bytes good = WriteWhole(s);
    auto patched = [&](size_t at, std::initializer_list<uint8_t> bytes) {
        Bytes b = good;
        std::copy(bytes.begin(), bytes.end(), b.begin() + at);
        return b;
    };
    const RmFile parsed = ReadRmFile(good);
    const size_t firstPacket = parsed.dataOffset + 18;
    const size_t mdprSizeAt = 18 + 50 + 18 + parsed.title.size() + parsed.author.size() + parsed.copyright.size() + 4;
    struct Case {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        {"not RealMedia", Bytes(60000, 0x5A)},
        {"data offset past the end", patched(60, {0x7F, 0xFF, 0xFF, 0xF0})},
        {"stream count not the header count", patched(64, {0x00, 0x07})},
        {"MDPR size one too large", patched(mdprSizeAt + 3, {uint8_t(good[mdprSizeAt + 3] + 1)})},
        {"title longer than CONT", patched(78, {0xFF, 0xFF})},
        {"ffmpeg's own file", ReadAll(MediaDir() + "av.rm")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryFile file;
        file.bytes = c.bytes;
        auto writer = NewWriter();
        writer->Open(&file, s.stream.sdp.c_str(), true);
        if (std::string(c.name) == "ffmpeg's own file") {
            // Foreign but sound: continued, and nothing of it is written again.
            EXPECT_TRUE(writer->Continued());
            EXPECT_EQ(WriteRange(*writer, s.file, 0, s.file.packets.size()), ResultSuccess);
            EXPECT_EQ(writer->PacketCount(), s.file.packets.size());
            continue;
        }
        EXPECT_FALSE(writer->Continued());
        ASSERT_EQ(WriteRange(*writer, s.file, 0, s.file.packets.size()), ResultSuccess);
        ASSERT_TRUE(writer->Finish());
        EXPECT_EQ(file.bytes, good);
    }
    // Lengths under 12, or past the file, end the walk where the sound packets end.
    for (uint8_t length : {0, 4, 11}) {
        MemoryFile file;
        file.bytes = patched(firstPacket + 2 + parsed.packets[0].data.size() + 12, {0, length});
        auto writer = NewWriter();
        writer->Open(&file, s.stream.sdp.c_str(), true);
        EXPECT_TRUE(writer->Continued());
        EXPECT_EQ(writer->PacketCount(), 1u) << int(length);
    }
}

TEST(FmtRM, UnitsThatDoNotFitAreDropped) {
    const Source& s = Sources()[0];
    const RmPacket& p = s.file.packets[0];
    struct Case {
        const char* name;
        std::string unit;
    };
    std::string beyondStreams = WriterUnit(p);
    beyondStreams[4] = char(5 << 1);  // stream 5 of 2
    std::string longerThanUnit = WriterUnit(p);
    longerThanUnit[2] = char(0xFF);
    longerThanUnit[3] = char(0xFF);
    const Case cases[] = {
        {"stream beyond the description", beyondStreams},
        {"length beyond the unit", longerThanUnit},
        {"shorter than a unit header", std::string("$\0\0\0", 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryFile file;
        auto writer = NewWriter();
        writer->Open(&file, s.stream.sdp.c_str(), false);
        EXPECT_EQ(writer->WritePacket(&Unit(c.unit)), ResultSuccess);
        EXPECT_EQ(writer->PacketCount(), 0u);
        EXPECT_TRUE(file.bytes.empty());
    }
    // The longest data a packet can carry goes in; one byte more would wrap the length field.
    MemoryFile file;
    auto writer = NewWriter();
    writer->Open(&file, s.stream.sdp.c_str(), false);
    RmPacket big = p;
    for (size_t size : {size_t(CFmtRM::kMaxPacketData), size_t(CFmtRM::kMaxPacketData) + 1}) {
        big.data.assign(size, 'z');
        EXPECT_EQ(writer->WritePacket(&Unit(WriterUnit(big))), ResultSuccess);
    }
    const RmFile written = ReadRmFile(file.bytes);
    ASSERT_EQ(written.packets.size(), 1u);
    EXPECT_EQ(written.packets[0].data.size(), size_t(CFmtRM::kMaxPacketData));
}

TEST(FmtRM, AFileThatRefusesBytesIsAFileError) {
    const Source& s = Sources()[0];
    MemoryFile file;
    auto writer = NewWriter();
    writer->Open(&file, s.stream.sdp.c_str(), false);
    ASSERT_EQ(WriteRange(*writer, s.file, 0, 3), ResultSuccess);
    file.refuseWrites = true;
    EXPECT_EQ(writer->WritePacket(&Unit(WriterUnit(s.file.packets[3]))), ResultFileError);
    EXPECT_FALSE(writer->Finish());
}

// With no packet at all (a stop during the handshake), the file is still a valid empty one.
TEST(FmtRM, FinishWithoutPacketsWritesAnEmptyFile) {
    for (const Source& s : Sources()) {
        SCOPED_TRACE(s.name);
        MemoryFile file;
        auto writer = NewWriter();
        writer->Open(&file, s.stream.sdp.c_str(), false);
        ASSERT_TRUE(writer->Finish());
        const RmFile written = ReadRmFile(file.bytes);
        ASSERT_EQ(written.error, "");
        EXPECT_EQ(written.dataCount, 0u);
        EXPECT_EQ(written.streams.size(), s.file.streams.size());
        ASSERT_EQ(written.index.size(), s.file.streams.size());
        for (const RmIndexChunk& chunk : written.index) EXPECT_TRUE(chunk.entries.empty());
    }
}

// Descriptions as servers send them, each showing one rule of the header building.
TEST(FmtRM, HeadersFromOddDescriptions) {
    const std::string opaque = "a=OpaqueData:buffer;\"";
    struct Case {
        const char* name;
        std::string sdp;
        size_t streams;
        uint32_t duration0;
        std::string name0;
        std::string typeData0;
        std::string title;
    };
    // A multi-rate block: rule count 2, rule-to-sub-stream map {0, 1}, then two sub-streams.
    std::string mlti = "MLTI";
    mlti += std::string("\0\x02\0\0\0\x01", 6);
    mlti += std::string("\0\x02", 2);
    mlti += std::string("\0\0\0\x03", 4) + "one" + std::string("\0\0\0\x03", 4) + "two";
    const std::string longName(300, 'n');
    const Case cases[] = {
        {"no media line", "v=0\r\na=Title:buffer;\"VGl0bGUA\"\r\n", 0, 0, "", "", ""},
        {"m= inside a value is no section", "v=0\r\nm=audio 0\r\na=StreamName:string;\"am=x\"\r\n" +
             opaque + "bm=\"\r\n", 1, 0, "am=x", "n", ""},
        {"empty title decodes to nothing", "a=Title:buffer;\"\"\r\nm=audio 0\r\n", 1, 0, "", "", ""},
        {"title keeps all but its NUL", "a=Title:buffer;\"VGl0bGUA\"\r\nm=audio\r\n", 1, 0, "", "", "Title"},
        {"length in npt, read without the locale", "m=audio\r\na=length:npt=12.3456\r\n", 1, 12345, "", "", ""},
        {"name over 255 bytes is cut", "m=audio\r\na=StreamName:string;\"" + longName + "\"\r\n", 1, 0,
         longName.substr(0, 255), "", ""},
        {"multi-rate data: the rule's sub-stream", "m=video\r\n" + opaque + Base64EncodeText(mlti) +
             "\"\r\na=ASMRuleBook:string;\"#($Bandwidth < 50),OnDepend=\\\"1\\\";\"\r\n", 1, 0, "", "two", ""},
        // The description's numbers read as every number of the engine does: a '+' is a sign.
        {"multi-rate data: a signed rule number", "m=video\r\n" + opaque + Base64EncodeText(mlti) +
             "\"\r\na=ASMRuleBook:string;\"#($Bandwidth < 50),OnDepend=\\\"+1\\\";\"\r\n", 1, 0, "", "two", ""},
        {"multi-rate data with a map past its end", "m=video\r\n" + opaque + Base64EncodeText(mlti) +
             "\"\r\na=x:\"OnDepend=\\\"9\\\"\"\r\n", 1, 0, "", mlti, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryFile file;
        auto writer = NewWriter();
        writer->Open(&file, c.sdp.c_str(), false);
        ASSERT_TRUE(writer->Finish());
        const RmFile written = ReadRmFile(file.bytes);
        ASSERT_EQ(written.error, "");
        EXPECT_EQ(written.headerCount, c.streams + 4);
        EXPECT_EQ(written.title, c.title);
        ASSERT_EQ(written.streams.size(), c.streams);
        if (c.streams == 0) continue;
        EXPECT_EQ(written.streams[0].duration, c.duration0);
        EXPECT_EQ(written.streams[0].name, c.name0);
        if (std::string(c.name) != "m= inside a value is no section") {
            EXPECT_EQ(written.streams[0].typeData, c.typeData0);
        }
    }
}

TEST(FmtRM, NptSecondsAsMilliseconds) {
    struct Case {
        const char* text;
        uint32_t ms;
    };
    const Case cases[] = {{"3.030000", 3030}, {"12", 12000}, {" 0.0019", 1}, {"", 0},
                          {"-5.0", 0},        {"99999999999", UINT32_MAX}, {"1,5", 1000}};
    for (const Case& c : cases) EXPECT_EQ(CFmtRM::ParseNptMs(c.text), c.ms) << c.text;
}

// Without a length in the description, each stream's duration follows its packets.
TEST(FmtRM, DurationFollowsThePacketsWithoutALength) {
    const Source& s = Sources()[0];
    std::string sdp = s.stream.sdp;
    for (size_t at; (at = sdp.find("a=length:npt=")) != std::string::npos;) sdp.erase(at, sdp.find('\n', at) - at + 1);
    MemoryFile file;
    auto writer = NewWriter();
    writer->Open(&file, sdp.c_str(), false);
    ASSERT_EQ(WriteRange(*writer, s.file, 0, s.file.packets.size()), ResultSuccess);
    const RmFile written = ReadRmFile(file.bytes);
    for (size_t i = 0; i < written.streams.size(); ++i) {
        uint32_t last = 0;
        for (const RmPacket& p : s.file.packets)
            if (p.stream == i) last = p.timestamp;
        EXPECT_EQ(written.streams[i].duration, last);
    }
}

#ifndef _WIN32
std::string PacketCrcs(const std::string& path) { return Framecrc(path, "-map 0 -c copy"); }

TEST(FmtRM, FfmpegReadsTheWrittenFileAsTheOriginal) {
    TempDir dir;
    for (const Source& s : Sources()) {
        SCOPED_TRACE(s.name);
        const std::string expected = PacketCrcs(MediaDir() + s.name);
        EXPECT_GT(size_t(std::count(expected.begin(), expected.end(), '\n')), s.file.packets.size() - 1);
        // Through the real output file, as the downloader writes it.
        const std::string path = dir.File(std::string("written-") + s.name);
        {
            sys::BinaryFile out;
            ASSERT_TRUE(out.Open(path, false));
            OutputFileView view(out);
            auto writer = NewWriter();
            writer->Open(&view, s.stream.sdp.c_str(), false);
            ASSERT_EQ(WriteRange(*writer, s.file, 0, s.file.packets.size()), ResultSuccess);
            ASSERT_TRUE(writer->Finish());
        }
        EXPECT_EQ(PacketCrcs(path), expected);
        // A partial file (no index yet) reads as the packets so far.
        const std::string partial = dir.File(std::string("partial-") + s.name);
        WriteAll(partial, WriteWhole(s, false));
        EXPECT_EQ(PacketCrcs(partial), expected);
    }
}

// ffmpeg seeks through the index: seeking the written file lands where seeking the original does.
TEST(FmtRM, FfmpegSeeksTheWrittenFileThroughItsIndex) {
    TempDir dir;
    const Source& s = Sources()[0];
    const std::string path = dir.File("written.rm");
    WriteAll(path, WriteWhole(s));
    for (const char* seek : {"-ss 1", "-ss 2"}) {
        SCOPED_TRACE(seek);
        const std::string expected = Framecrc(MediaDir() + "av.rm", "-map 0:v -c copy", seek);
        EXPECT_GT(std::count(expected.begin(), expected.end(), '\n'), 3);
        EXPECT_EQ(Framecrc(path, "-map 0:v -c copy", seek), expected);
    }
}
#endif

}  // namespace
