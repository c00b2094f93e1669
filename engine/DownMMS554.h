// MMS over RTSP (port 554): DESCRIBE with the ASF header in the SDP, the packet-pair
// GET_PARAMETER, one SETUP per stream interleaved on the same connection, PLAY, the statistics
// SET_PARAMETER, then ASF packets in RTP over '$' frames until the server's SET_PARAMETER.
#pragma once
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "DownRtspBase.h"

class CDownMMS554 final : public EngineObject<CDownMMS554, CDownRtspBase> {
public:
    // Seconds between keep-alives when the server names no session time-out.
    static constexpr int kKeepAliveSeconds = 30;

    int32_t FK_STDCALL Begin() override;
    int32_t FK_STDCALL Handshake() override;
    int32_t FK_STDCALL ReceiveData() override;
    bool FK_STDCALL ReturnTrue() override;

    // Where the ASF packet of an RTP frame payload lies: 0, or 6 when the payload is malformed.
    // The packet may still be longer than packetSize: the ASF writer refuses it (it cannot be
    // written whole).
    struct DataFrame {
        uint32_t sendTimeMs = 0;  // the RTP timestamp (not the send time: its base may differ)
        size_t offset = 0;        // of the ASF packet in the payload
        size_t length = 0;
    };
    static int32_t ParseDataFrame(const uint8_t* payload, size_t length, int32_t packetSize, DataFrame* frame);
    // The control URLs and the Base64 ASF header of an SDP description: 0, or the failure (with
    // the log text in *error).
    static int32_t ParseSdp(const std::string& sdp, std::vector<std::string>* controls, std::string* asfHeader,
                            const char** error);

    // The RTP channel a SETUP reply's Transport gives (interleaved=N-M), 0 as asked when none.
    static uint8_t InterleavedChannel(const std::string& head);

private:
    int32_t ShakeHandDescribe();
    int32_t ShakeHandGetParameter();
    int32_t ShakeHandSetup();
    int32_t ShakeHandPlay();
    int32_t ShakeHandSetParameter();
    void SendKeepAlive();
    // 0 written, kStreamEnd, kUnitSkipped (skipped or answered), or a DownResult.
    int32_t ReceivePacket();

    std::string ClientLines() const;
    // Sends a request and notes when, for the keep-alive timer.
    bool SendRequest(const std::string& request);
    int32_t ExchangeRequest(const std::string& request, CByteBuffer* reply);
    void TakeSessionTimeOut(const std::string& head);
    // A channel that a SETUP gave a stream's packets (0 when no SETUP was sent).
    bool IsDataChannel(uint8_t channel) const;

    std::string playlistGenId_;
    std::vector<uint8_t> dataChannels_;
    std::chrono::steady_clock::time_point lastRequest_{};
    std::chrono::milliseconds keepAliveInterval_{kKeepAliveSeconds * 1000};
};
