// Saving the download list when the disk fills up: the save fails without leaving its temporary
// copy, the old list stays whole, and once there is room again the next save goes through.
// Runs on a small tmpfs that the test's fixture mounts (FK_SMALL_DISK names it).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Factories.h"
#include "FakeRuns.h"
#include "Fetchkeeper.h"

namespace {

using ManagerPtr = EnginePtr<CFetchkeeper>;

ManagerPtr NewManager() { return ManagerPtr(static_cast<CFetchkeeper*>(NEW_FETCHKEEPER())); }

std::vector<std::string> Urls(CFetchkeeper& m) {
    std::vector<std::string> urls;
    for (ItemHandle h = m.GetFirstItem(); h; h = m.GetNextItem(h)) {
        DownItemInfo info{};
        m.GetItemInfo(h, &info);
        urls.push_back(info.url);
    }
    return urls;
}

// Writes until the disk refuses more; the file is what takes the space.
void FillDisk(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    const std::vector<char> block(4096, 'f');
    while (std::fwrite(block.data(), 1, block.size(), file) == block.size() && std::fflush(file) == 0) {
    }
    std::fclose(file);
}

TEST(SaveOnFullDisk, FailedSaveCleansUpAndALaterOneSucceeds) {
    const char* disk = std::getenv("FK_SMALL_DISK");
    ASSERT_NE(disk, nullptr) << "the small-disk fixture sets FK_SMALL_DISK";
    const std::string dir = std::string(disk) + "/";
    const std::string ini = dir + "config.ini";
    const std::string filler = dir + "filler";
    std::filesystem::remove(ini);
    std::filesystem::remove(ini + ".tmp");

    FakeRuns runs;
    runs.refuseJobs = true;  // the items only need to be listed
    ManagerPtr manager = NewManager();
    manager->AddItem("http://a.example/first", "C:\\dl\\", "first");
    ASSERT_TRUE(manager->SaveProject(ini.c_str()));
    for (int i = 0; i < 40; ++i) {
        const std::string url = "http://a.example/" + std::string(200, 'p') + std::to_string(i);
        manager->AddItem(url.c_str(), "C:\\dl\\", ("p" + std::to_string(i)).c_str());
    }
    const std::vector<std::string> all = Urls(*manager);

    FillDisk(filler);
    EXPECT_FALSE(manager->SaveProject(ini.c_str()));
    EXPECT_FALSE(std::filesystem::exists(ini + ".tmp"));
    ManagerPtr old = NewManager();
    ASSERT_TRUE(old->LoadProject(ini.c_str()));
    EXPECT_EQ(Urls(*old), std::vector<std::string>{"http://a.example/first"});

    std::filesystem::remove(filler);
    ASSERT_TRUE(manager->SaveProject(ini.c_str()));
    EXPECT_FALSE(std::filesystem::exists(ini + ".tmp"));
    ManagerPtr loaded = NewManager();
    ASSERT_TRUE(loaded->LoadProject(ini.c_str()));
    EXPECT_EQ(Urls(*loaded), all);
    std::filesystem::remove(ini);
}

}  // namespace
