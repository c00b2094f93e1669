// Two rules the engine holds an item to that the program applies too, before it hands an item
// over: the schemes a run accepts, and the name a destination that another item holds is given.
// Inline and with no other engine dependency, so the program, which binds the engine only at run
// time, builds them from this one place.
#pragma once
#include <cctype>
#include <cstddef>
#include <cstring>
#include <string>

// The schemes a run accepts, "://" included.
inline constexpr const char* kRunSchemes[] = {"http://", "ftp://", "mms://", "mmst://", "mmsu://", "rtsp://"};

// True when the URL starts with one of kRunSchemes, letters compared without case.
inline bool HasRunScheme(const char* url) {
    if (!url) return false;
    for (const char* scheme : kRunSchemes) {
        const size_t n = std::strlen(scheme);
        size_t i = 0;
        while (i < n && url[i] && std::tolower(static_cast<unsigned char>(url[i])) == scheme[i]) ++i;
        if (i == n) return true;
    }
    return false;
}

// clip.asf -> clip1.asf; the digit goes before the file name's last '.', or at the end without one.
inline std::string InsertDigit(const std::string& dest) {
    const size_t folderEnd = dest.find_last_of("\\/");
    const size_t nameStart = folderEnd == std::string::npos ? 0 : folderEnd + 1;
    const size_t dot = dest.rfind('.');
    if (dot == std::string::npos || dot < nameStart) return dest + "1";
    return dest.substr(0, dot) + "1" + dest.substr(dot);
}

// `dest` while `taken(dest)` is false, else the first rewrite by InsertDigit that no item holds;
// empty once a rewrite would no longer fit a field of `size` bytes (terminator included).
template <class Taken>
std::string UniqueDestination(std::string dest, Taken taken, size_t size) {
    while (taken(dest)) {
        dest = InsertDigit(dest);
        if (dest.size() >= size) return std::string();
    }
    return dest;
}
