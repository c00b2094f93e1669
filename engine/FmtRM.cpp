#include "FmtRM.h"

#include <algorithm>
#include <climits>

#include "Base64.h"
#include "ByteReader.h"
#include "EngineTypes.h"
#include "Factories.h"
#include "HeaderText.h"
#include "RmUnit.h"
#include "TextNumbers.h"

namespace {

// Headers of a file of ours larger than this are not believed (the description's opaque data
// makes them a few kilobytes at most).
constexpr uint32_t kMaxHeaderBytes = 16u << 20;
constexpr uint32_t kRmfSize = 18, kPropSize = 50, kDataHeaderSize = 18, kIndexHeaderSize = 20;
constexpr uint32_t kIndexRecordSize = 14, kPacketHeaderSize = 12;
// The CONT and MDPR chunks without their texts and type-specific bytes.
constexpr uint32_t kContFixedSize = 18, kMdprFixedSize = 46;
// Where PROP holds the data offset.
constexpr size_t kPropDataOffsetAt = 42;
// The file's header count: PROP, CONT, DATA and INDX besides one MDPR per stream.
constexpr uint32_t kHeadersBesideStreams = 4;
// A packet's flags byte: a key frame.
constexpr uint8_t kKeyFrameFlag = 2;
constexpr size_t kMaxText = 0xFFFF;

class BigEndianWriter {
public:
    explicit BigEndianWriter(std::vector<uint8_t>& out) : out_(out) {}
    void U8(uint32_t v) { out_.push_back(uint8_t(v)); }
    void U16(uint32_t v) {
        U8(v >> 8);
        U8(v);
    }
    void U32(uint32_t v) {
        U16(v >> 16);
        U16(v);
    }
    void Text(const char* id) { out_.insert(out_.end(), id, id + 4); }
    void Bytes(const std::string& bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }

private:
    std::vector<uint8_t>& out_;
};

// A count of the description: read as a setting is, saturated at the 32-bit field, a negative one 0.
uint32_t ParseCount(const std::string& text) {
    return uint32_t(std::clamp<int64_t>(LeadingDecimal(text).value_or(0), 0, UINT32_MAX));
}

std::string SdpValue(const std::string& text, const std::string& key, const char* terminators) {
    int pos = 0;
    return FindHeaderField(text, key, &pos, terminators, " ");
}

std::string QuotedValue(const std::string& text, const std::string& key) {
    return SdpValue(text, key + "\"", "\"\r\n");
}

std::string DecodeBase64(const std::string& text) {
    std::vector<uint8_t> out(text.size() / 4 * 3 + 4);
    const int n = Base64Decode(text.data(), int(std::min<size_t>(text.size(), INT_MAX)), out.data());
    return std::string(out.begin(), out.begin() + std::max(n, 0));
}

// The one sub-stream of a multi-rate ("MLTI") type-specific block that the subscription asks
// for; empty when the block does not hold it.
std::string PickSubStream(const std::string& decoded, uint32_t onDepend) {
    ByteReader r(reinterpret_cast<const uint8_t*>(decoded.data()), decoded.size());
    r.Seek(4);
    const uint16_t rules = r.U16Be();
    if (onDepend >= rules) return {};
    r.Seek(6 + 2 * size_t(onDepend));
    const uint16_t subStream = r.U16Be();
    r.Seek(8 + 2 * size_t(rules));
    for (uint32_t i = 0; i < subStream && r.Ok(); ++i) r.Skip(r.U32Be());
    const uint32_t length = r.U32Be();
    const uint8_t* bytes = r.Bytes(length);
    return r.Ok() ? std::string(bytes, bytes + length) : std::string();
}

std::string ReadText(ByteReader& r, size_t length) {
    const uint8_t* bytes = r.Bytes(length);
    return bytes ? std::string(bytes, bytes + length) : std::string();
}

bool ReadId(ByteReader& r, const char* id) {
    const uint8_t* bytes = r.Bytes(4);
    return bytes && std::equal(bytes, bytes + 4, id);
}

}  // namespace

