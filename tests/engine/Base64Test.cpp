#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Base64.h"

namespace {

TEST(Base64, EncodesWithFillerForShortGroups) {
    struct Case {
        const char* text;
        const char* encoded;
    };
    const Case cases[] = {
        {"", ""},         {"a", "YQ=="},     {"ab", "YWI="},        {"abc", "YWJj"},
        {"abcd", "YWJjZA=="}, {"user:pass", "dXNlcjpwYXNz"}, {"\xff\xfe\xfd", "//79"},
    };
    for (const auto& c : cases) {
        char out[64];
        std::memset(out, '#', sizeof out);
        Base64Encode(c.text, out);
        EXPECT_STREQ(out, c.encoded) << c.text;
        EXPECT_EQ(out[std::strlen(c.encoded) + 1], '#') << "writes only the text and its NUL";
        EXPECT_EQ(Base64EncodeText(c.text), c.encoded);
    }
}

TEST(Base64, DecodeSkipsEverythingOutsideTheAlphabet) {
    struct Case {
        std::string input;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"YWJj", "abc"},
        {"YW Jj", "abc"},
        {"YWI=", "ab"},
        {"YQ==", "a"},
        {"YWJjZ", "abc"},  // a single leftover character gives nothing
        {"YWJ\r\njZA==", "abcd"},
        {std::string("Y\x80W\xffJj", 6), "abc"},
        {"//79", "\xff\xfe\xfd"},
    };
    for (const auto& c : cases) {
        uint8_t out[64] = {};
        int n = Base64Decode(c.input.data(), int(c.input.size()), out);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out), size_t(n > 0 ? n : 0)), c.bytes) << c.input;
    }
    uint8_t out[4];
    EXPECT_EQ(Base64Decode(nullptr, 4, out), 0);
    EXPECT_EQ(Base64Decode("YWJj", 0, out), 0);
    EXPECT_EQ(Base64Decode("YWJj", 4, nullptr), 0);
}

TEST(Base64, RoundTripsEveryByteValue) {
    std::string all;
    for (int i = 0; i < 256; ++i) all += char(i);
    for (size_t len = 0; len < all.size(); len += 37) {
        std::string piece = all.substr(0, len);
        std::string text = Base64EncodeText(piece);
        std::vector<uint8_t> back(len + 3);
        int n = Base64Decode(text.data(), int(text.size()), back.data());
        ASSERT_EQ(size_t(n), len);
        EXPECT_EQ(std::string(back.begin(), back.begin() + n), piece);
    }
}

}  // namespace
