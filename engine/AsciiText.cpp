#include "AsciiText.h"

#include <cstring>

bool IsAsciiBlank(char c, const char* blanks) { return c != 0 && std::strchr(blanks, c) != nullptr; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string LowerAscii(std::string text) {
    for (char& c : text) c = LowerAscii(c);
    return text;
}

std::string UpperAscii(std::string text) {
    for (char& c : text) c = UpperAscii(c);
    return text;
}

bool EqualsNoCase(const char* a, const char* b) {
    if (!a || !b) return a == b;
    for (;; ++a, ++b) {
        if (LowerAscii(*a) != LowerAscii(*b)) return false;
        if (*a == 0) return true;
    }
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && StartsWithNoCase(a, b);
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix, std::size_t at) {
    if (at > text.size() || text.size() - at < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (LowerAscii(text[at + i]) != LowerAscii(prefix[i])) return false;
    }
    return true;
}

std::string TrimAscii(const std::string& text, std::size_t begin, std::size_t end, const char* blanks) {
    while (begin < end && IsAsciiBlank(text[begin], blanks)) ++begin;
    while (end > begin && IsAsciiBlank(text[end - 1], blanks)) --end;
    return text.substr(begin, end - begin);
}

std::string TrimAscii(const std::string& text, const char* blanks) {
    return TrimAscii(text, 0, text.size(), blanks);
}

std::string TrimLeftAscii(const std::string& text, const char* blanks) {
    std::size_t begin = 0;
    while (begin < text.size() && IsAsciiBlank(text[begin], blanks)) ++begin;
    return text.substr(begin);
}

std::string TrimRightAscii(const std::string& text, const char* blanks) {
    std::size_t end = text.size();
    while (end > 0 && IsAsciiBlank(text[end - 1], blanks)) --end;
    return text.substr(0, end);
}
