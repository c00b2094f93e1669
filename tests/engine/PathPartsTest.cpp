#include "PathParts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PathParts, FolderNameAndExtensionByEitherSeparator) {
    struct Case {
        const char* path;
        const char* folder;
        size_t nameStart;
        size_t dot;  // npos: no extension
    } cases[] = {
        {"C:\\Downloads\\show.asx", "C:\\Downloads\\", 13, 17},
        {"/home/u/Downloads/show.asx", "/home/u/Downloads/", 18, 22},
        {"C:\\Downloads/lists\\show.asx", "C:\\Downloads/lists\\", 19, 23},
        {"C:\\Downloads\\lists/show.asx", "C:\\Downloads\\lists/", 19, 23},
        {"C:\\my.files\\movie", "C:\\my.files\\", 12, std::string::npos},  // the folder's '.' is no extension
        {"/a.b/c.d/clip.tar.gz", "/a.b/c.d/", 9, 17},                       // the name's last '.'
        {"show.asx", "", 0, 4},
        {"movie", "", 0, std::string::npos},
        {"/tmp/", "/tmp/", 5, std::string::npos},
        {".hidden", "", 0, 0},
        {"", "", 0, std::string::npos},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
        EXPECT_EQ(NameStart(c.path), c.nameStart) << c.path;
        EXPECT_EQ(ExtensionDot(c.path), c.dot) << c.path;
    }
}

}  // namespace
