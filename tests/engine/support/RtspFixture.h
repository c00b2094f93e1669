// A scripted MMS-over-RTSP server on 127.0.0.1 and a free port. It answers OPTIONS, DESCRIBE
// (an SDP that carries the ASF header in Base64 and one media line per ASF stream), the
// packet-pair GET_PARAMETER, SETUP, PLAY and SET_PARAMETER like a Windows Media server, then
// replays real ASF packets in RTP over interleaved '$' frames (the send time as RTP timestamp, a
// 4-byte ASF payload header), from the packet the PLAY range names, answering requests that come
// in meanwhile. Options add the faults a real server makes on its own time. Every request is
// recorded; every wait is bounded and ends when the fixture stops.
//
//   RtspFixture server(RtspFixture::LoadFile("av.wmv"));
//   server.Start();
//   ... client fetches server.Url("av.wmv") ...
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "AsfMedia.h"
#include "LoopbackListener.h"
#include "MediaFiles.h"
#include "sys/Socket.h"

class RtspFixture {
public:
    using Media = AsfMedia;
    // A plain ASF file of tests/fixtures/media, and the streaming form ("$H", "$D" chunks) whose
    // header counts 0 packets.
    static Media LoadFile(const std::string& name) { return AsfMedia::FromFile(MediaPath(name)); }
    static Media LoadStream(const std::string& name) { return AsfMedia::FromStreamFile(MediaPath(name)); }
    // A packet as a streaming server sends it: without its padding, its length in the packet.
    // With fit, one whose padding leaves no room for the length field goes as it is, so that no
    // packet is longer than the header's packet size.
    static std::string Stripped(const std::string& packet, bool fit = true);

    struct Options {
        int sessionTimeOut = 60;        // named in the SETUP reply's Session line
        size_t stopAfter = SIZE_MAX;    // packets sent before the end
        enum class End { Message, Close, Hold } end = End::Message;
        int rtcpEvery = 0;              // an RTCP frame on channel 1 before every n-th packet
        int messageEvery = 0;           // a 200 reply whose body looks like a frame, every n-th packet
        size_t packetShift = 0;         // extra payload-header fields before each packet: 0, 4, 8, 12
        int pauseMs = 0;                // between packets
        bool strip = false;             // send packets without their padding (Stripped)
        bool lengthInEvery = false;     // with strip, full packets get the length field too (ffmpeg's
                                        // reader wants it in every one), longer than a packet then
        uint32_t rtpBase = 0;           // added to the send time in the RTP timestamp
        std::string injectAfterFirst;   // raw bytes sent after the first packet
        std::vector<size_t> repeatPackets;  // these packets (their index in the media) sent twice in a row
        int dataChannel = 0;            // the SETUP replies give interleaved=N-(N+1); packets go on N
        int strayChannel = -1;          // every packet also sent on this channel, which no SETUP gave
        // Rewrites a reply (the method, the reply with its body) before it is sent.
        std::function<std::string(const std::string&, const std::string&)> rewrite;
    };

    explicit RtspFixture(Media media);
    ~RtspFixture();
    RtspFixture(const RtspFixture&) = delete;
    RtspFixture& operator=(const RtspFixture&) = delete;

    Options& Set() { return options_; }
    void Start();
    void Stop();
    int Port() const { return listener_.Port(); }
    // "rtsp://127.0.0.1:<port>/" followed by path.
    std::string Url(const std::string& path) const;

    // Every request received, head and body, in order (over all connections).
    std::vector<std::string> Requests() const;
    // The requests whose method is method.
    std::vector<std::string> Requests(const std::string& method) const;
    // Waits up to ms until count connections have ended.
    bool WaitSessions(int count, int ms) const;
    // The ASF packets sent on channel 0, in order (over all connections).
    size_t PacketsSent() const;

    const Media& Source() const { return media_; }

private:
    void Serve(sys::TcpSocket& socket);
    // One request, head and body; false when the client closed, the fixture stops or time ran out.
    bool ReadRequest(sys::TcpSocket& socket, std::string& buffer, std::string& request, int waitMs);
    bool Reply(sys::TcpSocket& socket, const std::string& request);
    // Answers the requests that have come in, without waiting; false when the client left.
    bool AnswerWaiting(sys::TcpSocket& socket, std::string& buffer);
    void Stream(sys::TcpSocket& socket, std::string& buffer, double fromSeconds);
    bool SendAll(sys::TcpSocket& socket, const std::string& bytes);
    std::string Sdp(const std::string& url) const;
    std::string Frame(uint8_t channel, const std::string& payload);
    std::string RtpPacket(const std::string& packet, int channel);

    Media media_;
    Options options_;
    LoopbackListener listener_;
    uint16_t sequence_ = 0;
    double playFrom_ = 0;
    mutable std::mutex lock_;
    std::vector<std::string> requests_;
    size_t packetsSent_ = 0;
};
