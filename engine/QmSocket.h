// The TCP client connection of the downloaders: blocking operations over a non-blocking socket,
// each wait bounded by the time-out so that a silent server ends a download instead of hanging it.
#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

#include "ByteBuffer.h"
#include "EngineObject.h"

namespace sys {
class TcpSocket;
}

class CQmSocket final : public EngineObject<CQmSocket> {
public:
    // The time-out that means "wait as long as it takes".
    static constexpr int32_t kNoTimeOut = 0x0FFFFFFF;
    // ReadLine's result for a line that does not fit its buffer.
    static constexpr int32_t kLineTooLong = -2;
    // Size of the scratch area ReceiveBlock reads a reply head into.
    static constexpr int32_t kBlockSize = 16384;
    static constexpr int32_t kTimedOut = -1;
    static constexpr int32_t kFailed = -2;

    CQmSocket();
    ~CQmSocket();

    bool FK_STDCALL Init() override;
    virtual bool FK_STDCALL Connect(const char* host, int32_t port);
    virtual void FK_STDCALL Close();
    virtual void FK_STDCALL SetTimeOut(int32_t seconds);
    // A reply head appended to buffer; the ReadHeader result (0 or less: nothing came in time).
    virtual int32_t FK_STDCALL ReceiveBlock(CByteBuffer* buffer);
    // Reads up to and including the blank line that ends a head (LF LF or CR LF CR LF), at most
    // size - 1 bytes, then a NUL. Bytes read; 0 when closed before the first; -1 on time-out.
    virtual int32_t FK_STDCALL ReadHeader(char* out, int32_t size);
    virtual bool FK_STDCALL ReceiveExact(void* bytes, int32_t count);
    // One receive: bytes received, 0 on time-out or close, -1 on error. Nothing in the engine
    // calls it: kept for the table's layout.
    virtual int32_t FK_STDCALL ReceiveSome(void* bytes, int32_t count);
    // Reads one CR LF line with its end and a NUL into out: the count of bytes before the LF;
    // 0 closed, -1 time-out, kLineTooLong when size - 1 bytes came without the line's end.
    virtual int32_t FK_STDCALL ReadLine(char* out, int32_t size);
    virtual bool FK_STDCALL SendAll(const void* bytes, int32_t count);
    // Local address as dotted text (room for 16 characters) and port.
    virtual bool FK_STDCALL GetSockName(char* address, int32_t* port);
    // One receive that tells the endings apart: bytes received, 0 when the peer closed,
    // kTimedOut when nothing came within the time-out, kFailed on a broken connection.
    virtual int32_t FK_STDCALL ReceiveAvailable(void* bytes, int32_t count);

    int32_t TimeOut() const { return timeOut_; }
    // Asked every kStopCheckMs during every wait; true ends the wait as a failure, so a stopped
    // download does not sit out a whole time-out (or a server that trickles). Outside the table.
    void SetStopCheck(std::function<bool()> stopped) { stopCheck_ = std::move(stopped); }

private:
    // The time-out in milliseconds (TimeOutToMs), or TcpSocket::kWaitForever for kNoTimeOut.
    int TimeOutMs() const;
    // Waits for mode 0 (readable) or 1 (writable) within the time-out; true when ready.
    bool WaitReady(int mode);
    // One byte: 1, 0 closed or failed, -1 time-out.
    int ReceiveByte(char* out);
    // How a read of a head or a line ended.
    enum class ReadEnd { kFound, kClosed, kTimedOut, kFull };
    // The loop of ReadHeader and ReadLine: bytes one at a time into out until ends(out, count) is
    // true of the bytes so far, the peer closes, the time-out runs out or size - 1 bytes came;
    // then a NUL. count gets how many came.
    ReadEnd ReadUntil(char* out, int32_t size, bool (*ends)(const char* bytes, int32_t count), int32_t& count);

    std::unique_ptr<sys::TcpSocket> connection_;
    int32_t timeOut_ = kNoTimeOut;
    std::function<bool()> stopCheck_;
    std::chrono::steady_clock::time_point lastStopCheck_{};
};
