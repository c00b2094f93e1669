// The HTTP/1.1 client under the HTTP downloaders: direct or proxied connection, the GET request
// with Basic authorization, the status and the headers that matter, a body by length, in chunks or
// up to the close of the connection, and redirects.
#pragma once
#include <cstdint>
#include <string>

#include "DownBase.h"

class CDownHttpBase : public CDownBase {
public:
    // Bytes read and written per piece of a body.
    static constexpr int32_t kPieceSize = 262144;
    // Longest chunk-size line, its line end included.
    static constexpr int32_t kChunkLineSize = 256;

    int32_t FK_STDCALL Connect() override;
    // One request and its reply head; kStartFromZero when a resume was refused without showing
    // the file whole.
    int32_t FK_STDCALL Handshake() override;
    int32_t FK_STDCALL ReceiveData() override;

    virtual std::string FK_STDCALL MakeRequest();
    virtual int32_t FK_STDCALL ReceiveBody(int64_t count, bool write);
    virtual int32_t FK_STDCALL ReceiveChunked(bool write);
    virtual int32_t FK_STDCALL ParseHeaders(const char* reply);
    virtual bool FK_STDCALL IsBadReply(const char* reply, const char* expected);

    // The reply-head and body-framing readers, usable without a connection.
    // Status code of a reply head ("HTTP/x.y NNN ..."), 0 when it has none.
    static int ParseStatusCode(const std::string& head);
    // The value of the first header line named name (case and blanks around it ignored), up to the
    // end of its line and trimmed; false when there is none.
    static bool FindHeader(const std::string& head, const char* name, std::string* value);
    // A byte count (ParseByteCount) below 2^62; false otherwise.
    static bool ParseLength(const std::string& text, int64_t* value);
    // The size at the start of a chunk-size line (extensions after ';' ignored); false for a line
    // without a hexadecimal number, with one too large, or with junk behind it.
    static bool ParseChunkSize(const char* line, int64_t* size);
    // "bytes first-last/total": first, total (-1 for "*") and last; false when malformed.
    static bool ParseContentRange(const std::string& value, int64_t* first, int64_t* total,
                                  int64_t* last = nullptr);

    bool Chunked() const { return chunked_; }

protected:
    CDownHttpBase();
    ~CDownHttpBase() = default;

    bool UseProxy() const;
    // The request line and the authorization line; the subclasses append their headers.
    std::string RequestLine();
    // The host a Host line names: the URL's host, and ":" and its port when it names one other
    // than 80.
    std::string HostAndPort() const;
    // "HOST: " + HostAndPort.
    std::string HostLine() const;

    // A 2xx reply to a resumed request restarts the file (the server ignored the range). A stream
    // server answers that way to a request for the rest, so the MMS downloader turns it off.
    bool restartOnWholeReply_ = true;

private:
    // What a reply's status asks of the client.
    enum class StatusClass { Partial, Whole, Redirect, Refused };
    static StatusClass ReadStatusClass(const std::string& reply);
    int32_t ProcessStatus(const std::string& reply);
    int32_t FollowLocation(const std::string& reply);
    int32_t ReceiveToClose(bool write);
    // One receive of what is there: bytes, 0 closed, or CQmSocket's kTimedOut / kFailed, or kStopped.
    int32_t ReceivePiece(char* bytes, int32_t want);
    static constexpr int32_t kStopped = -3;
    int32_t WritePiece(const char* bytes, size_t count, bool write);
    // Size of the whole file when a partial reply ends before it, else -1.
    int64_t wholeSize_ = -1;
    // The reply's body comes in chunks (Transfer-Encoding).
    bool chunked_ = false;
};
