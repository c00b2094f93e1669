// The engine's ASCII text rules: case folding only for A-Z, trims by their own blank sets.
#include "AsciiText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(AsciiText, FoldsOnlyAsciiLetters) {
    EXPECT_EQ(LowerAscii(std::string("HTTP://A.Z/@[`{\xC9\xE9")), "http://a.z/@[`{\xC9\xE9");
    EXPECT_EQ(UpperAscii(std::string("rtsp://a.z/@[`{\xC9\xE9")), "RTSP://A.Z/@[`{\xC9\xE9");
}

TEST(AsciiText, ComparesWithoutCase) {
    struct Case {
        std::string text, prefix;
        size_t at;
        bool starts, equal;
    };
    const Case cases[] = {
        {"HTTP://a.b", "http://", 0, true, false},
        {"Content-Length", "content-length", 0, true, true},
        {"x mms://", "MMS://", 2, true, false},
        {"mms:", "mms://", 0, false, false},
        {"abc", "", 3, true, false},
        {"abc", "c", 4, false, false},
        {"\xC9", "\xE9", 0, false, false},  // no folding beyond ASCII
        {"[", "{", 0, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StartsWithNoCase(c.text, c.prefix, c.at), c.starts) << c.text << " / " << c.prefix;
        EXPECT_EQ(EqualsNoCase(c.text, c.prefix), c.equal) << c.text << " / " << c.prefix;
        EXPECT_EQ(EqualsNoCase(c.text.c_str(), c.prefix.c_str()), c.equal) << c.text << " / " << c.prefix;
    }
    EXPECT_TRUE(EqualsNoCase(static_cast<const char*>(nullptr), nullptr));
    EXPECT_FALSE(EqualsNoCase("", nullptr));
}

TEST(AsciiText, TrimsItsBlanks) {
    EXPECT_EQ(TrimAscii(" \t\r\n\v\fa b\f\v\n\r\t "), "a b");
    EXPECT_EQ(TrimAscii(" \v a \v ", " \t\r\n"), "\v a \v");
    EXPECT_EQ(TrimLeftAscii("  a  "), "a  ");
    EXPECT_EQ(TrimRightAscii("  a  "), "  a");
    EXPECT_EQ(TrimAscii("xx  a  xx", 2, 7), "a");
    EXPECT_EQ(TrimAscii(" \x1a", " \x1a"), "");
    EXPECT_EQ(TrimAscii(std::string("\0a\0", 3)), std::string("\0a\0", 3));  // a zero is no blank
}

}  // namespace
