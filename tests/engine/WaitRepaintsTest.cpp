// The engine's waits on the window thread (RemoveAll waiting for runs that wind down) let that
// thread's windows repaint. The run here ends only once the window has painted (or after ten
// seconds), so a wait that blocks painting shows as a run that ended with no paint.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "Factories.h"
#include "FakeRuns.h"
#include "Fetchkeeper.h"

namespace {

std::atomic<bool> g_waiting{false};
std::atomic<int> g_paintsWhileWaiting{0};

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        if (g_waiting) ++g_paintsWhileWaiting;
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(WaitRepaints, WindowRepaintsWhileRemoveAllWaitsForARun) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &CountingProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "WaitRepaintsWindow";
    ASSERT_NE(RegisterClassA(&windowClass), 0);
    HWND window = CreateWindowA("WaitRepaintsWindow", "wait", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);

    FakeRuns runs;
    EnginePtr<CFetchkeeper> manager(static_cast<CFetchkeeper*>(NEW_FETCHKEEPER()));
    ASSERT_TRUE(manager);
    manager->AddItem("http://a.example/slow.bin", "C:\\dl\\", "slow.bin");
    ASSERT_EQ(runs.runs.size(), 1u);
    FakeRun& run = *runs.runs[0];

    InvalidateRect(window, nullptr, TRUE);
    std::thread ender([&] {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (g_paintsWhileWaiting == 0 && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        runs.End(run);
    });
    g_waiting = true;
    manager->RemoveAll();
    g_waiting = false;
    ender.join();

    EXPECT_GT(g_paintsWhileWaiting, 0);
    EXPECT_EQ(manager->GetCount(), 0);
    DestroyWindow(window);
    UnregisterClassA("WaitRepaintsWindow", windowClass.hInstance);
}

}  // namespace
