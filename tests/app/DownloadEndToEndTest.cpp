// The real program downloads a file from a loopback lighttpd (started on the native side): the
// saved list names the file, the user clicks its row and Down, the window follows the download
// (a picture of the screen is taken meanwhile), closes, and saves the item as finished. And a
// program that is killed instead of closed comes back with every change made before the kill.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "ProgramRun.h"

namespace {

using namespace program_run;

// A cell of the program's list view. List-view messages carry pointers that are not carried from
// one process to another, so the request and its text buffer are placed in the program's memory.
std::string ListCellOf(HWND list, int row, int column) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return std::string();
    constexpr int kTextSize = 256;
    auto* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + kTextSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    std::string text;
    if (remote) {
        LVITEMA request{};
        request.iSubItem = column;
        request.pszText = remote + sizeof(LVITEMA);
        request.cchTextMax = kTextSize;
        char buffer[kTextSize] = {};
        if (WriteProcessMemory(process, remote, &request, sizeof request, nullptr) &&
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote)) > 0 &&
            ReadProcessMemory(process, remote + sizeof(LVITEMA), buffer, kTextSize - 1, nullptr)) {
            text = buffer;
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

// The digits of a grouped number ("1,234,567"), -1 when there are none.
long long GroupedNumber(const std::string& text) {
    long long value = -1;
    for (char c : text) {
        if (c >= '0' && c <= '9') value = (value < 0 ? 0 : value * 10) + (c - '0');
    }
    return value;
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

struct Child {
    const char* className;
    std::vector<HWND> found;
    bool hiddenToo = false;
};

BOOL CALLBACK CollectClass(HWND hwnd, LPARAM param) {
    auto* c = reinterpret_cast<Child*>(param);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (std::string(cls) == c->className && (c->hiddenToo || IsWindowVisible(hwnd))) c->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> ChildrenOfClass(HWND parent, const char* className) {
    Child c{className, {}};
    EnumChildWindows(parent, &CollectClass, reinterpret_cast<LPARAM>(&c));
    return c.found;
}

// The lighttpd fixture's folder and address, and a folder holding the program and the library.
class DownloadEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* peer = std::getenv("RIPPLECAST_PEER_DIR");
        if (!peer) GTEST_SKIP() << "runs with its lighttpd fixture (ctest)";
        peerDir = peer;
        const std::string port = ReadFileBytes(peerDir + "\\port");
        ASSERT_FALSE(port.empty());
        host = "http://127.0.0.1:" + port.substr(0, port.find_first_of("\r\n"));
        folder = Folder(dir);
        ASSERT_TRUE(Copy("Ripplecast.exe", folder));
        ASSERT_TRUE(Copy("Fetchkeeper.dll", folder));
        config = folder + "\\config.ini";
    }
    TempDir dir;
    std::string peerDir, host, folder, config;
};

TEST_F(DownloadEndToEndTest, DownloadsTheListedFileAndSavesItFinished) {
    const std::string served = ReadFileBytes(peerDir + "\\www\\clip.bin");
    ASSERT_EQ(served.size(), 3000000u);
    const std::string dest = folder + "\\clip.bin";
    const std::string url = host + "/clip.bin";
    WritePrivateProfileStringA("Down", "Count", "1", config.c_str());
    WritePrivateProfileStringA("0", "URL", url.c_str(), config.c_str());
    WritePrivateProfileStringA("0", "DestFileName", dest.c_str(), config.c_str());
    WritePrivateProfileStringA("0", "State", "3", config.c_str());

    Program program(folder);
    ASSERT_TRUE(program.Started());
    HWND main = WaitForWindow(
        program.Pid(), [](const Window& w) { return w.className == "UiWindow" && w.text == "Tarvexa Ripplecast"; }, 60);
    ASSERT_NE(main, nullptr);

    // The stopped item's row: a click shows it (and enables Down), then Down starts it.
    const std::vector<HWND> lists = ChildrenOfClass(main, WC_LISTVIEWA);
    ASSERT_EQ(lists.size(), 1u);
    HWND header = reinterpret_cast<HWND>(SendMessageA(lists[0], LVM_GETHEADER, 0, 0));
    RECT headerRect{};
    GetWindowRect(header, &headerRect);
    const LPARAM row = MAKELPARAM(80, (headerRect.bottom - headerRect.top) + 8);
    HWND downBar = nullptr;
    for (HWND bar : ChildrenOfClass(main, TOOLBARCLASSNAMEA)) {
        if (SendMessageA(bar, TB_BUTTONCOUNT, 0, 0) == 9) downBar = bar;
    }
    ASSERT_NE(downBar, nullptr);
    const int down = 100;  // the first button's command
    for (int attempt = 0; attempt < 20 && !SendMessageA(downBar, TB_ISBUTTONENABLED, down, 0); ++attempt) {
        PostMessageA(lists[0], WM_LBUTTONDOWN, MK_LBUTTON, row);
        PostMessageA(lists[0], WM_LBUTTONUP, 0, row);
        Sleep(250);
    }
    ASSERT_TRUE(SendMessageA(downBar, TB_ISBUTTONENABLED, down, 0)) << "the click did not show the row";
    PostMessageA(GetParent(downBar), WM_COMMAND, MAKEWPARAM(down, BN_CLICKED), reinterpret_cast<LPARAM>(downBar));

    // Half way through, a picture for a person to look at.
    const std::string request = peerDir + "\\shot.request", done = peerDir + "\\shot.done";
    DeleteFileA(done.c_str());
    for (int i = 0; i < 600 && FileSize(dest) < 1000000; ++i) Sleep(50);
    EXPECT_GE(FileSize(dest), 1000000) << "the download did not get going";
    // The picture shows the progress once the window's refresh has put those bytes in the row's
    // "downloaded" cell.
    const int kDownloadedColumn = 3;
    for (int i = 0; i < 200 && GroupedNumber(ListCellOf(lists[0], 0, kDownloadedColumn)) < 1000000; ++i) Sleep(25);
    EXPECT_GE(GroupedNumber(ListCellOf(lists[0], 0, kDownloadedColumn)), 1000000) << "the window did not show the bytes";
    std::ofstream(request).put('\n');
    for (int i = 0; i < 300 && GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
    EXPECT_NE(GetFileAttributesA(done.c_str()), INVALID_FILE_ATTRIBUTES) << "no picture was taken";

    for (int i = 0; i < 1800 && FileSize(dest) < static_cast<long long>(served.size()); ++i) Sleep(50);
    ASSERT_EQ(FileSize(dest), static_cast<long long>(served.size()));

    // Closing is refused while the item still counts as downloading; answer and try again.
    long exit = -1;
    for (int attempt = 0; attempt < 20 && exit == -1; ++attempt) {
        Sleep(500);
        PostMessageA(main, WM_CLOSE, 0, 0);
        exit = program.WaitExit(3);
        if (exit == -1) {
            for (const Window& w : WindowsOf(program.Pid()))
                if (w.visible && w.className == "#32770") PostMessageA(w.hwnd, WM_COMMAND, IDOK, 0);
        }
    }
    ASSERT_EQ(exit, 0);

    char state[16] = {}, saved[512] = {};
    GetPrivateProfileStringA("0", "State", "", state, sizeof state, config.c_str());
    GetPrivateProfileStringA("0", "DestFileName", "", saved, sizeof saved, config.c_str());
    EXPECT_STREQ(state, "4");
    EXPECT_EQ(std::string(saved), dest);
    EXPECT_TRUE(ReadFileBytes(dest) == served) << "the file differs from the served one";
}

// The list as the settings file holds it: one "URL|DestFileName|State" per item.
std::vector<std::string> SavedList(const std::string& ini) {
    std::vector<std::string> items;
    const int count = static_cast<int>(GetPrivateProfileIntA("Down", "Count", 0, ini.c_str()));
    for (int i = 0; i < count; ++i) {
        const std::string section = std::to_string(i);
        char url[1024] = {}, dest[512] = {}, state[16] = {};
        GetPrivateProfileStringA(section.c_str(), "URL", "", url, sizeof url, ini.c_str());
        GetPrivateProfileStringA(section.c_str(), "DestFileName", "", dest, sizeof dest, ini.c_str());
        GetPrivateProfileStringA(section.c_str(), "State", "", state, sizeof state, ini.c_str());
        items.push_back(std::string(url) + "|" + dest + "|" + state);
    }
    return items;
}

bool PutOnClipboard(const std::string& text) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    bool ok = false;
    if (memory) {
        std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        ok = SetClipboardData(CF_TEXT, memory) != nullptr;
    }
    CloseClipboard();
    return ok;
}

BOOL CALLBACK FindOk(HWND hwnd, LPARAM param) {
    char text[16] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    if (std::string(text) == "OK" && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND MainWindowOf(const Program& program) {
    return WaitForWindow(
        program.Pid(), [](const Window& w) { return w.className == "UiWindow" && w.text == "Tarvexa Ripplecast"; }, 60);
}

// The tool bar's Add, then OK in the dialog it opens: the clipboard's URL is queued.
bool AddThroughTheDialog(const Program& program, HWND main, const std::string& url) {
    if (!PutOnClipboard(url)) return false;
    HWND bar = nullptr;
    for (HWND b : ChildrenOfClass(main, TOOLBARCLASSNAMEA)) {
        if (SendMessageA(b, TB_BUTTONCOUNT, 0, 0) == 9) bar = b;
    }
    if (!bar) return false;
    const int add = 102;  // the third button's command
    PostMessageA(GetParent(bar), WM_COMMAND, MAKEWPARAM(add, BN_CLICKED), reinterpret_cast<LPARAM>(bar));
    HWND dialog = WaitForWindow(program.Pid(), [](const Window& w) { return w.text == "NewDownloading"; }, 30);
    if (!dialog) return false;
    HWND ok = nullptr;
    EnumChildWindows(dialog, &FindOk, reinterpret_cast<LPARAM>(&ok));
    if (!ok) return false;
    PostMessageA(ok, BM_CLICK, 0, 0);
    for (int i = 0; i < 200 && IsWindowVisible(dialog); ++i) Sleep(50);
    return !IsWindowVisible(dialog);
}

// The file names of every list view's rows, shown or not, one text per list, sorted.
std::vector<std::string> ListedNames(HWND main) {
    Child c{WC_LISTVIEWA, {}, true};
    EnumChildWindows(main, &CollectClass, reinterpret_cast<LPARAM>(&c));
    std::vector<std::string> names;
    for (HWND list : c.found) {
        const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        std::string shown;
        for (int i = 0; i < rows; ++i) {
            // A row redrawn by the poll shows the whole path: its name is what counts here.
            const std::string cell = ListCellOf(list, i, 1);
            shown += (i ? "," : "") + cell.substr(cell.find_last_of('\\') + 1);
        }
        names.push_back(shown);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(DownloadEndToEndTest, AKilledProgramComesBackWithEveryChangeMadeBeforeTheKill) {
    const std::string served = ReadFileBytes(peerDir + "\\www\\small.bin");
    ASSERT_EQ(served.size(), 40000u);
    // The add dialog proposes this folder; the list holds one stopped item from an earlier run.
    WritePrivateProfileStringA("DestPath", "Default", folder.c_str(), config.c_str());
    WritePrivateProfileStringA("Down", "Count", "1", config.c_str());
    WritePrivateProfileStringA("0", "URL", (host + "/old.bin").c_str(), config.c_str());
    WritePrivateProfileStringA("0", "DestFileName", (folder + "\\old.bin").c_str(), config.c_str());
    WritePrivateProfileStringA("0", "State", "3", config.c_str());

    const std::string small = host + "/small.bin";
    const std::string refused = "http://127.0.0.1:1/gone.bin";  // nothing listens on port 1
    const std::vector<std::string> expected = {
        host + "/old.bin|" + folder + "\\old.bin|3",
        small + "|" + folder + "\\small.bin|4",
        refused + "|" + folder + "\\gone.bin|5",
    };
    {
        Program program(folder);
        ASSERT_TRUE(program.Started());
        HWND main = MainWindowOf(program);
        ASSERT_NE(main, nullptr);
        // One item that downloads and finishes, one whose server refuses it: both end on their own,
        // and the file on disk follows without the window being closed.
        ASSERT_TRUE(AddThroughTheDialog(program, main, small));
        ASSERT_TRUE(AddThroughTheDialog(program, main, refused));
        for (int i = 0; i < 600 && SavedList(config) != expected; ++i) Sleep(50);
        EXPECT_EQ(SavedList(config), expected);
        ASSERT_TRUE(program.Kill());
    }
    EXPECT_EQ(SavedList(config), expected) << "the kill changed the file";
    EXPECT_TRUE(ReadFileBytes(folder + "\\small.bin") == served);

    // Started again: the finished item is in the finished list, the others in the downloading list.
    Program again(folder);
    ASSERT_TRUE(again.Started());
    HWND main = MainWindowOf(again);
    ASSERT_NE(main, nullptr);
    std::vector<std::string> names;
    for (int i = 0; i < 100 && (names = ListedNames(main)) != std::vector<std::string>{"", "old.bin,gone.bin", "small.bin"};
         ++i)
        Sleep(50);
    EXPECT_EQ(names, (std::vector<std::string>{"", "old.bin,gone.bin", "small.bin"}));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(again.WaitExit(30), 0);
    EXPECT_EQ(SavedList(config), expected);
}

}  // namespace
