// Resume of an ASF download on each MMS transport against the fixture servers replaying real
// packets made by ffmpeg (WMV2, where most neighbouring packets share a send time). The file on
// disk is what a killed run leaves (header, whole packets, maybe a torn one, no index, the record
// written when receiving began) or what a stalled run left; the resumed file must equal the file of
// an unbroken download byte for byte: header, every packet once, index. One table of cases, run
// over each transport.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DownBase.h"
#include "Factories.h"
#include "FileBytes.h"
#include "FixtureServer.h"
#include "MmsHttpFramer.h"
#include "MmsTcpFixture.h"
#include "RecordingSink.h"
#include "RtspFixture.h"
#include "ScopedEngineTimeOut.h"
#include "TempDir.h"
#include "sys/FileSystem.h"

namespace {

using Maker = IEngineObject*(FK_STDCALL*)();

const AsfMedia& Source() {
    static const AsfMedia media = AsfMedia::FromFile(MediaPath("av-runs.wmv"));
    return media;
}

// Another stream of the same make: a file of it must never be continued with Source's packets.
const AsfMedia& Other() {
    static const AsfMedia media = AsfMedia::FromFile(MediaPath("av-long.wmv"));
    return media;
}

uint32_t SendTime(size_t i) { return AsfMedia::SendTime(Source().packets.at(i)); }

// Where a kill leaves the file: the first k from `from` on whose packet shares its send time with
// the one before it (a break inside a run), or does not.
size_t Break(size_t from, bool insideRun) {
    for (size_t k = from; k < Source().packets.size(); ++k) {
        if ((SendTime(k - 1) == SendTime(k)) == insideRun) return k;
    }
    return 0;
}

constexpr size_t kFrom = 60;  // more than 51200 bytes on disk: the next run resumes

// The file a run killed while receiving leaves: no index, its record as written when receiving
// began, the last packet maybe torn.
void LeaveKilledFile(const std::string& path, int kind, const AsfMedia& media, size_t packets, size_t torn) {
    std::string bytes = media.header;
    for (size_t i = 0; i < packets; ++i) bytes += media.packets[i];
    bytes += media.packets.at(packets).substr(0, torn);
    WriteFileBytes(path, bytes);
    WriteFileBytes(path + ".ini", std::to_string(kind) + "\r\n0\r\n0");
}

int32_t RunOnce(Maker make, const std::string& url, const std::string& local, RecordingSink& sink) {
    EnginePtr<CDownBase> d(static_cast<CDownBase*>(make()));
    d->SetUrl(url.c_str(), local.c_str());
    return d->Run(&sink);
}

MmsTcpFixture::Media TcpMedia(const AsfMedia& media) {
    MmsTcpFixture::Media m;
    m.header.assign(media.header.begin(), media.header.end());
    for (const std::string& p : media.packets) m.packets.emplace_back(p.begin(), p.end());
    return m;
}

// Options of a server, for the fixture type of its transport.
using ServerOptions = std::function<void(void*)>;

template <typename Fixture>
ServerOptions OptionsOf(std::function<void(Fixture&)> set) {
    return [set](void* s) { set(*static_cast<Fixture*>(s)); };
}

// A started server of one transport, serving its media until it goes.
class Served {
public:
    virtual ~Served() = default;
    virtual std::string Url() const = 0;
    // What the requests of the run against it show: the stream asked from the point the file on
    // disk reached, or (fromStart) from its beginning.
    virtual void ExpectAsked(bool fromStart) const = 0;
};

class TcpServed final : public Served {
public:
    TcpServed(const AsfMedia& media, const ServerOptions& options) : server_(TcpMedia(media)) {
        if (options) options(&server_);
        server_.Start();
    }
    std::string Url() const override { return server_.Url("av-runs.wmv"); }
    void ExpectAsked(bool fromStart) const override {
        if (fromStart) {
            EXPECT_EQ(server_.StartTimeMs(), 0u);
            EXPECT_EQ(server_.PacketsAsked(), 0u);
            return;
        }
        EXPECT_EQ(server_.Connections(), 1);
        EXPECT_GT(server_.PacketsAsked(), 0u);
        // Asked from before the last packet on disk, by time and by packet number alike.
        EXPECT_LT(server_.StartTimeMs(), SendTime(server_.PacketsAsked()) + 1);
    }

private:
    MmsTcpFixture server_;
};

class RtspServed final : public Served {
public:
    RtspServed(const AsfMedia& media, const ServerOptions& options) : server_(media) {
        if (options) options(&server_);
        server_.Start();
    }
    std::string Url() const override { return server_.Url("av-runs.wmv"); }
    void ExpectAsked(bool fromStart) const override {
        const auto plays = server_.Requests("PLAY");
        ASSERT_EQ(plays.size(), 1u);
        EXPECT_EQ(plays[0].find("Range: npt=0.000-\r\n") != std::string::npos, fromStart) << plays[0];
    }

private:
    RtspFixture server_;
};

// The options are the framer's.
class HttpServed final : public Served {
public:
    HttpServed(const AsfMedia& media, const ServerOptions& options) {
        MmsHttpFramer::Options framing;
        if (options) options(&framing);
        MmsHttpFramer(media, framing).AddTo(server_);
        server_.Start();
    }
    std::string Url() const override { return server_.Url("/av-runs.wmv"); }
    void ExpectAsked(bool fromStart) const override {
        // The request asks from the file's point; for another stream's file a second one asks
        // from the start.
        ASSERT_EQ(server_.Connections(), fromStart ? 2 : 1);
        EXPECT_GT(MmsHttpFramer::StreamTime(server_.Received(0)), 0u);
        if (fromStart) {
            EXPECT_EQ(MmsHttpFramer::StreamTime(server_.Received(1)), 0u);
        }
    }

private:
    FixtureServer server_;
};

// A case of the table: the file left on disk, and how the server behaves on the next try.
struct Case {
    const char* name;
    size_t packets;         // whole packets on disk; 0: a first run against the server stalls instead
    size_t torn;            // bytes of the next packet after them
    bool otherStream;       // the file holds packets of another stream
    ServerOptions server;   // options of the resumed run's server
    bool startsAfresh;      // the resumed run must ask for the stream from its start
};

// One MMS transport as the resume cases meet it.
struct Transport {
    const char* name;
    Maker make;
    int kind;  // the protocol kind its resume record names
    std::function<std::unique_ptr<Served>(const AsfMedia&, const ServerOptions&)> serve;
    ServerOptions stall;      // a server that stops after Break(kFrom, true) packets and holds on
    std::vector<Case> extra;  // the cases of this transport's servers only
};

template <typename S>
std::unique_ptr<Served> Serve(const AsfMedia& media, const ServerOptions& options) {
    return std::make_unique<S>(media, options);
}

Transport OverTcp() {
    const auto seekByPacket = OptionsOf<MmsTcpFixture>([](MmsTcpFixture& s) { s.seekByPacket = true; });
    return {"MMS over TCP", NEW_DOWNMMS1755, KindMms1755, Serve<TcpServed>,
            OptionsOf<MmsTcpFixture>([](MmsTcpFixture& s) {
                s.endAfter = int(Break(kFrom, true));
                s.sendEnd = false;
            }),
            {
                {"a server that seeks by packet number", Break(kFrom, true), 0, false, seekByPacket, false},
                {"a server that starts past the point asked", Break(kFrom, true), 0, false,
                 OptionsOf<MmsTcpFixture>([](MmsTcpFixture& s) { s.startLate = 40; }), true},
                {"a stall, then the resume", 0, 0, false, seekByPacket, false},
            }};
}

Transport OverRtsp() {
    return {"MMS over RTSP", NEW_DOWNMMS554, KindMms554, Serve<RtspServed>,
            OptionsOf<RtspFixture>([](RtspFixture& s) {
                s.Set().stopAfter = Break(kFrom, true);
                s.Set().end = RtspFixture::Options::End::Hold;
            }),
            {
                {"RTP time stamps of another base than the send times", Break(kFrom, true), 0, false,
                 OptionsOf<RtspFixture>([](RtspFixture& s) { s.Set().rtpBase = 300000; }), false},
                {"a stall, then the resume", 0, 0, false, {}, false},
            }};
}

Transport OverHttp() {
    return {"MMS over HTTP", NEW_DOWNMMS80, KindMms80, Serve<HttpServed>,
            OptionsOf<MmsHttpFramer::Options>([](MmsHttpFramer::Options& o) {
                o.stopAfter = Break(kFrom, true);
                o.holdOpenMs = 4000;
            }),
            {
                {"a stall, then the resume", 0, 0, false, {}, false},
            }};
}

class MmsResume : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Source().Ok());
        ASSERT_GT(Break(kFrom, true), 0u);
        ASSERT_GT(Break(kFrom, false), 0u);
    }

    // The file an unbroken download of Source writes over the transport.
    std::string Unbroken(const Transport& t) {
        const std::unique_ptr<Served> clean = t.serve(Source(), {});
        const std::string local = dir_.File("unbroken.asf");
        sys::RemoveFile(local);  // another transport's
        RecordingSink sink;
        EXPECT_EQ(RunOnce(t.make, clean->Url(), local, sink), ResultSuccess) << sink.LogText();
        return ReadFileBytes(local);
    }

    // The whole file the engine wrote matches Source packet by packet, then the unbroken file.
    void ExpectWhole(const std::string& local, const std::string& unbroken) {
        const AsfMedia got = AsfMedia::FromFile(local);
        ASSERT_EQ(got.packets.size(), Source().packets.size());
        for (size_t i = 0; i < got.packets.size(); ++i) {
            ASSERT_EQ(got.packets[i], Source().packets[i]) << "packet " << i;
        }
        EXPECT_TRUE(ReadFileBytes(local) == unbroken) << "header, Data Object or index differ";
        EXPECT_FALSE(sys::FileExists(local + ".ini"));
    }

    // The cases every transport meets, then the transport's own.
    static std::vector<Case> Cases(const Transport& t) {
        std::vector<Case> all = {
            {"break between packets of different send times", Break(kFrom, false), 0, false, {}, false},
            {"break inside a run of equal send times", Break(kFrom, true), 0, false, {}, false},
            {"a later break inside a run", Break(Break(kFrom, true) + 20, true), 0, false, {}, false},
            {"a torn packet after a run's first", Break(kFrom, true), 1500, false, {}, false},
            {"a file of another stream", 20, 0, true, {}, true},
        };
        all.insert(all.end(), t.extra.begin(), t.extra.end());
        return all;
    }

    // Every case over one transport; a failed check ends only that transport's cases.
    void ResumeOver(const Transport& t) {
        const std::string unbroken = Unbroken(t);
        for (const Case& c : Cases(t)) {
            SCOPED_TRACE(c.name);
            const std::string local = dir_.File("resumed.asf");
            sys::RemoveFile(local);
            if (c.packets == 0) {
                const std::unique_ptr<Served> stall = t.serve(Source(), t.stall);
                RecordingSink first;
                EXPECT_EQ(RunOnce(t.make, stall->Url(), local, first), ResultTimeOut);
            } else {
                LeaveKilledFile(local, t.kind, c.otherStream ? Other() : Source(), c.packets, c.torn);
            }
            const std::unique_ptr<Served> server = t.serve(Source(), c.server);
            RecordingSink sink;
            ASSERT_EQ(RunOnce(t.make, server->Url(), local, sink), ResultSuccess) << sink.LogText();
            ExpectWhole(local, unbroken);
            server->ExpectAsked(c.startsAfresh);
        }
    }

    ScopedEngineTimeOut timeOut_{2};
    TempDir dir_;
};

