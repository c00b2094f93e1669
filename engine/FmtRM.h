// The RealMedia file writer of RTSP downloads: builds the file headers from the server's session
// description, appends every data unit as a packet, and writes a key-frame index per stream at the
// end. After every packet the headers are brought up to date, so a partial file plays as it is;
// reopened, such a file is continued without a packet twice.
//
// Every length from the description, a unit or a file on disk is bounded by the bytes that are
// really there; what does not fit the format's fields is dropped or cut, never wrapped.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ByteBuffer.h"
#include "EngineObject.h"
#include "IOutputFile.h"
#include "StepResult.h"

class CFmtRM final : public EngineObject<CFmtRM> {
public:
    // Longest data a packet's 16-bit length field (12 header bytes included) can carry.
    static constexpr int32_t kMaxPacketData = 0xFFFF - 12;
    // How far before the last packet on disk a resumed stream is asked for.
    static constexpr uint32_t kResumeMarginMs = 1000;

    struct IndexRecord {
        uint32_t timestamp;
        uint32_t offset;        // of the packet's header in the file
        uint32_t packetNumber;  // from 0, in file order
    };

    struct StreamRecord {
        uint16_t number = 0;
        uint32_t maxBitRate = 0, avgBitRate = 0, maxPacketSize = 0, avgPacketSize = 0;
        uint32_t startTime = 0, preroll = 0, duration = 0;
        std::string name;        // at most 255 bytes
        std::string mimeType;    // at most 255 bytes
        std::string typeData;    // type-specific bytes
        std::vector<IndexRecord> index;
        uint32_t ChunkSize() const;
    };

    bool FK_STDCALL Init() override;
    // Answers true; nothing calls it: kept for the table's layout.
    virtual bool FK_STDCALL ReturnTrue();
    // Takes the file (not owned) and the description; with resume continues the file's packets
    // when it is a sound RealMedia file of the description's streams (their number, MIME types
    // and type-specific data), otherwise starts it afresh (cut to nothing). Writes nothing yet.
    virtual bool FK_STDCALL Open(IOutputFile* file, const char* sdp, bool resume);
    // Average bit rate times duration summed over the streams, in bytes.
    virtual int32_t FK_STDCALL EstimatedSize();
    // Appends one unit (RmUnitView, as the downloader hands it on) as a packet, then updates the headers. 0, or ResultFileError when the file
    // refuses the bytes. Units that name no stream of the description or carry a length beyond
    // the unit are dropped (0). In a continued file the units the file holds are dropped (0), and
    // a unit that shows the stream does not continue the file (neither one of the file's nor the
    // next one after them) gives kResumeLost.
    virtual int32_t FK_STDCALL WritePacket(CByteBuffer* unit);
    virtual int32_t FK_STDCALL BytesWritten();
    // Writes the index chunks after the packets, then the headers once more; false when the file
    // refuses them.
    virtual bool FK_STDCALL Finish();

    // Engine-internal, for tests and the downloader.
    const std::vector<StreamRecord>& Streams() const { return streams_; }
    uint32_t PacketCount() const { return packetCount_; }
    int64_t Written() const { return bytesWritten_; }
    // True when Open continued an existing file of ours.
    bool Continued() const { return continued_; }
    // False while a continued file holds packets that the stream has still to show again: a
    // stream that ends then has not reached the end of the file on disk.
    bool ReachedEndOnDisk() const;
    // Of a continued file: the time to ask the stream from (a margin before the last packet of
    // the stream that ends first on disk, so that every stream's next packet comes after it).
    uint32_t ResumeFromMs() const { return resumeFromMs_; }
    // Points the writer at another view of the same file (the one the download writes through).
    void SetFile(IOutputFile* file) { file_ = file; }
    // Where each stream's section of a description begins ("m=" at the start of a line).
    static std::vector<size_t> SectionStarts(const std::string& sdp);
    // The description's "npt" seconds as milliseconds, read without the locale; 0 when none.
    static uint32_t ParseNptMs(const std::string& text);
    // The largest number after any OnDepend=\" in a rule book or section, 0 when there is none.
    static uint32_t LargestOnDepend(const std::string& text);

private:
    void ParseSdp();
    void BuildCont(const std::string& leading);
    void BuildMdpr(const std::string& section);
    // The header bytes from ".RMF" through the DATA chunk header as they stand now.
    std::vector<uint8_t> HeaderBytes() const;
    uint32_t DataOffset() const;
    // Reads a file of ours back; false when the file is not one (then nothing is changed).
    bool ReadExisting();
    bool ReadHeaders(int64_t fileSize, uint32_t* dataOffset, uint32_t* propPackets,
                     uint32_t* propDuration);
    void ReadPackets(int64_t fileSize, uint32_t dataOffset, uint32_t claimed);
    bool WriteHeaders();
    bool WriteIndex();
    // kUnitSkipped when the unit is the file's next packet not yet matched (or one the range skipped
    // before it), 0 when it is the first one past the file's end, kResumeLost otherwise.
    int32_t MatchOnDisk(uint16_t stream, uint32_t timestamp, uint8_t flags, const uint8_t* data, int32_t length);
    bool SameOnDisk(size_t i, uint16_t stream, uint32_t timestamp, uint8_t flags, const uint8_t* data,
                    int32_t length);

    IOutputFile* file_ = nullptr;
    std::string sdp_;
    std::string title_, author_, copyright_;
    std::vector<StreamRecord> streams_;
    uint32_t packetCount_ = 0;
    uint32_t propDuration_ = 0;
    // Every packet already in a continued file, in file order, until the stream has passed them.
    struct DiskPacket {
        int64_t offset;
        uint32_t timestamp;
        uint16_t length;  // header included
        uint16_t stream;
        uint8_t flags;
    };
    std::vector<DiskPacket> onDisk_;
    bool aligned_ = false;     // the stream's units have been found in the file
    size_t nextOnDisk_ = 0;    // the first packet of the file not yet matched
    uint32_t resumeFromMs_ = 0;
    std::vector<uint8_t> compare_;  // scratch: a packet's data read back
    bool resume_ = false;
    bool continued_ = false;
    bool durationFromPackets_ = true;
    bool headersOnDisk_ = false;
    int64_t bytesWritten_ = 0;
    std::vector<uint8_t> packet_;  // scratch: header and data of the packet being written
};
