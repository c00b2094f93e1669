// Rules the engine holds an item to that the program applies too, before it hands an item over:
// the schemes a run accepts, the file names a destination may end in, how two destinations are
// compared, and the name a destination that another item holds is given.
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

// The text a destination's resume record is named by: the destination followed by it.
inline constexpr char kRecordSuffix[] = ".ini";

inline std::string RecordNameOf(const std::string& dest) { return dest + kRecordSuffix; }

// The path of the file Windows opens for `path`: white space around the path dropped, and the dots
// and blanks Windows drops at a file name's end. Every destination the engine keeps or writes is
// in this form, on every platform, so that the name an item shows is the file written. A name of
// nothing but dots and blanks stays as it is (IsUsableFileName refuses it).
inline std::string FileSystemName(const std::string& path) {
    const char* const kSpaces = " \t\r\n\v\f";
    std::string name = path;
    for (;;) {
        const size_t begin = name.find_first_not_of(kSpaces);
        if (begin == std::string::npos) return std::string();
        name = name.substr(begin, name.find_last_not_of(kSpaces) + 1 - begin);
        const size_t nameStart = NameStart(name);
        const size_t keep = name.find_last_not_of(". ");
        if (keep == std::string::npos || keep < nameStart || keep + 1 == name.size()) return name;
        name.erase(keep + 1);
    }
}

// The one key destinations are compared by: paths Windows takes for one file have one key
// (letters without case, either separator, the dropping of FileSystemName).
inline std::string DestKey(const std::string& path) {
    std::string key = FileSystemName(path);
    for (char& c : key) c = c == '/' ? '\\' : char(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

// True when two destinations would share a file: one file, or the one's file is the other's
// resume record.
inline bool DestinationsClash(const std::string& a, const std::string& b) {
    const std::string ka = DestKey(a), kb = DestKey(b);
    return ka == kb || RecordNameOf(ka) == kb || ka == RecordNameOf(kb);
}

// clip.asf -> clip<n>.asf; the number goes before the file name's last '.', or at the end without one.
inline std::string NumberedDestination(const std::string& dest, unsigned n) {
    const size_t dot = ExtensionDot(dest);
    const std::string number = std::to_string(n);
    if (dot == std::string::npos) return dest + number;
    return dest.substr(0, dot) + number + dest.substr(dot);
}

// How many numbered names a clashing destination is tried under before it is refused.
inline constexpr unsigned kMaxDestinationRewrites = 999999;

// `dest` while `taken(dest)` is false, else the first of clip1.asf, clip2.asf, ... that is not
// taken; empty when none up to kMaxDestinationRewrites is free or a name no longer fits a field of
// `size` bytes (terminator included). With `next`, the numbers below *next are known to be taken
// and are not tried; *next becomes the number given (it is free, not yet taken).
template <class Taken>
std::string UniqueDestination(const std::string& dest, Taken taken, size_t size, unsigned* next = nullptr) {
    if (dest.size() >= size) return std::string();
    if (!taken(dest)) return dest;
    for (unsigned n = next && *next > 1 ? *next : 1; n <= kMaxDestinationRewrites; ++n) {
        std::string candidate = NumberedDestination(dest, n);
        if (candidate.size() >= size) return std::string();
        if (!taken(candidate)) {
            if (next) *next = n;
            return candidate;
        }
    }
    return std::string();
}
