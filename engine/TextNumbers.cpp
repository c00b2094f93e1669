#include "TextNumbers.h"

#include "AsciiText.h"

namespace {

constexpr char kBlanks[] = " \t";

std::size_t SkipBlanks(const std::string& text, std::size_t at, const char* blanks) {
    while (at < text.size() && IsAsciiBlank(text[at], blanks)) ++at;
    return at;
}

}  // namespace

uint64_t ReadDigits(const std::string& text, std::size_t& at, uint64_t limit) {
    uint64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        const uint64_t digit = uint64_t(text[at] - '0');
        value = digit > limit || value > (limit - digit) / 10 ? limit : value * 10 + digit;
    }
    return value;
}

std::optional<int64_t> LeadingDecimal(const std::string& text) {
    std::size_t at = SkipBlanks(text, 0, kBlanks);
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
    const std::size_t first = at;
    const int64_t magnitude = int64_t(ReadDigits(text, at, uint64_t(1) << 32));
    if (at == first) return std::nullopt;
    return negative ? -magnitude : magnitude;
}

bool ParseByteCount(const std::string& text, uint64_t limit, uint64_t* value) {
    std::size_t at = SkipBlanks(text, 0, kBlanks);
    const std::size_t first = at;
    // One past the limit tells a value beyond it from one at it.
    const uint64_t count = ReadDigits(text, at, limit == UINT64_MAX ? limit : limit + 1);
    if (at == first || count > limit) return false;
    if (SkipBlanks(text, at, " \t\r\n") != text.size()) return false;
    if (value) *value = count;
    return true;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
