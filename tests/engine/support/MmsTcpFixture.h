// A scripted MMS-over-TCP server on 127.0.0.1 and a free port. It answers the client's commands
// as a streaming server does, sends a real ASF header in header units and replays real packets
// (made by ffmpeg) in data units, then the end message; options put in the faults a real server
// may show (pings anywhere, split or endless headers, short or hostile units, early ends). It
// starts a resumed stream at the start time the client asks for. Connections are served one after
// another; every wait is bounded.
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

class MmsTcpFixture {
public:
    using Bytes = std::vector<uint8_t>;

    // An ASF stream as a server holds it: the header (Header Object and the 50-byte Data Object
    // header) and the data packets.
    struct Media {
        Bytes header;
        std::vector<Bytes> packets;
    };
    // A plain ASF file, and ffmpeg's streaming form ("$H" and "$D" chunks, its header announcing
    // 0 packets), split by AsfMedia.
    static Media LoadAsf(const std::string& path);
    static Media LoadAsfStream(const std::string& path);
    static uint32_t SendTime(const Bytes& packet);

    // A command message as the server sends it (direction 4).
    static Bytes Command(uint16_t command, const Bytes& body);
    // A data unit: the 8-byte prefix (location number, id 4 for data or 2 for header, flags,
    // length) and the payload.
    static Bytes Unit(uint8_t id, uint8_t flags, const Bytes& payload, uint32_t location = 0);

    struct Received {
        uint16_t command;
        uint32_t sequence;
        Bytes body;
    };

    explicit MmsTcpFixture(Media media);
    ~MmsTcpFixture();
    MmsTcpFixture(const MmsTcpFixture&) = delete;
    MmsTcpFixture& operator=(const MmsTcpFixture&) = delete;

    // Options; set before Start.
    std::string serverVersion = "4.1.0.3928";
    int headerUnits = 1;                // the header split over this many units
    bool pingInHeader = false;          // a ping after the first header unit
    int pingEvery = 0;                  // a ping before every n-th data packet (0: none)
    int endAfter = -1;                  // the end message after this many packets (-1: after all)
    int closeAfter = -1;                // the connection closed after this many packets, no end
    bool sendEnd = true;
    bool trimPadding = false;           // packets sent without their trailing zero bytes
    uint16_t hangUpAt = 0;              // closes the connection when this command arrives
    uint16_t pingBeforeReplyTo = 0;     // a ping (answered or not) before the reply to this command
    std::vector<size_t> repeatPackets;  // these packets' data units are sent twice in a row
    Bytes beforeData;                   // raw bytes sent after the reply to 07, before the packets
    Bytes headerOverride;               // raw header units in place of the header
    std::function<void(size_t index, Bytes& unit)> editUnit;  // changes one data unit before it goes
    bool seekByPacket = false;          // a resumed stream starts at the packet number asked, not the time
    size_t startLate = 0;               // a resumed stream starts this many packets past the asked point
    int pauseMs = 0;                    // between packets

    void Start();
    void Stop();
    int Port() const { return listener_.Port(); }
    // scheme "://127.0.0.1:<port>/" path
    std::string Url(const std::string& path, const std::string& scheme = "mms") const;

    std::vector<Received> Commands() const;
    int Pongs() const;
    int Connections() const;
    // The start time (ms) and packet count of the last 07 command, and the first packet it sent.
    uint32_t StartTimeMs() const;
    uint32_t PacketsAsked() const;
    size_t FirstPacketSent() const;
    // Waits up to ms until count connections have ended.
    bool WaitConnections(int count, int ms) const;

private:
    void Serve(sys::TcpSocket& socket);
    bool SendHeader(sys::TcpSocket& socket);
    bool SendPackets(sys::TcpSocket& socket, size_t first);
    void Drain(sys::TcpSocket& socket, int ms);
    bool Ping(sys::TcpSocket& socket);
    void Record(const Received& command);

    Media media_;
    LoopbackListener listener_;
    mutable std::mutex lock_;
    std::vector<Received> commands_;
    int pongs_ = 0;
    uint32_t startTimeMs_ = 0;
    uint32_t packetsAsked_ = 0;
    size_t firstSent_ = 0;
};
