// A download killed with SIGKILL at many points of a stream and started again, as a user's bad day
// would have it: a real process (the HTTP benchmark's fetch_driver: one URL through the manager)
// against the fixture servers of each MMS transport, paced so the kills land while packets arrive.
// The final file is compared packet by packet with the source (ffmpeg-made WMV2, 3 of 4
// neighbouring packets sharing a send time), byte for byte with an unbroken download's file, and
// read by ffprobe; every resumed run must have asked for a later point than the one before
// (progress, not a download from 0).
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "AsfMedia.h"
#include "CommandOutput.h"
#include "FileBytes.h"
#include "FixtureServer.h"
#include "Framecrc.h"
#include "MediaFiles.h"
#include "MmsHttpFramer.h"
#include "MmsTcpFixture.h"
#include "RtspFixture.h"
#include "TempDir.h"
#include "sys/FileSystem.h"

namespace {

const AsfMedia& Source() {
    static const AsfMedia media = AsfMedia::FromFile(MediaPath("av-runs.wmv"));
    return media;
}

std::string Driver() {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "";
    std::string path(self, size_t(n));
    return path.substr(0, path.rfind('/') + 1) + "kill_test_driver";
}

pid_t Spawn(const std::string& url, const std::string& dir, const std::string& name) {
    const std::string driver = Driver();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(driver.c_str(), driver.c_str(), url.c_str(), dir.c_str(), name.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

// Exit code of the process, or -1 when it did not end within ms.
int Wait(pid_t pid, int ms) {
    for (int waited = 0; waited <= ms; waited += 5) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

// Kills the run with SIGKILL once the file holds `bytes` or more; false when it ended by itself.
bool KillAt(pid_t pid, const std::string& file, int64_t bytes) {
    for (int waited = 0; waited < 20000; ++waited) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return false;
        if (sys::FileSize64(file) >= bytes) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return true;
}

// One transport's server: its URL, and the point (ms) each connection asked the stream from.
struct Peer {
    std::function<std::string()> url;
    std::function<std::vector<double>()> asks;
    std::shared_ptr<void> keep;
};

Peer Tcp(bool byPacket) {
    MmsTcpFixture::Media m;
    m.header.assign(Source().header.begin(), Source().header.end());
    for (const std::string& p : Source().packets) m.packets.emplace_back(p.begin(), p.end());
    auto s = std::make_shared<MmsTcpFixture>(m);
    s->seekByPacket = byPacket;
    s->pauseMs = 6;
    s->Start();
    return {[s] { return s->Url("av-runs.wmv"); },
            [s, byPacket] {
                std::vector<double> asks;
                for (const auto& c : s->Commands()) {
                    if (c.command != 0x07 || c.body.size() < 24) continue;
                    double seconds = 0;
                    uint32_t packet = 0;
                    std::memcpy(&seconds, c.body.data() + 8, 8);
                    std::memcpy(&packet, c.body.data() + 20, 4);
                    asks.push_back(byPacket ? packet : seconds * 1000);
                }
                return asks;
            },
            s};
}

Peer Rtsp(uint32_t rtpBase) {
    auto s = std::make_shared<RtspFixture>(Source());
    s->Set().pauseMs = 6;
    s->Set().rtpBase = rtpBase;
    s->Start();
    return {[s] { return s->Url("av-runs.wmv"); },
            [s] {
                std::vector<double> asks;
                for (const std::string& play : s->Requests("PLAY")) {
                    const size_t at = play.find("Range: npt=");
                    asks.push_back(at == std::string::npos ? -1 : std::atof(play.c_str() + at + 11) * 1000);
                }
                return asks;
            },
            s};
}

Peer Http() {
    MmsHttpFramer::Options paced;
    paced.pauseMs = 6;
    auto s = std::make_shared<FixtureServer>();
    MmsHttpFramer(Source(), paced).AddTo(*s);
    s->Start();
    return {[s] { return s->Url("/av-runs.wmv"); },
            [s] {
                std::vector<double> asks;
                for (int i = 0; i < s->Connections(); ++i) asks.push_back(MmsHttpFramer::StreamTime(s->Received(size_t(i))));
                return asks;
            },
            s};
}

struct Transport {
    const char* name;
    std::function<Peer()> make;
};

// ffprobe's packet count per stream and the duration it reads.
std::string Probe(const std::string& path) {
    return CommandOutput("ffprobe -v error -count_packets -show_entries stream=index,nb_read_packets:format=duration -of csv '" +
                         path + "'");
}

TEST(KillResume, EveryMmsTransportEndsAsTheUnbrokenFile) {
    ASSERT_TRUE(Source().Ok());
    ASSERT_TRUE(sys::FileExists(Driver())) << Driver();
    const int64_t header = int64_t(Source().header.size()), size = Source().packetSize;
    // Whole-packet counts and a part of the next: inside runs of equal send times and between.
    const size_t kills[] = {56, 73, 90, 108, 125, 143, 160, 178, 195};
    const int64_t apart = 17;  // packets between two kills, at the least
    const Transport transports[] = {
        {"MMS over TCP, a server that seeks by time", [] { return Tcp(false); }},
        {"MMS over TCP, a server that seeks by packet", [] { return Tcp(true); }},
        {"MMS over RTSP", [] { return Rtsp(0); }},
        {"MMS over RTSP, RTP time stamps of another base", [] { return Rtsp(7000000); }},
        {"MMS over HTTP", [] { return Http(); }},
    };
    for (const Transport& t : transports) {
        SCOPED_TRACE(t.name);
        TempDir dir;
        const Peer unbrokenPeer = t.make();
        std::filesystem::create_directories(dir.File("clean"));
        const pid_t clean = Spawn(unbrokenPeer.url(), dir.File("clean") + "/", "av.asf");
        ASSERT_EQ(Wait(clean, 30000), 0);
        const std::string unbroken = ReadFileBytes(dir.File("clean") + "/av.asf");

        const Peer peer = t.make();
        const std::string file = dir.File("av.asf");
        size_t k = 0, killed = 0;
        for (size_t packets : kills) {
            SCOPED_TRACE(packets);
            const int64_t at = header + int64_t(packets) * size + int64_t(k++ % 3) * size / 3;
            // On a loaded machine the run before may have written past this point before its kill
            // landed: then this run goes on as far past the file as the kills stand apart, so that
            // it asks, and the next run asks from later, as on an idle machine.
            const int64_t onDisk = std::max<int64_t>(sys::FileSize64(file), 0);
            const int64_t killAt = std::max(at, onDisk + apart * size);
            // A kill that landed very late may have left too little of the stream for another: the
            // runs after it are not killed, and the last run below still has to end the file.
            if (killAt >= header + int64_t(Source().packets.size()) * size) break;
            ASSERT_TRUE(KillAt(Spawn(peer.url(), dir.Dir(), "av.asf"), file, killAt))
                << "the run ended before its kill";
            ++killed;
            // What the kill left begins as the source does.
            const std::string left = ReadFileBytes(file);
            ASSERT_GE(left.size(), size_t(at));
            ASSERT_EQ(left.compare(0, Source().header.size() - 50, Source().header, 0, Source().header.size() - 50), 0);
            for (size_t i = 0; i < packets; ++i) {
                ASSERT_EQ(left.compare(size_t(header) + i * size_t(size), size_t(size), Source().packets[i]), 0)
                    << "packet " << i;
            }
        }
        ASSERT_EQ(Wait(Spawn(peer.url(), dir.Dir(), "av.asf"), 30000), 0);

        const AsfMedia got = AsfMedia::FromFile(file);
        ASSERT_EQ(got.packets.size(), Source().packets.size());
        for (size_t i = 0; i < got.packets.size(); ++i) ASSERT_EQ(got.packets[i], Source().packets[i]) << "packet " << i;
        EXPECT_TRUE(ReadFileBytes(file) == unbroken) << "header, Data Object or index differ from the unbroken file";
        EXPECT_FALSE(sys::FileExists(file + ".ini"));
        const std::string probed = Probe(file);
        EXPECT_NE(probed.find("stream,"), std::string::npos) << probed;
        EXPECT_EQ(probed, Probe(MediaPath("av-runs.wmv")));
        EXPECT_EQ(Framecrc(file, "-map 0 -c copy"), Framecrc(MediaPath("av-runs.wmv"), "-map 0 -c copy"));

        // Each run after a kill asked from later than the one before.
        const std::vector<double> asks = peer.asks();
        ASSERT_GE(killed, 1u);
        ASSERT_EQ(asks.size(), killed + 1);
        EXPECT_EQ(asks[0], 0);
        for (size_t i = 1; i < asks.size(); ++i) EXPECT_GT(asks[i], asks[i - 1]) << "run " << i;
    }
}

}  // namespace