TEST_F(MmsResume, ResumedFileEqualsTheUnbrokenOneOnEveryTransport) {
    for (const Transport& t : {OverTcp(), OverRtsp(), OverHttp()}) {
        SCOPED_TRACE(t.name);
        ResumeOver(t);
    }
}

}  // namespace

namespace {

// A broadcast cannot go back: a recording resumed after it moved on keeps the one gap, and the log
// says where it is. The file is the packets before the break, then the stream from where it went on.
TEST_F(MmsResume, BroadcastThatMovedOnLeavesOneGapThatTheLogReports) {
    AsfMedia live = Source();
    const size_t flags = live.header.find(std::string("\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11", 8)) + 88;
    ASSERT_LT(flags, live.header.size());
    live.header[flags] = char(live.header[flags] | 1);  // the Broadcast flag
    const size_t kept = Break(kFrom, true);
    const std::string local = dir_.File("live.asf");
    LeaveKilledFile(local, KindMms1755, live, kept, 300);
    MmsTcpFixture server(TcpMedia(live));
    server.startLate = 40;
    server.Start();
    RecordingSink sink;
    ASSERT_EQ(RunOnce(NEW_DOWNMMS1755, server.Url("live"), local, sink), ResultSuccess) << sink.LogText();
    const size_t resumedAt = server.FirstPacketSent();
    ASSERT_GT(resumedAt, kept);
    char gap[160];
    std::snprintf(gap, sizeof gap, "the recording has a gap after packet %u (send time %u ms) up to send time %u ms",
                  unsigned(kept), SendTime(kept - 1), SendTime(resumedAt));
    EXPECT_NE(sink.LogText().find(gap), std::string::npos) << sink.LogText();
    const AsfMedia got = AsfMedia::FromFile(local);
    std::vector<std::string> expected(live.packets.begin(), live.packets.begin() + long(kept));
    expected.insert(expected.end(), live.packets.begin() + long(resumedAt), live.packets.end());
    EXPECT_TRUE(got.packets == expected);
}

}  // namespace

