// A run writes its own output and its own resume record and nothing else, whatever renamed the
// file: its content kind, a redirect, or a name Windows reads as another one. Every case starts
// with the folder holding the other file (a user's, another item's finished download, another
// item's unfinished one with its record), runs one new item through the manager against a
// loopback server, and then compares every file of the folder, and every item's destination.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "Factories.h"
#include "Fetchkeeper.h"
#include "FileBytes.h"
#include "FixtureServer.h"
#include "PrjMng.h"
#include "ScopedEngineTimeOut.h"
#include "TempDir.h"
#include "TextCopy.h"
#include "WaitItem.h"

namespace {

using Folder = std::map<std::string, std::string>;  // file name -> bytes

const char kSameName[] = "You have a same name file and can not resume.";
const std::string kRecord = "1\r\n0\r\n0";  // a resume record of an HTTP download

// Bytes told apart by their first byte: a user's file, another item's, the new item's.
std::string Bytes(char tag, size_t count) { return std::string(1, tag) + FixtureServer::Pattern(count - 1); }
const std::string kUserLarge = Bytes('U', 60000);
const std::string kOtherSmall = Bytes('A', 1000);
const std::string kOtherLarge = Bytes('A', 60000);
const std::string kNew = Bytes('N', 3000);

// An item of the list before the case: its file name in the folder and its state.
struct Listed {
    std::string file;
    int32_t state;
};

// What the server answers for a path: a body of a type, or a redirect.
struct Reply {
    std::string type;
    std::string body;
    std::string location;  // a 302 to it when not empty
};

struct Case {
    const char* name;
    Folder before;
    std::vector<Listed> listed;
    std::string newFile;  // the name the new item is added under
    std::string dest;     // the file name it names afterwards
    Folder after;
    const char* failure;  // null: the new item finishes
};

class OwnFiles : public ::testing::Test {
protected:
    // Starts the server with its replies, which its threads only read from now on.
    void Serve(std::map<std::string, Reply> replies) {
        replies_ = std::move(replies);
        server_.AddScript()
            .Call([this](FixtureServer::Session& session) {
                if (!session.Expect("\r\n\r\n", 10000)) return;
                const std::string request = session.Received();
                const size_t start = request.find(' ') + 1;
                const auto it = replies_.find(request.substr(start, request.find(' ', start) - start));
                if (it == replies_.end()) {
                    session.Send("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
                } else if (!it->second.location.empty()) {
                    session.Send("HTTP/1.1 302 Found\r\nLocation: " + it->second.location +
                                 "\r\nContent-Length: 0\r\n\r\n");
                } else {
                    session.Send("HTTP/1.1 200 OK\r\nContent-Type: " + it->second.type + "\r\nContent-Length: " +
                                 std::to_string(it->second.body.size()) + "\r\n\r\n" + it->second.body);
                }
            })
            .Close();
        server_.RepeatLastScript();
        server_.Start();
        ASSERT_TRUE(server_.Listening());
    }

    // Every file of the folder, by name.
    static Folder Contents(const TempDir& dir) {
        Folder files;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Dir())) {
            files[entry.path().filename().string()] = ReadFileBytes(entry.path().string());
        }
        return files;
    }