uint32_t CFmtRM::LargestOnDepend(const std::string& text) {
    uint32_t largest = 0;
    const std::string key = "OnDepend=\\\"";
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
        const size_t begin = at + key.size();
        largest = std::max(largest, ParseCount(text.substr(begin, text.find('\\', begin) - begin)));
    }
    return largest;
}

uint32_t CFmtRM::StreamRecord::ChunkSize() const {
    return uint32_t(kMdprFixedSize + name.size() + mimeType.size() + typeData.size());
}

bool CFmtRM::Init() {
    packetCount_ = 0;
    bytesWritten_ = 0;
    onDisk_.clear();
    resume_ = false;
    return true;
}

bool CFmtRM::ReturnTrue() { return true; }

bool CFmtRM::Open(IOutputFile* file, const char* sdp, bool resume) {
    file_ = file;
    sdp_ = sdp ? sdp : "";
    durationFromPackets_ = true;
    resume_ = resume;
    continued_ = resume && file_ && ReadExisting();
    if (!continued_) {
        ParseSdp();
        bytesWritten_ = DataOffset() + kDataHeaderSize;
        // A file we cannot continue is replaced; nothing of it may remain behind new packets.
        if (resume && file_) file_->SetLength(0);
    }
    return true;
}

uint32_t CFmtRM::ParseNptMs(const std::string& text) {
    size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos) return 0;
    uint64_t ms = ReadDigits(text, i, UINT32_MAX) * 1000;
    if (i < text.size() && text[i] == '.') {
        uint64_t scale = 100;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9' && scale > 0; ++i, scale /= 10) {
            ms += uint64_t(text[i] - '0') * scale;
        }
    }
    return uint32_t(std::min<uint64_t>(ms, UINT32_MAX));
}

std::vector<size_t> CFmtRM::SectionStarts(const std::string& sdp) {
    std::vector<size_t> starts;
    for (size_t at = 0; at + 1 < sdp.size(); ++at) {
        const bool lineStart = at == 0 || sdp[at - 1] == '\n' || sdp[at - 1] == '\r';
        if (lineStart && (sdp[at] == 'm' || sdp[at] == 'M') && sdp[at + 1] == '=') starts.push_back(at);
    }
    return starts;
}

// Sections start at "m=" lines; the text before the first one describes the whole presentation.
void CFmtRM::ParseSdp() {
    streams_.clear();
    title_.clear();
    author_.clear();
    copyright_.clear();
    std::vector<size_t> starts = SectionStarts(sdp_);
    if (starts.empty()) return;
    BuildCont(sdp_.substr(0, starts[0]));
    starts.push_back(sdp_.size());
    for (size_t i = 0; i + 1 < starts.size(); ++i) {
        BuildMdpr(sdp_.substr(starts[i], starts[i + 1] - starts[i]));
    }
    propDuration_ = 0;
    for (const StreamRecord& s : streams_) propDuration_ = std::max(propDuration_, s.duration);
}

void CFmtRM::BuildCont(const std::string& leading) {
    auto field = [&](const char* key) {
        std::string decoded = DecodeBase64(QuotedValue(leading, key));
        // The server counts the text's NUL; the file does not.
        if (!decoded.empty()) decoded.pop_back();
        if (decoded.size() > kMaxText) decoded.resize(kMaxText);
        return decoded;
    };
    title_ = field("a=Title:buffer;");
    author_ = field("a=Author:buffer;");
    copyright_ = field("a=Copyright:buffer;");
}

