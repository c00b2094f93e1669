// The abstract base of the protocol downloaders (all but FTP): the fixed run sequence, result
// texts, the resume record beside an unfinished file, the content kind and the file-name fitting,
// and the forwarding of progress, sizes and log lines to the running item's sink.
//
// Sizes and offsets are 64-bit inside; the sink's 32-bit fields get -1 for a total above 2 GiB.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AsfParser.h"
#include "ByteBuffer.h"
#include "ContentKind.h"
#include "EngineObject.h"
#include "IDownloadSink.h"
#include "QmSocket.h"
#include "StepResult.h"
#include "sys/BinaryFile.h"

// The text the sink gets for a result code; null for 0 (success) and 8 (redirected).
const char* DownResultText(int32_t code);

// The name a run may give its file for `wanted`, asked of the sink (FreeDestFile): `wanted` in
// FileSystemName's form, or its first free numbered name when another item of the list holds it;
// empty when none fits. The caller holds the engine lock until it has reported the name.
std::string FreeOutputName(IDownloadSink* sink, const std::string& wanted);

class CDownBase : public IEngineObject {
public:
    // A file this large or larger without its resume record is not overwritten.
    static constexpr int64_t kResumeThreshold = 51200;
    static constexpr int32_t kMaxPacketSize = 0x100000;
    // Longest chain of redirects followed before the run fails.
    static constexpr int kMaxRedirects = 10;
    // Logged when a resumed stream ends before it has shown again what the file holds: the run
    // fails and the file stays as it is, to be resumed.
    static constexpr char kEndedShortOfFile[] = "The stream ended before it reached the end of the file on disk";

    virtual void FK_STDCALL SetUrl(const char* url, const char* localFile);
    virtual int32_t FK_STDCALL Run(IDownloadSink* sink);
    virtual int32_t FK_STDCALL Begin();
    virtual int32_t FK_STDCALL Connect();
    virtual int32_t FK_STDCALL CheckResume();
    virtual int32_t FK_STDCALL Handshake() = 0;
    virtual int32_t FK_STDCALL Exchange(const void* request, int32_t length, CByteBuffer* reply);
    virtual std::string FK_STDCALL MakeAuthorization();
    virtual int32_t FK_STDCALL OpenOutput();
    virtual int32_t FK_STDCALL ReceiveData() = 0;
    virtual int32_t FK_STDCALL DeleteResumeInfo();
    virtual int32_t FK_STDCALL SaveResumeInfo();
    virtual void FK_STDCALL Close();
    // Builds the ASF parser from a stream header (the MMS downloaders' step).
    virtual int32_t FK_STDCALL SetStreamHeader(const uint8_t* bytes, int32_t length);
    virtual void FK_STDCALL ReportProgress(int64_t bytes);
    virtual void FK_STDCALL ReportTotalSize(int64_t bytes);
    virtual bool FK_STDCALL IsStopRequested();
    virtual void FK_STDCALL ReportContentKind(int32_t kind);
    virtual void FK_STDCALL ReportFileName(const char* path);
    virtual void FK_STDCALL Log(const char* text);
    virtual void LogFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Engine-internal, outside the table.
    static int32_t DetectContentFormat(const std::string& contentType, const std::string& extensionUpper);
    // How many redirects led to this run (the job tells; the HTTP downloaders cap the chain).
    void SetRedirectDepth(int depth) { redirectDepth_ = depth; }

    const std::string& LocalFile() const { return localFile_; }
    int64_t BytesOnDisk() const { return bytesOnDisk_; }
    int64_t TotalSize() const { return totalSize_; }
    bool Resuming() const { return resuming_; }

protected:
    CDownBase();
    ~CDownBase();

    // localFile with its extension made to fit the kind.
    std::string FittedName(int32_t kind) const;
    // Chooses the name the output is opened under (DownBaseName.cpp), before it is opened, and
    // tells the item; ResultSuccess, or the result the run ends with.
    int32_t SettleOutputName();
    bool ReadResumeInfo();
    void ResultText(int32_t code);
    // Writes bytes to the output file; false when the file refuses them.
    bool WriteOutput(const void* bytes, size_t count);
    // Starts the output afresh (the server sent the whole file instead of the rest).
    bool RestartOutput();
    // A new socket in place of the old one, with the engine's time-out and the stop check.
    int32_t OpenSocket();
    // Hands the item the place a redirect names (DownBaseRedirect.cpp): the location resolved
    // against requestUrl, the login only when the new URL keeps its scheme, host and port, the
    // new file name only when it is a usable one. ResultRedirected once handed over;
    // ResultShakeHandError, and nothing handed over, for a location that names nothing or does
    // not fit, or a chain grown too long.
    int32_t FollowRedirectLocation(const std::string& location);

