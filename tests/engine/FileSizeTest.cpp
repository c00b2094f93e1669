#include "FileSize.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class GetFileSizeTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
        dir_ = std::filesystem::temp_directory_path() /
               ("file_size_test_" + std::to_string(tick));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    std::string WriteFile(const char* name, const std::string& bytes) {
        std::filesystem::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    std::filesystem::path dir_;
};

TEST_F(GetFileSizeTest, GivesByteLengthOfAFile) {
    // Zero bytes and CR LF pairs are counted as they are on disk.
    std::string bytes(51201, 'x');
    bytes[10] = '\0';
    bytes.replace(100, 2, "\r\n");
    EXPECT_EQ(GetFileSize(WriteFile("list.asx", bytes)), 51201);
    EXPECT_EQ(GetFileSize(WriteFile("empty.rm", "")), 0);
}

TEST_F(GetFileSizeTest, ReportsFilesBeyondTheRangeOfLongAsLongMax) {
    // 5 GiB + 100 wraps to a plausible 1 GiB + 100 in a 32-bit offset.
    const unsigned long long size = (5ull << 30) + 100;
    std::string path = WriteFile("big.rm", "");
    std::error_code error;
    std::filesystem::resize_file(path, size, error);  // sparse: takes no disk space
    if (error) GTEST_SKIP() << "cannot make a sparse file here: " << error.message();
    long expected = size > static_cast<unsigned long long>(LONG_MAX) ? LONG_MAX
                                                                     : static_cast<long>(size);
    EXPECT_EQ(GetFileSize(path), expected);
}

TEST_F(GetFileSizeTest, GivesMinusOneWhenItCannotBeOpened) {
    EXPECT_EQ(GetFileSize((dir_ / "missing.rm").string()), -1);
    EXPECT_EQ(GetFileSize((dir_ / "no_dir" / "missing.rm").string()), -1);
    EXPECT_EQ(GetFileSize(dir_.string()), -1);
    EXPECT_EQ(GetFileSize(""), -1);
}

}  // namespace
