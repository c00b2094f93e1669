// The redirect resolver: a finished playlist's streams become items in the playlist's folder.
#include "FileBytes.h"
#include "Redirect.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Collaborators.h"
#include "EngineSettings.h"
#include "Factories.h"
#include "FakeHost.h"
#include "Fetchkeeper.h"
#include "FixtureServer.h"
#include "TempDir.h"
#include "SlotOf.h"

namespace {

TEST(Redirect, HandsEachFoundUrlToTheHostInTheFilesFolder) {
    TempDir dir;
    const std::string dest = dir.File("show.asx");
    WriteFileBytes(dest,
              "<ASX><ENTRY><REF HREF=\"mms://media.example.com/a.wmv\"/></ENTRY>\r\n"
              "<ENTRY><REF HREF=\"b.wmv\"/></ENTRY></ASX>");
    FakeHost host;
    EnginePtr<IRedirect> redirect(static_cast<IRedirect*>(NEW_REDIRECT()));
    ASSERT_TRUE(redirect);
    redirect->Run("http://www.example.com/lists/show.asx", dest.c_str(), 2, &host);
    ASSERT_EQ(host.found.size(), 2u);
    EXPECT_EQ(host.found[0].url, "mms://media.example.com/a.wmv");
    EXPECT_EQ(host.found[1].url, "http://www.example.com/lists/b.wmv");
    for (const FakeHost::Found& found : host.found) {
        EXPECT_EQ(found.destDir, dir.Dir());
        EXPECT_EQ(found.kind, KindFromUrl);
    }
}

TEST(Redirect, FoundUrlsKeepTheKindTheParserGives) {
    TempDir dir;
    const std::string dest = dir.File("show.ram");
    WriteFileBytes(dest, "rtsp://real.example.com/a.rm\n");
    FakeHost host;
    EnginePtr<IRedirect> redirect(static_cast<IRedirect*>(NEW_REDIRECT()));
    ASSERT_TRUE(redirect);
    redirect->Run("http://www.example.com/show.ram", dest.c_str(), 4, &host);
    ASSERT_EQ(host.found.size(), 1u);
    EXPECT_EQ(host.found[0].kind, KindRtsp80);
}

// A job that only records its run; the test then plays the download: it writes the file the
// URL stands for and reports success, as the worker thread would.
struct ServedRun {
    std::string url, destFile;
    int32_t kind = 0;
    IDownloadSink* sink = nullptr;
    IDownloadJob* job = nullptr;
};

std::deque<ServedRun>* g_pending = nullptr;

class RecordedJob final : public EngineObject<RecordedJob, IDownloadJob> {
public:
    bool FK_STDCALL ReturnTrue() override { return true; }
    bool FK_STDCALL Set(const char* url, const char* destFile, int32_t kind) override {
        run_.url = url;
        run_.destFile = destFile;
        run_.kind = kind;
        return true;
    }
    bool FK_STDCALL RunThread(IDownloadSink* sink) override {
        run_.sink = sink;
        run_.job = this;
        g_pending->push_back(run_);
        return true;
    }
    void FK_STDCALL Run(IDownloadSink*) override {}

private:
    ServedRun run_;
};

IDownloadJob* MakeRecordedJob() {
    return static_cast<IDownloadJob*>(CreateEngineObject<RecordedJob>());
}

class PlaylistThroughManager : public ::testing::Test {
protected:
    void SetUp() override {
        g_pending = &pending;
        // Recorded jobs, and the library's own resolver.
        SetCollaboratorFactories(&MakeRecordedJob, nullptr);
        manager.reset(static_cast<CFetchkeeper*>(NEW_FETCHKEEPER()));
        ASSERT_TRUE(manager);
        manager->SetMaxThread(3);
    }
    void TearDown() override {
        Drain();
        manager.reset();
        SetCollaboratorFactories(nullptr, nullptr);
        g_pending = nullptr;
    }

    // Finishes every run, including those that finished runs start, in order. A URL the map does
    // not know downloads as a few bytes of media.
    void Drain() {
        while (!pending.empty()) {
            ServedRun run = pending.front();
            pending.pop_front();
            ++runsOf[run.url];
            auto served = files.find(run.url);
            WriteFileBytes(run.destFile, served == files.end() ? std::string("\x30\x26\xB2\x75", 4)
                                                          : served->second);
            run.sink->SetContentKind(served == files.end() ? 8 : 2);
            run.sink->Succeeded();
            run.sink->RunFinished();
            run.job->Release();
        }
    }