    // The ASF steps the MMS transports share (DownBaseAsf.cpp); the resume rule is written down
    // at PlanAsfOverlap. After SetStreamHeader, and before the start point is sent:
    // PrepareAsfResume checks the file on disk against the stream's header and plans where to
    // ask from, or, for a file of another stream, gives up resuming so the file is rewritten and
    // the stream asked from its start.
    int32_t PrepareAsfResume();
    // The same for a transport that must ask before the stream's header comes: the plan is made
    // from the file's own header, and BeginAsfOutput checks it against the stream's.
    int32_t PrepareAsfResumeFromDisk();
    // Where a resumed request asks the stream to start: a packet number and its send time less
    // one (a server may seek by either); both 0 when not resuming.
    uint32_t ResumeAskPacket() const { return resuming_ ? askPacket_ : 0; }
    uint32_t ResumeAskTimeMs() const { return resuming_ ? askTimeMs_ : 0; }
    void ForgetAsk() { askPacket_ = askTimeMs_ = 0; }
    // Writes the header, or on resume checks the file on disk, cuts a torn last packet and its
    // index, indexes the packets there and takes their count and last send time. A file of
    // another stream is started afresh, never appended to (kStartFromZero when the request
    // already asked for a later start). Reports total size and progress.
    int32_t BeginAsfOutput();
    // One data packet of at most packetSize_ bytes (zero-padded to it), its send time read from
    // the packet itself: 0 written, kUnitSkipped (the file holds it already, it repeats the packet
    // written last, or it is too short to be a packet at all), kStartFromZero when the stream does
    // not continue the file, or a DownResult (a packet longer than packetSize_ cannot be written
    // whole: ResultReceiveError). Every transport's packets go through here, so these rules live
    // in one place.
    int32_t WriteAsfPacket(const uint8_t* packet, size_t length);
    // Calls receivePacket (0 written, kStreamEnd, kUnitSkipped, else a DownResult) until the
    // header's packet count is on disk, or, for a count of 0 (a live stream), until the end. An end
    // before the count is a failure. Finishes the file (index, Data Object) on every exit.
    int32_t ReceiveAsfPackets(const std::function<int32_t()>& receivePacket);
    // Sets the Data Object's size and packet count and appends the index.
    int32_t FinishAsfOutput();

    std::string url_;
    std::string requestUrl_;
    std::string user_;
    std::string password_;
    std::string localFile_;
    IDownloadSink* sink_ = nullptr;
    EnginePtr<CQmSocket> socket_;  // made by Begin, released by Close or with the downloader
    int32_t port_ = 0;
    int32_t protocolKind_ = 0;
    bool resuming_ = false;
    std::string resumeFile_;
    int32_t lastTimestampMs_ = 0;
    int32_t packetsWritten_ = 0;
    int64_t bytesOnDisk_ = 0;
    int64_t totalSize_ = -1;
    std::string contentType_;
    CByteBuffer headerBytes_;
    int32_t packetSize_ = 0;
    int32_t packetCount_ = 0;
    std::unique_ptr<CAsfParser> asfParser_;
    sys::BinaryFile outputFile_;
    int32_t contentKind_ = 0;
    bool resumePointPassed_ = false;
    int redirectDepth_ = 0;

private:
    // The steps from Begin to ReceiveData with the resume record kept around the receiving.
    int32_t RunSteps();
    // Forgets what a run learnt of the stream and the file, so the next one starts afresh.
    void ForgetRun();
    // After a step gave kStartFromZero: the steps once more, on a new connection, the stream asked
    // from its start and the file rewritten. Every downloader gives up a resume this way.
    int32_t RunAfresh();
    // The packets at the end of the file that the stream must show again before anything is
    // appended (PlanAsfOverlap); false when none can be chosen.
    bool PlanAsfOverlap(IOutputFile& file, CAsfParser& parser);
    // Checks one packet against the overlap: kUnitSkipped the file holds it, 0 the first new one,
    // kStartFromZero when the stream does not continue the file.
    int32_t MatchAsfOverlap(const uint8_t* packet, uint32_t sendTimeMs);

    struct AsfPacketMark {
        uint32_t sendTimeMs;
        uint64_t digest;  // of its packetSize_ bytes on disk
        bool operator==(const AsfPacketMark& o) const { return sendTimeMs == o.sendTimeMs && digest == o.digest; }
    };
    std::vector<AsfPacketMark> overlap_;
    size_t overlapSeen_ = 0;  // packets of overlap_ the stream has shown again, in order
    uint32_t askPacket_ = 0;
    uint32_t askTimeMs_ = 0;
    bool freshStart_ = false;  // the file is rewritten whatever it holds
    std::vector<uint8_t> lastPacket_;  // the packet written last, as on disk (a repeat of it is dropped)
    bool shortUnitLogged_ = false;     // a unit too short for a packet was dropped and logged
};
