#include "TextCopy.h"

#include <cctype>

bool EqualsNoCase(const char* a, const char* b) {
    if (!a || !b) return a == b;
    for (;; ++a, ++b) {
        const int ca = std::tolower(static_cast<unsigned char>(*a));
        const int cb = std::tolower(static_cast<unsigned char>(*b));
        if (ca != cb) return false;
        if (ca == 0) return true;
    }
}
