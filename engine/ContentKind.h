// What a download holds, from its Content-Type or file extension: the downloader reports it, the
// output file's extension is fitted to it, and the pointer-file parser picks its parser by it.
#pragma once
#include <cstdint>

enum ContentKind : int32_t {
    ContentUnknown = 0,
    ContentHtml = 1,
    ContentAsf = 2,  // Windows Media stream or ASX playlist
    ContentSmil = 3,
    ContentReal = 4,
    ContentQuickTime = 5,
    ContentWax = 6,
    ContentWvx = 7,  // WVX or WMX
    ContentOctet = 8,
    ContentMp3 = 9,
};
