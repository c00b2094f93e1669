// The common ground of the RTSP clients: port 554, the CSeq counter, the session and the control
// URLs of the streams, the exchange that requires "RTSP/1.0 200", and the reader of what arrives
// on the connection once the data flows ('$' frames and text messages between them).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "DownBase.h"

class CDownRtspBase : public CDownBase {
public:
    static constexpr int32_t kRtspPort = 554;
    // Longest message head read in the data phase.
    static constexpr size_t kMaxHeadSize = CQmSocket::kBlockSize;
    // Longest body read whole (an SDP description, a message body in the data phase).
    static constexpr size_t kMaxBodySize = 0x100000;

    // One thing read from the connection while the data flows.
    struct RtspUnit {
        bool frame = false;            // an interleaved '$' frame; otherwise a text message
        uint8_t channel = 0;           // frame: its channel byte
        std::vector<uint8_t> payload;  // frame: its payload (at most 65535 bytes)
        std::string head;              // message: its head through the blank line
        std::string body;              // message: its body, by its Content-Length
    };

    int32_t FK_STDCALL Begin() override;
    int32_t FK_STDCALL CheckResume() override;
    int32_t FK_STDCALL Exchange(const void* request, int32_t length, CByteBuffer* reply) override;
    // True when text is null or does not begin with expected (exact case).
    virtual bool FK_STDCALL IsBadReply(const char* text, const char* expected);
    // Each client answers true; nothing calls it: kept for the table's layout.
    virtual bool FK_STDCALL ReturnTrue() = 0;

    int32_t CSeqCounter() const { return cseq_; }
    const std::string& Session() const { return session_; }

protected:
    CDownRtspBase();
    ~CDownRtspBase() = default;

    // "CSeq: n\r\n" with the counter's value; the counter then moves on.
    std::string NextCSeqLine();
    bool SendText(const std::string& text);
    // Reads exactly length bytes (at most kMaxBodySize) into body: 0, 6 when too long, 9 when they
    // do not come.
    int32_t ReceiveBody(size_t length, std::string* body);
    // Reads one '$' frame, or one text message with its body (by its Content-Length, at most
    // kMaxBodySize): 0, 6 for a head too long or a bad length, 9 when the bytes do not come.
    int32_t ReadInterleaved(RtspUnit* unit);

    std::vector<std::string> controlUrls_;
    std::string session_;
    // The next request's "CSeq: " value.
    int32_t cseq_ = 0;

private:
    // The rest of a message head whose first bytes are in head, through its blank line.
    int32_t ReadHeadRest(std::string* head);
};
