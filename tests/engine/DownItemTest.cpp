#include "DownItem.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "FakeHost.h"
#include "FakeRuns.h"
#include "FoundItemHost.h"
#include "TempDir.h"

namespace {

using ItemPtr = EnginePtr<CDownItem>;

DownItemInfo Info(CDownItem& item) {
    DownItemInfo info{};
    item.GetInfo(&info);
    return info;
}

std::string LogOf(CDownItem& item) {
    DownItemInfo info = Info(item);
    return info.logText ? std::string(info.logText, info.logLength) : std::string();
}

class DownItemTest : public ::testing::Test {
protected:
    // Runs end before their items are freed, as the manager guarantees.
    void TearDown() override { runs.EndAll(); }

    CDownItem* NewItem(const char* url = "http://example.com/clip.asf", const char* dir = "C:\\dl\\",
                       const char* name = "clip.asf", int32_t kind = 0) {
        items.emplace_back(static_cast<CDownItem*>(CreateEngineObject<CDownItem>()));
        items.back()->Set(url, dir, name, kind);
        return items.back().get();
    }

    FakeRuns runs;
    FakeHost host;
    std::vector<ItemPtr> items;
};

TEST_F(DownItemTest, SetFillsTheItem) {
    CDownItem* item = NewItem("http://a.example/x.asf", "C:\\dl\\", "x.asf", 3);
    DownItemInfo info = Info(*item);
    EXPECT_STREQ(info.url, "http://a.example/x.asf");
    EXPECT_STREQ(info.destFile, "C:\\dl\\x.asf");
    EXPECT_EQ(info.state, DownWaiting);
    EXPECT_EQ(info.totalSize, 0);
    EXPECT_EQ(info.downloaded, 0);
    EXPECT_EQ(info.logText, nullptr);
    EXPECT_EQ(info.logLength, 0u);
    EXPECT_EQ(item->ProtocolKindForNextRun(), 3);
}

// A URL is cut to its field; a destination is never cut, since the cut one would name another file:
// one that does not fit is not taken.
TEST_F(DownItemTest, OverlongTextsAreBoundedByTheirFields) {
    const std::string url = "http://h.example/" + std::string(3000, 'u');
    const std::string name(600, 'n');
    CDownItem* item = NewItem(url.c_str(), "C:\\dl\\", name.c_str());
    DownItemInfo info = Info(*item);
    EXPECT_EQ(std::string(info.url), url.substr(0, kUrlSize - 1));
    EXPECT_STREQ(info.destFile, "");
    const std::string fits = "C:\\dl\\" + std::string(kPathSize - 1 - 6, 'f');
    item->SetDestFile(fits.c_str());
    EXPECT_EQ(std::string(Info(*item).destFile), fits);
    item->SetUrl(url.c_str());
    item->SetDestFile((fits + "x").c_str());
    info = Info(*item);
    EXPECT_EQ(std::string(info.url).size(), kUrlSize - 1);
    EXPECT_EQ(std::string(info.destFile), fits);
}

TEST_F(DownItemTest, DownloadedBeyondTotalMakesTotalUndetermined) {
    struct Case {
        int32_t total;
        bool reportTotal;
        int32_t downloaded;
        int32_t expectedTotal;
    } cases[] = {
        {1000, true, 500, 1000}, {1000, true, 1000, 1000}, {1000, true, 1500, -1},
        {0, false, 1, -1},       {0, false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.total) + "/" + std::to_string(c.downloaded));
        CDownItem* item = NewItem();
        if (c.reportTotal) item->SetTotalSize(c.total);
        item->SetDownloaded(c.downloaded);
        DownItemInfo info = Info(*item);
        EXPECT_EQ(info.totalSize, c.expectedTotal);
        EXPECT_EQ(info.downloaded, c.downloaded);
    }
}

TEST_F(DownItemTest, StartWithoutJobChangesNothing) {
    CDownItem* item = NewItem();
    item->TakeChanged();
    runs.refuseJobs = true;
    item->Start(&host);
    EXPECT_EQ(Info(*item).state, DownWaiting);
    EXPECT_EQ(Info(*item).logText, nullptr);
    EXPECT_TRUE(runs.runs.empty());
}

TEST_F(DownItemTest, StartHandsTheJobUrlDestinationAndKind) {
    CDownItem* item = NewItem("http://a.example/x.rm", "C:\\dl\\", "x.rm", 2);
    item->SetTotalSize(10);
    item->SetDownloaded(5);
    item->Start(&host);
    ASSERT_EQ(runs.runs.size(), 1u);
    EXPECT_EQ(runs.runs[0]->url, "http://a.example/x.rm");
    EXPECT_EQ(runs.runs[0]->destFile, "C:\\dl\\x.rm");
    EXPECT_EQ(runs.runs[0]->kind, 2);
    DownItemInfo info = Info(*item);
    EXPECT_EQ(info.state, DownDownloading);
    EXPECT_EQ(info.totalSize, 0);
    EXPECT_EQ(info.downloaded, 0);
    EXPECT_EQ(LogOf(*item), "Start downloading...\r\n");
    EXPECT_EQ(item->RunsInFlight(), 1);
    runs.End(*runs.runs[0]);
    EXPECT_EQ(item->RunsInFlight(), 0);
}