    // One case: the folder and the list as the case says, the new item added from `path` and run
    // to its end; then the folder, the new item's destination and outcome, and every listed item's
    // destination are compared.
    void Check(const Case& c, const std::string& path) {
        TempDir dir;
        Check(c, path, dir);
    }
    void Check(const Case& c, const std::string& path, const TempDir& dir) {
        SCOPED_TRACE(c.name);
        TempDir settings;
        for (const auto& [name, bytes] : c.before) WriteFileBytes(dir.File(name), bytes);
        EnginePtr<CFetchkeeper> manager(static_cast<CFetchkeeper*>(NEW_FETCHKEEPER()));
        ASSERT_TRUE(manager);
        if (!c.listed.empty()) {
            // Items listed earlier come from a saved list: they keep their states and do not start.
            const std::string ini = settings.File("config.ini");
            EnginePtr<CPrjMng> store(static_cast<CPrjMng*>(NEW_PRJMNG()));
            ASSERT_TRUE(store);
            store->SetFile(ini.c_str());
            for (size_t i = 0; i < c.listed.size(); ++i) {
                DownItemRecord record{};
                CopyBounded(record.url, sizeof record.url, server_.Url("/listed/" + std::to_string(i)));
                CopyBounded(record.destFile, sizeof record.destFile, dir.File(c.listed[i].file));
                record.state = c.listed[i].state;
                ASSERT_TRUE(store->WriteItem(int32_t(i), &record));
            }
            ASSERT_TRUE(store->WriteCount(int32_t(c.listed.size())));
            store.reset();
            ASSERT_TRUE(manager->LoadProject(ini.c_str()));
        }
        ASSERT_TRUE(manager->AddItem(server_.Url(path).c_str(), dir.Dir().c_str(), c.newFile.c_str()));
        ItemHandle added = manager->GetFirstItem();
        for (ItemHandle h = added; h; h = manager->GetNextItem(h)) added = h;
        const DownItemInfo info = WaitItemSettled(*manager, added, std::chrono::seconds(30));
        const std::string log = info.logText ? std::string(info.logText, info.logLength) : std::string();
        if (c.failure) {
            EXPECT_EQ(info.state, DownFailed) << log;
            EXPECT_NE(log.find(c.failure), std::string::npos) << log;
        } else {
            EXPECT_EQ(info.state, DownFinished) << log;
        }
        EXPECT_EQ(std::string(info.destFile), dir.File(c.dest)) << log;
        size_t i = 0;
        for (ItemHandle h = manager->GetFirstItem(); h && h != added; h = manager->GetNextItem(h), ++i) {
            DownItemInfo listed{};
            manager->GetItemInfo(h, &listed);
            EXPECT_EQ(std::string(listed.destFile), dir.File(c.listed[i].file));
            EXPECT_EQ(listed.state, c.listed[i].state);
        }
        manager.reset();
        EXPECT_EQ(Contents(dir), c.after);
    }

    ScopedEngineTimeOut timeOut_{5};
    FixtureServer server_;
    std::map<std::string, Reply> replies_;  // path -> reply
};

// x.bin served as a Windows Media stream is renamed x.asx after the first name was checked.
TEST_F(OwnFiles, RenameByContentKindTakesNoFileItDoesNotOwn) {
    Serve({{"/x.bin", {"video/x-ms-asf", kNew, ""}}});
    const Case cases[] = {
        {"a user's large file", {{"x.asx", kUserLarge}}, {}, "x.bin", "x.bin", {{"x.asx", kUserLarge}}, kSameName},
        {"a large unfinished file with its record, of no item",
         {{"x.asx", kUserLarge}, {"x.asx.ini", kRecord}},
         {},
         "x.bin",
         "x.bin",
         {{"x.asx", kUserLarge}, {"x.asx.ini", kRecord}},
         kSameName},
        {"another item's finished download",
         {{"x.asx", kOtherSmall}},
         {{"x.asx", DownFinished}},
         "x.bin",
         "x1.asx",
         {{"x.asx", kOtherSmall}, {"x1.asx", kNew}},
         nullptr},
        {"another item's unfinished download and its record",
         {{"x.asx", kOtherLarge}, {"x.asx.ini", kRecord}},
         {{"x.asx", DownStopped}},
         "x.bin",
         "x1.asx",
         {{"x.asx", kOtherLarge}, {"x.asx.ini", kRecord}, {"x1.asx", kNew}},
         nullptr},
        {"the free name is a user's large file",
         {{"x.asx", kOtherSmall}, {"x1.asx", kUserLarge}},
         {{"x.asx", DownFinished}},
         "x.bin",
         "x.bin",
         {{"x.asx", kOtherSmall}, {"x1.asx", kUserLarge}},
         kSameName},
    };
    for (const Case& c : cases) Check(c, "/x.bin");
}