    std::vector<DownItemInfo> Items() {
        std::vector<DownItemInfo> all;
        for (ItemHandle h = manager->GetFirstItem(); h; h = manager->GetNextItem(h)) {
            DownItemInfo info{};
            manager->GetItemInfo(h, &info);
            all.push_back(info);
        }
        return all;
    }

    TempDir dir;
    std::deque<ServedRun> pending;
    std::map<std::string, std::string> files;  // URL -> the bytes it downloads as
    std::map<std::string, int> runsOf;
    EnginePtr<CFetchkeeper> manager;
};

TEST_F(PlaylistThroughManager, ListedStreamsBecomeItemsInThePlaylistsFolderAndRun) {
    files["http://www.example.com/lists/show.asx"] =
        "<ASX><ENTRY><REF HREF=\"mms://media.example.com/a.wmv\"/></ENTRY>"
        "<ENTRY><REF HREF=\"b.wmv\"/></ENTRY></ASX>";
    ASSERT_TRUE(manager->AddItem("http://www.example.com/lists/show.asx", dir.Dir().c_str(), "show.asx"));
    Drain();

    const std::vector<DownItemInfo> items = Items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_STREQ(items[1].url, "mms://media.example.com/a.wmv");
    EXPECT_EQ(items[1].destFile, dir.File("a.wmv"));
    EXPECT_STREQ(items[2].url, "http://www.example.com/lists/b.wmv");
    EXPECT_EQ(items[2].destFile, dir.File("b.wmv"));
    for (const DownItemInfo& item : items) EXPECT_EQ(item.state, DownFinished) << item.url;
    EXPECT_EQ(runsOf["mms://media.example.com/a.wmv"], 1);
    EXPECT_EQ(runsOf["http://www.example.com/lists/b.wmv"], 1);
}

// Playlists that name themselves and each other: every URL is listed and fetched once, and the
// queue runs dry.
TEST_F(PlaylistThroughManager, PlaylistsNamingEachOtherEndAfterOneRunEach) {
    const std::string first = "http://www.example.com/lists/first.asx";
    const std::string second = "http://www.example.com/lists/second.asx";
    files[first] = "<ASX><REF HREF=\"first.asx\"/><REF HREF=\"second.asx\"/></ASX>";
    files[second] =
        "<ASX><REF HREF=\"http://www.example.com/lists/first.asx\"/><REF HREF=\"second.asx\"/>"
        "<REF HREF=\"mms://media.example.com/clip.wmv\"/></ASX>";
    ASSERT_TRUE(manager->AddItem(first.c_str(), dir.Dir().c_str(), "first.asx"));
    Drain();

    const std::vector<DownItemInfo> items = Items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_STREQ(items[0].url, first.c_str());
    EXPECT_STREQ(items[1].url, second.c_str());
    EXPECT_STREQ(items[2].url, "mms://media.example.com/clip.wmv");
    EXPECT_EQ(runsOf[first], 1);
    EXPECT_EQ(runsOf[second], 1);
    EXPECT_EQ(runsOf["mms://media.example.com/clip.wmv"], 1);
    for (const DownItemInfo& item : items) EXPECT_EQ(item.state, DownFinished) << item.url;
}

// The whole way: an ASX fetched over HTTP names three media files on the same server (in full,
// beside the playlist and from the root, which keeps the server's port); once the playlist has
// finished, all are items in the playlist's folder and download.
TEST(PlaylistOverHttp, ListedMediaAreQueuedBesideThePlaylistAndDownload) {
    const int32_t savedTimeOut = GetEngineTimeOut();
    const EngineProxy savedProxy = GetEngineProxy();
    SetEngineTimeOut(5);
    SetEngineProxy(EngineProxy{});

    FixtureServer server;
    const std::string first = "first media bytes \x30\x26\xB2\x75";
    const std::string second = std::string("second\0media", 12);
    const std::string third = "third media";
    std::map<std::string, std::pair<std::string, std::string>> served;  // path -> type, body
    server.AddScript()
        .Call([&served](FixtureServer::Session& session) {
            if (!session.Expect("\r\n\r\n", 10000)) return;
            const std::string request = session.Received();
            const std::size_t start = request.find(' ') + 1;
            const std::string path = request.substr(start, request.find(' ', start) - start);
            auto it = served.find(path);
            if (it == served.end()) {
                session.Send("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
                return;
            }
            session.Send("HTTP/1.1 200 OK\r\nContent-Type: " + it->second.first +
                         "\r\nContent-Length: " + std::to_string(it->second.second.size()) +
                         "\r\n\r\n" + it->second.second);
        })
        .Close();
    server.RepeatLastScript();
    served["/lists/show.asx"] = {
        "video/x-ms-asf",
        "<ASX version=\"3.0\">\r\n<ENTRY><REF HREF=\"" + server.Url("/media/first.wma") +
            "\"/></ENTRY>\r\n<ENTRY><REF HREF=\"second.mp3\"/></ENTRY>\r\n"
            "<ENTRY><REF HREF=\"/media/third.wma\"/></ENTRY>\r\n</ASX>\r\n"};
    served["/media/first.wma"] = {"application/octet-stream", first};
    served["/lists/second.mp3"] = {"application/octet-stream", second};
    served["/media/third.wma"] = {"application/octet-stream", third};
    server.Start();
    ASSERT_TRUE(server.Listening());

    TempDir dir;
    {
        EnginePtr<CFetchkeeper> manager(static_cast<CFetchkeeper*>(NEW_FETCHKEEPER()));
        ASSERT_TRUE(manager);
        ASSERT_TRUE(manager->AddItem(server.Url("/lists/show.asx").c_str(), dir.Dir().c_str(), "show.asx"));

        // Until four items are listed and none is waiting or downloading, 30 s at most.
        std::vector<DownItemInfo> items;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        for (;;) {
            items.clear();
            bool busy = false;
            for (ItemHandle h = manager->GetFirstItem(); h; h = manager->GetNextItem(h)) {
                DownItemInfo info{};
                manager->GetItemInfo(h, &info);
                busy = busy || info.state == DownWaiting || info.state == DownDownloading;
                items.push_back(info);
            }
            if ((items.size() >= 4 && !busy) || std::chrono::steady_clock::now() > deadline) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        // Copies: the info texts stay valid only until the next read of the same item.
        std::vector<std::string> urls, dests;
        for (const DownItemInfo& info : items) {
            EXPECT_EQ(info.state, DownFinished)
                << info.url << "\n"
                << (info.logText ? std::string(info.logText, info.logLength) : std::string());
            urls.push_back(info.url);
            dests.push_back(info.destFile);
        }
        ASSERT_EQ(urls.size(), 4u);
        EXPECT_EQ(urls[1], server.Url("/media/first.wma"));
        EXPECT_EQ(urls[2], server.Url("/lists/second.mp3"));
        EXPECT_EQ(urls[3], server.Url("/media/third.wma", "HTTP"));
        EXPECT_EQ(dests[1], dir.File("first.wma"));
        EXPECT_EQ(dests[2], dir.File("second.mp3"));
        EXPECT_EQ(dests[3], dir.File("third.wma"));
        manager.reset();
    }
    EXPECT_EQ(ReadFileBytes(dir.File("first.wma")), first);
    EXPECT_EQ(ReadFileBytes(dir.File("second.mp3")), second);
    EXPECT_EQ(ReadFileBytes(dir.File("third.wma")), third);
    EXPECT_TRUE(server.Errors().empty());

    SetEngineTimeOut(savedTimeOut);
    SetEngineProxy(savedProxy);
}

TEST(RedirectSlots, TableOrder) {
    auto slot = [](auto member) { return SlotOf(member); };
    const Slot slots[] = {
        {"DeleteSelf", slot(&CRedirect::DeleteSelf), 0}, {"Release", slot(&CRedirect::Release), 1},
        {"Init", slot(&CRedirect::Init), 2},             {"ReturnTrue", slot(&CRedirect::ReturnTrue), 3},
        {"Run", slot(&CRedirect::Run), 4},
        // Through the sink interface, in its own table.
        {"IUrlSink::AddUrl", slot(&IUrlSink::AddUrl), 0},
        {"IUrlSink::AddUrlDefault", slot(&IUrlSink::AddUrlDefault), 1},
    };
    for (const Slot& s : slots) EXPECT_EQ(s.actual, s.expected) << s.name;

    EnginePtr<CRedirect> redirect(static_cast<CRedirect*>(NEW_REDIRECT()));
    ASSERT_TRUE(redirect);
    EXPECT_EQ(reinterpret_cast<char*>(static_cast<IUrlSink*>(redirect.get())) -
                  reinterpret_cast<char*>(redirect.get()),
              ptrdiff_t(sizeof(void*)));
}

}  // namespace