void CFmtRM::BuildMdpr(const std::string& section) {
    StreamRecord s;
    s.number = uint16_t(streams_.size());
    s.maxBitRate = ParseCount(SdpValue(section, "a=MaxBitRate:integer;", "\r\n"));
    s.avgBitRate = ParseCount(SdpValue(section, "a=AvgBitRate:integer;", "\r\n"));
    s.maxPacketSize = ParseCount(SdpValue(section, "a=MaxPacketSize:integer;", "\r\n"));
    s.avgPacketSize = ParseCount(SdpValue(section, "a=AvgPacketSize:integer;", "\r\n"));
    s.startTime = ParseCount(SdpValue(section, "a=StartTime:integer;", "\r\n"));
    s.preroll = ParseCount(SdpValue(section, "a=Preroll:integer;", "\r\n"));
    s.duration = ParseNptMs(SdpValue(section, "a=length:npt=", "\r\n"));
    if (s.duration != 0) durationFromPackets_ = false;
    s.name = QuotedValue(section, "a=StreamName:string;").substr(0, 255);
    s.mimeType = QuotedValue(section, "a=mimetype:string;").substr(0, 255);
    s.typeData = DecodeBase64(QuotedValue(section, "a=OpaqueData:buffer;"));
    if (s.typeData.compare(0, 4, "MLTI") == 0) {
        std::string picked = PickSubStream(s.typeData, LargestOnDepend(section));
        if (!picked.empty()) s.typeData = std::move(picked);
    }
    streams_.push_back(std::move(s));
}

uint32_t CFmtRM::DataOffset() const {
    uint64_t offset = kRmfSize + kPropSize + kContFixedSize + title_.size() + author_.size() + copyright_.size();
    for (const StreamRecord& s : streams_) offset += s.ChunkSize();
    return uint32_t(offset);
}

std::vector<uint8_t> CFmtRM::HeaderBytes() const {
    std::vector<uint8_t> out;
    out.reserve(DataOffset() + kDataHeaderSize);
    BigEndianWriter w(out);
    w.Text(".RMF");
    w.U32(kRmfSize);
    w.U16(0);
    w.U32(0);
    w.U32(uint32_t(streams_.size() + kHeadersBesideStreams));

    uint32_t maxBitRate = 0, avgBitRate = 0, maxPacket = 0, avgPacket = 0;
    for (const StreamRecord& s : streams_) {
        maxBitRate += s.maxBitRate;
        avgBitRate += s.avgBitRate;
        maxPacket = std::max(maxPacket, s.maxPacketSize);
        avgPacket = std::max(avgPacket, s.avgPacketSize);
    }
    const uint32_t dataOffset = DataOffset();
    w.Text("PROP");
    w.U32(kPropSize);
    w.U16(0);
    w.U32(maxBitRate);
    w.U32(avgBitRate);
    w.U32(maxPacket);
    w.U32(avgPacket);
    w.U32(packetCount_);
    w.U32(propDuration_);
    w.U32(0);  // preroll
    w.U32(uint32_t(bytesWritten_));
    w.U32(dataOffset);
    w.U16(uint32_t(streams_.size()));
    w.U16(0);

    w.Text("CONT");
    w.U32(uint32_t(kContFixedSize + title_.size() + author_.size() + copyright_.size()));
    w.U16(0);
    for (const std::string* text : {&title_, &author_, &copyright_}) {
        w.U16(uint32_t(text->size()));
        w.Bytes(*text);
    }
    w.U16(0);  // comment

    for (const StreamRecord& s : streams_) {
        w.Text("MDPR");
        w.U32(s.ChunkSize());
        w.U16(0);
        w.U16(s.number);
        for (uint32_t v : {s.maxBitRate, s.avgBitRate, s.maxPacketSize, s.avgPacketSize, s.startTime,
                           s.preroll, s.duration}) {
            w.U32(v);
        }
        w.U8(uint32_t(s.name.size()));
        w.Bytes(s.name);
        w.U8(uint32_t(s.mimeType.size()));
        w.Bytes(s.mimeType);
        w.U32(uint32_t(s.typeData.size()));
        w.Bytes(s.typeData);
    }

    w.Text("DATA");
    w.U32(uint32_t(bytesWritten_ - dataOffset));
    w.U16(0);
    w.U32(packetCount_);
    w.U32(0);
    return out;
}

int32_t CFmtRM::EstimatedSize() {
    int64_t total = 0;
    for (const StreamRecord& s : streams_) total += int64_t(double(s.avgBitRate) * s.duration * 0.000125);
    return int32_t(std::min<int64_t>(total, INT32_MAX));
}

