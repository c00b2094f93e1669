// Types shared by the engine and its callers. Every record here crosses the library boundary, so
// its layout is fixed: checked below for the 32-bit Windows build.
#pragma once
#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define FK_STDCALL __attribute__((stdcall))
#else
#define FK_STDCALL
#endif

// State of a download item. The program files an item's row by it.
enum DownState : int32_t {
    DownStateNone = 0,  // only between creation and the first Set
    DownWaiting = 1,
    DownDownloading = 2,
    DownStopped = 3,
    DownFinished = 4,
    DownFailed = 5,
    DownDeleted = 6,
};

// Result of one download run.
enum DownResult : int32_t {
    ResultSuccess = 0,
    ResultMemoryError = 1,
    ResultFileError = 2,
    ResultUserCancel = 3,
    ResultConnectError = 4,
    ResultShakeHandError = 5,
    ResultReceiveError = 6,
    ResultInternalError = 7,
    ResultRedirected = 8,
    ResultTimeOut = 9,
    ResultInvalidPack = 10,
    ResultSameNameNoResume = 11,
};

// Which downloader a run uses; 0 lets the URL decide.
enum ProtocolKind : int32_t {
    KindFromUrl = 0,
    KindHttp = 1,
    KindRtsp80 = 2,
    KindMms = 3,
    KindRtsp554 = 4,
    KindFtp = 5,
    KindMms80 = 6,
    KindMms554 = 7,
    KindMms1755 = 8,
};

// Sizes of the texts that cross the library boundary, terminator included: the item's fields, the
// buffers the manager fills, and the program's buffers for them.
constexpr size_t kUrlSize = 1024;      // a URL; also the proxy server's text
constexpr size_t kPathSize = 256;      // a destination path, its folder or file name; the settings file's path
constexpr size_t kPortTextSize = 10;   // the proxy port's text
constexpr size_t kFileNameSize = 511;  // a file name taken from a URL (FileNameFromUrl)
// The longest texts these hold.
constexpr size_t kUrlTextMax = kUrlSize - 1;
constexpr size_t kUrlFileNameMax = kFileNameSize - 1;

// Snapshot of one item handed to the program.
struct DownItemInfo {
    const char* url;
    const char* destFile;
    int32_t state;
    int32_t totalSize;  // 0 not yet reported, -1 undetermined
    int32_t downloaded;
    const char* logText;  // null while the log is empty
    uint32_t logLength;
};

// What the download list stores per item.
struct DownItemRecord {
    char url[kUrlSize];
    char destFile[kPathSize];
    int32_t state;
};

#if defined(_WIN32) && defined(__i386__)
static_assert(sizeof(DownItemInfo) == 28, "DownItemInfo is seven 32-bit fields");
static_assert(offsetof(DownItemInfo, url) == 0);
static_assert(offsetof(DownItemInfo, destFile) == 4);
static_assert(offsetof(DownItemInfo, state) == 8);
static_assert(offsetof(DownItemInfo, totalSize) == 12);
static_assert(offsetof(DownItemInfo, downloaded) == 16);
static_assert(offsetof(DownItemInfo, logText) == 20);
static_assert(offsetof(DownItemInfo, logLength) == 24);
static_assert(sizeof(DownItemRecord) == 1284, "DownItemRecord is url[1024], destFile[256], state");
static_assert(offsetof(DownItemRecord, destFile) == 1024);
static_assert(offsetof(DownItemRecord, state) == 1280);
#endif
