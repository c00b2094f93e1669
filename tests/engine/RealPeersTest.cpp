// Downloads from real servers of the distribution, started on 127.0.0.1 and free ports with
// configurations written to a temporary folder: lighttpd (plain, range, Basic authentication,
// redirect), Python's http.server (a server that ignores ranges), tinyproxy (the proxy path) and
// VLC's stream output (MMS over HTTP).
// The Windows build cannot start these programs from inside Wine; its runs use the scripted server.
#include <gtest/gtest.h>

#if !defined(_WIN32)

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "AsfParser.h"
#include "CommandOutput.h"
#include "DownHTTP.h"
#include "EngineSettings.h"
#include "Factories.h"
#include "Fetchkeeper.h"
#include "FileBytes.h"
#include "MmsHttpFramer.h"
#include "RecordingSink.h"
#include "TempDir.h"
#include "WaitItem.h"
#include "sys/Socket.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

uint64_t Checksum(const std::string& bytes) {
    uint64_t hash = 1469598103934665603ull;  // FNV-1a
    for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

int FreePort() {
    sys::TcpListener probe;
    return probe.Listen("127.0.0.1", 0) ? probe.Port() : 0;
}

bool Accepts(int port) {
    sys::TcpSocket s;
    return s.StartConnect("127.0.0.1", port) && s.Wait(1, 200) == sys::WaitResult::Ready && s.ConnectSucceeded();
}

// A server process for the length of a test.
class Peer {
public:
    Peer(std::vector<std::string> args, int port) {
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(&a[0]);
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        while (pid_ > 0 && !Accepts(port) && Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ready_ = pid_ > 0 && Accepts(port);
    }
    ~Peer() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        int status;
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        while (waitpid(pid_, &status, WNOHANG) == 0) {
            if (Clock::now() > deadline) {
                kill(pid_, SIGKILL);
                waitpid(pid_, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    bool Ready() const { return ready_; }

private:
    pid_t pid_ = -1;
    bool ready_ = false;
};

class RealPeers : public ::testing::Test {
protected:
    void SetUp() override {
        SetEngineTimeOut(10);
        SetEngineProxy(EngineProxy{});
        std::filesystem::create_directories(www_ + "/secret");
        std::mt19937_64 random(42);
        big_.resize(10 * 1024 * 1024);
        for (auto& c : big_) c = char(random());
        WriteFileBytes(www_ + "/big.bin", big_);
        WriteFileBytes(www_ + "/secret/private.bin", "only for joe");
        WriteFileBytes(server_.File("users"), "joe:pw\n");
        port_ = FreePort();
        const std::string conf = server_.File("lighttpd.conf");
        WriteFileBytes(conf, "server.document-root = \"" + www_ + "\"\n" +
                           "server.port = " + std::to_string(port_) + "\n" +
                           "server.bind = \"127.0.0.1\"\n"
                           "server.modules = ( \"mod_auth\", \"mod_authn_file\", \"mod_redirect\" )\n"
                           "server.errorlog = \"" + server_.File("error.log") + "\"\n"
                           "mimetype.assign = ( \".bin\" => \"application/x-test-data\" )\n"
                           "auth.backend = \"plain\"\n"
                           "auth.backend.plain.userfile = \"" + server_.File("users") + "\"\n"
                           "auth.require = ( \"/secret/\" => ( \"method\" => \"basic\", \"realm\" => \"r\", "
                           "\"require\" => \"valid-user\" ) )\n"
                           "url.redirect = ( \"^/moved\\.bin$\" => \"/big.bin\" )\n");
        lighttpd_ = std::make_unique<Peer>(std::vector<std::string>{"/usr/sbin/lighttpd", "-D", "-f", conf}, port_);
        ASSERT_TRUE(lighttpd_->Ready()) << ReadFileBytes(server_.File("error.log"));
    }
    void TearDown() override { SetEngineProxy(EngineProxy{}); }

    std::string Url(const std::string& path, int port = 0) const {
        return "http://127.0.0.1:" + std::to_string(port ? port : port_) + path;
    }

    int32_t Run(const std::string& url, const std::string& local, RecordingSink& sink) {
        EnginePtr<CDownBase> downloader(static_cast<CDownBase*>(NEW_DOWNHTTP()));
        downloader->SetUrl(url.c_str(), local.c_str());
        return downloader->Run(&sink);
    }

    TempDir server_, out_;
    std::string www_ = server_.File("www");
    std::string big_;
    int port_ = 0;
    std::unique_ptr<Peer> lighttpd_;
};

TEST_F(RealPeers, LighttpdServesTenMegabytesByteExact) {
    RecordingSink sink;
    const std::string local = out_.File("big.bin");
    EXPECT_EQ(Run(Url("/big.bin"), local, sink), ResultSuccess) << sink.LogText();
    EXPECT_EQ(Checksum(ReadFileBytes(local)), Checksum(big_));
    EXPECT_EQ(sink.totals.back(), int32_t(big_.size()));
}

TEST_F(RealPeers, LighttpdResumesWithARange) {
    const std::string local = out_.File("big.bin");
    WriteFileBytes(local, big_.substr(0, 3000000));
    WriteFileBytes(local + ".ini", "1\r\n0\r\n0");
    RecordingSink sink;
    EXPECT_EQ(Run(Url("/big.bin"), local, sink), ResultSuccess) << sink.LogText();
    EXPECT_EQ(Checksum(ReadFileBytes(local)), Checksum(big_));
    EXPECT_EQ(sink.progress.front(), 3000000);
    EXPECT_EQ(sink.totals.back(), int32_t(big_.size()));
}

TEST_F(RealPeers, WholeFileWithItsRecordStillBesideItFinishes) {
    // A kill between the last byte and the record's removal: lighttpd refuses the range without
    // naming the size, so the file is fetched again rather than failing for ever.
    const std::string local = out_.File("big.bin");
    WriteFileBytes(local, big_);
    WriteFileBytes(local + ".ini", "1\r\n0\r\n0");
    RecordingSink sink;
    EXPECT_EQ(Run(Url("/big.bin"), local, sink), ResultSuccess) << sink.LogText();
    EXPECT_EQ(Checksum(ReadFileBytes(local)), Checksum(big_));
    EXPECT_FALSE(std::filesystem::exists(local + ".ini"));
}

TEST_F(RealPeers, LighttpdAsksForCredentials) {
    RecordingSink without, with;
    EXPECT_EQ(Run(Url("/secret/private.bin"), out_.File("p1.bin"), without), ResultShakeHandError);
    EXPECT_EQ(without.failures, std::vector<std::string>{"SHAKE HAND ERROR"});
    const std::string withLogin = "http://joe:pw@127.0.0.1:" + std::to_string(port_) + "/secret/private.bin";
    EXPECT_EQ(Run(withLogin, out_.File("p2.bin"), with), ResultSuccess) << with.LogText();
    EXPECT_EQ(ReadFileBytes(out_.File("p2.bin")), "only for joe");
}

TEST_F(RealPeers, LighttpdRedirectIsFollowedThroughTheManager) {
    EnginePtr<CFetchkeeper> manager(static_cast<CFetchkeeper*>(NEW_FETCHKEEPER()));
    ASSERT_TRUE(manager->AddItem(Url("/moved.bin").c_str(), out_.Dir().c_str(), "moved.bin"));
    const DownItemInfo info = WaitItemSettled(*manager, manager->GetFirstItem(), std::chrono::seconds(30));
    EXPECT_EQ(info.state, DownFinished) << (info.logText ? info.logText : "");
    EXPECT_EQ(std::string(info.url), Url("/big.bin"));
    EXPECT_EQ(Checksum(ReadFileBytes(out_.File("big.bin"))), Checksum(big_));
}

TEST_F(RealPeers, ServerThatIgnoresTheRangeGivesTheWholeFileAfresh) {
    const int port = FreePort();
    Peer python({"/usr/bin/python3", "-m", "http.server", std::to_string(port), "--bind", "127.0.0.1",
                 "--directory", www_},
                port);
    ASSERT_TRUE(python.Ready());
    const std::string local = out_.File("big.bin");
    WriteFileBytes(local, std::string(100000, 'x'));
    WriteFileBytes(local + ".ini", "1\r\n0\r\n0");
    RecordingSink sink;
    EXPECT_EQ(Run(Url("/big.bin", port), local, sink), ResultSuccess) << sink.LogText();
    EXPECT_EQ(Checksum(ReadFileBytes(local)), Checksum(big_));
    EXPECT_EQ(sink.progress.front(), 100000);
    EXPECT_EQ(sink.progress.back(), int32_t(big_.size()));
}

TEST_F(RealPeers, TinyproxyCarriesTheRequestAndAnEmptyServerGoesDirect) {
    const int port = FreePort();
    const std::string conf = server_.File("tinyproxy.conf");
    const std::string log = server_.File("tinyproxy.log");
    WriteFileBytes(conf, "Port " + std::to_string(port) + "\nListen 127.0.0.1\nTimeout 30\nMaxClients 10\n"
                   "Allow 127.0.0.1\nLogLevel Info\nLogFile \"" + log + "\"\n");
    Peer proxy({"/usr/bin/tinyproxy", "-d", "-c", conf}, port);
    ASSERT_TRUE(proxy.Ready());

    SetEngineProxy(EngineProxy{"127.0.0.1", port, true});
    RecordingSink proxied;
    EXPECT_EQ(Run(Url("/big.bin"), out_.File("via.bin"), proxied), ResultSuccess) << proxied.LogText();
    EXPECT_EQ(Checksum(ReadFileBytes(out_.File("via.bin"))), Checksum(big_));
    EXPECT_NE(proxied.LogText().find("Connecting to 127.0.0.1 : " + std::to_string(port)), std::string::npos);
    EXPECT_NE(ReadFileBytes(log).find("GET " + Url("/big.bin") + " HTTP/1.1"), std::string::npos);

    SetEngineProxy(EngineProxy{"", port, true});
    RecordingSink direct;
    EXPECT_EQ(Run(Url("/secret/private.bin").replace(7, 0, "joe:pw@"), out_.File("direct.bin"), direct), ResultSuccess)
        << direct.LogText();
    EXPECT_EQ(ReadFileBytes(out_.File("direct.bin")), "only for joe");
    EXPECT_NE(direct.LogText().find("Connecting to 127.0.0.1 : " + std::to_string(port_)), std::string::npos);
    EXPECT_EQ(ReadFileBytes(log).find("private.bin"), std::string::npos);
}

// VLC's stream output serving a file made by ffmpeg as a live MMS-over-HTTP stream on a free
// port, for the length of a test.
class VlcBroadcast {
public:
    explicit VlcBroadcast(const std::string& name) : port_(FreePort()) {
        // VLC refuses to run as root: it runs as nobody, with a home and a media file it can read.
        chmod(home_.Dir().c_str(), 0777);
        const std::string media = home_.File(name);
        WriteFileBytes(media, ReadFileBytes(MediaPath(name)));
        chmod(media.c_str(), 0644);
        std::vector<std::string> args;
        if (geteuid() == 0) args = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
        for (const char* a : {"/usr/bin/env", "-u", "DISPLAY"}) args.push_back(a);
        args.push_back("HOME=" + home_.Dir());
        for (const char* a : {"/usr/bin/cvlc", "-q", "-I", "dummy", "--no-dbus"}) args.push_back(a);
        args.push_back(media);
        args.push_back("--sout");
        args.push_back("#std{access=mmsh,mux=asfh,dst=127.0.0.1:" + std::to_string(port_) + "}");
        args.push_back("vlc://quit");
        peer_ = std::make_unique<Peer>(args, port_);
    }
    bool Ready() const { return peer_->Ready(); }
    // Records the broadcast to local with the MMS-over-HTTP downloader: the run's result.
    int32_t Record(const std::string& local, RecordingSink& sink) const {
        EnginePtr<CDownBase> downloader(static_cast<CDownBase*>(NEW_DOWNMMS80()));
        downloader->SetUrl(("http://127.0.0.1:" + std::to_string(port_) + "/").c_str(), local.c_str());
        return downloader->Run(&sink);
    }

private:
    TempDir home_;
    int port_;
    std::unique_ptr<Peer> peer_;
};

// The parser over the header of an ASF file (Header Object and Data Object header), and the Header
// Object's size.
std::unique_ptr<CAsfParser> HeaderOf(const std::string& file, size_t* headerObject) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(file.data());
    if (file.size() < 100) return nullptr;
    *headerObject = size_t(bytes[16] | bytes[17] << 8 | bytes[18] << 16);
    return *headerObject + 50 <= file.size() ? CAsfParser::Create(bytes, *headerObject + 50) : nullptr;
}

// VLC streams a file made by ffmpeg as a live MMS-over-HTTP stream; the engine's file of it must
// be an indexed ASF file that ffmpeg reads and decodes without a fault.
TEST(RealPeerVlc, VlcStreamOverHttpBecomesAPlayableIndexedFile) {
    if (access("/usr/bin/cvlc", X_OK) != 0) {
        GTEST_SKIP() << "/usr/bin/cvlc is missing (Debian vlc-bin and vlc-plugin-base): no MMS-over-HTTP peer";
    }
    SetEngineTimeOut(10);
    TempDir out;
    VlcBroadcast vlc("av.wmv");
    ASSERT_TRUE(vlc.Ready());

    RecordingSink sink;
    const std::string local = out.File("vlc.asf");
    ASSERT_EQ(vlc.Record(local, sink), ResultSuccess) << sink.LogText();

    // Our reader: a header, whole packets, the Data Object's size and count set, an index behind.
    const std::string file = ReadFileBytes(local);
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(file.data());
    size_t headerObject = 0;
    auto parser = HeaderOf(file, &headerObject);
    ASSERT_TRUE(parser);
    const uint32_t packetSize = uint32_t(parser->GetMaxPacketSize());
    ASSERT_GT(packetSize, 0u);
    auto le64 = [&](size_t at) {
        uint64_t v = 0;
        for (int i = 7; i >= 0; --i) v = v << 8 | bytes[at + i];
        return v;
    };
    const uint64_t dataSize = le64(headerObject + 16), packets = le64(headerObject + 40);
    EXPECT_GT(packets, 3u);
    EXPECT_EQ(dataSize, 50 + packets * packetSize);
    const std::string index(file, headerObject + dataSize, 16);
    EXPECT_EQ(index, std::string("\x90\x08\x00\x33\xB1\xE5\xCF\x11\x89\xF4\x00\xA0\xC9\x03\x49\xCB", 16));

    // ffmpeg: both streams there, every packet decodes.
    // VLC numbers the streams in either order.
    EXPECT_EQ(CommandOutput("timeout 30 ffprobe -v error -show_entries stream=codec_name -of csv=p=0 '" + local +
                            "' | sort"),
              "wmav2\nwmv2\n");
    EXPECT_EQ(CommandOutput("timeout 30 ffmpeg -nostdin -v error -i '" + local + "' -f null - 2>&1"), "");
}

// A recording that joins VLC's broadcast seconds after it began ends as a file of its own
// length: ffprobe reads its duration and its packets (with the Broadcast flag kept it read no
// duration and took the index for packets), and our reader takes it for a file.
TEST(RealPeerVlc, RecordingJoinedLateIsAFileOfItsOwnLength) {
    if (access("/usr/bin/cvlc", X_OK) != 0) {
        GTEST_SKIP() << "/usr/bin/cvlc is missing (Debian vlc-bin and vlc-plugin-base): no MMS-over-HTTP peer";
    }
    SetEngineTimeOut(10);
    TempDir out;
    VlcBroadcast vlc("av-long.wmv");  // 8 s, played in real time
    ASSERT_TRUE(vlc.Ready());
    std::this_thread::sleep_for(std::chrono::seconds(3));
    RecordingSink sink;
    const std::string local = out.File("late.asf");
    ASSERT_EQ(vlc.Record(local, sink), ResultSuccess) << sink.LogText();

    const std::string file = ReadFileBytes(local);
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(file.data());
    size_t headerObject = 0;
    auto parser = HeaderOf(file, &headerObject);
    ASSERT_TRUE(parser);
    const int32_t packetSize = parser->GetMaxPacketSize();
    ASSERT_GT(packetSize, 0);
    EXPECT_FALSE(parser->IsBroadcast());
    EXPECT_EQ(parser->GetFileSize(), int64_t(file.size()));
    const int32_t packets = parser->GetDataPacketCount();
    EXPECT_GT(packets, 3);
    EXPECT_LE(headerObject + 50 + size_t(packets) * size_t(packetSize), file.size());
    const uint32_t first = GetPacketSendTime(bytes + headerObject + 50, size_t(packetSize));
    const uint32_t last =
        GetPacketSendTime(bytes + headerObject + 50 + size_t(packets - 1) * size_t(packetSize), size_t(packetSize));
    EXPECT_GE(first, 1500u) << "the recording joined the broadcast late";
    const double recorded = (last - first) / 1000.0;
    EXPECT_NEAR(double(parser->GetSendDurationMs()) / 1000.0, recorded, 0.6);

    const double duration = std::atof(
        CommandOutput("timeout 30 ffprobe -v error -show_entries format=duration -of csv=p=0 '" + local + "'").c_str());
    EXPECT_NEAR(duration, recorded, 1.0);
    // The video runs at 10 frames a second: as many frames as the file lasts, no more. (The
    // send times of the first and last packets say less: a broadcast sends frames ahead of time.)
    const int frames = std::atoi(CommandOutput("timeout 30 ffprobe -v error -select_streams v -count_packets "
                                               "-show_entries stream=nb_read_packets -of csv=p=0 '" + local + "'")
                                     .c_str());
    EXPECT_NEAR(frames, duration * 10, 5) << duration << " s played, " << recorded << " s sent";
}

}  // namespace

#endif
