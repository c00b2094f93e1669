// The texts of the main window's cells, and the path split it files rows with.
#include <gtest/gtest.h>

#include <cstring>

#include "RowText.h"

namespace {

TEST(RowTextTest, GroupDigits) {
    struct Case {
        const char *in, *out;
    } cases[] = {{"", ""},        {"7", "7"},           {"999", "999"},           {"1000", "1,000"},
                 {"12345", "12,345"}, {"123456", "123,456"}, {"1234567", "1,234,567"}, {"-1000", "-1,000"}};
    for (const auto& c : cases) EXPECT_EQ(GroupDigits(c.in), c.out) << c.in;
}

TEST(RowTextTest, SizeAndPercentCells) {
    struct Case {
        int32_t total, downloaded;
        const char* size;
        bool percentSet;
        const char* percent;
    } cases[] = {
        {-1, 10, "Unknown", true, "Unknown"}, {0, 0, "0", false, ""},        {1000, 999, "1,000", true, "99%"},
        {1000, 1000, "1,000", true, "100%"},  {3, 1, "3", true, "33%"},       {2147483647, 2147483646, "2,147,483,647", true, "99%"},
        {1000, 0, "1,000", true, "0%"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SizeCell(c.total), c.size);
        std::string percent = "kept";
        EXPECT_EQ(PercentCell(c.total, c.downloaded, percent), c.percentSet) << c.total;
        EXPECT_EQ(percent, c.percentSet ? c.percent : "kept") << c.total;
    }
}

TEST(RowTextTest, SplitPath) {
    struct Case {
        const char* path;
        bool split;
        const char *dir, *name;
    } cases[] = {{"C:\\dl\\a.bin", true, "C:\\dl\\", "a.bin"}, {"C:\\a", true, "C:\\", "a"},
                 {"C:\\dl\\", true, "C:\\dl\\", ""},          {"a.bin", false, "", ""},
                 {"", false, "", ""},                         {"\\\\srv\\share\\f", true, "\\\\srv\\share\\", "f"}};
    for (const auto& c : cases) {
        char dir[256] = {}, name[256] = {};
        EXPECT_EQ(SplitPath(c.path, dir, name), c.split) << c.path;
        EXPECT_STREQ(dir, c.dir) << c.path;
        EXPECT_STREQ(name, c.name) << c.path;
        EXPECT_EQ(FileNamePart(c.path), c.name);
    }
    // The directory is copied without a terminator of its own.
    char dir[256];
    std::memset(dir, 'x', sizeof dir);
    char name[256] = {};
    SplitPath("C:\\d\\f", dir, name);
    EXPECT_EQ(std::string(dir, 5), "C:\\d\\");
    EXPECT_EQ(dir[5], 'x');
}

TEST(RowTextTest, LogWithoutItsClosingLineBreak) {
    struct Case {
        const char* text;
        const char* out;
    } cases[] = {{"a\r\nb\r\n", "a\r\nb"}, {"\r\n", ""}, {"x", ""}, {"", ""}, {"ab", ""}, {"abc", "a"}};
    for (const auto& c : cases) EXPECT_EQ(WithoutLastLineBreak(c.text, std::strlen(c.text)), c.out) << c.text;
    EXPECT_EQ(WithoutLastLineBreak(nullptr, 5), "");
}

TEST(RowTextTest, ChartCells) {
    struct Case {
        int32_t total, downloaded, cells, comed;
    } cases[] = {{-1, 0, 1, 0}, {-1, -1, 1, 1}, {1023, 500, 1, 0}, {1023, 1023, 1, 1},
                 {4096, 3000, 4, 2}, {4096, 4096, 4, 4}, {1 << 30, 1 << 29, 1 << 20, 1 << 19}};
    for (const auto& c : cases) {
        const ChartCounts got = ChartCells(c.total, c.downloaded);
        EXPECT_EQ(got.total, c.cells) << c.total;
        EXPECT_EQ(got.comed, c.comed) << c.total;
    }
}

}  // namespace