namespace {

// Servers that do not simply send the stream: they end a resumed stream at once or after a few
// packets the file holds, send a packet twice (at the start, in the middle, at the end), send a
// unit with no packet in it, or name a packet size below that of their packets. A try may
// succeed only with the whole stream, each packet once; one that fails leaves the packets on disk
// as they were and resumable, and a try against a clean server then finishes the file.
struct Hostile {
    const char* name;
    size_t onDisk;                      // whole packets a killed run left; 0: a first try
    ServerOptions server;               // options of the hostile server
    bool fails;
    const char* logLine;                // what the try's log must say, once (null: nothing asked)
    bool shortHeader = false;           // the header's packet size is a byte below the packets'
};

// The stream with a header whose Maximum Data Packet Size is a byte short.
AsfMedia WithShortHeader(AsfMedia media) {
    const size_t at = media.header.find(std::string("\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11", 8)) + 96;
    uint32_t size = 0;
    for (int i = 3; i >= 0; --i) size = size << 8 | uint8_t(media.header.at(at + size_t(i)));
    --size;
    for (int i = 0; i < 4; ++i) media.header[at + size_t(i)] = char(size >> (8 * i));
    return media;
}

class MmsHostile : public MmsResume {
protected:
    // One try against a started server of the media with the options (none for a clean one).
    static int32_t Try(const Transport& t, const AsfMedia& media, const ServerOptions& options,
                       const std::string& local, RecordingSink& sink) {
        const std::unique_ptr<Served> server = t.serve(media, options);
        return RunOnce(t.make, server->Url(), local, sink);
    }

