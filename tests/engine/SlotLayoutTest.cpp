// The tables of virtual operations are a binary interface: callers built with other tool chains
// call by slot number. These tests read each operation's slot off its member pointer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ByteBuffer.h"
#include "DownItem.h"
#include "Fetchkeeper.h"
#include "FmtRM.h"
#include "PrjMng.h"
#include "SlotOf.h"
#include "slot_numbers.h"

namespace {


TEST(SlotLayout, EngineObjectRoot) {
    const Slot slots[] = {SLOT(IEngineObject, DeleteSelf, 0), SLOT(IEngineObject, Release, 1),
                          SLOT(IEngineObject, Init, 2)};
    CheckSlots(slots, std::size(slots));
}

TEST(SlotLayout, Manager) {
#define MANAGER_ROW(op, n) SLOT(CFetchkeeper, op, n),
    const Slot slots[] = {
        SLOT(CFetchkeeper, DeleteSelf, 0),
        FK_MANAGER_SLOTS(MANAGER_ROW)
        // Through the host interface, in its own table.
        SLOT(IItemHost, AddFoundItem, 0),       SLOT(IItemHost, ItemFinished, 1),
        SLOT(IItemHost, AddFoundItemAtDepth, 2),  // after the fixed two
    };
#undef MANAGER_ROW
    CheckSlots(slots, std::size(slots));
}

TEST(SlotLayout, Item) {
    using SetUrlPair = bool (FK_STDCALL CDownItem::*)(const char*, const char*);
    const Slot slots[] = {
        SLOT(CDownItem, DeleteSelf, 0),     SLOT(CDownItem, Release, 1),
        SLOT(CDownItem, Init, 2),           SLOT(CDownItem, ReturnTrue, 3),
        SLOT(CDownItem, Set, 4),            SLOT(CDownItem, SetFromRecord, 5),
        SLOT(CDownItem, Start, 6),          SLOT(CDownItem, GetDestFile, 7),
        SLOT(CDownItem, Stop, 8),           Slot{"SetUrl(url, dest)", SlotOf(SetUrlPair(&CDownItem::SetUrl)), 9},
        SLOT(CDownItem, TakeChanged, 10),   SLOT(CDownItem, RecordAddress, 11),
        SLOT(CDownItem, GetRecord, 12),     SLOT(CDownItem, GetInfo, 13),
        SLOT(CDownItem, IsDeleted, 14),     SLOT(CDownItem, MarkDeleted, 15),
        SLOT(CDownItem, IsDownloading, 16), SLOT(CDownItem, IsWaiting, 17),
        SLOT(CDownItem, MatchUrl, 18),      SLOT(CDownItem, MatchDest, 19),
    };
    CheckSlots(slots, std::size(slots));
}

TEST(SlotLayout, DownloadSink) {
    const Slot slots[] = {
        SLOT(IDownloadSink, SetTotalSize, 0),   SLOT(IDownloadSink, SetDownloaded, 1),
        SLOT(IDownloadSink, Succeeded, 2),      SLOT(IDownloadSink, Failed, 3),
        SLOT(IDownloadSink, Log, 4),            SLOT(IDownloadSink, SetContentKind, 5),
        SLOT(IDownloadSink, SetDestFile, 6),    SLOT(IDownloadSink, SetActiveKind, 7),
        SLOT(IDownloadSink, IsStopped, 8),      SLOT(IDownloadSink, Restart, 9),
        SLOT(IDownloadSink, SetUrl, 10),        SLOT(IDownloadSink, RunFinished, 11),
        SLOT(IDownloadSink, MustEnd, 12),       SLOT(IDownloadSink, FreeDestFile, 13),
    };
    CheckSlots(slots, std::size(slots));
}

TEST(SlotLayout, SecondTableSitsBehindTheFirst) {
    EnginePtr<CFetchkeeper> manager(static_cast<CFetchkeeper*>(CreateEngineObject<CFetchkeeper>()));
    EnginePtr<CDownItem> item(static_cast<CDownItem*>(CreateEngineObject<CDownItem>()));
    EXPECT_EQ(reinterpret_cast<char*>(static_cast<IItemHost*>(manager.get())) -
                  reinterpret_cast<char*>(manager.get()),
              ptrdiff_t(sizeof(void*)));
    EXPECT_EQ(reinterpret_cast<char*>(static_cast<IDownloadSink*>(item.get())) -
                  reinterpret_cast<char*>(item.get()),
              ptrdiff_t(sizeof(void*)));
}

TEST(SlotLayout, Store) {
    const Slot slots[] = {
        SLOT(CPrjMng, DeleteSelf, 0),     SLOT(CPrjMng, Release, 1),      SLOT(CPrjMng, Init, 2),
        SLOT(CPrjMng, ReturnTrue, 3),     SLOT(CPrjMng, SetFile, 4),      SLOT(CPrjMng, WriteCount, 5),
        SLOT(CPrjMng, WriteItem, 6),      SLOT(CPrjMng, ReadCount, 7),    SLOT(CPrjMng, ReadItem, 8),
        SLOT(CPrjMng, ReadDestPath, 9),   SLOT(CPrjMng, WriteDestPath, 10),
        SLOT(CPrjMng, ReadMaxThread, 11), SLOT(CPrjMng, WriteMaxThread, 12),
        SLOT(CPrjMng, ReadTimeOut, 13),   SLOT(CPrjMng, WriteTimeOut, 14),
        SLOT(CPrjMng, ReadProxy, 15),     SLOT(CPrjMng, WriteProxy, 16),
        SLOT(CPrjMng, ClearItems, 17),    SLOT(CPrjMng, ReadDebug, 18),   SLOT(CPrjMng, WriteDebug, 19),
    };
    CheckSlots(slots, std::size(slots));
}

TEST(SlotLayout, ByteBuffer) {
    const Slot slots[] = {
        SLOT(CByteBuffer, Reset, 0),        SLOT(CByteBuffer, GetData, 1),
        SLOT(CByteBuffer, GetDataInternal, 2), SLOT(CByteBuffer, GetLength, 3),
        SLOT(CByteBuffer, IsEmpty, 4),      SLOT(CByteBuffer, AppendByte, 5),
        SLOT(CByteBuffer, AppendDword, 6),  SLOT(CByteBuffer, GetString, 7),
        SLOT(CByteBuffer, AppendString, 8), SLOT(CByteBuffer, Append, 9),
        SLOT(CByteBuffer, AppendFormat, 10), SLOT(CByteBuffer, LoadFile, 11),
        SLOT(CByteBuffer, AppendBuffer, 12), SLOT(CByteBuffer, SetBlockSize, 13),
        SLOT(CByteBuffer, PadTo, 14),       SLOT(CByteBuffer, SaveFile, 15),
    };
    CheckSlots(slots, std::size(slots));
}

TEST(SlotLayout, RealMediaWriter) {
    const Slot slots[] = {
        SLOT(CFmtRM, DeleteSelf, 0),   SLOT(CFmtRM, Release, 1),       SLOT(CFmtRM, Init, 2),
        SLOT(CFmtRM, ReturnTrue, 3),   SLOT(CFmtRM, Open, 4),          SLOT(CFmtRM, EstimatedSize, 5),
        SLOT(CFmtRM, WritePacket, 6),  SLOT(CFmtRM, BytesWritten, 7),  SLOT(CFmtRM, Finish, 8),
    };
    CheckSlots(slots, std::size(slots));
}

}  // namespace