TEST_F(DownItemTest, StopThenCancelLeavesItemStoppedWithoutFallback) {
    CDownItem* item = NewItem();
    item->Start(&host);
    IDownloadSink* sink = runs.runs[0]->sink;
    sink->SetActiveKind(KindHttp);
    EXPECT_FALSE(sink->IsStopped());
    item->Stop();
    EXPECT_TRUE(sink->IsStopped());
    sink->Failed("USER CANCEL THE OPERATION");
    EXPECT_EQ(Info(*item).state, DownStopped);
    EXPECT_EQ(runs.runs.size(), 1u);
    EXPECT_EQ(host.finished, 1);
    EXPECT_NE(LogOf(*item).find("USER CANCEL THE OPERATION\r\n\r\n\r\n\r\n"), std::string::npos);
}

TEST_F(DownItemTest, FailedLogsTextAndAnEmptyLine) {
    CDownItem* item = NewItem();
    item->Start(&host);
    runs.runs[0]->sink->Failed("CONNECT TO SERVER ERROR");
    EXPECT_EQ(LogOf(*item), "Start downloading...\r\nCONNECT TO SERVER ERROR\r\n\r\n\r\n\r\n");
    EXPECT_EQ(Info(*item).state, DownFailed);
    EXPECT_EQ(host.finished, 1);
}

TEST_F(DownItemTest, FailedHttpRunFallsBackOnceToRealMediaOverHttp) {
    CDownItem* item = NewItem("HTTP://a.example/x.rm", "C:\\dl\\", "x.rm");
    item->Start(&host);
    runs.runs[0]->sink->SetActiveKind(KindHttp);
    runs.runs[0]->sink->Failed("SHAKE HAND ERROR");
    ASSERT_EQ(runs.runs.size(), 2u);
    EXPECT_EQ(runs.runs[1]->kind, KindRtsp80);
    EXPECT_EQ(runs.runs[1]->url, "http://a.example/x.rm");
    EXPECT_EQ(Info(*item).state, DownDownloading);

    runs.runs[1]->sink->SetActiveKind(KindRtsp80);
    runs.runs[1]->sink->Failed("SHAKE HAND ERROR");
    EXPECT_EQ(runs.runs.size(), 2u);
    EXPECT_EQ(Info(*item).state, DownFailed);
    EXPECT_EQ(item->ProtocolKindForNextRun(), KindRtsp80);
    EXPECT_EQ(host.finished, 2);
}

TEST_F(DownItemTest, RunFailingBeforeChoosingDoesNotInheritFallback) {
    CDownItem* item = NewItem();
    item->Start(&host);
    runs.runs[0]->sink->SetActiveKind(KindHttp);
    runs.runs[0]->sink->Failed("RECEIVE DATA ERROR");
    ASSERT_EQ(runs.runs.size(), 2u);
    // The second run fails before it picks a downloader ("Invalid URL"): no third run.
    runs.runs[1]->sink->Failed("Invalid URL");
    EXPECT_EQ(runs.runs.size(), 2u);
    EXPECT_EQ(Info(*item).state, DownFailed);
}

TEST_F(DownItemTest, SucceededFollowsSmallFilesOnly) {
    TempDir dir;
    struct Case {
        const char* name;
        long size;  // -1: no file at all
        bool followed;
    } cases[] = {{"limit.asx", 51200, true}, {"over.asx", 51201, false}, {"gone.asx", -1, true},
                 {"empty.asx", 0, true}};
    runs.foundUrls = {"http://a.example/entry.asf"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        runs.redirects.clear();
        host.found.clear();
        if (c.size >= 0) std::ofstream(dir.File(c.name), std::ios::binary) << std::string(size_t(c.size), 'a');
        CDownItem* item = NewItem("http://a.example/p.asx", dir.Dir().c_str(), c.name);
        item->SetContentKind(2);
        item->Start(&host);
        const int finishedBefore = host.finished;
        runs.runs.back()->sink->Succeeded();
        EXPECT_EQ(Info(*item).state, DownFinished);
        EXPECT_EQ(host.finished, finishedBefore + 1);
        ASSERT_EQ(runs.redirects.size(), c.followed ? 1u : 0u);
        if (c.followed) {
            EXPECT_EQ(runs.redirects[0].url, "http://a.example/p.asx");
            EXPECT_EQ(runs.redirects[0].destFile, dir.File(c.name));
            EXPECT_EQ(runs.redirects[0].contentKind, 2);
            // What the follower finds reaches the host, one playlist below this item.
            ASSERT_FALSE(host.found.empty());
            EXPECT_EQ(host.found.back().url, "http://a.example/entry.asf");
            EXPECT_EQ(host.found.back().depth, 1);
        }
        runs.EndAll();
    }
}

