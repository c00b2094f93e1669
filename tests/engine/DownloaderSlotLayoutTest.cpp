// Slot numbers of the socket, the downloaders and the job: callers reach them by number.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

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

// The rows a downloader's table shares with its bases, read off the downloader's own members.
#define ROW(op, n) rows.push_back(SLOT(T, op, n));
template <class T>
std::vector<Slot> BaseRows() {
    std::vector<Slot> rows = {SLOT(T, DeleteSelf, 0)};
    FK_DOWNLOADER_BASE_SLOTS(ROW)
    return rows;
}
template <class T>
std::vector<Slot> HttpRows() {
    std::vector<Slot> rows = BaseRows<T>();
    FK_HTTP_BASE_SLOTS(ROW)
    return rows;
}
template <class T>
std::vector<Slot> RtspRows() {
    std::vector<Slot> rows = BaseRows<T>();
    FK_RTSP_BASE_SLOTS(ROW)
    return rows;
}
#undef ROW

void Check(const char* downloader, std::vector<Slot> rows, std::initializer_list<Slot> more = {}) {
    SCOPED_TRACE(downloader);
    rows.insert(rows.end(), more);
    CheckSlots(rows.data(), rows.size());
}

TEST(DownloaderSlotLayout, HttpDownloaders) {
    Check("CDownHTTP", HttpRows<CDownHTTP>(), {SLOT(CDownHTTP, ReturnTrue, 29)});
    Check("CDownRTSP80", HttpRows<CDownRTSP80>(), {SLOT(CDownRTSP80, ReturnTrue, 29)});
    Check("CDownHttpBase", HttpRows<CDownHttpBase>());
    Check("CDownBase", BaseRows<CDownBase>());
}

TEST(DownloaderSlotLayout, MmsOverHttp) {
    // The HTTP table, with its own start, receive, request and reply-head operations.
    Check("CDownMMS80", HttpRows<CDownMMS80>(),
          {Slot{"CDownMMS80::ReceivePacket", SlotOf(&CDownMMS80::ReceivePacket), -1}});
}

TEST(DownloaderSlotLayout, RtspDownloaders) {
    Check("CDownRtspBase", RtspRows<CDownRtspBase>());
    Check("CDownMMS554", RtspRows<CDownMMS554>());
}

TEST(DownloaderSlotLayout, MmsOverTcp) {
    Check("CDownMMS1755", BaseRows<CDownMMS1755>(), {SLOT(CDownMMS1755, ReturnTrue, 24)});
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

TEST(DownloaderSlotLayout, RealMediaRtsp) { Check("CDownRTSP554", RtspRows<CDownRTSP554>()); }

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
