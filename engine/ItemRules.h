// Rules the engine holds an item to that the program applies too, before it hands an item over:
// the schemes a run accepts, the file names a destination may end in, and the name a destination
// that another item holds is given.
// Inline and with no engine dependency but the headers it shares with the program, so the program,
// which binds the engine only at run time, builds them from this one place.
#pragma once
#include <cctype>
#include <cstddef>
#include <cstring>
#include <string>

#include "EngineTypes.h"
#include "PathParts.h"

// The schemes a run accepts, in upper case, and the downloader each asks for: "mms", "mmst" and
// "mmsu" all name MMS, whichever transport they hint at (the chooser tries the three in turn).
struct RunScheme {
    const char* name;
    ProtocolKind kind;
};
inline constexpr RunScheme kRunSchemes[] = {
    {"HTTP", KindHttp}, {"FTP", KindFtp}, {"MMS", KindMms}, {"MMST", KindMms}, {"MMSU", KindMms}, {"RTSP", KindRtsp554},
};

// The downloader a scheme (without "://", letters in any case) asks for; KindFromUrl when no run
// accepts the scheme.
inline ProtocolKind SchemeKind(const std::string& scheme) {
    for (const RunScheme& run : kRunSchemes) {
        const size_t n = std::strlen(run.name);
        size_t i = 0;
        while (i < n && i < scheme.size() && std::toupper(static_cast<unsigned char>(scheme[i])) == run.name[i]) ++i;
        if (i == n && scheme.size() == n) return run.kind;
    }
    return KindFromUrl;
}

inline bool IsMmsScheme(const std::string& scheme) { return SchemeKind(scheme) == KindMms; }

// True when the URL starts with a scheme of kRunSchemes and "://", letters compared without case.
inline bool HasRunScheme(const char* url) {
    if (!url) return false;
    const char* end = std::strstr(url, "://");
    return end && SchemeKind(std::string(url, size_t(end - url))) != KindFromUrl;
}

// True when `name`, put behind a folder, names a file of its own there: not empty, not only dots
// and blanks (Windows drops those at a name's end, so "", ".", ".." and "  " would make the folder
// itself, or its parent, the destination), and no device ("con", "prn", "aux", "nul", "com1" to
// "com9", "lpt1" to "lpt9", whatever the case and whatever extension follows: "con.asf" too).
inline bool IsUsableFileName(const std::string& name) {
    if (name.find_first_not_of(". ") == std::string::npos) return false;
    std::string base = name.substr(0, name.find('.'));
    base.erase(base.find_last_not_of(' ') + 1);
    for (char& c : base) c = char(std::tolower(static_cast<unsigned char>(c)));
    for (const char* device : {"con", "prn", "aux", "nul"}) {
        if (base == device) return false;
    }
    const bool numbered = base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0);
    return !(numbered && base[3] >= '1' && base[3] <= '9');
}

// clip.asf -> clip1.asf; the digit goes before the file name's last '.', or at the end without one.
inline std::string InsertDigit(const std::string& dest) {
    const size_t dot = ExtensionDot(dest);
    if (dot == std::string::npos) return dest + "1";
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
