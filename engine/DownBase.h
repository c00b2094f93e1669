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

#include "AsfParser.h"
#include "ByteBuffer.h"
#include "EngineObject.h"
#include "IDownloadSink.h"
#include "QmSocket.h"
#include "sys/BinaryFile.h"

// What a download holds, from its Content-Type or file extension.
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

// The text the sink gets for a result code; null for 0 (success) and 8 (redirected).
const char* DownResultText(int32_t code);

class CDownBase : public IEngineObject {
public:
    // A file this large or larger without its resume record is not overwritten.
    static constexpr int64_t kResumeThreshold = 51200;
    static constexpr int32_t kMaxPacketSize = 0x100000;

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
    int32_t ContentKindValue() const { return contentKind_; }
    bool Resuming() const { return resuming_; }

protected:
    CDownBase();
    ~CDownBase();

    // Makes the extension of localFile fit the kind.
    void FixFileExtension(int32_t kind);
    bool ReadResumeInfo();
    void ResultText(int32_t code);
    // Writes bytes to the output file; false when the file refuses them.
    bool WriteOutput(const void* bytes, size_t count);
    // Starts the output afresh (the server sent the whole file instead of the rest).
    bool RestartOutput();
    // A new socket in place of the old one, with the engine's time-out and the stop check.
    int32_t OpenSocket();

    // The ASF steps the MMS transports share (DownBaseAsf.cpp). After SetStreamHeader:
    // BeginAsfOutput writes the header, or on resume checks the file on disk, cuts a torn last
    // packet and its index, and takes the packets and send time found there; a file of another
    // stream is started afresh, never appended to. Reports total size and progress.
    int32_t BeginAsfOutput();
    // For a transport that asks the server for a start point after the header came and before
    // the output is opened: when resuming, takes the packets and send time found on disk, or, for
    // a file of another stream, gives up resuming so the file is rewritten from the start.
    int32_t PrepareAsfResume();
    // One data packet of at most packetSize_ bytes (zero-padded to it), sent at sendTimeMs:
    // 0 written, -2 skipped (already on disk when resuming), or a DownResult.
    int32_t WriteAsfPacket(const uint8_t* packet, size_t length, uint32_t sendTimeMs);
    // Calls receivePacket (0 written, -1 end, -2 skipped or answered, else a DownResult) until the
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
    int32_t subclassWord_ = 0;  // the HTTP branch: chunked flag; the RTSP branch: CSeq counter
    int redirectDepth_ = 0;
};
