#include "Md5.h"

#include <cstring>

namespace {

constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

constexpr int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

uint32_t RotateLeft(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

uint32_t LoadLe(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void StoreLe(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

void Transform(uint32_t state[4], const uint8_t block[64]) {
    uint32_t x[16];
    for (int i = 0; i < 16; ++i) x[i] = LoadLe(block + 4 * i);
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (int i = 0; i < 64; ++i) {
        const int round = i / 16;
        uint32_t f;
        int k;
        switch (round) {
            case 0: f = (b & c) | (~b & d); k = i; break;
            case 1: f = (b & d) | (c & ~d); k = (5 * i + 1) % 16; break;
            case 2: f = b ^ c ^ d; k = (3 * i + 5) % 16; break;
            default: f = c ^ (b | ~d); k = (7 * i) % 16; break;
        }
        const uint32_t next = b + RotateLeft(a + f + x[k] + kSine[i], kShift[round][i % 4]);
        a = d;
        d = c;
        c = b;
        b = next;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

}  // namespace

void Md5Init(Md5Context* context) {
    context->state[0] = 0x67452301;
    context->state[1] = 0xefcdab89;
    context->state[2] = 0x98badcfe;
    context->state[3] = 0x10325476;
    context->count[0] = context->count[1] = 0;
}

void Md5Update(Md5Context* context, const void* data, size_t length) {
    const uint8_t* input = static_cast<const uint8_t*>(data);
    size_t used = (context->count[0] >> 3) & 0x3F;
    const uint32_t bits = uint32_t(length << 3);
    context->count[0] += bits;
    if (context->count[0] < bits) ++context->count[1];
    context->count[1] += uint32_t(uint64_t(length) >> 29);
    while (length > 0) {
        const size_t take = length < 64 - used ? length : 64 - used;
        std::memcpy(context->buffer + used, input, take);
        used += take;
        input += take;
        length -= take;
        if (used == 64) {
            Transform(context->state, context->buffer);
            used = 0;
        }
    }
}

void Md5Final(Md5Context* context, uint8_t digest[16]) {
    uint8_t bits[8];
    StoreLe(bits, context->count[0]);
    StoreLe(bits + 4, context->count[1]);
    const size_t used = (context->count[0] >> 3) & 0x3F;
    static const uint8_t kPadding[64] = {0x80};
    Md5Update(context, kPadding, used < 56 ? 56 - used : 120 - used);
    Md5Update(context, bits, 8);
    for (int i = 0; i < 4; ++i) StoreLe(digest + 4 * i, context->state[i]);
    std::memset(context, 0, sizeof *context);
}

char* MD5(char* out, const void* data, size_t length) {
    static const char kHex[] = "0123456789abcdef";
    Md5Context context;
    Md5Init(&context);
    Md5Update(&context, data, length);
    uint8_t digest[16];
    Md5Final(&context, digest);
    for (int i = 0; i < 16; ++i) {
        out[2 * i] = kHex[digest[i] >> 4];
        out[2 * i + 1] = kHex[digest[i] & 15];
    }
    out[32] = '\0';
    return out;
}