    void RunCases(const std::vector<Hostile>& cases, const Transport& t) {
        const std::string unbroken = Unbroken(t);
        for (const Hostile& c : cases) {
            SCOPED_TRACE(c.name);
            const std::string local = dir_.File("hostile.asf");
            sys::RemoveFile(local);
            sys::RemoveFile(local + ".ini");
            if (c.onDisk) LeaveKilledFile(local, t.kind, Source(), c.onDisk, 0);
            RecordingSink sink;
            const int32_t code = Try(t, c.shortHeader ? WithShortHeader(Source()) : Source(), c.server, local, sink);
            if (c.logLine) {
                const std::string log = sink.LogText();
                const size_t at = log.find(c.logLine);
                EXPECT_NE(at, std::string::npos) << log;
                EXPECT_EQ(log.find(c.logLine, at + 1), std::string::npos) << "said more than once: " << log;
            }
            if (!c.fails) {
                ASSERT_EQ(code, ResultSuccess) << sink.LogText();
                ExpectWhole(local, unbroken);
                continue;
            }
            EXPECT_EQ(code, ResultReceiveError) << sink.LogText();
            EXPECT_TRUE(sys::FileExists(local + ".ini"));
            const AsfMedia got = AsfMedia::FromFile(local);
            if (c.onDisk) {
                ASSERT_EQ(got.packets.size(), c.onDisk);
                for (size_t i = 0; i < c.onDisk; ++i) ASSERT_EQ(got.packets[i], Source().packets[i]) << "packet " << i;
            }
            RecordingSink again;
            ASSERT_EQ(Try(t, Source(), {}, local, again), ResultSuccess) << again.LogText();
            ExpectWhole(local, unbroken);
        }
    }

