// Slot numbers of the socket, the downloaders and the job: callers reach them by number.
#include <gtest/gtest.h>

#include <cstring>

#include "DownHTTP.h"
#include "DownRTSP554.h"
#include "DownRTSP80.h"
#include "DownRtspBase.h"
#include "Download.h"
#include "QmSocket.h"
#include "SlotOf.h"

namespace {


TEST(DownloaderSlotLayout, Socket) {
    const Slot slots[] = {
        SLOT(CQmSocket, DeleteSelf, 0),   SLOT(CQmSocket, Release, 1),      SLOT(CQmSocket, Init, 2),
        SLOT(CQmSocket, Connect, 3),      SLOT(CQmSocket, Close, 4),        SLOT(CQmSocket, SetTimeOut, 5),
        SLOT(CQmSocket, ReceiveBlock, 6), SLOT(CQmSocket, ReadHeader, 7),   SLOT(CQmSocket, ReceiveExact, 8),
        SLOT(CQmSocket, ReceiveSome, 9),  SLOT(CQmSocket, ReadLine, 10),    SLOT(CQmSocket, SendAll, 11),
        SLOT(CQmSocket, GetSockName, 12), SLOT(CQmSocket, ReceiveAvailable, 13),
    };
    CheckSlots(slots, std::size(slots));
}

TEST(DownloaderSlotLayout, HttpDownloaders) {
    const Slot base[] = {
        SLOT(CDownHTTP, DeleteSelf, 0),        SLOT(CDownHTTP, Release, 1),
        SLOT(CDownHTTP, Init, 2),              SLOT(CDownHTTP, SetUrl, 3),
        SLOT(CDownHTTP, Run, 4),               SLOT(CDownHTTP, Begin, 5),
        SLOT(CDownHTTP, Connect, 6),           SLOT(CDownHTTP, CheckResume, 7),
        SLOT(CDownHTTP, Handshake, 8),         SLOT(CDownHTTP, Exchange, 9),
        SLOT(CDownHTTP, MakeAuthorization, 10), SLOT(CDownHTTP, OpenOutput, 11),
        SLOT(CDownHTTP, ReceiveData, 12),      SLOT(CDownHTTP, DeleteResumeInfo, 13),
        SLOT(CDownHTTP, SaveResumeInfo, 14),   SLOT(CDownHTTP, Close, 15),
        SLOT(CDownHTTP, SetStreamHeader, 16),  SLOT(CDownHTTP, ReportProgress, 17),
        SLOT(CDownHTTP, ReportTotalSize, 18),  SLOT(CDownHTTP, IsStopRequested, 19),
        SLOT(CDownHTTP, ReportContentKind, 20), SLOT(CDownHTTP, ReportFileName, 21),
        SLOT(CDownHTTP, Log, 22),              SLOT(CDownHTTP, LogFormat, 23),
        SLOT(CDownHTTP, MakeRequest, 24),      SLOT(CDownHTTP, ReceiveBody, 25),
        SLOT(CDownHTTP, ReceiveChunked, 26),   SLOT(CDownHTTP, ParseHeaders, 27),
        SLOT(CDownHTTP, IsBadReply, 28),       SLOT(CDownHTTP, ReturnTrue, 29),
        SLOT(CDownRTSP80, Begin, 5),           SLOT(CDownRTSP80, MakeRequest, 24),
        SLOT(CDownRTSP80, ReturnTrue, 29),     SLOT(CDownBase, LogFormat, 23),
        SLOT(CDownHttpBase, IsBadReply, 28),
    };
    CheckSlots(base, std::size(base));
}

TEST(DownloaderSlotLayout, RtspBase) {
    const Slot slots[] = {
        SLOT(CDownRtspBase, Begin, 5),       SLOT(CDownRtspBase, Connect, 6),
        SLOT(CDownRtspBase, CheckResume, 7), SLOT(CDownRtspBase, Handshake, 8),
        SLOT(CDownRtspBase, Exchange, 9),    SLOT(CDownRtspBase, ReceiveData, 12),
        SLOT(CDownRtspBase, LogFormat, 23),  SLOT(CDownRtspBase, IsBadReply, 24),
        SLOT(CDownRtspBase, ReturnTrue, 25),
    };
    CheckSlots(slots, std::size(slots));
}

TEST(DownloaderSlotLayout, RealMediaRtsp) {
    const Slot slots[] = {
        SLOT(CDownRTSP554, DeleteSelf, 0),   SLOT(CDownRTSP554, Release, 1),
        SLOT(CDownRTSP554, Init, 2),         SLOT(CDownRTSP554, SetUrl, 3),
        SLOT(CDownRTSP554, Run, 4),          SLOT(CDownRTSP554, Begin, 5),
        SLOT(CDownRTSP554, CheckResume, 7),  SLOT(CDownRTSP554, Handshake, 8),
        SLOT(CDownRTSP554, Exchange, 9),     SLOT(CDownRTSP554, ReceiveData, 12),
        SLOT(CDownRTSP554, IsBadReply, 24),  SLOT(CDownRTSP554, ReturnTrue, 25),
    };
    CheckSlots(slots, std::size(slots));
}

TEST(DownloaderSlotLayout, Job) {
    const Slot slots[] = {
        SLOT(CDownload, DeleteSelf, 0), SLOT(CDownload, Release, 1),   SLOT(CDownload, Init, 2),
        SLOT(CDownload, ReturnTrue, 3), SLOT(CDownload, Set, 4),       SLOT(CDownload, RunThread, 5),
        SLOT(CDownload, Run, 6),
    };
    CheckSlots(slots, std::size(slots));
}

}  // namespace
