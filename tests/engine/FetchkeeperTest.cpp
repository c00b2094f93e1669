#include "Fetchkeeper.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "DownItem.h"
#include "EngineSettings.h"
#include "Factories.h"
#include "FakeRuns.h"
#include "PrjMng.h"
#include "TempDir.h"
#include "Watchdog.h"

namespace {

using ManagerPtr = EnginePtr<CFetchkeeper>;

ManagerPtr NewManager() { return ManagerPtr(static_cast<CFetchkeeper*>(NEW_FETCHKEEPER())); }

std::vector<ItemHandle> Items(CFetchkeeper& m) {
    std::vector<ItemHandle> all;
    for (ItemHandle h = m.GetFirstItem(); h; h = m.GetNextItem(h)) all.push_back(h);
    return all;
}

DownItemInfo Info(CFetchkeeper& m, ItemHandle h) {
    DownItemInfo info{};
    m.GetItemInfo(h, &info);
    return info;
}

int CountInState(CFetchkeeper& m, int32_t state) {
    int n = 0;
    for (ItemHandle h : Items(m)) n += Info(m, h).state == state;
    return n;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class FetchkeeperTest : public ::testing::Test {
protected:
    void TearDown() override {
        runs.EndAll();
        manager.reset();
    }
    // The run of the given item that is still going.
    FakeRun& RunOf(ItemHandle h) {
        const std::string dest = Info(*manager, h).destFile;
        for (auto it = runs.runs.rbegin(); it != runs.runs.rend(); ++it) {
            if (!(*it)->ended && (*it)->destFile == dest) return **it;
        }
        ADD_FAILURE() << "no run for " << dest;
        return *runs.runs.front();
    }
    void Succeed(ItemHandle h) {
        FakeRun& run = RunOf(h);
        run.sink->Succeeded();
        runs.End(run);
    }

    FakeRuns runs;
    ManagerPtr manager = NewManager();
};

TEST_F(FetchkeeperTest, StartsEmptyWithMaximumThree) {
    EXPECT_EQ(manager->GetCount(), 0);
    EXPECT_EQ(manager->GetFirstItem(), nullptr);
    EXPECT_EQ(manager->MaxThread(), 3);
}

TEST_F(FetchkeeperTest, QueuedUrlIsIgnoredWhateverItsCase) {
    runs.refuseJobs = true;
    EXPECT_TRUE(manager->AddItem("http://a.example/clip.asf", "C:\\dl\\", "clip.asf"));
    EXPECT_TRUE(manager->AddItem("HTTP://A.EXAMPLE/CLIP.ASF", "C:\\other\\", "x.asf"));
    EXPECT_EQ(manager->GetCount(), 1);
}

TEST_F(FetchkeeperTest, ClashingDestinationGetsDigitBeforeFileExtension) {
    struct Case {
        const char* name;
        std::vector<const char*> taken;  // destinations already listed (dir + name)
        const char* dir;
        const char* file;
        const char* expected;
    } cases[] = {
        {"simple", {"C:\\dl\\clip.asf"}, "C:\\dl\\", "clip.asf", "C:\\dl\\clip1.asf"},
        {"case differs", {"C:\\DL\\CLIP.ASF"}, "C:\\dl\\", "clip.asf", "C:\\dl\\clip1.asf"},
        {"two dots", {"C:\\dl\\a.b.rm"}, "C:\\dl\\", "a.b.rm", "C:\\dl\\a.b1.rm"},
        {"dot only in folder", {"C:\\v1.2\\clip"}, "C:\\v1.2\\", "clip", "C:\\v1.2\\clip1"},
        {"no dot at all", {"C:\\dl\\clip"}, "C:\\dl\\", "clip", "C:\\dl\\clip1"},
        {"slash folders", {"/tmp/v1.2/clip"}, "/tmp/v1.2/", "clip", "/tmp/v1.2/clip1"},
        {"the rewrite taken too", {"C:\\dl\\clip.asf", "C:\\dl\\clip1.asf"}, "C:\\dl\\", "clip.asf",
         "C:\\dl\\clip2.asf"},
        {"the first rewrites taken, listed before the name",
         {"C:\\dl\\clip1.asf", "C:\\dl\\clip2.asf", "C:\\dl\\clip.asf"}, "C:\\dl\\", "clip.asf",
         "C:\\dl\\clip3.asf"},
        {"the rewrite is a listed item's record", {"C:\\dl\\clip.asf", "C:\\dl\\clip1.asf.ini"}, "C:\\dl\\",
         "clip.asf", "C:\\dl\\clip2.asf"},
        {"a listed item's record", {"C:\\dl\\x.bin"}, "C:\\dl\\", "x.bin.ini", "C:\\dl\\x.bin1.ini"},
        {"its record is a listed item's file", {"C:\\dl\\x.bin.ini"}, "C:\\dl\\", "x.bin", "C:\\dl\\x1.bin"},
        {"a trailing blank", {"C:\\dl\\clip.asf"}, "C:\\dl\\", "clip.asf ", "C:\\dl\\clip1.asf"},
        {"trailing dots", {"C:\\dl\\clip.asf"}, "C:\\dl\\", "clip.asf..", "C:\\dl\\clip1.asf"},
        {"a listed name with a trailing dot", {"C:\\dl\\clip.asf."}, "C:\\dl\\", "clip.asf", "C:\\dl\\clip1.asf"},
        {"the other separator", {"C:\\dl\\clip.asf"}, "C:/dl/", "clip.asf", "C:/dl/clip1.asf"},
        {"no clash, a trailing blank dropped", {"C:\\dl\\other.asf"}, "C:\\dl\\", "clip.asf ", "C:\\dl\\clip.asf"},
        {"no clash", {"C:\\dl\\other.asf"}, "C:\\dl\\", "clip.asf", "C:\\dl\\clip.asf"},
    };
    runs.refuseJobs = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        manager->RemoveAll();
        int n = 0;
        for (const char* dest : c.taken) {
            const std::string url = "http://a.example/" + std::to_string(n++);
            ASSERT_TRUE(manager->AddItem(url.c_str(), "", dest));
        }
        ASSERT_TRUE(manager->AddItem("http://new.example/clip", c.dir, c.file));
        const std::vector<ItemHandle> all = Items(*manager);
        ASSERT_EQ(all.size(), c.taken.size() + 1);
        EXPECT_STREQ(Info(*manager, all.back()).destFile, c.expected);
    }
}

// The names the insert rule compares with follow every change of an item's destination: a new
// one given by the program, a rename by its run, its removal.
TEST_F(FetchkeeperTest, ClashesFollowEveryChangeOfADestination) {
    auto add = [&](const char* url, const char* file) {
        EXPECT_TRUE(manager->AddItem(url, "C:\\dl\\", file));
        return std::string(Info(*manager, Items(*manager).back()).destFile);
    };
    add("http://a.example/a", "a.bin");
    const ItemHandle a = Items(*manager)[0];
    FakeRun& run = RunOf(a);
    // A run renames its file: the name it is given is free, and the item holds it.
    char free[kPathSize] = {};
    ASSERT_TRUE(run.sink->FreeDestFile("C:\\dl\\b.bin", free));
    EXPECT_STREQ(free, "C:\\dl\\b.bin");
    run.sink->SetDestFile(free);
    run.sink->Failed("RECEIVE DATA ERROR");
    runs.End(run);
    runs.refuseJobs = true;
    EXPECT_EQ(add("http://a.example/1", "a.bin"), "C:\\dl\\a.bin");
    EXPECT_EQ(add("http://a.example/2", "B.BIN"), "C:\\dl\\B1.BIN");
    // Another item's run is given a free name, not the one this item holds.
    ASSERT_TRUE(run.sink->FreeDestFile("C:\\dl\\a.bin", free));
    EXPECT_STREQ(free, "C:\\dl\\a1.bin");
    // The program renames the item: its old name is free, the new one taken.
    ASSERT_TRUE(manager->SetItemUrl(a, "http://a.example/a", "C:\\dl\\c.bin"));
    EXPECT_EQ(add("http://a.example/3", "b.bin"), "C:\\dl\\b.bin");
    EXPECT_EQ(add("http://a.example/4", "c.bin"), "C:\\dl\\c1.bin");
    // A rename onto another item's name gets a free one.
    ASSERT_TRUE(manager->SetItemUrl(a, "http://a.example/a", "C:\\dl\\b.bin"));
    EXPECT_STREQ(Info(*manager, a).destFile, "C:\\dl\\b2.bin");
    // Deleted, the item still holds its name; freed, it holds none.
    EXPECT_TRUE(manager->RemoveItem(a));
    EXPECT_EQ(add("http://a.example/5", "b2.bin"), "C:\\dl\\b21.bin");
    EXPECT_TRUE(manager->RemoveItem(a));
    EXPECT_EQ(add("http://a.example/6", "b2.bin"), "C:\\dl\\b2.bin");
}

TEST_F(FetchkeeperTest, RefusesUrlsThatWouldBreakTheSavedList) {
    runs.refuseJobs = true;
    const std::string longUrl = "http://a.example/" + std::string(kUrlSize, 'x');
    const std::string longName(kPathSize, 'n');
    EXPECT_FALSE(manager->AddItem("http://a.example/x\r\n[Down]", "C:\\dl\\", "x"));
    EXPECT_FALSE(manager->AddItem("http://a.example/x\n", "C:\\dl\\", "x"));
    EXPECT_FALSE(manager->AddItem(longUrl.c_str(), "C:\\dl\\", "x"));
    EXPECT_FALSE(manager->AddItem("http://a.example/y", "C:\\dl\\", longName.c_str()));
    EXPECT_FALSE(manager->AddItem("http://a.example/z", "C:\\dl\\", "z\r\n"));
    EXPECT_EQ(manager->GetCount(), 0);
}

TEST_F(FetchkeeperTest, SchedulesFirstWaitingItemWhileBelowMaximum) {
    for (int i = 0; i < 5; ++i) {
        const std::string url = "http://a.example/f" + std::to_string(i);
        manager->AddItem(url.c_str(), "C:\\dl\\", ("f" + std::to_string(i)).c_str());
    }
    std::vector<ItemHandle> all = Items(*manager);
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(CountInState(*manager, DownDownloading), 3);
    EXPECT_EQ(Info(*manager, all[3]).state, DownWaiting);
    EXPECT_EQ(Info(*manager, all[4]).state, DownWaiting);

    Succeed(all[1]);
    EXPECT_EQ(Info(*manager, all[1]).state, DownFinished);
    EXPECT_EQ(Info(*manager, all[3]).state, DownDownloading);
    EXPECT_EQ(Info(*manager, all[4]).state, DownWaiting);
    EXPECT_EQ(CountInState(*manager, DownDownloading), 3);
}

TEST_F(FetchkeeperTest, LowerMaximumStopsNothingAndHoldsTheQueue) {
    for (int i = 0; i < 4; ++i) {
        const std::string url = "http://a.example/g" + std::to_string(i);
        manager->AddItem(url.c_str(), "C:\\dl\\", ("g" + std::to_string(i)).c_str());
    }
    std::vector<ItemHandle> all = Items(*manager);
    manager->SetMaxThread(1);
    EXPECT_EQ(CountInState(*manager, DownDownloading), 3);
    Succeed(all[0]);
    Succeed(all[1]);
    EXPECT_EQ(Info(*manager, all[3]).state, DownWaiting);
    Succeed(all[2]);
    EXPECT_EQ(Info(*manager, all[3]).state, DownDownloading);
}

TEST_F(FetchkeeperTest, StopStartsTheNextWaitingItem) {
    manager->SetMaxThread(1);
    manager->AddItem("http://a.example/1", "C:\\dl\\", "1");
    manager->AddItem("http://a.example/2", "C:\\dl\\", "2");
    std::vector<ItemHandle> all = Items(*manager);
    ASSERT_TRUE(manager->StopItem(all[0]));
    EXPECT_EQ(Info(*manager, all[0]).state, DownStopped);
    EXPECT_EQ(Info(*manager, all[1]).state, DownDownloading);
}

TEST_F(FetchkeeperTest, StartItemIgnoresTheMaximumButNotARunningItem) {
    manager->SetMaxThread(1);
    manager->AddItem("http://a.example/0", "C:\\dl\\", "0");
    manager->AddItem("http://a.example/1", "C:\\dl\\", "1");
    ItemHandle item = Items(*manager)[1];
    EXPECT_EQ(Info(*manager, item).state, DownWaiting);
    EXPECT_TRUE(manager->StartItem(item));
    EXPECT_EQ(Info(*manager, item).state, DownDownloading);
    EXPECT_TRUE(manager->StartItem(item));
    EXPECT_EQ(runs.runs.size(), 2u);
}

TEST_F(FetchkeeperTest, RemoveItemDeletesFirstAndFreesSecond) {
    runs.refuseJobs = true;  // both stay waiting
    manager->AddItem("http://a.example/1", "C:\\dl\\", "1");
    manager->AddItem("http://a.example/2", "C:\\dl\\", "2");
    runs.refuseJobs = false;
    std::vector<ItemHandle> all = Items(*manager);
    EXPECT_TRUE(manager->RemoveItem(all[0]));
    EXPECT_EQ(Info(*manager, all[0]).state, DownDeleted);
    EXPECT_EQ(manager->GetCount(), 2);
    EXPECT_TRUE(manager->RemoveItem(all[0]));
    EXPECT_EQ(Items(*manager), std::vector<ItemHandle>{all[1]});
    EXPECT_FALSE(manager->RemoveItem(all[0]));

    manager->StartItem(all[1]);
    EXPECT_FALSE(manager->RemoveItem(all[1]));
    EXPECT_EQ(Info(*manager, all[1]).state, DownDownloading);
}

TEST_F(FetchkeeperTest, DeletedItemIsFreedOnlyOnceItsRunHasEnded) {
    manager->AddItem("http://a.example/1", "C:\\dl\\", "1");
    ItemHandle item = manager->GetFirstItem();
    FakeRun& run = RunOf(item);
    manager->StopItem(item);
    EXPECT_TRUE(manager->RemoveItem(item));
    EXPECT_FALSE(manager->RemoveItem(item));  // the stopped run is still winding down
    run.sink->Failed("USER CANCEL THE OPERATION");
    EXPECT_EQ(Info(*manager, item).state, DownDeleted);  // the late report does not revive it
    runs.End(run);
    EXPECT_TRUE(manager->RemoveItem(item));
    EXPECT_EQ(manager->GetCount(), 0);
}

TEST_F(FetchkeeperTest, RemoveAllWaitsForRunsStillGoing) {
    manager->AddItem("http://a.example/1", "C:\\dl\\", "1");
    FakeRun& run = RunOf(manager->GetFirstItem());
    std::atomic<bool> done{false};
    std::thread remover([&] {
        manager->RemoveAll();
        done = true;
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!run.sink->IsStopped() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    EXPECT_TRUE(run.sink->IsStopped());  // asked to end
    // A RemoveAll that did not wait would return at once now: give it a moment to show that.
    const auto moment = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
    while (!done && std::chrono::steady_clock::now() < moment) std::this_thread::yield();
    EXPECT_FALSE(done);
    run.sink->Failed("USER CANCEL THE OPERATION");
    runs.End(run);
    remover.join();
    EXPECT_TRUE(done);
    EXPECT_EQ(manager->GetCount(), 0);
}

TEST_F(FetchkeeperTest, DeletedItemsRunEndsAsAStoppedOneDoes) {
    manager->AddItem("http://a.example/1", "C:\\dl\\", "1");
    ItemHandle item = manager->GetFirstItem();
    FakeRun& run = RunOf(item);
    manager->StopItem(item);
    EXPECT_TRUE(run.sink->IsStopped());
    EXPECT_FALSE(run.sink->MustEnd());  // the user's stop: a downloader may still ask about it
    ASSERT_TRUE(manager->RemoveItem(item));
    ASSERT_EQ(Info(*manager, item).state, DownDeleted);
    EXPECT_TRUE(run.sink->IsStopped()) << "the deleted item's run was no longer told to stop";
    EXPECT_FALSE(run.sink->MustEnd());
    runs.End(run);
}

TEST_F(FetchkeeperTest, RemoveAllEndsEveryRunWhateverItsItemsState) {
    // One item downloading, one stopped and one deleted while their runs still end.
    for (const char* name : {"1", "2", "3"}) {
        manager->AddItem((std::string("http://a.example/") + name).c_str(), "C:\\dl\\", name);
    }
    const std::vector<ItemHandle> all = Items(*manager);
    std::vector<FakeRun*> going;
    for (ItemHandle h : all) going.push_back(&RunOf(h));
    manager->StopItem(all[1]);
    manager->StopItem(all[2]);
    ASSERT_TRUE(manager->RemoveItem(all[2]));
    std::atomic<bool> done{false};
    std::thread remover([&] {
        manager->RemoveAll();
        done = true;
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (FakeRun* run : going) {
        while (!run->sink->MustEnd() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
        EXPECT_TRUE(run->sink->MustEnd());
        EXPECT_TRUE(run->sink->IsStopped());
    }
    EXPECT_FALSE(done);  // each run is waited for
    for (FakeRun* run : going) {
        run->sink->Failed("USER CANCEL THE OPERATION");
        runs.End(*run);
    }
    remover.join();
    EXPECT_EQ(manager->GetCount(), 0);
}

TEST_F(FetchkeeperTest, UrlOfARunningItemStaysAsItIs) {
    manager->AddItem("http://a.example/1", "C:\\dl\\", "1.bin");
    ItemHandle item = manager->GetFirstItem();
    FakeRun& run = RunOf(item);
    struct Step {
        const char* what;
        std::function<void()> before;
        bool accepted;
    } steps[] = {
        {"downloading", [] {}, false},
        {"stopped, its run still ending", [&] { manager->StopItem(item); }, false},
        {"stopped, its run ended", [&] { runs.End(run); }, true},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.before();
        const std::string url = std::string("http://b.example/") + step.what;
        EXPECT_EQ(manager->SetItemUrl(item, url.c_str(), "C:\\dl\\2.bin"), step.accepted);
        EXPECT_EQ(std::string(Info(*manager, item).url), step.accepted ? url : "http://a.example/1");
        EXPECT_STREQ(Info(*manager, item).destFile, step.accepted ? "C:\\dl\\2.bin" : "C:\\dl\\1.bin");
        EXPECT_STREQ(run.url.c_str(), "http://a.example/1");
    }
}

TEST_F(FetchkeeperTest, NothingJoinsTheListWhileRemoveAllWaits) {
    manager->AddItem("http://a.example/1", "C:\\dl\\", "1");
    FakeRun& run = RunOf(manager->GetFirstItem());
    std::thread remover([&] { manager->RemoveAll(); });
    while (!run.sink->IsStopped()) std::this_thread::yield();
    // A playlist finishing late, and the user, try to add while the list is being emptied.
    static_cast<IItemHost*>(manager.get())->AddFoundItem("http://a.example/late.asf", "C:\\dl\\", 0);
    manager->AddItem("http://a.example/2", "C:\\dl\\", "2");
    EXPECT_EQ(manager->GetCount(), 0);
    run.sink->Failed("USER CANCEL THE OPERATION");
    runs.End(run);
    remover.join();
    EXPECT_EQ(manager->GetCount(), 0);
    EXPECT_EQ(runs.runs.size(), 1u);
    EXPECT_TRUE(manager->AddItem("http://a.example/3", "C:\\dl\\", "3"));
    EXPECT_EQ(manager->GetCount(), 1);
}

TEST_F(FetchkeeperTest, StoppedItemStartsAgainOnlyOnceItsRunHasEnded) {
    manager->AddItem("http://a.example/1", "C:\\dl\\", "1");
    ItemHandle item = manager->GetFirstItem();
    FakeRun& run = RunOf(item);
    manager->StopItem(item);
    manager->StartItem(item);
    EXPECT_EQ(runs.runs.size(), 1u);  // the first worker still owns the file
    EXPECT_EQ(Info(*manager, item).state, DownStopped);
    run.sink->Failed("USER CANCEL THE OPERATION");
    runs.End(run);
    manager->StartItem(item);
    EXPECT_EQ(runs.runs.size(), 2u);
    EXPECT_EQ(Info(*manager, item).state, DownDownloading);
}

TEST_F(FetchkeeperTest, EnumerationWalksInInsertionOrder) {
    runs.refuseJobs = true;
    EXPECT_EQ(manager->GetNextItem(nullptr), nullptr);
    manager->AddItem("http://a.example/1", "C:\\dl\\", "1");
    manager->AddItem("http://a.example/2", "C:\\dl\\", "2");
    std::vector<ItemHandle> all = Items(*manager);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_STREQ(Info(*manager, all[0]).url, "http://a.example/1");
    EXPECT_EQ(manager->GetNextItem(all[1]), nullptr);
    int notAnItem = 0;
    EXPECT_EQ(manager->GetNextItem(&notAnItem), nullptr);
    DownItemInfo info{};
    EXPECT_FALSE(manager->GetItemInfo(&notAnItem, &info));
    EXPECT_FALSE(manager->TakeItemChanged(&notAnItem));
}

TEST_F(FetchkeeperTest, FreedItemsHandleIsAnsweredAsAnUnknownOne) {
    runs.refuseJobs = true;
    for (const char* name : {"1", "2", "3", "4"}) {
        manager->AddItem((std::string("http://a.example/") + name).c_str(), "C:\\dl\\", name);
    }
    const std::vector<ItemHandle> all = Items(*manager);
    // Asked about just before it goes, as a poll asks about the item after the one it holds.
    EXPECT_EQ(manager->GetNextItem(all[0]), all[1]);
    ASSERT_TRUE(manager->RemoveItem(all[1]));
    EXPECT_EQ(manager->GetNextItem(all[0]), all[1]);  // deleted, still listed
    ASSERT_TRUE(manager->RemoveItem(all[1]));
    EXPECT_EQ(manager->GetNextItem(all[0]), all[2]);
    EXPECT_EQ(manager->GetNextItem(all[1]), nullptr);
    DownItemInfo info{};
    EXPECT_FALSE(manager->GetItemInfo(all[1], &info));
    EXPECT_FALSE(manager->TakeItemChanged(all[1]));
    EXPECT_FALSE(manager->RemoveItem(all[1]));
    char dest[kPathSize];
    EXPECT_FALSE(manager->GetItemDestFile(all[1], dest));
    EXPECT_FALSE(manager->SetItemUrl(all[1], "http://b.example/", "C:\\dl\\b"));

    // The last one goes: its neighbour becomes the last.
    manager->RemoveItem(all[3]);
    manager->RemoveItem(all[3]);
    EXPECT_EQ(manager->GetNextItem(all[2]), nullptr);
    EXPECT_EQ(Items(*manager), (std::vector<ItemHandle>{all[0], all[2]}));
    // And the first: the list starts at the next one.
    EXPECT_EQ(Info(*manager, all[0]).state, DownWaiting);
    manager->RemoveItem(all[0]);
    manager->RemoveItem(all[0]);
    EXPECT_EQ(manager->GetFirstItem(), all[2]);
    EXPECT_EQ(manager->GetNextItem(all[0]), nullptr);
    manager->RemoveAll();
    EXPECT_EQ(manager->GetFirstItem(), nullptr);
    EXPECT_EQ(manager->GetNextItem(all[2]), nullptr);
    EXPECT_FALSE(manager->TakeItemChanged(all[2]));
}

TEST_F(FetchkeeperTest, QueuedUrlIsTheOneAnItemHoldsNow) {
    // An item's URL changes by the properties dialog, a redirect and the HTTP fallback; the insert
    // rule compares with the URL it holds at that moment.
    runs.refuseJobs = true;
    manager->AddItem("http://a.example/old", "C:\\dl\\", "a");
    manager->AddItem("http://a.example/other", "C:\\dl\\", "b");
    const std::vector<ItemHandle> all = Items(*manager);
    ASSERT_TRUE(manager->SetItemUrl(all[0], "http://a.example/new", "C:\\dl\\a"));
    EXPECT_TRUE(manager->AddItem("HTTP://a.example/NEW", "C:\\dl\\", "c"));
    EXPECT_EQ(manager->GetCount(), 2);
    EXPECT_TRUE(manager->AddItem("http://a.example/old", "C:\\dl\\", "d"));
    EXPECT_EQ(manager->GetCount(), 3);

    // Two items now hold one URL: the first of the list is the one that matches, whichever took
    // the URL last. The match is seen by its effect: a found entry's kind, file and waiting state.
    ASSERT_TRUE(manager->SetItemUrl(all[1], "http://a.example/shared", "C:\\dl\\b"));
    ASSERT_TRUE(manager->SetItemUrl(all[0], "http://a.example/shared", "C:\\dl\\a"));
    static_cast<IItemHost*>(manager.get())->AddFoundItem("http://a.example/shared", "C:\\found\\", KindMms);
    EXPECT_EQ(manager->GetCount(), 3);
    EXPECT_STREQ(Info(*manager, all[0]).destFile, "C:\\found\\shared");
    EXPECT_STREQ(Info(*manager, all[1]).destFile, "C:\\dl\\b");
}

TEST_F(FetchkeeperTest, UrlARunChangesIsTheOneQueued) {
    manager->AddItem("http://a.example/start.asf", "C:\\dl\\", "start.asf");
    ItemHandle item = manager->GetFirstItem();
    RunOf(item).sink->SetUrl("http://b.example/moved.asf");
    runs.refuseJobs = true;
    manager->AddItem("http://b.example/moved.asf", "C:\\dl\\", "other.asf");
    EXPECT_EQ(manager->GetCount(), 1);
    manager->AddItem("http://a.example/start.asf", "C:\\dl\\", "again.asf");
    EXPECT_EQ(manager->GetCount(), 2);
}

TEST_F(FetchkeeperTest, ItemWaitingAgainStartsInItsPlaceInTheList) {
    manager->SetMaxThread(1);
    manager->AddItem("http://a.example/first", "C:\\dl\\", "first");
    const ItemHandle first = manager->GetFirstItem();
    FakeRun& firstRun = RunOf(first);
    manager->StopItem(first);
    firstRun.sink->Failed("USER CANCEL THE OPERATION");
    runs.End(firstRun);
    manager->AddItem("http://a.example/second", "C:\\dl\\", "second");
    manager->AddItem("http://a.example/third", "C:\\dl\\", "third");
    const std::vector<ItemHandle> all = Items(*manager);
    ASSERT_EQ(Info(*manager, all[1]).state, DownDownloading);
    ASSERT_EQ(Info(*manager, all[2]).state, DownWaiting);
    // A playlist names the stopped first item again: it waits, ahead of the third.
    static_cast<IItemHost*>(manager.get())->AddFoundItem("http://a.example/first", "C:\\dl\\", KindHttp);
    ASSERT_EQ(Info(*manager, first).state, DownWaiting);
    Succeed(all[1]);
    EXPECT_EQ(Info(*manager, first).state, DownDownloading);
    EXPECT_EQ(Info(*manager, all[2]).state, DownWaiting);
    Succeed(first);
    EXPECT_EQ(Info(*manager, all[2]).state, DownDownloading);
}

TEST_F(FetchkeeperTest, EmptiedListCountsNoDownloadsLeft) {
    manager->SetMaxThread(1);
    manager->AddItem("http://a.example/1", "C:\\dl\\", "1");
    FakeRun& run = RunOf(manager->GetFirstItem());
    std::thread remover([&] { manager->RemoveAll(); });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!run.sink->MustEnd() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    run.sink->Failed("USER CANCEL THE OPERATION");
    runs.End(run);
    remover.join();
    manager->AddItem("http://a.example/2", "C:\\dl\\", "2");
    EXPECT_EQ(Info(*manager, manager->GetFirstItem()).state, DownDownloading);
}

TEST_F(FetchkeeperTest, FailedRunLeavesRoomForTheNextOnlyOnceItsRetryFailed) {
    // The HTTP fallback changes the URL and starts a second run from inside the failed one.
    manager->SetMaxThread(1);
    manager->AddItem("http://a.example/clip", "C:\\dl\\", "clip");
    manager->AddItem("http://a.example/next", "C:\\dl\\", "next");
    const std::vector<ItemHandle> all = Items(*manager);
    FakeRun& run = RunOf(all[0]);
    run.sink->SetActiveKind(KindHttp);
    run.sink->Failed("CONNECT TO SERVER ERROR");
    runs.End(run);
    ASSERT_EQ(Info(*manager, all[0]).state, DownDownloading);
    EXPECT_EQ(Info(*manager, all[1]).state, DownWaiting);
    FakeRun& retry = RunOf(all[0]);
    retry.sink->Failed("CONNECT TO SERVER ERROR");
    runs.End(retry);
    EXPECT_EQ(Info(*manager, all[0]).state, DownFailed);
    EXPECT_EQ(Info(*manager, all[1]).state, DownDownloading);
}

TEST_F(FetchkeeperTest, ItemAccessorsGoThroughTheHandle) {
    runs.refuseJobs = true;
    manager->AddItem("http://a.example/1", "C:\\dl\\", "1.asf");
    ItemHandle item = manager->GetFirstItem();
    char dest[kPathSize];
    ASSERT_TRUE(manager->GetItemDestFile(item, dest));
    EXPECT_STREQ(dest, "C:\\dl\\1.asf");
    EXPECT_TRUE(manager->SetItemUrl(item, "http://b.example/2", "C:\\dl\\2.asf"));
    EXPECT_STREQ(Info(*manager, item).url, "http://b.example/2");
    EXPECT_STREQ(Info(*manager, item).destFile, "C:\\dl\\2.asf");
    EXPECT_FALSE(manager->SetItemUrl(item, "http://b.example/\r\n", "C:\\dl\\2.asf"));
}

TEST_F(FetchkeeperTest, FoundItemTakesUrlFileNameAndKind) {
    runs.refuseJobs = true;  // both stay waiting
    IItemHost* host = manager.get();
    host->AddFoundItem("mms://media.example/live/stream.asf?x=1", "C:\\dl\\", 3);
    host->AddFoundItem("rtsp://media.example/a.rm", "C:\\dl\\", 0);
    std::vector<ItemHandle> all = Items(*manager);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_STREQ(Info(*manager, all[0]).destFile, "C:\\dl\\stream.asf");
    runs.refuseJobs = false;
    host->ItemFinished();
    ASSERT_EQ(runs.runs.size(), 1u);
    EXPECT_EQ(runs.runs[0]->kind, 3);
    // A found URL equal to a listed one adopts the found kind instead of adding an item.
    host->AddFoundItem("RTSP://media.example/a.rm", "C:\\other\\", 2);
    EXPECT_EQ(manager->GetCount(), 2);
}

TEST_F(FetchkeeperTest, EndlessChainOfPlaylistsStopsAtABoundedDepth) {
    // A hostile server whose every playlist names a new one.
    TempDir dir;
    runs.realRedirects = true;
    manager->AddItem("http://a.example/p0.ram", dir.Dir().c_str(), "p0.ram");
    for (int i = 1; i <= 20; ++i) {
        FakeRun* running = nullptr;
        for (auto& run : runs.runs) {
            if (!run->ended) running = run.get();
        }
        if (!running) break;
        std::ofstream(running->destFile, std::ios::binary) << "http://a.example/p" << i << ".ram\r\n";
        running->sink->Succeeded();
        runs.End(*running);
    }
    const std::vector<ItemHandle> all = Items(*manager);
    ASSERT_EQ(all.size(), 6u);  // the user's playlist and five levels below it
    const DownItemInfo last = Info(*manager, all.back());
    EXPECT_STREQ(last.url, "http://a.example/p5.ram");
    ASSERT_NE(last.logText, nullptr);
    EXPECT_NE(std::string(last.logText).find("Playlist not followed: more than 5 playlists deep"), std::string::npos);
    for (ItemHandle h : all) EXPECT_EQ(Info(*manager, h).state, DownFinished);
}

TEST_F(FetchkeeperTest, FileNameFromUrl) {
    struct Case {
        const char* url;
        bool ok;
        const char* name;
    } cases[] = {
        {"http://a.example/dir/clip.asf", true, "clip.asf"},
        {"http://a.example/dir/", false, ""},
        {"http://a.example", false, ""},
        {"http://a.example/get?id=1", true, "get"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        char out[511] = "untouched";
        EXPECT_EQ(manager->FileNameFromUrl(c.url, out), c.ok);
        EXPECT_STREQ(out, c.ok ? c.name : "untouched");
    }
}

TEST_F(FetchkeeperTest, UrlWithLogin) {
    char out[kUrlSize];
    manager->UrlWithLogin("http://a.example/x", "me", "pw", out);
    EXPECT_STREQ(out, "http://me:pw@a.example/x");
    manager->UrlWithLogin("http://a.example/x", "", "pw", out);
    EXPECT_STREQ(out, "http://a.example/x");
}

TEST_F(FetchkeeperTest, UrlWithLoginGivesNothingRatherThanACutUrl) {
    auto urlOf = [](size_t length) { return "http://a.example/" + std::string(length - 17, 'x'); };
    struct Case {
        std::string url;
        const char *user, *password;
        std::string out;
    } cases[] = {
        {urlOf(1023), "", "", urlOf(1023)},
        {urlOf(1024), "", "", ""},
        {urlOf(4000), "", "", ""},
        {urlOf(1017), "me", "pw", "http://me:pw@" + urlOf(1017).substr(7)},  // 1023 with the login
        {urlOf(1018), "me", "pw", ""},
        {urlOf(1024), "me", "", ""},
        {"http://ann@" + urlOf(1020).substr(7), "me", "pw", ""},  // its own login kept, and too long
        {"http://ann@" + urlOf(1012).substr(7), "me", "pw", "http://ann@" + urlOf(1012).substr(7)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url.size());
        char out[kUrlSize + 8];
        std::memset(out, 'j', sizeof out);
        manager->UrlWithLogin(c.url.c_str(), c.user, c.password, out);
        EXPECT_EQ(std::string(out), c.out);
        // Nothing written past the field.
        EXPECT_EQ(std::string(out + kUrlSize, 8), std::string(8, 'j'));
    }
}

class FetchkeeperStoreTest : public FetchkeeperTest {
protected:
    TempDir dir;
    std::string ini = dir.File("config.ini");
};

TEST_F(FetchkeeperStoreTest, SettingsDefaultOnAnEmptyFile) {
    EXPECT_EQ(manager->GetMaxThread(ini.c_str()), 3);
    EXPECT_EQ(manager->GetTimeOut(ini.c_str()), 30);
    char path[kPathSize] = "junk";
    EXPECT_TRUE(manager->GetDestPath(ini.c_str(), path));
    EXPECT_STREQ(path, "");
    char server[kUrlSize] = "junk", port[10] = "junk";
    uint8_t enabled = 7;
    EXPECT_TRUE(manager->GetProxy(ini.c_str(), server, port, &enabled));
    EXPECT_STREQ(server, "");
    EXPECT_STREQ(port, "");
    EXPECT_EQ(enabled, 0);
}

TEST_F(FetchkeeperStoreTest, SettingsRoundTrip) {
    EXPECT_TRUE(manager->SaveMaxThread(ini.c_str(), 7));
    EXPECT_EQ(manager->GetMaxThread(ini.c_str()), 7);
    EXPECT_EQ(manager->MaxThread(), 3);  // the maximum in use stays

    EXPECT_TRUE(manager->SetTimeOut(ini.c_str(), 45));
    EXPECT_EQ(manager->GetTimeOut(ini.c_str()), 45);
    EXPECT_EQ(GetEngineTimeOut(), 45);

    EXPECT_TRUE(manager->SetDestPath(ini.c_str(), dir.Dir().c_str()));
    char path[kPathSize];
    manager->GetDestPath(ini.c_str(), path);
    EXPECT_EQ(std::string(path), dir.Dir());
    manager->SetDestPath(ini.c_str(), dir.File("gone").c_str());
    manager->GetDestPath(ini.c_str(), path);
    EXPECT_STREQ(path, "");
}

TEST_F(FetchkeeperStoreTest, ProxyPortIsItsLeadingDigits) {
    struct Case {
        const char* portText;
        int32_t enable;
        int32_t port;  // -1: too large for a port, only bounded
        bool enabled;
    } cases[] = {{"8080", 1, 8080, true}, {"3128x", 1, 3128, true}, {"x1", 1, 0, true},
                 {"", 0, 0, false},      {"80", 256, 80, false},  {"99999999999", 1, -1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.portText);
        EXPECT_TRUE(manager->SetProxy(ini.c_str(), "proxy.example", c.portText, c.enable));
        const EngineProxy proxy = GetEngineProxy();
        EXPECT_EQ(proxy.server, "proxy.example");
        if (c.port >= 0) {
            EXPECT_EQ(proxy.port, c.port);
        } else {
            EXPECT_GE(proxy.port, 0);  // stops before it overflows
        }
        EXPECT_EQ(proxy.enabled, c.enabled);
        char server[kUrlSize], port[10];
        uint8_t enabled;
        manager->GetProxy(ini.c_str(), server, port, &enabled);
        EXPECT_STREQ(server, "proxy.example");
        EXPECT_EQ(std::string(port), std::string(c.portText).substr(0, 9));
        EXPECT_EQ(enabled, c.enabled ? 1 : 0);
    }
    EXPECT_FALSE(manager->SetProxy(ini.c_str(), "proxy.example\r\n[Down]", "80", 1));
    EXPECT_FALSE(manager->SetDestPath(ini.c_str(), "C:\\dl\n[0]"));
    SetEngineProxy(EngineProxy{});
}

TEST_F(FetchkeeperStoreTest, SavedListLoadsBackWithStates) {
    runs.refuseJobs = true;  // every item stays waiting
    manager->AddItem("http://a.example/1.asf", "C:\\dl\\", "1.asf");
    manager->AddItem("http://a.example/2.asf", "C:\\dl\\", "2.asf");
    manager->AddItem("http://a.example/3.asf", "C:\\dl\\", "3.asf");
    std::vector<ItemHandle> all = Items(*manager);
    manager->RemoveItem(all[1]);
    manager->SaveMaxThread(ini.c_str(), 5);
    ASSERT_TRUE(manager->SaveProject(ini.c_str()));
    EXPECT_FALSE(std::filesystem::exists(ini + ".tmp"));

    ManagerPtr loaded = NewManager();
    ASSERT_TRUE(loaded->LoadProject(ini.c_str()));
    std::vector<ItemHandle> back = Items(*loaded);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_STREQ(Info(*loaded, back[0]).url, "http://a.example/1.asf");
    EXPECT_STREQ(Info(*loaded, back[2]).destFile, "C:\\dl\\3.asf");
    EXPECT_EQ(Info(*loaded, back[0]).state, DownWaiting);
    EXPECT_EQ(Info(*loaded, back[1]).state, DownDeleted);
    EXPECT_TRUE(runs.runs.empty());  // loading starts nothing

    // The list stays in the file until the next save, and a second load adds nothing.
    ASSERT_TRUE(loaded->LoadProject(ini.c_str()));
    EXPECT_EQ(loaded->GetCount(), 3);
    EXPECT_NE(ReadText(ini).find("http://a.example/2.asf"), std::string::npos);
    EXPECT_EQ(loaded->GetMaxThread(ini.c_str()), 5);  // settings survive saving the list
}

TEST_F(FetchkeeperStoreTest, SaveWritesTheBytesThatKeyByKeyProfileCallsWrite) {
    // The save edits the file in memory and writes it once; the profile calls, key by key, are
    // what it must match (under Wine: the platform's own writer).
    runs.refuseJobs = true;
    manager->AddItem("http://a.example/1.asf", "C:\\dl\\", "1.asf");
    manager->AddItem("http://a.example/2.asf", "C:\\dl\\", "  spaced name.asf");
    manager->RemoveItem(Items(*manager)[1]);
    const std::string utf8Bom = "\xEF\xBB\xBF";
    struct Case {
        const char* what;
        std::string before;  // the file before the save; empty: no file
    } cases[] = {
        {"no file", ""},
        {"settings and a longer old list",
         "[DestPath]\r\nDefault=C:\\dl\r\n[0]\r\nURL=http://old.example/0\r\nDestFileName=C:\\dl\\0\r\nState=4\r\n"
         "[Down]\r\nCount=3\r\nDebug=\r\nOther=kept?\r\n[1]\r\nURL=http://old.example/1\r\nState=3\r\n"
         "[2]\r\nURL=http://old.example/2\r\n[MaxThread]\r\nDefault=4\r\n"},
        {"sections beyond the count, comments, blank lines and odd layout",
         "; written by hand\r\n\r\n[Proxy]\r\n  server = proxy.example \r\nport=8080\r\n[Down]\r\nCount=1\r\n"
         "[0]\r\nURL=http://old.example/0\r\n[5]\r\nURL=http://old.example/5\r\nState=1\n[TimeOut]\rDefault=20\r\n"},
        {"a UTF-8 mark", utf8Bom + "[TimeOut]\r\nDefault=20\r\n[Down]\r\nCount=0\r\n"},
        {"duplicate sections, names in another case",
         "[down]\r\nCount=2\r\n[0]\r\nURL=http://old.example/x\r\n[0]\r\nURL=http://old.example/y\r\nState=3\r\n"
         "[1]\r\nURL=http://old.example/z\r\n[Down]\r\nDebug=1\r\n[1]\r\nurl=http://old.example/w\r\n"},
        {"sections out of order, removed and written again",
         "[2]\r\nURL=http://old.example/2\r\n[1]\r\nURL=http://old.example/1\r\n[Down]\r\nCount=3\r\n"
         "[0]\r\nURL=http://old.example/0\r\n[Proxy]\r\nenable=1\r\n"},
    };
    for (const auto& c : cases) {
        const std::string reference = dir.File("reference.ini");
        std::filesystem::remove(ini);
        std::filesystem::remove(reference);
        if (!c.before.empty()) {
            std::ofstream(ini, std::ios::binary) << c.before;
            std::ofstream(reference, std::ios::binary) << c.before;
        }
        EnginePtr<CPrjMng> store(static_cast<CPrjMng*>(NEW_PRJMNG()));
        ASSERT_TRUE(store);
        store->SetFile(reference.c_str());
        store->ClearItems();
        int32_t i = 0;
        for (ItemHandle h : Items(*manager)) {
            DownItemRecord record{};
            static_cast<CDownItem*>(h)->GetRecord(&record);
            store->WriteItem(i++, &record);
        }
        store->WriteCount(i);
        ASSERT_TRUE(manager->SaveProject(ini.c_str())) << c.what;
        EXPECT_EQ(ReadText(ini), ReadText(reference)) << c.what;
    }
}

TEST_F(FetchkeeperStoreTest, LoadGivesTheItemsThatKeyByKeyProfileCallsRead) {
    // The load reads the file once and looks every key up in memory; the profile calls, key by
    // key, are what it must match (under Wine: the platform's own reader).
    struct Item {
        std::string url, destFile;
        int32_t state;
    };
    const std::string longPath = "C:\\dl\\" + std::string(300, 'p');
    struct Case {
        const char* what;
        std::string file;
        std::vector<Item> items;
    } cases[] = {
        {"as a save writes it",
         "[DestPath]\r\nDefault=C:\\dl\r\n[Down]\r\nCount=3\r\n[0]\r\nURL=http://a.example/0.asf\r\n"
         "DestFileName=C:\\dl\\0.asf\r\nState=4\r\n[1]\r\nURL=http://a.example/1?x=1;y=2\r\n"
         "DestFileName=C:\\dl\\1.asf\r\nState=6\r\n[2]\r\nURL=mms://a.example/2\r\nDestFileName=" + longPath +
             "\r\nState=1\r\n",
         {{"http://a.example/0.asf", "C:\\dl\\0.asf", DownFinished},
          {"http://a.example/1?x=1;y=2", "C:\\dl\\1.asf", DownDeleted},
          {"mms://a.example/2", longPath.substr(0, kPathSize - 1), DownWaiting}}},
        {"names in any case, blanks, quotes, comments and every line end",
         "\xEF\xBB\xBF; kept by hand\n[ down ]\ncount = 3\r[0]\r\n  url = http://a.example/q \r\n"
         "destfilename=\"C:\\dl\\q\"\nSTATE=3\n\n[1]\nURL='http://a.example/r'\nState=5x\n"
         "[2]\nURL=http://A.EXAMPLE/Q\nDestFileName=C:\\dl\\dup\n",
         {{"http://a.example/q", "C:\\dl\\q", DownStopped}, {"http://a.example/r", "", DownFailed}}},
        {"the first of duplicate sections, the list ending at a gap",
         "[Down]\r\nCount=4\r\n[0]\r\nURL=http://a.example/first\r\nState=4\r\n[0]\r\nURL=http://a.example/second\r\n"
         "[1]\r\nState=4\r\n[2]\r\nURL=http://a.example/after-gap\r\n[Down]\r\nCount=1\r\n",
         {{"http://a.example/first", "", DownFinished}}},
        {"states no item can be loaded in",
         "[Down]\r\nCount=3\r\n[0]\r\nURL=http://a.example/0\r\nState=2\r\n[1]\r\nURL=http://a.example/1\r\n"
         "State=-4\r\n[2]\r\nURL=http://a.example/2\r\nState=0x6\r\n",
         {{"http://a.example/0", "", DownStopped}, {"http://a.example/1", "", DownStopped},
          {"http://a.example/2", "", DownDeleted}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::ofstream(ini, std::ios::binary | std::ios::trunc) << c.file;
        ManagerPtr loaded = NewManager();
        ASSERT_TRUE(loaded->LoadProject(ini.c_str()));
        const std::vector<ItemHandle> all = Items(*loaded);
        ASSERT_EQ(all.size(), c.items.size());
        // Key by key through the store, as the load read the list before.
        EnginePtr<CPrjMng> store(static_cast<CPrjMng*>(NEW_PRJMNG()));
        ASSERT_TRUE(store);
        store->SetFile(ini.c_str());
        for (size_t i = 0; i < all.size(); ++i) {
            SCOPED_TRACE(i);
            const DownItemInfo info = Info(*loaded, all[i]);
            EXPECT_EQ(info.url, c.items[i].url);
            EXPECT_EQ(info.destFile, c.items[i].destFile);
            EXPECT_EQ(info.state, c.items[i].state);
            DownItemRecord record{};
            store->ReadItem(int32_t(i), &record);
            EXPECT_STREQ(info.url, record.url);
            EXPECT_STREQ(info.destFile, record.destFile);
            const bool canStay = record.state >= DownWaiting && record.state <= DownDeleted &&
                                 record.state != DownDownloading;
            EXPECT_EQ(info.state, canStay ? record.state : DownStopped);
        }
        EXPECT_EQ(ReadText(ini), c.file);  // a load writes nothing
    }
}

#if defined(_WIN32)
TEST_F(FetchkeeperStoreTest, AUtf16FileIsSavedThroughTheProfileCalls) {
    // A config.ini that a Windows editor saved as UTF-16: only the profile calls read it as text,
    // so the save leaves it to them, and the settings in it survive.
    const std::string text = "[MaxThread]\r\nDefault=4\r\n[Down]\r\nCount=1\r\n"
                             "[0]\r\nURL=http://old.example/0\r\nDestFileName=C:\\dl\\0\r\nState=3\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : text) utf16 += std::string{c, '\0'};
    std::ofstream(ini, std::ios::binary) << utf16;
    runs.refuseJobs = true;
    manager->AddItem("http://a.example/1", "C:\\dl\\", "1");
    ASSERT_TRUE(manager->SaveProject(ini.c_str()));
    EXPECT_EQ(manager->GetMaxThread(ini.c_str()), 4);
    ManagerPtr loaded = NewManager();
    ASSERT_TRUE(loaded->LoadProject(ini.c_str()));
    ASSERT_EQ(loaded->GetCount(), 1);
    EXPECT_STREQ(Info(*loaded, loaded->GetFirstItem()).url, "http://a.example/1");
}
#endif

TEST_F(FetchkeeperStoreTest, ShorterListReplacesLongerOne) {
    runs.refuseJobs = true;
    for (int i = 0; i < 4; ++i) {
        const std::string url = "http://a.example/" + std::to_string(i);
        manager->AddItem(url.c_str(), "C:\\dl\\", std::to_string(i).c_str());
    }
    ASSERT_TRUE(manager->SaveProject(ini.c_str()));
    manager->RemoveAll();
    manager->AddItem("http://b.example/only", "C:\\dl\\", "only");
    ASSERT_TRUE(manager->SaveProject(ini.c_str()));
    EXPECT_EQ(ReadText(ini).find("http://a.example/"), std::string::npos);
    ManagerPtr loaded = NewManager();
    loaded->LoadProject(ini.c_str());
    ASSERT_EQ(loaded->GetCount(), 1);
    EXPECT_STREQ(Info(*loaded, loaded->GetFirstItem()).url, "http://b.example/only");
}

TEST_F(FetchkeeperStoreTest, LoadWithoutSavedListAddsNothing) {
    manager->SaveMaxThread(ini.c_str(), 2);
    EXPECT_TRUE(manager->LoadProject(ini.c_str()));
    EXPECT_EQ(manager->GetCount(), 0);
    EXPECT_TRUE(manager->LoadProject(dir.File("missing.ini").c_str()));
    EXPECT_EQ(manager->GetCount(), 0);
}

TEST_F(FetchkeeperStoreTest, DebugFlagSurvivesARoundTrip) {
    {
        std::ofstream out(ini, std::ios::binary);
        out << "[Down]\r\nCount=0\r\nDebug=0\r\n";
    }
    ASSERT_TRUE(manager->LoadProject(ini.c_str()));
    EXPECT_TRUE(manager->Debug());
    ASSERT_TRUE(manager->SaveProject(ini.c_str()));
    ManagerPtr loaded = NewManager();
    loaded->LoadProject(ini.c_str());
    EXPECT_TRUE(loaded->Debug());
    EXPECT_NE(ReadText(ini).find("Debug=1"), std::string::npos);
}

TEST_F(FetchkeeperStoreTest, LoadedStatesAreOnesAnItemCanBeIn) {
    {
        std::ofstream out(ini, std::ios::binary);
        // Count overstates the sections, as in a damaged file.
        out << "[Down]\r\nCount=1000000\r\n"
               "[0]\r\nURL=http://a.example/0\r\nDestFileName=C:\\dl\\0\r\nState=2\r\n"
               "[1]\r\nURL=http://a.example/1\r\nDestFileName=C:\\dl\\1\r\nState=0\r\n"
               "[2]\r\nURL=http://a.example/2\r\nDestFileName=C:\\dl\\2\r\nState=9\r\n"
               "[3]\r\nURL=http://a.example/3\r\nDestFileName=C:\\dl\\3\r\nState=4\r\n";
    }
    ASSERT_TRUE(manager->LoadProject(ini.c_str()));
    std::vector<ItemHandle> all = Items(*manager);
    ASSERT_EQ(all.size(), 4u);
    const int32_t expected[] = {DownStopped, DownStopped, DownStopped, DownFinished};
    for (size_t i = 0; i < all.size(); ++i) EXPECT_EQ(Info(*manager, all[i]).state, expected[i]) << i;
    // A stopped item can be started again: nothing is stuck as downloading.
    manager->StartItem(all[0]);
    EXPECT_EQ(Info(*manager, all[0]).state, DownDownloading);
}

TEST_F(FetchkeeperStoreTest, SettingsFileWhosePathDoesNotFitIsRefused) {
    runs.refuseJobs = true;
    manager->AddItem("http://a.example/1", "C:\\dl\\", "1");
    const std::string longIni = dir.File(std::string(300, 'd') + ".ini");
    EXPECT_FALSE(manager->SaveProject(longIni.c_str()));
    EXPECT_EQ(manager->GetMaxThread(longIni.c_str()), 3);
    EXPECT_FALSE(manager->SaveMaxThread(longIni.c_str(), 5));
    // The temporary copy's name must fit as well: a path a few characters short of the limit.
    std::string nearIni = dir.File("");
    nearIni += std::string(kPathSize - 3 - nearIni.size(), 'n');
    EXPECT_FALSE(manager->SaveProject(nearIni.c_str()));
}

TEST_F(FetchkeeperStoreTest, StaleTemporaryCopyIsReplaced) {
    // A save killed midway leaves its temporary copy behind; the next save must not trip over it.
    runs.refuseJobs = true;
    manager->AddItem("http://a.example/old", "C:\\dl\\", "old");
    ASSERT_TRUE(manager->SaveProject(ini.c_str()));
    std::ofstream(ini + ".tmp", std::ios::binary) << "[Down]\r\nCount=1\r\n[0]\r\nURL=http://stale.example/x\r\n";
    manager->AddItem("http://a.example/new", "C:\\dl\\", "new");
    ASSERT_TRUE(manager->SaveProject(ini.c_str()));
    EXPECT_FALSE(std::filesystem::exists(ini + ".tmp"));
    ManagerPtr loaded = NewManager();
    ASSERT_TRUE(loaded->LoadProject(ini.c_str()));
    ASSERT_EQ(loaded->GetCount(), 2);
    EXPECT_STREQ(Info(*loaded, Items(*loaded)[1]).url, "http://a.example/new");
    EXPECT_EQ(ReadText(ini).find("stale.example"), std::string::npos);
}

TEST_F(FetchkeeperStoreTest, DamagedCountDoesNotStallTheSave) {
    {
        std::ofstream out(ini, std::ios::binary);
        out << "[Down]\r\nCount=100000000\r\n[MaxThread]\r\nDefault=4\r\n";
    }
    runs.refuseJobs = true;
    manager->AddItem("http://a.example/1", "C:\\dl\\", "1");
    bool saved = false;
    ASSERT_TRUE(FinishesWithin(std::chrono::seconds(60), [&] { saved = manager->SaveProject(ini.c_str()); }));
    EXPECT_TRUE(saved);
    ManagerPtr loaded = NewManager();
    loaded->LoadProject(ini.c_str());
    EXPECT_EQ(loaded->GetCount(), 1);
    EXPECT_EQ(loaded->GetMaxThread(ini.c_str()), 4);
}

TEST_F(FetchkeeperStoreTest, SettersRefuseValuesThatWouldStopEveryDownload) {
    ASSERT_TRUE(manager->SetTimeOut(ini.c_str(), 20));
    ASSERT_TRUE(manager->SaveMaxThread(ini.c_str(), 4));
    manager->SetMaxThread(2);
    for (int32_t bad : {0, -1, INT32_MIN}) {
        EXPECT_FALSE(manager->SetTimeOut(ini.c_str(), bad)) << bad;
        EXPECT_FALSE(manager->SaveMaxThread(ini.c_str(), bad)) << bad;
        manager->SetMaxThread(bad);
    }
    EXPECT_EQ(GetEngineTimeOut(), 20);
    EXPECT_EQ(manager->GetTimeOut(ini.c_str()), 20);
    EXPECT_EQ(manager->GetMaxThread(ini.c_str()), 4);
    EXPECT_EQ(manager->MaxThread(), 2);
    // The queue still moves with the maximum that was kept.
    manager->AddItem("http://a.example/1", "C:\\dl\\", "1");
    EXPECT_EQ(runs.runs.size(), 1u);
}

TEST_F(FetchkeeperStoreTest, SaveIntoMissingFolderFails) {
    runs.refuseJobs = true;
    manager->AddItem("http://a.example/1", "C:\\dl\\", "1");
    EXPECT_FALSE(manager->SaveProject(dir.File("no-such-folder/config.ini").c_str()));
}

}  // namespace