    // The cases every transport meets, the behaviours given as its fixture's options.
    struct Behaviour {
        std::function<ServerOptions(size_t)> repeatAt;  // packet i sent twice
        ServerOptions emptyUnit;
        std::function<ServerOptions(size_t)> endAfter;  // the end after k packets
    };
    std::vector<Hostile> CommonCases(const Behaviour& b) {
        const size_t n = Source().packets.size();
        const size_t onDisk = Break(kFrom, false);
        const char* shortEnd = "The stream ended before all its packets arrived";
        return {
            {"a packet twice at the start", 0, b.repeatAt(0), false, nullptr},
            {"a packet twice in the middle", 0, b.repeatAt(n / 2), false, nullptr},
            {"the last packet twice", 0, b.repeatAt(n - 1), false, nullptr},
            {"a unit with no packet in it", 0, b.emptyUnit, false, "A data unit too short to hold a packet was dropped"},
            {"a resumed stream that ends at once", onDisk, b.endAfter(0), true, shortEnd},
            {"a resumed stream that ends after a few packets on disk", onDisk, b.endAfter(3), true, shortEnd},
            {"a header whose packet size is below the packets'", 0, {}, true, "larger than the stream's packet size",
             true},
        };
    }
};

TEST_F(MmsHostile, OverTcp) {
    using Tcp = MmsTcpFixture;
    Behaviour b;
    b.repeatAt = [](size_t i) { return OptionsOf<Tcp>([i](Tcp& s) { s.repeatPackets = {i}; }); };
    b.emptyUnit = OptionsOf<Tcp>([](Tcp& s) {
        s.editUnit = [](size_t i, Tcp::Bytes& unit) {
            if (i != 5 && i != 9) return;
            const Tcp::Bytes empty = Tcp::Unit(4, 0, {}, uint32_t(i + 1));
            unit.insert(unit.end(), empty.begin(), empty.end());
        };
    });
    b.endAfter = [](size_t k) { return OptionsOf<Tcp>([k](Tcp& s) { s.endAfter = int(k); }); };
    RunCases(CommonCases(b), OverTcp());
}

TEST_F(MmsHostile, OverRtsp) {
    Behaviour b;
    b.repeatAt = [](size_t i) { return OptionsOf<RtspFixture>([i](RtspFixture& s) { s.Set().repeatPackets = {i}; }); };
    // Two RTP frames that end with their 4-byte ASF payload header.
    b.emptyUnit = OptionsOf<RtspFixture>([](RtspFixture& s) {
        const std::string empty = std::string("$\x00\x00\x10\x80\xE0\x00\x01", 8) + std::string(8, '\0') +
                                  std::string("\x40\x00\x00\x04", 4);
        s.Set().injectAfterFirst = empty + empty;
    });
    b.endAfter = [](size_t k) { return OptionsOf<RtspFixture>([k](RtspFixture& s) { s.Set().stopAfter = k; }); };
    RunCases(CommonCases(b), OverRtsp());
}

TEST_F(MmsHostile, OverHttp) {
    using Framing = MmsHttpFramer::Options;
    Behaviour b;
    b.repeatAt = [](size_t i) { return OptionsOf<Framing>([i](Framing& o) { o.repeatPackets = {i}; }); };
    // A $D chunk of length 8 ends the stream; a byte or three of packet are no packet.
    b.emptyUnit = OptionsOf<Framing>([](Framing& o) {
        o.extraChunk = MmsHttpFramer::Chunk('D', "\x82", 1) + MmsHttpFramer::Chunk('D', std::string("\x82\0\0", 3), 2);
    });
    b.endAfter = [](size_t k) {
        return OptionsOf<Framing>([k](Framing& o) {
            o.stopAfter = k;
            o.endAtStop = true;
        });
    };
    RunCases(CommonCases(b), OverHttp());
}

}  // namespace
