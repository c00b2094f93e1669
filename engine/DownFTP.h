// FTP download in active mode: log in on a control connection, listen for the data connection,
// announce it with PORT, ask the size, RETR, accept and write what arrives. Every wait is bounded
// by the engine time-out; the server's replies are read and judged, so a refusal ends the run at
// once with a state that says what went wrong. No resume: every run rewrites the output file.
#pragma once
#include <cstdint>
#include <string>

#include "EngineObject.h"
#include "IDownloadSink.h"
#include "sys/Socket.h"

class IDownFtp : public IEngineObject {
public:
    // Answers true; nothing calls it: kept for the table's layout.
    virtual bool FK_STDCALL ReturnTrue() = 0;
    virtual void FK_STDCALL SetParams(const char* host, const char* user, const char* password, int32_t port,
                                      const char* remotePath, const char* localFile) = 0;
    virtual void FK_STDCALL SetUrl(const char* url, const char* localFile) = 0;
    // The whole run; the outcome is reported to the sink. Returns the final FtpState.
    virtual int32_t FK_STDCALL Run(IDownloadSink* sink) = 0;

protected:
    ~IDownFtp() = default;
};

// The FTP downloader's own outcome codes; each but 0 has a failure text (FtpStateText).
enum FtpState : int32_t {
    FtpOk = 0,
    FtpStoppedByUser = 1,
    FtpSocketInitFailed = 2,
    FtpSocketCreateFailed = 3,
    FtpConnectFailed = 4,
    FtpListenFailed = 5,
    FtpFileOpenFailed = 6,
    FtpBadUrl = 7,           // CR, LF or NUL in user, password or path: it would inject commands
    FtpLoginRefused = 8,     // USER or PASS answered 4xx/5xx (or an account was asked for)
    FtpPortRefused = 9,
    FtpTypeRefused = 10,
    FtpSizeFailed = 11,      // SIZE refused, or its reply holds no size
    FtpRetrRefused = 12,
    FtpTimedOut = 13,        // no reply, data connection or data within the engine time-out
    FtpControlLost = 14,     // the control connection closed or broke
    FtpBadReply = 15,        // not an FTP reply, or an endless one
    FtpTransferIncomplete = 16,  // data connection ended early or broke, or the server said the transfer failed
    FtpFileWriteFailed = 17,
};

const char* FtpStateText(int32_t state);

class CDownFTP final : public EngineObject<CDownFTP, IDownFtp> {
public:
    CDownFTP() = default;

    bool FK_STDCALL ReturnTrue() override;
    void FK_STDCALL SetParams(const char* host, const char* user, const char* password, int32_t port,
                              const char* remotePath, const char* localFile) override;
    void FK_STDCALL SetUrl(const char* url, const char* localFile) override;
    int32_t FK_STDCALL Run(IDownloadSink* sink) override;

    // What SetUrl or SetParams left (user, password and path decoded).
    const std::string& Host() const { return host_; }
    const std::string& User() const { return user_; }
    const std::string& Password() const { return password_; }
    int32_t Port() const { return port_; }
    const std::string& RemotePath() const { return remotePath_; }
    const std::string& LocalFile() const { return localFile_; }
    int32_t State() const { return state_; }

private:
    struct Reply {
        int code = 0;
        std::string text;  // every line as received
    };

    void Login();
    void ListenData();
    void SendPort();
    void SendType();
    void QuerySize();
    void SendRetr();
    void ReceiveFile();
    void Disconnect();
    int32_t ReportResult();
    bool IsFailed() const { return state_ != FtpOk; }
    void Fail(int32_t state);

    // Sends line + CR LF; logs shown (the line itself unless the caller hides it).
    bool SendCommand(const std::string& line, const std::string& shown);
    // Reads one complete reply (all lines of a multi-line one) within the time-out and logs it.
    // False after setting the failure state.
    bool ReadReply(Reply& reply);
    // Sends a command and reads its reply; a 4xx or 5xx reply (or an unexpected class) sets refused.
    bool Command(const std::string& line, const std::string& shown, int32_t refused, Reply& reply);
    bool AcceptData(int timeoutMs);
    void Log(const std::string& text);
    int TimeOutMs() const;

    std::string host_;
    std::string user_ = "anonymous";
    std::string password_;
    int32_t port_ = -1;
    std::string remotePath_;
    std::string localFile_;
    sys::TcpSocket control_;
    sys::TcpListener listener_;
    sys::TcpSocket transfer_;
    uint64_t size_ = UINT64_MAX;
    IDownloadSink* sink_ = nullptr;
    int32_t state_ = FtpOk;
    std::string pending_;  // control bytes received past the last reply
    bool finalReplyRead_ = false;  // the transfer's closing reply came with RETR's
};