TEST_F(DownItemTest, PlaylistsNestedTooDeeplyAreNotFollowed) {
    struct Case {
        int32_t depth;
        bool followed;
    };
    const Case cases[] = {{0, true}, {CFoundItemHost::kMaxPlaylistDepth - 1, true},
                          {CFoundItemHost::kMaxPlaylistDepth, false}};
    runs.foundUrls = {"http://a.example/next1.asx", "http://a.example/next2.asx"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.depth);
        host.found.clear();
        CDownItem* item = NewItem("http://a.example/list.asx", "C:\\dl\\", "list.asx");
        item->SetPlaylistDepth(c.depth);
        item->Start(&host);
        runs.runs.back()->sink->Succeeded();
        const std::string log = LogOf(*item);
        const size_t refusal = log.find("Playlist not followed: more than 5 playlists deep\r\n");
        if (c.followed) {
            ASSERT_EQ(host.found.size(), 2u);
            EXPECT_EQ(host.found[1].depth, c.depth + 1);
            EXPECT_EQ(refusal, std::string::npos);
        } else {
            EXPECT_TRUE(host.found.empty());
            ASSERT_NE(refusal, std::string::npos);
            EXPECT_EQ(log.find("Playlist not followed", refusal + 1), std::string::npos);  // said once
        }
        EXPECT_EQ(Info(*item).state, DownFinished);
        runs.EndAll();
    }
}

TEST_F(DownItemTest, SucceededLogsSuccessLine) {
    CDownItem* item = NewItem();
    item->Start(&host);
    runs.refuseRedirects = true;
    runs.runs[0]->sink->Succeeded();
    EXPECT_EQ(LogOf(*item), "Start downloading...\r\nDownload success\r\n\r\n\r\n");
    EXPECT_EQ(host.finished, 1);
}

