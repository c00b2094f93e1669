// MMS over TCP (port 1755): the seven-command exchange, the ASF header in header units, then the
// data packets until the server's end message. Pings are answered in both phases.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "DownBase.h"

class CDownMMS1755 final : public EngineObject<CDownMMS1755, CDownBase> {
public:
    static constexpr uint32_t kSignature = 0xB00BFACE;
    static constexpr uint16_t kCommandPing = 0x001B;
    static constexpr uint16_t kCommandEnd = 0x001E;
    // Longest command message taken from a server (its length field is the server's word).
    static constexpr uint32_t kMaxCommandLength = 65536;
    // Header units read before the header counts as never completed, and pings allowed meanwhile
    // (and while one command's reply is awaited).
    static constexpr int kMaxHeaderUnits = 19;
    static constexpr int kMaxHeaderPings = 64;

    int32_t FK_STDCALL Begin() override;
    int32_t FK_STDCALL Handshake() override;
    int32_t FK_STDCALL Exchange(const void* request, int32_t length, CByteBuffer* reply) override;
    int32_t FK_STDCALL ReceiveData() override;
    // Answers true; nothing calls it: kept for the table's layout.
    virtual bool FK_STDCALL ReturnTrue();

    // The wire readers, usable without a connection. receive fills exactly count bytes or fails.
    using ReceiveExactFn = std::function<bool(void* bytes, int32_t count)>;
    // A command reply: 16 bytes, the seal, then the length the reply gives. 0, 6 or 9.
    static int32_t ReadCommand(const ReceiveExactFn& receive, std::vector<uint8_t>& out);
    // The reply to a command: pings that come first are answered through pong and kept out.
    static int32_t ReadReply(const ReceiveExactFn& receive, const std::function<void()>& pong,
                             std::vector<uint8_t>& out);
    // One stream unit, a command (the whole message) or a data unit (prefix and packet). 0, 6 or 9.
    static int32_t ReadUnit(const ReceiveExactFn& receive, std::vector<uint8_t>& out);
    static bool IsCommandUnit(const std::vector<uint8_t>& unit);
    // The command number of a command message; 0 when it is too short to hold one.
    static uint16_t CommandOf(const std::vector<uint8_t>& message);
    // Collects header units until one ends 01 01; pings are answered through pong and kept out.
    static int32_t CollectHeader(const ReceiveExactFn& receive, const std::function<void()>& pong,
                                 std::vector<uint8_t>& header);
    // True when the server's version text in the reply to command 01 is not above ours.
    static bool CheckServerVersion(const std::vector<uint8_t>& reply);
    // A whole command: the 40-byte header and the body padded to a multiple of 8.
    static std::vector<uint8_t> BuildCommand(uint16_t command, uint32_t sequence, const std::vector<uint8_t>& body);

    void SendPong();

private:
    int32_t ShakeHand01();
    int32_t ShakeHand18();
    int32_t ShakeHand02();
    int32_t ShakeHand05();
    int32_t ShakeHand15();
    int32_t ShakeHand33();
    int32_t ShakeHand07();
    // Sends a command and reads its reply; with expected non-zero, the reply must be that command
    // with direction 4.
    int32_t SendCommand(uint16_t command, uint32_t sequence, const std::vector<uint8_t>& body,
                        uint16_t expected, std::vector<uint8_t>& reply);
    int32_t ReceivePacket();
    ReceiveExactFn SocketReader();
};
