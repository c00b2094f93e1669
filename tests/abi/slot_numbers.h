/* The slot numbers a caller built with another tool chain uses: the raw-table caller (slot_calls.c)
 * calls through these rows, and the layout tests read every row back off the engine's own member
 * pointers. A row naming an operation a class lacks does not build; a row with the wrong number fails
 * the layout test. Plain C, for both. */
#ifndef FK_SLOT_NUMBERS_H
#define FK_SLOT_NUMBERS_H

/* The manager's table after the destructor: X(operation, slot). */
#define FK_MANAGER_SLOTS(X)                                                                          \
    X(Release, 1) X(Init, 2) X(ReturnTrue, 3) X(SetMaxThread, 4) X(AddItem, 5) X(GetCount, 6)        \
    X(RemoveAll, 7) X(RemoveItem, 8) X(GetFirstItem, 9) X(GetNextItem, 10) X(StartItem, 11)          \
    X(StopItem, 12) X(TakeItemChanged, 13) X(SetItemUrl, 14) X(GetItemInfo, 15)                      \
    X(GetItemDestFile, 16) X(LoadProject, 17) X(SaveProject, 18) X(GetDestPath, 19)                  \
    X(SetDestPath, 20) X(GetMaxThread, 21) X(SaveMaxThread, 22) X(GetTimeOut, 23) X(SetTimeOut, 24)  \
    X(GetProxy, 25) X(SetProxy, 26) X(FileNameFromUrl, 27) X(UrlWithLogin, 28)

/* The downloader base's table after the destructor, in every downloader but FTP: X(operation, slot). */
#define FK_DOWNLOADER_BASE_SLOTS(X)                                                                     \
    X(Release, 1) X(Init, 2) X(SetUrl, 3) X(Run, 4) X(Begin, 5) X(Connect, 6) X(CheckResume, 7)          \
    X(Handshake, 8) X(Exchange, 9) X(MakeAuthorization, 10) X(OpenOutput, 11) X(ReceiveData, 12)         \
    X(DeleteResumeInfo, 13) X(SaveResumeInfo, 14) X(Close, 15) X(SetStreamHeader, 16)                    \
    X(ReportProgress, 17) X(ReportTotalSize, 18) X(IsStopRequested, 19) X(ReportContentKind, 20)         \
    X(ReportFileName, 21) X(Log, 22) X(LogFormat, 23)

/* What the HTTP base adds behind them (HTTP, RealMedia over HTTP, MMS over HTTP). */
#define FK_HTTP_BASE_SLOTS(X) \
    X(MakeRequest, 24) X(ReceiveBody, 25) X(ReceiveChunked, 26) X(ParseHeaders, 27) X(IsBadReply, 28)

/* What the RTSP base adds behind them (MMS over RTSP, RealMedia over RTSP). */
#define FK_RTSP_BASE_SLOTS(X) X(IsBadReply, 24) X(ReturnTrue, 25)

/* Each downloader called through its own table: X(factory name part, class, URL, set-URL operation
 * and slot, an operation without arguments that answers true and its slot). MMS over HTTP has the
 * HTTP base's table, which ends before the HTTP downloader's ReturnTrue: its Init answers true. */
#define FK_DOWNLOADER_CALLS(X)                                                                         \
    X(DOWNHTTP, CDownHTTP, "http://a.example/x.bin", SetUrl, 3, ReturnTrue, 29)                        \
    X(DOWNRTSP80, CDownRTSP80, "http://a.example/x.rm", SetUrl, 3, ReturnTrue, 29)                     \
    X(DOWNMMS80, CDownMMS80, "mms://a.example/x", SetUrl, 3, Init, 2)                                  \
    X(DOWNMMS554, CDownMMS554, "rtsp://a.example/x", SetUrl, 3, ReturnTrue, 25)                        \
    X(DOWNRTSP554, CDownRTSP554, "rtsp://a.example/x.rm", SetUrl, 3, ReturnTrue, 25)                   \
    X(DOWNMMS1755, CDownMMS1755, "mms://a.example/x", SetUrl, 3, ReturnTrue, 24)                       \
    X(DOWNFTP, CDownFTP, "ftp://a.example/x.bin", SetUrl, 5, ReturnTrue, 3)

/* The MMS transport chooser: its SetUrl stands one slot later than a downloader's and answers 0. */
#define FK_CHOOSER_SLOT_RETURN_TRUE 3
#define FK_CHOOSER_SLOT_SET_URL 4

#endif
