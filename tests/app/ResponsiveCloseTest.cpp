// Closing the main window while a run still winds down: the close waits until the run has ended
// (it would write into freed items otherwise), and the window keeps repainting while it waits.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "CommandHarness.h"
#include "FixtureServer.h"

namespace {

using command_harness::CommandHarness;

WNDPROC g_formProc = nullptr;
bool g_closing = false;
int g_paintsWhileClosing = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT && g_closing) ++g_paintsWhileClosing;
    return CallWindowProcA(g_formProc, window, message, wParam, lParam);
}

class ResponsiveClose : public CommandHarness {};

TEST_F(ResponsiveClose, MainWindowRepaintsWhileTheCloseWaitsForARun) {
    Make();
    // The server sends part of the file and falls silent: the run sits in a wait that notices
    // the stop only at its next look, up to a stop-check interval later.
    const std::string body = FixtureServer::Pattern(200000);
    FixtureServer server;
    server.AddScript()
        .ExpectHead()
        .Send("HTTP/1.1 200 OK\r\nContent-Length: 200000\r\n\r\n" + body.substr(0, 50000))
        .Silence(20000);
    server.Start();
    form->Manager()->SetTimeOut(form->Settings().settingsPath, 30);
    ASSERT_TRUE(form->Manager()->AddItem(server.Url("/slow.bin").c_str(), dir.Dir().c_str(), "slow.bin"));
    ItemHandle item = Items().front();
    ASSERT_TRUE(WaitFor([&] { return InfoOf(item).downloaded >= 50000; }, 20));

    HWND window = form->Handle();
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);  // the first paint, before the count begins
    g_formProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
    ASSERT_NE(g_formProc, nullptr);
    InvalidateRect(window, nullptr, TRUE);

    // The close stops the run and waits for it to end before the manager goes.
    g_closing = true;
    ui::TCloseAction action = ui::TCloseAction::Free;
    form->FormClose(form, action);
    g_closing = false;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_formProc));

    EXPECT_EQ(form->Manager(), nullptr);
    EXPECT_GT(g_paintsWhileClosing, 0);
    EXPECT_TRUE(server.WaitFinished(1, 15000));  // the run let go of its connection
}

}  // namespace
