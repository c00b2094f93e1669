// Slot numbers of the socket, the downloaders and the job: callers reach them by number.
#include <gtest/gtest.h>

#include <cstring>

#include "DownFTP.h"
#include "DownHTTP.h"
#include "DownMMS1755.h"
#include "DownMMS554.h"
#include "DownMMS80.h"
#include "DownMMSMng.h"
#include "DownRTSP554.h"
#include "DownRTSP80.h"
#include "DownRtspBase.h"
#include "Download.h"
#include "QmSocket.h"
#include "SlotOf.h"
#include "slot_numbers.h"

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

TEST(DownloaderSlotLayout, MmsOverHttp) {
    // The HTTP table, with its own start, receive, request and reply-head operations.
    const Slot slots[] = {
        SLOT(CDownMMS80, DeleteSelf, 0),   SLOT(CDownMMS80, Init, 2),          SLOT(CDownMMS80, SetUrl, 3),
        SLOT(CDownMMS80, Run, 4),          SLOT(CDownMMS80, Begin, 5),         SLOT(CDownMMS80, Handshake, 8),
        SLOT(CDownMMS80, ReceiveData, 12), SLOT(CDownMMS80, LogFormat, 23),    SLOT(CDownMMS80, MakeRequest, 24),
        SLOT(CDownMMS80, ReceiveBody, 25), SLOT(CDownMMS80, ParseHeaders, 27), SLOT(CDownMMS80, IsBadReply, 28),
        Slot{"CDownMMS80::ReceivePacket", SlotOf(&CDownMMS80::ReceivePacket), -1},
    };
    CheckSlots(slots, std::size(slots));
}

TEST(DownloaderSlotLayout, RtspDownloaders) {
    const Slot slots[] = {
        SLOT(CDownRtspBase, Begin, 5),       SLOT(CDownRtspBase, Connect, 6),
        SLOT(CDownRtspBase, CheckResume, 7), SLOT(CDownRtspBase, Handshake, 8),
        SLOT(CDownRtspBase, Exchange, 9),    SLOT(CDownRtspBase, ReceiveData, 12),
        SLOT(CDownRtspBase, LogFormat, 23),  SLOT(CDownRtspBase, IsBadReply, 24),
        SLOT(CDownRtspBase, ReturnTrue, 25),
        SLOT(CDownMMS554, DeleteSelf, 0),    SLOT(CDownMMS554, Release, 1),
        SLOT(CDownMMS554, Init, 2),          SLOT(CDownMMS554, SetUrl, 3),
        SLOT(CDownMMS554, Run, 4),           SLOT(CDownMMS554, Begin, 5),
        SLOT(CDownMMS554, CheckResume, 7),   SLOT(CDownMMS554, Handshake, 8),
        SLOT(CDownMMS554, Exchange, 9),      SLOT(CDownMMS554, ReceiveData, 12),
        SLOT(CDownMMS554, IsBadReply, 24),   SLOT(CDownMMS554, ReturnTrue, 25),
    };
    CheckSlots(slots, std::size(slots));
}

TEST(DownloaderSlotLayout, MmsOverTcp) {
    const Slot slots[] = {
        SLOT(CDownMMS1755, DeleteSelf, 0),  SLOT(CDownMMS1755, Release, 1),     SLOT(CDownMMS1755, Init, 2),
        SLOT(CDownMMS1755, SetUrl, 3),      SLOT(CDownMMS1755, Run, 4),         SLOT(CDownMMS1755, Begin, 5),
        SLOT(CDownMMS1755, Connect, 6),     SLOT(CDownMMS1755, CheckResume, 7), SLOT(CDownMMS1755, Handshake, 8),
        SLOT(CDownMMS1755, Exchange, 9),    SLOT(CDownMMS1755, OpenOutput, 11), SLOT(CDownMMS1755, ReceiveData, 12),
        SLOT(CDownMMS1755, Close, 15),      SLOT(CDownMMS1755, LogFormat, 23),  SLOT(CDownMMS1755, ReturnTrue, 24),
    };
    CheckSlots(slots, std::size(slots));
}

TEST(DownloaderSlotLayout, MmsChooser) {
    using SetUrlPair = int32_t (FK_STDCALL CDownMMSMng::*)(const char*, const char*);
    const Slot slots[] = {
        SLOT(CDownMMSMng, DeleteSelf, 0), SLOT(CDownMMSMng, Release, 1), SLOT(CDownMMSMng, Init, 2),
        SLOT(CDownMMSMng, ReturnTrue, 3),
        Slot{"SetUrl(url, file)", SlotOf(SetUrlPair(&CDownMMSMng::SetUrl)), 4},
        SLOT(CDownMMSMng, Run, 5),
    };
    CheckSlots(slots, std::size(slots));
    EnginePtr<CDownMMSMng> chooser(static_cast<CDownMMSMng*>(CreateEngineObject<CDownMMSMng>()));
    EXPECT_EQ(reinterpret_cast<char*>(static_cast<IDownloadSink*>(chooser.get())) -
                  reinterpret_cast<char*>(chooser.get()),
              ptrdiff_t(sizeof(void*)));
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

TEST(DownloaderSlotLayout, RowsOfTheRawTableCaller) {
#define CALL_ROWS(name, cls, url, setOp, setSlot, trueOp, trueSlot) \
    SLOT(cls, setOp, setSlot), SLOT(cls, trueOp, trueSlot), SLOT(cls, Release, 1),
    const Slot slots[] = {FK_DOWNLOADER_CALLS(CALL_ROWS)};
#undef CALL_ROWS
    CheckSlots(slots, std::size(slots));
    using SetUrlPair = int32_t (FK_STDCALL CDownMMSMng::*)(const char*, const char*);
    EXPECT_EQ(SlotOf(SetUrlPair(&CDownMMSMng::SetUrl)), FK_CHOOSER_SLOT_SET_URL);
    EXPECT_EQ(SlotOf(&CDownMMSMng::ReturnTrue), FK_CHOOSER_SLOT_RETURN_TRUE);
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
