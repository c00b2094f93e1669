// The cleaning of typed file names, in place and on strings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SanitizeFileName.h"

namespace {

std::string InPlace(const std::string& name) {
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    buffer.push_back('#');  // must stay untouched: the routine writes only inside the name
    SanitizeFileName(buffer.data());
    EXPECT_EQ(buffer.back(), '#');
    return buffer.data();
}

TEST(SanitizeFileNameTest, RemovesWhatAFileNameCannotHold) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"song.mp3", "song.mp3"},
        {"\"a\"*b/c:d<e>f?g\\h|i", "abcdefghi"},
        {"\"*/:<>?\\|", ""},
        {"", ""},
        {"my clip (1) #2 %20 [x].wmv", "my clip (1) #2 %20 [x].wmv"},
        {"caf\xc3\xa9.rm", "caf\xc3\xa9.rm"},
        {std::string(600, 'a'), std::string(510, 'a')},
        // The limit counts kept characters, not typed ones.
        {[] { std::string s; for (int i = 0; i < 600; ++i) s += "*b"; return s; }(), std::string(510, 'b')},
        {std::string(509, 'a') + "??bc", std::string(509, 'a') + "b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SanitizeFileName(c.in), c.out) << c.in.substr(0, 40);
        EXPECT_EQ(InPlace(c.in), c.out) << c.in.substr(0, 40);
    }
    SanitizeFileName(static_cast<char*>(nullptr));  // nothing to clean, nothing touched
}

TEST(SanitizeFileNameTest, ANameMustStillNameAFile) {
    struct Case {
        const char* cleaned;
        bool usable;
    } cases[] = {{"a", true}, {".hidden", true}, {"a.", true}, {" a ", true},
                 {"", false}, {".", false}, {"..", false}, {"   ", false}, {" . . ", false},
                 // Device names, which Windows opens whatever the extension.
                 {"con.asf", false}, {"CON", false}, {"nul .txt", false}, {"Lpt1.wmv", false}, {"com9", false},
                 {"console.asf", true}, {"com10.asf", true}, {"lpt0", true}, {"acon.asf", true}};
    for (const auto& c : cases) EXPECT_EQ(IsUsableFileName(c.cleaned), c.usable) << '[' << c.cleaned << ']';
}

}  // namespace
