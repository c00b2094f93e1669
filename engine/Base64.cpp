#include "Base64.h"

#include <cstring>

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Value(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

void EncodeInto(const unsigned char* bytes, size_t length, char* out) {
    size_t i = 0;
    for (; i + 3 <= length; i += 3) {
        uint32_t group = (uint32_t(bytes[i]) << 16) | (uint32_t(bytes[i + 1]) << 8) | bytes[i + 2];
        *out++ = kAlphabet[(group >> 18) & 63];
        *out++ = kAlphabet[(group >> 12) & 63];
        *out++ = kAlphabet[(group >> 6) & 63];
        *out++ = kAlphabet[group & 63];
    }
    const size_t rest = length - i;
    if (rest) {
        uint32_t group = uint32_t(bytes[i]) << 16;
        if (rest == 2) group |= uint32_t(bytes[i + 1]) << 8;
        *out++ = kAlphabet[(group >> 18) & 63];
        *out++ = kAlphabet[(group >> 12) & 63];
        *out++ = rest == 2 ? kAlphabet[(group >> 6) & 63] : '=';
        *out++ = '=';
    }
    *out = 0;
}

}  // namespace

void Base64Encode(const char* text, char* out) {
    if (!out) return;
    if (!text) {
        *out = 0;
        return;
    }
    EncodeInto(reinterpret_cast<const unsigned char*>(text), std::strlen(text), out);
}

std::string Base64EncodeText(const std::string& bytes) {
    std::string out((bytes.size() + 2) / 3 * 4 + 1, '\0');
    EncodeInto(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &out[0]);
    out.resize(out.size() - 1);
    return out;
}

int Base64Decode(const char* input, int length, uint8_t* out) {
    if (!input || !out || length <= 0) return 0;
    int written = 0;
    uint32_t group = 0;
    int have = 0;
    for (int i = 0; i < length; ++i) {
        int v = Value(static_cast<unsigned char>(input[i]));
        if (v < 0) continue;
        group = (group << 6) | uint32_t(v);
        if (++have == 4) {
            out[written++] = uint8_t(group >> 16);
            out[written++] = uint8_t(group >> 8);
            out[written++] = uint8_t(group);
            group = 0;
            have = 0;
        }
    }
    if (have == 3) {
        out[written++] = uint8_t(group >> 10);
        out[written++] = uint8_t(group >> 2);
    } else if (have == 2) {
        out[written++] = uint8_t(group >> 4);
    }
    return written;
}