TEST_F(DownItemTest, MatchUrl) {
    struct Case {
        const char* name;
        int32_t itemKind;
        bool downloading;
        bool windingDown;  // failed, but its worker has not finished yet
        const char* url;
        int32_t kind;
        bool matches;
        int32_t kindAfter;
        int32_t stateAfter;
        const char* destAfter;
    } cases[] = {
        {"other url", 0, false, false, "http://a.example/y.asf", 2, false, 0, DownFailed, "C:\\dl\\clip.asf"},
        {"case differs, kind 0", 0, false, false, "HTTP://EXAMPLE.COM/CLIP.ASF", 0, true, 0, DownFailed,
         "C:\\dl\\clip.asf"},
        {"adopts kind", 0, false, false, "http://example.com/clip.asf", 2, true, 2, DownWaiting,
         "C:\\new\\c.rm"},
        {"run winding down left alone", 0, false, true, "http://example.com/clip.asf", 2, true, 0,
         DownFailed, "C:\\dl\\clip.asf"},
        {"kind already set", 2, false, false, "http://example.com/clip.asf", 2, true, 2, DownFailed,
         "C:\\dl\\clip.asf"},
        {"downloading left alone", 0, true, false, "http://example.com/clip.asf", 3, true, 0, DownDownloading,
         "C:\\dl\\clip.asf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDownItem* item = NewItem("http://example.com/clip.asf", "C:\\dl\\", "clip.asf", c.itemKind);
        item->Start(&host);
        if (!c.downloading) {
            runs.runs.back()->sink->Failed("x");
            if (!c.windingDown) runs.End(*runs.runs.back());
        }
        EXPECT_EQ(item->MatchUrl(c.url, c.kind, "C:\\new\\c.rm"), c.matches);
        EXPECT_EQ(item->ProtocolKindForNextRun(), c.kindAfter);
        EXPECT_EQ(Info(*item).state, c.stateAfter);
        EXPECT_STREQ(Info(*item).destFile, c.destAfter);
        runs.EndAll();
    }
}

TEST_F(DownItemTest, MarkDeletedSparesDownloadingItem) {
    CDownItem* item = NewItem();
    item->MarkDeleted();
    EXPECT_TRUE(item->IsDeleted());
    CDownItem* running = NewItem();
    running->Start(&host);
    running->MarkDeleted();
    EXPECT_TRUE(running->IsDownloading());
}

TEST_F(DownItemTest, LateReportsLeaveADeletedItemDeleted) {
    for (bool success : {false, true}) {
        SCOPED_TRACE(success ? "success" : "failure");
        CDownItem* item = NewItem();
        item->Start(&host);
        IDownloadSink* sink = runs.runs.back()->sink;
        sink->SetActiveKind(KindHttp);
        item->Stop();
        item->MarkDeleted();
        const size_t runsBefore = runs.runs.size();
        runs.redirects.clear();
        if (success) {
            sink->Succeeded();
        } else {
            sink->Failed("RECEIVE DATA ERROR");
        }
        EXPECT_TRUE(item->IsDeleted());
        EXPECT_EQ(runs.runs.size(), runsBefore);  // no fallback
        EXPECT_TRUE(runs.redirects.empty());
    }
}

TEST_F(DownItemTest, RestartOnlyMovesARunningDownload) {
    CDownItem* item = NewItem();
    item->Start(&host);
    runs.runs[0]->sink->Restart();  // a redirect while downloading: a new run
    ASSERT_EQ(runs.runs.size(), 2u);
    item->Stop();
    runs.runs[1]->sink->Restart();
    EXPECT_EQ(runs.runs.size(), 2u);
    EXPECT_EQ(Info(*item).state, DownStopped);
    item->MarkDeleted();
    runs.runs[1]->sink->Restart();
    EXPECT_EQ(runs.runs.size(), 2u);
    EXPECT_TRUE(item->IsDeleted());
}

TEST_F(DownItemTest, StopOnlyAffectsDownloadingItem) {
    CDownItem* item = NewItem();
    item->Stop();
    EXPECT_TRUE(item->IsWaiting());
}

TEST_F(DownItemTest, TakeChangedReportsOnce) {
    CDownItem* item = NewItem();
    item->TakeChanged();
    EXPECT_FALSE(item->TakeChanged());
    item->SetDownloaded(1);
    EXPECT_TRUE(item->TakeChanged());
    EXPECT_FALSE(item->TakeChanged());
    // Queries and URL moves are not reports.
    item->IsStopped();
    item->SetUrl("http://b.example/");
    EXPECT_FALSE(item->TakeChanged());
    item->Log("line");
    EXPECT_TRUE(item->TakeChanged());
}

TEST_F(DownItemTest, SnapshotStaysReadableWhileLogGrows) {
    CDownItem* item = NewItem();
    item->Log("first");
    DownItemInfo info = Info(*item);
    const std::string seen(info.logText, info.logLength);
    for (int i = 0; i < 2000; ++i) item->Log("a longer line that makes the log move in memory");
    EXPECT_EQ(std::string(info.logText, info.logLength), seen);
    EXPECT_EQ(seen, "first\r\n");
}

TEST_F(DownItemTest, SnapshotCopiesOnlyWhatTheLogGainedSinceTheLastOne) {
    // The program takes a snapshot of every item every second: a long log must not be copied whole
    // each time. A mark put into the text already handed out shows whether it was copied again.
    CDownItem* item = NewItem();
    const std::string line(198, 'x');
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        item->Log(line.c_str());
        expected += line + "\r\n";
    }
    const DownItemInfo first = Info(*item);
    ASSERT_EQ(std::string(first.logText, first.logLength), expected);
    const_cast<char*>(first.logText)[0] = '#';
    for (const char* added : {"", "one more", "and another"}) {
        SCOPED_TRACE(added);
        if (*added) {
            item->Log(added);
            expected += std::string(added) + "\r\n";
        }
        const DownItemInfo next = Info(*item);
        ASSERT_EQ(next.logLength, expected.size());
        EXPECT_EQ(next.logText[0], '#') << "the whole log was copied again";
        EXPECT_EQ(std::string(next.logText + 1, next.logLength - 1), expected.substr(1));
        EXPECT_EQ(next.logText[next.logLength], '\0');
    }
}

TEST_F(DownItemTest, RecordRoundTrip) {
    CDownItem* item = NewItem("http://a.example/r.asf", "C:\\dl\\", "r.asf");
    DownItemRecord record{};
    item->GetRecord(&record);
    EXPECT_STREQ(record.url, "http://a.example/r.asf");
    EXPECT_STREQ(record.destFile, "C:\\dl\\r.asf");
    EXPECT_EQ(record.state, DownWaiting);

    record.state = DownFinished;
    items.emplace_back(static_cast<CDownItem*>(CreateEngineObject<CDownItem>()));
    CDownItem* loaded = items.back().get();
    loaded->SetFromRecord(&record);
    DownItemInfo info = Info(*loaded);
    EXPECT_STREQ(info.url, "http://a.example/r.asf");
    EXPECT_EQ(info.state, DownFinished);
    EXPECT_EQ(info.totalSize, 0);
}

}  // namespace
