#include "SanitizeFileName.h"

#include <cstring>

#include "EngineTypes.h"

namespace {

bool IsForbidden(char c) { return c != '\0' && std::strchr("\"*/:<>?\\|", c) != nullptr; }

}  // namespace

void SanitizeFileName(char* name) {
    if (!name) return;
    size_t kept = 0;
    for (const char* from = name; *from && kept < kUrlFileNameMax; ++from) {
        if (!IsForbidden(*from)) name[kept++] = *from;
    }
    name[kept] = '\0';
}

std::string SanitizeFileName(const std::string& name) {
    std::string kept;
    for (char c : name) {
        if (kept.size() == kUrlFileNameMax) break;
        if (c == '\0') break;
        if (!IsForbidden(c)) kept += c;
    }
    return kept;
}
