#include "SanitizeFileName.h"

#include <cstring>

namespace {

constexpr size_t kMaxKept = 510;

bool IsForbidden(char c) { return c != '\0' && std::strchr("\"*/:<>?\\|", c) != nullptr; }

}  // namespace

void SanitizeFileName(char* name) {
    if (!name) return;
    size_t kept = 0;
    for (const char* from = name; *from && kept < kMaxKept; ++from) {
        if (!IsForbidden(*from)) name[kept++] = *from;
    }
    name[kept] = '\0';
}

std::string SanitizeFileName(const std::string& name) {
    std::string kept;
    for (char c : name) {
        if (kept.size() == kMaxKept) break;
        if (c == '\0') break;
        if (!IsForbidden(c)) kept += c;
    }
    return kept;
}
