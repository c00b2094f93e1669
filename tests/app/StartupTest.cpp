// The real program started beside (or without) the engine library, and the engine binding.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Interface.h"
#include "ProgramRun.h"
#include "TempDir.h"

namespace {

using namespace program_run;

TEST(StartupTest, WithoutTheLibraryTheOnlyWindowIsTheMessage) {
    TempDir dir;
    const std::string folder = Folder(dir);
    ASSERT_TRUE(Copy("Ripplecast.exe", folder));
    Program program(folder);
    ASSERT_TRUE(program.Started());
    HWND box = WaitForWindow(program.Pid(), [](const Window& w) { return w.className == "#32770"; }, 60);
    ASSERT_NE(box, nullptr) << "no message box";
    const std::vector<std::string> texts = ChildTexts(box);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "The dll file is broken!"), texts.end());
    for (const Window& w : WindowsOf(program.Pid())) {
        if (w.visible) EXPECT_EQ(w.hwnd, box) << "also visible: " << w.className << " '" << w.text << "'";
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(program.WaitExit(30), 0);
}

TEST(StartupTest, WithTheLibraryTheMainWindowOpensAndCloses) {
    TempDir dir;
    const std::string folder = Folder(dir);
    ASSERT_TRUE(Copy("Ripplecast.exe", folder));
    ASSERT_TRUE(Copy("Fetchkeeper.dll", folder));
    Program program(folder);
    ASSERT_TRUE(program.Started());
    // The splash first: a window without a caption bar.
    HWND splash = WaitForWindow(
        program.Pid(), [](const Window& w) { return w.className == "UiWindow" && !(GetWindowLongA(w.hwnd, GWL_STYLE) & WS_CAPTION); }, 60);
    EXPECT_NE(splash, nullptr);
    const auto splashSeen = std::chrono::steady_clock::now();
    HWND main = WaitForWindow(
        program.Pid(), [](const Window& w) { return w.className == "UiWindow" && w.text == "Tarvexa Ripplecast"; }, 60);
    ASSERT_NE(main, nullptr);
    // The splash stays up two seconds after the windows are built.
    EXPECT_GE(std::chrono::steady_clock::now() - splashSeen, std::chrono::milliseconds(1900));
    // By the time the main window shows, the splash is gone.
    EXPECT_FALSE(IsWindow(splash) && IsWindowVisible(splash));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitExit(30), 0);
    // Closing saved the (empty) list beside the program.
    std::ifstream config(dir.File("config.ini"));
    std::string text((std::istreambuf_iterator<char>(config)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("[Down]"), std::string::npos) << text;
}

TEST(StartupTest, FromADriveRootTheDirectoryIsTheDriveAlone) {
    // The settings file of a program in the root of C: is C:\config.ini: its directory is "C:".
    const std::string root = "C:";
    DeleteFileA("C:\\config.ini");
    ASSERT_TRUE(Copy("Ripplecast.exe", root));
    ASSERT_TRUE(Copy("Fetchkeeper.dll", root));
    {
        Program program(root);
        ASSERT_TRUE(program.Started());
        HWND main = WaitForWindow(
            program.Pid(), [](const Window& w) { return w.className == "UiWindow" && w.text == "Tarvexa Ripplecast"; }, 60);
        EXPECT_NE(main, nullptr);
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.WaitExit(30), 0);
    }
    EXPECT_NE(GetFileAttributesA("C:\\config.ini"), INVALID_FILE_ATTRIBUTES);
    DeleteFileA("C:\\config.ini");
    DeleteFileA("C:\\Ripplecast.exe");
    DeleteFileA("C:\\Fetchkeeper.dll");
}

TEST(EngineBindingTest, UnboundFactoriesAnswerNull) {
    BindEngineFactories(nullptr, nullptr);
    EXPECT_EQ(NEW_FETCHKEEPER(), nullptr);
    EXPECT_EQ(NEW_00_FETCHKEEPER(), nullptr);
}

TEST(EngineBindingTest, TheLibraryBesideTheProgramIsBound) {
    // The test program lies beside the library, which the search order finds first.
    LoadEngineLibrary();
    IFetchkeeper* manager = NEW_FETCHKEEPER();
    ASSERT_NE(manager, nullptr);
    EXPECT_TRUE(manager->ReturnTrue());
    EXPECT_EQ(manager->GetCount(), 0);
    manager->Release();
    IFetchkeeper* shared = NEW_00_FETCHKEEPER();
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(NEW_00_FETCHKEEPER(), shared);
    BindEngineFactories(nullptr, nullptr);
}

TEST(EngineBindingTest, ProgramDirectoryIsComputedOnceAndKept) {
    SetProgramDirectory("");
    const std::string first = ProgramDirectory();
    EXPECT_EQ(first, ExeDirectory());
    EXPECT_NE(first.back(), '\\');
    char saved[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, saved);
    SetCurrentDirectoryA("C:\\");
    EXPECT_EQ(std::string(ProgramDirectory()), first);
    EXPECT_EQ(ProgramDirectory(), ProgramDirectory());  // the one buffer
    SetCurrentDirectoryA(saved);
}

}  // namespace
