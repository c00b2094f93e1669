// MMS over HTTP: an HTTP download with a Windows Media player's request. The server answers with
// a plain body of stated length, copied as it is, or with framed chunks (with or without a stated
// length; the body's first bytes tell): the ASF header in $H chunks,
// one data packet per $D chunk, up to an end chunk. The framed stream is written as an ASF file
// with a key-frame index, and a broken one resumes from the send time of its last packet.
#pragma once
#include <vector>

#include "DownHttpBase.h"
#include "MmsHttpChunkReader.h"

class CDownMMS80 final : public EngineObject<CDownMMS80, CDownHttpBase> {
public:
    CDownMMS80();

    int32_t FK_STDCALL Begin() override;
    int32_t FK_STDCALL ReceiveData() override;
    std::string FK_STDCALL MakeRequest() override;
    int32_t FK_STDCALL ParseHeaders(const char* reply) override;

    // The steps of the framed stream, outside the table.
    int32_t ReadHeaderPackets();
    int32_t ReadDataPackets();
    // 0 packet written, kStreamEnd, kUnitSkipped (already on disk), or a DownResult.
    int32_t ReceivePacket();

private:
    // Exactly count bytes from the connection, telling a close between chunks from a failure.
    MmsHttpChunkReader::Fill Fill(uint8_t* bytes, size_t count);
    int32_t Problem(int32_t code);
    // Reads the first count bytes of the body ahead, for Fill to hand out first.
    int32_t ReadLead(size_t count);
    // A body of stated length that is no framed stream: copied as it comes, the lead first.
    int32_t ReceivePlainBody();

    MmsHttpChunkReader reader_;
    std::vector<uint8_t> packet_;
    std::vector<uint8_t> lead_;
    size_t leadUsed_ = 0;
};