bool CFmtRM::SameOnDisk(size_t i, uint16_t stream, uint32_t timestamp, uint8_t flags, const uint8_t* data,
                        int32_t length) {
    const DiskPacket& p = onDisk_[i];
    if (p.stream != stream || p.timestamp != timestamp || p.flags != flags ||
        p.length != uint32_t(length) + kPacketHeaderSize) {
        return false;
    }
    compare_.resize(size_t(length));
    return length == 0 || (file_->ReadAt(p.offset + kPacketHeaderSize, compare_.data(), compare_.size()) &&
                           std::equal(compare_.begin(), compare_.end(), data));
}

// The stream asked from a margin before the file's end replays packets the file holds; they are
// known by their whole content (stream, time stamp, flags and data: the parts of one video frame
// share the time stamp), and must come in file order. Between them the server may leave out the
// file's packets from before the time asked for; a packet of the file at or after it that the
// stream passes over, or a first unit the file does not hold, means the stream is not the one on
// disk (or does not reach back to it): the file cannot be continued.
int32_t CFmtRM::MatchOnDisk(uint16_t stream, uint32_t timestamp, uint8_t flags, const uint8_t* data,
                            int32_t length) {
    if (!aligned_) {
        for (size_t i = 0; i < onDisk_.size(); ++i) {
            if (SameOnDisk(i, stream, timestamp, flags, data, length)) {
                aligned_ = true;
                nextOnDisk_ = i + 1;
                return kUnitSkipped;
            }
        }
        return kResumeLost;
    }
    for (size_t i = nextOnDisk_; i < onDisk_.size(); ++i) {
        if (SameOnDisk(i, stream, timestamp, flags, data, length)) {
            nextOnDisk_ = i + 1;
            return kUnitSkipped;
        }
        if (onDisk_[i].timestamp >= resumeFromMs_) return kResumeLost;
    }
    return 0;
}

// The file's packets from before the time asked for may be left out by the stream (see
// MatchOnDisk); every later one must come again.
bool CFmtRM::ReachedEndOnDisk() const {
    if (onDisk_.empty()) return true;
    if (!aligned_) return false;
    return std::all_of(onDisk_.begin() + long(nextOnDisk_), onDisk_.end(),
                       [this](const DiskPacket& p) { return p.timestamp < resumeFromMs_; });
}

int32_t CFmtRM::WritePacket(CByteBuffer* unit) {
    if (!file_ || !unit) return ResultSuccess;
    const RmUnitView view(unit->GetData(), size_t(unit->GetLength()));
    const uint8_t* data = view.Media();
    const int32_t length = view.MediaLength();
    const uint16_t stream = view.Stream();
    if (!data || size_t(length) > view.Size() - RmUnitView::kMediaAt || length > kMaxPacketData ||
        stream >= streams_.size()) {
        return ResultSuccess;
    }
    const uint32_t timestamp = view.Timestamp();
    const bool keyFrame = view.KeyFrame();
    if (!onDisk_.empty()) {
        const int32_t match = MatchOnDisk(stream, timestamp, keyFrame ? kKeyFrameFlag : 0, data, length);
        if (match == kUnitSkipped) return ResultSuccess;
        if (match != 0) return match;
        // Past the file's end: everything from here on is new.
        onDisk_.clear();
        onDisk_.shrink_to_fit();
    }

    const uint32_t packetLength = uint32_t(length) + kPacketHeaderSize;
    // Offsets in the headers are 32-bit: the file ends where they end.
    if (bytesWritten_ + packetLength > UINT32_MAX) return ResultFileError;
    packet_.clear();
    BigEndianWriter w(packet_);
    w.U16(0);
    w.U16(packetLength);
    w.U16(stream);
    w.U32(timestamp);
    w.U8(0);
    w.U8(keyFrame ? kKeyFrameFlag : 0);
    packet_.insert(packet_.end(), data, data + length);

    // The packet first: a file cut short in between still has headers that describe it truly.
    if (!file_->WriteAt(bytesWritten_, packet_.data(), packet_.size())) return ResultFileError;
    StreamRecord& s = streams_[stream];
    if (keyFrame) s.index.push_back({timestamp, uint32_t(bytesWritten_), packetCount_});
    ++packetCount_;
    bytesWritten_ += packetLength;
    if (durationFromPackets_) s.duration = timestamp;
    return WriteHeaders() ? ResultSuccess : ResultFileError;
}

