// The commands over real downloads: the engine's own job fetching from a scripted loopback HTTP
// server. Add queues an item that downloads and moves to the finished list; Stop stops it and
// Down resumes it with a range request.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "Clipbrd.h"
#include "CommandHarness.h"
#include "FixtureServer.h"

namespace {

using command_harness::CommandHarness;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Head(const std::string& status, const std::string& headers) {
    return "HTTP/1.1 " + status + "\r\n" + headers + "\r\n";
}

class CommandDownloadTest : public CommandHarness {
protected:
    void SetUp() override {
        CommandHarness::SetUp();
        Make();
        // A stalled server ends a run within the test's time.
        form->Manager()->SetTimeOut(form->Settings().settingsPath, 10);
    }
    // Polls, as the window's timer would, until the item's row reaches the finished list.
    bool WaitFinished(int seconds) {
        return WaitFor(
            [&] {
                Tick();
                return form->ListDowned->ItemCount() == 1;
            },
            seconds);
    }
};

TEST_F(CommandDownloadTest, AddedItemGetsItsRowAndDownloads) {
    const std::string body = FixtureServer::Pattern(150000);
    FixtureServer server;
    server.AddScript().ExpectHead().Send(Head("200 OK", "Content-Length: 150000\r\n") + body).Close();
    server.Start();
    ASSERT_TRUE(ui::SetClipboardText(server.Url("/media/take.bin")));
    WithDialog({[&] {
                    frmInfo->EditDest->SetText(folder);
                    frmInfo->Button1->Click();
                }},
               [&] { form->btnAdd->Click(); });
    ASSERT_EQ(Items().size(), 1u);
    EXPECT_EQ(std::string(InfoOf(Items().front()).url), server.Url("/media/take.bin"));
    // The row comes with the next poll (in the finished list already when the download was quick).
    EXPECT_FALSE(form->IsListed(Items().front()));
    Tick();
    EXPECT_TRUE(form->IsListed(Items().front()));

    ASSERT_TRUE(WaitFinished(20)) << form->Memo1->Text();
    EXPECT_EQ(form->ListDown->ItemCount(), 0);
    EXPECT_EQ(form->ListDowned->Item(0)->SubItem(0), "take.bin");
    EXPECT_NE(server.Received(0).find("GET /media/take.bin HTTP/1.1\r\n"), std::string::npos);
    EXPECT_TRUE(ReadAll(dir.File("take.bin")) == body);
}

TEST_F(CommandDownloadTest, StopThenDownResumesWithARangeRequest) {
    const std::string body = FixtureServer::Pattern(200000);
    FixtureServer server;
    // The first connection sends half and then falls silent until the client goes.
    server.AddScript()
        .ExpectHead()
        .Send(Head("200 OK", "Content-Length: 200000\r\n") + body.substr(0, 100000))
        .Silence(20000);
    server.AddScript()
        .ExpectHead()
        .Send(Head("206 Partial Content", "Content-Length: 100000\r\nContent-Range: bytes 100000-199999/200000\r\n") +
              body.substr(100000))
        .Close();
    server.Start();
    ASSERT_TRUE(form->Manager()->AddItem(server.Url("/half.bin").c_str(), dir.Dir().c_str(), "half.bin"));
    ItemHandle item = Items().front();
    ASSERT_TRUE(WaitFor([&] { return InfoOf(item).downloaded >= 100000; }, 20));

    Tick();
    form->ListDownClick(form->ListDown);
    ASSERT_TRUE(form->btnCancel->Enabled());
    form->btnCancel->Click();
    EXPECT_EQ(StateOf(item), DownStopped);
    // The stopped run notices, closes its connection and ends.
    ASSERT_TRUE(server.WaitFinished(1, 15000));
    ASSERT_TRUE(WaitFor(
        [&] {
            // Down is refused while the stopped run still winds down; pressed again it starts.
            form->btnDown->SetEnabled(true);
            form->btnDown->Click();
            return StateOf(item) == DownDownloading;
        },
        15));
    ASSERT_TRUE(WaitFinished(20)) << form->Memo1->Text();
    ASSERT_EQ(server.Connections(), 2);
    EXPECT_NE(server.Received(1).find("\r\nRange: bytes=100000-\r\n"), std::string::npos) << server.Received(1);
    EXPECT_TRUE(ReadAll(dir.File("half.bin")) == body);
}

}  // namespace