// A redirect names the file after the location: y.bin.
TEST_F(OwnFiles, RedirectTakesNoNameAnotherItemHolds) {
    Serve({{"/start", {"", "", "/y.bin"}}, {"/y.bin", {"application/octet-stream", kNew, ""}}});
    const Case cases[] = {
        {"another item's finished download below the resume size",
         {{"y.bin", kOtherSmall}},
         {{"y.bin", DownFinished}},
         "start",
         "y1.bin",
         {{"y.bin", kOtherSmall}, {"y1.bin", kNew}},
         nullptr},
        {"another item's unfinished download and its record",
         {{"y.bin", kOtherLarge}, {"y.bin.ini", kRecord}},
         {{"y.bin", DownStopped}},
         "start",
         "y1.bin",
         {{"y.bin", kOtherLarge}, {"y.bin.ini", kRecord}, {"y1.bin", kNew}},
         nullptr},
        {"another item's finished download named as the new name's record",
         {{"y.bin.ini", kOtherSmall}},
         {{"y.bin.ini", DownFinished}},
         "start",
         "y1.bin",
         {{"y.bin.ini", kOtherSmall}, {"y1.bin", kNew}},
         nullptr},
    };
    for (const Case& c : cases) Check(c, "/start");
}

// The resume record of a destination is a file of its item's.
TEST_F(OwnFiles, ResumeRecordNamesAreTakenByTheirDestinations) {
    Serve({{"/x.bin", {"application/octet-stream", kNew, ""}}});
    const Case cases[] = {
        {"the new record would be another item's finished download",
         {{"x.bin.ini", kOtherSmall}},
         {{"x.bin.ini", DownFinished}},
         "x.bin",
         "x1.bin",
         {{"x.bin.ini", kOtherSmall}, {"x1.bin", kNew}},
         nullptr},
        {"the new file would be another item's record",
         {{"x.bin", kOtherLarge}, {"x.bin.ini", kRecord}},
         {{"x.bin", DownStopped}},
         "x.bin.ini",
         "x.bin1.ini",
         {{"x.bin", kOtherLarge}, {"x.bin.ini", kRecord}, {"x.bin1.ini", kNew}},
         nullptr},
    };
    for (const Case& c : cases) Check(c, "/x.bin");
}

// Windows opens one file for names that differ only in dots and blanks at their end; the item
// names the file written on every platform.
TEST_F(OwnFiles, NamesWindowsReadsAsOneAreOneName) {
    // A type of no content kind: no kind, so no new name, is reported before the file opens.
    Serve({{"/x.bin", {"text/plain", kNew, ""}}});
    const Folder other = {{"x.bin", kOtherSmall}};
    const std::vector<Listed> listed = {{"x.bin", DownFinished}};
    const Folder both = {{"x.bin", kOtherSmall}, {"x1.bin", kNew}};
    const Case cases[] = {
        {"a trailing blank", other, listed, "x.bin ", "x1.bin", both, nullptr},
        {"a trailing dot", other, listed, "x.bin.", "x1.bin", both, nullptr},
        {"two trailing dots", other, listed, "x.bin..", "x1.bin", both, nullptr},
        {"dots and blanks", other, listed, "x.bin. .", "x1.bin", both, nullptr},
        {"a trailing blank, no other file", {}, {}, "y.bin ", "y.bin", {{"y.bin", kNew}}, nullptr},
    };
    for (const Case& c : cases) Check(c, "/x.bin");
}

// A name that would grow past the destination field keeps the old one, whole.
TEST_F(OwnFiles, RenameThatDoesNotFitKeepsTheName) {
    Serve({{"/x.bin", {"video/x-ms-asf", kNew, ""}}});
    // 253 characters without an extension (".asx" would make 257), and 255 with ".wm" (".asx"
    // would make 256, one past the field's 255).
    for (const bool replaced : {false, true}) {
        TempDir dir;
        const size_t folder = dir.Dir().size();
        ASSERT_LT(folder, 200u);
        const std::string name =
            replaced ? std::string(255 - folder - 3, 'm') + ".wm" : std::string(253 - folder, 'n');
        const Case c = {replaced ? "an extension replaced by a longer one" : "an extension added",
                        {}, {}, name, name, {{name, kNew}}, nullptr};
        Check(c, "/x.bin", dir);
    }
}

}  // namespace