bool CFmtRM::WriteHeaders() {
    const std::vector<uint8_t> headers = HeaderBytes();
    headersOnDisk_ = file_->WriteAt(0, headers.data(), headers.size()) && file_->Flush();
    return headersOnDisk_;
}

int32_t CFmtRM::BytesWritten() { return int32_t(std::min<int64_t>(bytesWritten_, INT32_MAX)); }

bool CFmtRM::WriteIndex() {
    std::vector<uint8_t> out;
    BigEndianWriter w(out);
    uint64_t offset = uint64_t(bytesWritten_);
    for (size_t i = 0; i < streams_.size(); ++i) {
        const StreamRecord& s = streams_[i];
        const uint64_t size = kIndexHeaderSize + kIndexRecordSize * uint64_t(s.index.size());
        offset += size;
        if (offset > UINT32_MAX) return false;
        w.Text("INDX");
        w.U32(uint32_t(size));
        w.U16(0);
        w.U32(uint32_t(s.index.size()));
        w.U16(s.number);
        w.U32(i + 1 < streams_.size() ? uint32_t(offset) : 0);
        for (const IndexRecord& r : s.index) {
            w.U16(0);
            w.U32(r.timestamp);
            w.U32(r.offset);
            w.U32(r.packetNumber);
        }
    }
    return file_->WriteAt(bytesWritten_, out.data(), out.size()) &&
           file_->SetLength(bytesWritten_ + int64_t(out.size()));
}

// The headers are written again as well: with no packet they were never written, and a continued
// file may have lost a torn last packet.
bool CFmtRM::Finish() {
    if (!file_) return false;
    return WriteIndex() && WriteHeaders();
}

// Two descriptions of the same streams: as many, each with the same MIME type and type-specific
// data (what a player decodes the packets by).
static bool SameStreams(const std::vector<CFmtRM::StreamRecord>& a, const std::vector<CFmtRM::StreamRecord>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].mimeType != b[i].mimeType || a[i].typeData != b[i].typeData) return false;
    }
    return true;
}

bool CFmtRM::ReadExisting() {
    const int64_t size = file_->GetLength();
    uint32_t dataOffset = 0, claimed = 0, propDuration = 0;
    ParseSdp();
    const std::vector<StreamRecord> described = std::move(streams_);
    if (size < kRmfSize + kPropSize || !ReadHeaders(size, &dataOffset, &claimed, &propDuration) ||
        !SameStreams(described, streams_)) {
        return false;
    }
    propDuration_ = propDuration;
    durationFromPackets_ = propDuration == 0;
    ReadPackets(size, dataOffset, claimed);
    return true;
}

