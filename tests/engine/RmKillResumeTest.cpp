// A RealMedia RTSP download in a real process (the benchmark's driver over the public manager)
// killed with SIGKILL at points of the stream, then started again: the next run goes on from the
// file on disk, and the file ends as an unbroken download makes it, packet by packet, with an
// index of every key frame, and ffmpeg reads it as the original.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "MediaFiles.h"
#include "RmRtspServer.h"
#include "TempDir.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// The driver: fetch_driver URL DEST_DIR FILE_NAME, exit code 0 when the item finished.
pid_t StartDriver(const std::string& url, const std::string& dir, const std::string& name) {
    std::vector<std::string> args = {FK_FETCH_DRIVER, url, dir, name};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    return pid;
}

// The exit code, or -1 when the driver did not end within the time.
int WaitDriver(pid_t pid, int seconds) {
    const auto deadline = Clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Packets of the file on disk as its headers count them (0 while it cannot be read whole).
size_t PacketsOnDisk(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return 0;
    const RmFile f = ReadRmFile(ReadAll(path));
    return f.error.empty() ? f.packets.size() : 0;
}

// Waits until everything the run got is on disk (units packets), then kills it.
void KillWhenOnDisk(pid_t pid, const std::string& local, size_t units) {
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    while (PacketsOnDisk(local) < units && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const size_t onDisk = PacketsOnDisk(local);
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_EQ(onDisk, units);
    ASSERT_TRUE(WIFSIGNALED(status));
}

std::string Npt(uint32_t ms) {
    return std::to_string(ms / 1000) + "." + std::to_string(1000 + ms % 1000).substr(1);
}

TEST(RealMediaKill, KilledRunsResumeToTheWholeFile) {
    const RmFile av = ReadRmFile(ReadAll(MediaDir() + "av.rm"));
    ASSERT_EQ(av.error, "");
    const RmFile split = SplitVideoFrames(av);
    size_t insideFrame = split.packets.size() * 2 / 3;
    while (!(split.packets[insideFrame].stream == 0 && split.packets[insideFrame + 1].stream == 0 &&
             split.packets[insideFrame].timestamp == split.packets[insideFrame + 1].timestamp)) {
        ++insideFrame;
    }
    const size_t n = av.packets.size();
    struct Case {
        const char* name;
        const RmFile* source;
        std::vector<size_t> kills;  // units on disk when each run is killed
        size_t tornBytes;           // cut off the last packet after the first kill
    };
    const Case cases[] = {
        {"killed once", &av, {n * 3 / 5}, 0},
        {"killed again and again", &av, {n / 2, n * 7 / 10, n * 9 / 10, n - 1}, 0},
        {"killed before the file is worth resuming", &av, {n / 5}, 0},
        {"killed while writing a packet", &av, {n * 3 / 5}, 9},
        {"killed inside a frame split over units", &split, {insideFrame + 1}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const RmServerStream stream = MakeServerStream(*c.source, 7);
        std::mutex lock;
        std::vector<std::string> plays;
        FixtureServer server;
        RmRtspOptions options;
        options.onRequest = [&](const std::string& head) {
            std::lock_guard<std::mutex> g(lock);
            if (head.rfind("PLAY ", 0) == 0) plays.push_back(head);
        };
        for (const size_t units : c.kills) {
            RmRtspOptions killed = options;
            killed.unitsUpTo = units;
            killed.stallAtLimit = true;
            AddRmRtspScript(server, stream, killed);
        }
        AddRmRtspScript(server, stream, options);
        server.Start();
        const std::string url = server.Url("/clip.rm", "rtsp");
        const std::string local = dir.File("clip.rm");

        std::vector<std::string> expectedRanges;
        size_t onDisk = 0;
        for (const size_t units : c.kills) {
            // The range a run asks for follows from the file it finds.
            const bool resumable = onDisk > 0 && std::filesystem::file_size(local) >= 51200;
            const std::vector<RmPacket> before(c.source->packets.begin(), c.source->packets.begin() + onDisk);
            expectedRanges.push_back("Range: npt=" + Npt(resumable ? ResumePointOf(before) : 0) + "-\r\n");
            const pid_t pid = StartDriver(url, dir.Dir(), "clip.rm");
            ASSERT_GT(pid, 0);
            ASSERT_NO_FATAL_FAILURE(KillWhenOnDisk(pid, local, units));
            onDisk = units;
            if (c.tornBytes && &units == &c.kills.front()) {
                const RmFile f = ReadRmFile(ReadAll(local));
                std::filesystem::resize_file(local, f.dataEnd - c.tornBytes);
                onDisk = units - 1;
            }
        }
        const bool resumable = std::filesystem::file_size(local) >= 51200;
        const std::vector<RmPacket> before(c.source->packets.begin(), c.source->packets.begin() + onDisk);
        expectedRanges.push_back("Range: npt=" + Npt(resumable ? ResumePointOf(before) : 0) + "-\r\n");
        const pid_t pid = StartDriver(url, dir.Dir(), "clip.rm");
        ASSERT_GT(pid, 0);
        ASSERT_EQ(WaitDriver(pid, 60), 0);

        {
            std::lock_guard<std::mutex> g(lock);
            ASSERT_EQ(plays.size(), expectedRanges.size());
            for (size_t i = 0; i < plays.size(); ++i) {
                EXPECT_NE(plays[i].find(expectedRanges[i]), std::string::npos) << "run " << i << ": " << plays[i];
            }
        }
        const RmFile written = ReadRmFile(ReadAll(local));
        ASSERT_EQ(written.error, "");
        EXPECT_EQ(written.packets.size(), c.source->packets.size());
        EXPECT_EQ(written.packets, c.source->packets);
        ASSERT_EQ(written.index.size(), c.source->streams.size());
        for (size_t s = 0; s < written.index.size(); ++s) {
            std::vector<RmIndexEntry> keys;
            for (size_t i = 0; i < written.packets.size(); ++i) {
                const RmPacket& p = written.packets[i];
                if (p.stream == s && (p.flags & 2)) keys.push_back({p.timestamp, p.offset, uint32_t(i)});
            }
            EXPECT_EQ(written.index[s].entries, keys) << "stream " << s;
        }
        EXPECT_FALSE(std::filesystem::exists(local + ".ini"));
        if (c.source == &av) {
            EXPECT_EQ(Framecrc(local, "-map 0 -c copy"), Framecrc(MediaDir() + "av.rm", "-map 0 -c copy"));
        }
    }
}

// A killed run, then servers that end the resumed stream at once or after a few units the file
// holds: no such try finishes the item, the file keeps its units, and the next clean try ends
// with the whole file.
TEST(RealMediaKill, AResumedStreamThatEndsEarlyNeverFinishesTheItem) {
    const RmFile av = ReadRmFile(ReadAll(MediaDir() + "av.rm"));
    ASSERT_EQ(av.error, "");
    const size_t n = av.packets.size();
    const size_t killedAt = n * 3 / 5;
    for (const size_t endAfter : {size_t(0), size_t(3)}) {
        SCOPED_TRACE("the resumed stream ends after " + std::to_string(endAfter) + " units");
        TempDir dir;
        const RmServerStream stream = MakeServerStream(av, 7);
        FixtureServer server;
        RmRtspOptions killed;
        killed.unitsUpTo = killedAt;
        killed.stallAtLimit = true;
        AddRmRtspScript(server, stream, killed);
        RmRtspOptions early;
        early.endAfterUnits = endAfter;
        AddRmRtspScript(server, stream, early);
        AddRmRtspScript(server, stream);
        server.Start();
        const std::string url = server.Url("/clip.rm", "rtsp");
        const std::string local = dir.File("clip.rm");

        pid_t pid = StartDriver(url, dir.Dir(), "clip.rm");
        ASSERT_GT(pid, 0);
        ASSERT_NO_FATAL_FAILURE(KillWhenOnDisk(pid, local, killedAt));

        pid = StartDriver(url, dir.Dir(), "clip.rm");
        ASSERT_GT(pid, 0);
        EXPECT_NE(WaitDriver(pid, 60), 0) << "an early end finished the item";
        const RmFile kept = ReadRmFile(ReadAll(local));
        ASSERT_EQ(kept.error, "");
        ASSERT_EQ(kept.packets.size(), killedAt);
        EXPECT_TRUE(std::equal(kept.packets.begin(), kept.packets.end(), av.packets.begin()));
        EXPECT_TRUE(std::filesystem::exists(local + ".ini"));

        pid = StartDriver(url, dir.Dir(), "clip.rm");
        ASSERT_GT(pid, 0);
        ASSERT_EQ(WaitDriver(pid, 60), 0);
        EXPECT_EQ(ReadRmFile(ReadAll(local)).packets, av.packets);
        EXPECT_FALSE(std::filesystem::exists(local + ".ini"));
    }
}

}  // namespace
