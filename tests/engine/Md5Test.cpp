#include "Md5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Hex(const std::string& text) {
    char out[33];
    return MD5(out, text.data(), text.size());
}

TEST(Md5, Rfc1321TestSuite) {
    struct Case {
        const char* input;
        const char* digest;
    };
    const Case cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Case& c : cases) EXPECT_EQ(Hex(c.input), c.digest) << '"' << c.input << '"';
}

// Lengths around the padding: 55 fits the length in the same block, 56 spills into a second one,
// 64 is one exact block. Expected values from md5sum over that many 'a' characters.
TEST(Md5, LengthsAroundThePaddingBoundary) {
    struct Case {
        size_t length;
        const char* digest;
    };
    const Case cases[] = {
        {55, "ef1772b6dff9a122358552954ad0df65"}, {56, "3b0c8ac703f828b04c6c197006d17218"},
        {63, "b06521f39153d618550606be297466d5"}, {64, "014842d480b571495a4a0363793f7367"},
        {65, "c743a45e0d2e6a95cb859adae0248435"},
    };
    for (const Case& c : cases) EXPECT_EQ(Hex(std::string(c.length, 'a')), c.digest) << c.length;
}

std::vector<uint8_t> LargeInput() {
    std::vector<uint8_t> bytes((1 << 20) + 13);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 31 + 7);
    return bytes;
}

// md5sum over the same 1 MiB + 13 bytes (byte i = (31 i + 7) mod 256).
constexpr char kLargeDigest[] = "e65e3c23aa70b37c8d62c3c6c1df291c";

TEST(Md5, LargeInputMatchesMd5sum) {
    const std::vector<uint8_t> bytes = LargeInput();
    char out[33];
    EXPECT_STREQ(MD5(out, bytes.data(), bytes.size()), kLargeDigest);
}

TEST(Md5, UpdatesInPiecesGiveTheSameDigest) {
    const std::vector<uint8_t> bytes = LargeInput();
    for (size_t piece : {1u, 7u, 63u, 64u, 65u, 4096u}) {
        Md5Context context;
        Md5Init(&context);
        for (size_t at = 0; at < bytes.size(); at += piece)
            Md5Update(&context, bytes.data() + at, std::min(piece, bytes.size() - at));
        uint8_t digest[16];
        Md5Final(&context, digest);
        char hex[33];
        for (int i = 0; i < 16; ++i) std::snprintf(hex + 2 * i, 3, "%02x", digest[i]);
        EXPECT_STREQ(hex, kLargeDigest) << piece;
        // The context is wiped so no trace of the hashed secret stays behind.
        const Md5Context zero{};
        EXPECT_EQ(std::memcmp(&context, &zero, sizeof zero), 0);
    }
}

}  // namespace