bool CFmtRM::ReadHeaders(int64_t fileSize, uint32_t* dataOffset, uint32_t* propPackets,
                         uint32_t* propDuration) {
    uint8_t head[kRmfSize + kPropSize];
    if (!file_->ReadAt(0, head, sizeof head)) return false;
    ByteReader r(head, sizeof head);
    r.Seek(kRmfSize + kPropDataOffsetAt);
    const uint32_t offset = r.U32Be();
    if (offset > kMaxHeaderBytes || int64_t(offset) + kDataHeaderSize > fileSize) return false;
    std::vector<uint8_t> bytes(offset + kDataHeaderSize);
    if (!file_->ReadAt(0, bytes.data(), bytes.size())) return false;

    r = ByteReader(bytes.data(), bytes.size());
    if (!ReadId(r, ".RMF") || r.U32Be() != kRmfSize || r.U16Be() != 0) return false;
    r.U32Be();
    const uint32_t headerCount = r.U32Be();
    if (!ReadId(r, "PROP") || r.U32Be() != kPropSize || r.U16Be() != 0) return false;
    r.Skip(16);  // bit rates and packet sizes: recomputed from the streams
    *propPackets = r.U32Be();
    *propDuration = r.U32Be();
    r.Skip(12);  // preroll, index offset, data offset
    const uint16_t streamCount = r.U16Be();
    r.U16Be();
    if (r.Failed() || headerCount != uint32_t(streamCount) + kHeadersBesideStreams) return false;

    const size_t contAt = r.Position();
    if (!ReadId(r, "CONT")) return false;
    const uint32_t contSize = r.U32Be();
    r.U16Be();
    title_ = ReadText(r, r.U16Be());
    author_ = ReadText(r, r.U16Be());
    copyright_ = ReadText(r, r.U16Be());
    r.Skip(r.U16Be());  // comment
    if (r.Failed() || r.Position() - contAt != contSize) return false;

    streams_.clear();
    for (uint16_t i = 0; i < streamCount; ++i) {
        const size_t at = r.Position();
        StreamRecord s;
        if (!ReadId(r, "MDPR")) return false;
        const uint32_t chunkSize = r.U32Be();
        r.U16Be();
        s.number = r.U16Be();
        s.maxBitRate = r.U32Be();
        s.avgBitRate = r.U32Be();
        s.maxPacketSize = r.U32Be();
        s.avgPacketSize = r.U32Be();
        s.startTime = r.U32Be();
        s.preroll = r.U32Be();
        s.duration = r.U32Be();
        s.name = ReadText(r, r.U8());
        s.mimeType = ReadText(r, r.U8());
        s.typeData = ReadText(r, r.U32Be());
        if (r.Failed() || s.number != i || r.Position() - at != chunkSize) return false;
        streams_.push_back(std::move(s));
    }
    if (r.Position() != offset || !ReadId(r, "DATA")) return false;
    *dataOffset = offset;
    return r.Ok();
}

// Walks the packets the headers claim; a torn or foreign one ends the walk, and new packets go
// where it began.
void CFmtRM::ReadPackets(int64_t fileSize, uint32_t dataOffset, uint32_t claimed) {
    int64_t offset = int64_t(dataOffset) + kDataHeaderSize;
    packetCount_ = 0;
    onDisk_.clear();
    aligned_ = false;
    nextOnDisk_ = 0;
    std::vector<int64_t> lastOfStream(streams_.size(), -1);
    for (uint32_t i = 0; i < claimed; ++i) {
        uint8_t header[kPacketHeaderSize];
        if (offset + kPacketHeaderSize > fileSize || !file_->ReadAt(offset, header, sizeof header)) break;
        ByteReader r(header, sizeof header);
        const uint16_t version = r.U16Be();
        const uint16_t length = r.U16Be();
        const uint16_t stream = r.U16Be();
        const uint32_t timestamp = r.U32Be();
        r.U8();
        const uint8_t flags = r.U8();
        if (version != 0 || length < kPacketHeaderSize || offset + length > fileSize ||
            stream >= streams_.size()) {
            break;
        }
        // The index is rebuilt from the packets themselves: it covers every one of them.
        if (flags & kKeyFrameFlag) streams_[stream].index.push_back({timestamp, uint32_t(offset), packetCount_});
        onDisk_.push_back({offset, timestamp, length, stream, uint8_t(flags & kKeyFrameFlag)});
        lastOfStream[stream] = std::max<int64_t>(lastOfStream[stream], timestamp);
        ++packetCount_;
        offset += length;
    }
    int64_t endsFirst = -1;
    for (const int64_t last : lastOfStream) {
        if (last >= 0 && (endsFirst < 0 || last < endsFirst)) endsFirst = last;
    }
    resumeFromMs_ = endsFirst > int64_t(kResumeMarginMs) ? uint32_t(endsFirst - kResumeMarginMs) : 0;
    bytesWritten_ = offset;
}

FK_DEFINE_FACTORIES(FMTRM, CFmtRM)
