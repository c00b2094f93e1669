// RealMedia over RTSP (port 554): the RealMedia dialect of RTSP 1.0 with the data interleaved on
// the same connection. OPTIONS, DESCRIBE (Basic, or RN5 digest after a 401), one SETUP per stream,
// SET_PARAMETER with the subscription, PLAY from the resume point, then data units until the
// server's end unit: rebuilt into a RealMedia file for RealMedia and MP3 content, written bare
// otherwise.
#pragma once
#include <string>
#include <vector>

#include "DownRtspBase.h"
#include "FmtRM.h"

class CDownRTSP554 final : public EngineObject<CDownRTSP554, CDownRtspBase> {
public:
    // Longest realm or nonce of a digest challenge answered.
    static constexpr size_t kMaxChallengeValue = 255;

    bool FK_STDCALL Init() override;
    int32_t FK_STDCALL Begin() override;
    int32_t FK_STDCALL Handshake() override;
    int32_t FK_STDCALL ReceiveData() override;
    bool FK_STDCALL ReturnTrue() override;

    // The 32 lower-case hexadecimal characters of the RN5 digest response.
    static std::string MakeRn5Response(const std::string& user, const std::string& password,
                                       const std::string& realm, const std::string& nonce);
    // "stream=i;rule=N" for each rule book of the description, from its first media line on.
    static std::string MakeSubscribe(const std::string& sdp);

    const std::string& Sdp() const { return sdp_; }

private:
    int32_t SendOptions();
    int32_t SendDescribe(const std::string& authorization);
    int32_t ParseDescribeReply(const std::string& reply);
    int32_t AnswerChallenge(const std::string& reply);
    // The body of a reply by its Content-length (none without one).
    int32_t ReceiveBodyOf(const std::string& head, std::string* body);
    int32_t SendSetup();
    int32_t SendSetParameter();
    int32_t SendPlay();
    // Before PLAY: the file on disk decides where the stream is asked from (see there).
    void PrepareResume();
    // One unit into the buffer: 0, kStreamEnd (the end unit), kUnitSkipped (a message dealt with),
    // or a result code.
    int32_t ReadPacket(CByteBuffer* unit);
    int32_t NextUnit(CByteBuffer* unit);
    void RewriteControlUnit(CByteBuffer* unit);
    void RejectServerRequest(const std::string& head);
    int32_t ReceiveToFile();
    int32_t ReceiveRaw();
    // 8 when the run was handed to the new location, else the failure.
    int32_t FollowRedirect(const std::string& location);
    // Sends a request and reads the reply head; the plain exchange or the one that needs a 200.
    int32_t Request(const std::string& text, bool requireOk, CByteBuffer* reply);

    // A unit the server sends again at once (the same bytes as its stream's last one).
    bool IsRepeat(CByteBuffer& unit);

    bool rn5Retried_ = false;
    // Of the description: how many streams it has.
    size_t streamCount_ = 0;
    // Where PLAY asks the stream from.
    uint32_t playFromMs_ = 0;
    // The writer that read the file on disk before PLAY, handed on to the receive step.
    EnginePtr<CFmtRM> resumeWriter_;
    // Each stream's last unit, to know a repeated one.
    std::vector<std::string> lastUnits_;
    std::string etag_;
    std::string subscribe_;
    std::string sdp_;
};
