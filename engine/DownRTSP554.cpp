#include "DownRTSP554.h"

#include <algorithm>
#include <cstring>

#include "AsciiText.h"
#include "ByteReader.h"
#include "Factories.h"
#include "FmtRM.h"
#include "HeaderText.h"
#include "Md5.h"
#include "OutputFileView.h"
#include "RmUnit.h"
#include "TextNumbers.h"
#include "UrlModel.h"
#include "UrlRules.h"
#include "sys/BinaryFile.h"

namespace {

constexpr char kClientGuid[] = "5c0e7a91-3d62-4f18-a7b4-2e9d60c1f835";
constexpr char kRn5Salt[] =
    "5c0e7a91-3d62-4f18-a7b4-2e9d60c1f835Salt marker (S) 2001,2002,2003 Quietfield, Ltd.";

std::string Md5Hex(const std::string& text) {
    char out[33];
    return MD5(out, text.data(), text.size());
}

RmUnitView ViewOf(CByteBuffer& unit) { return RmUnitView(unit.GetData(), size_t(unit.GetLength())); }

// A control unit's payload: its own longer header, of which the bytes from kControlKeptAt
// (kControlKept of them) go into the common payload header, then the media from kControlMediaAt.
constexpr size_t kControlKeptAt = 9;
constexpr size_t kControlKept = 8;
constexpr size_t kControlMediaAt = 19;

}  // namespace

bool CDownRTSP554::Init() {
    etag_.clear();
    subscribe_.clear();
    sdp_.clear();
    rn5Retried_ = false;
    streamCount_ = 0;
    playFromMs_ = 0;
    resumeWriter_.reset();
    lastUnits_.clear();
    return true;
}

bool CDownRTSP554::ReturnTrue() { return true; }

int32_t CDownRTSP554::Begin() {
    // A run begins with nothing of an earlier one's stream (a fresh start after a lost resume).
    Init();
    protocolKind_ = KindRtsp554;
    const int32_t code = CDownRtspBase::Begin();
    if (code != ResultSuccess) return code;
    Log("\r\n------vvv------START DOWNLOAD RTSP 554--------------\r\n");
    return ResultSuccess;
}

int32_t CDownRTSP554::Handshake() {
    Log("Shaking hands......");
    if (IsStopRequested()) return ResultUserCancel;
    int32_t code = SendOptions();
    if (code == ResultSuccess) code = SendDescribe("");
    if (code == ResultSuccess) code = SendSetup();
    if (code == ResultSuccess) code = SendSetParameter();
    if (code == ResultSuccess) {
        PrepareResume();
        code = SendPlay();
    }
    if (code != ResultSuccess) return code;
    if (IsStopRequested()) return ResultUserCancel;
    Log("Shake hands success\r\n");
    return ResultSuccess;
}

int32_t CDownRTSP554::Request(const std::string& text, bool requireOk, CByteBuffer* reply) {
    const int32_t length = int32_t(text.size());
    return requireOk ? Exchange(text.data(), length, reply) : CDownBase::Exchange(text.data(), length, reply);
}

int32_t CDownRTSP554::SendOptions() {
    Log("Shaking hand OPTION....");
    std::string request = "OPTIONS rtsp://" + GetUrlHost(requestUrl_) + ":" +
                          std::to_string(RequestPort(requestUrl_, kRtspPort)) + " RTSP/1.0\r\n";
    request += NextCSeqLine();
    request +=
        "User-Agent: RealMedia Player Version 6.0.7.1380 (win32)\r\n"
        "PlayerStarttime: [01/10/2002:09:57:28 08:00]\r\n"
        "CompanyID: Zq4mW7hNc2Tp+Kd9sLx8Rg==\r\n"
        "GUID: 00000000-0000-0000-0000-000000000000\r\n"
        "Pragma: initiate-session\r\n"
        "\r\n";
    CByteBuffer reply;
    const int32_t code = Request(request, true, &reply);
    if (code != ResultSuccess) return code;
    session_ = GetHeaderValue(reply.GetString(), "Session:", nullptr, "\r\n");
    Log("Shake hand OPTION success");
    return ResultSuccess;
}

int32_t CDownRTSP554::SendDescribe(const std::string& authorization) {
    Log("Shaking hand DESCRIBE....");
    std::string request = "DESCRIBE " + requestUrl_ + " RTSP/1.0\r\n";
    request += NextCSeqLine();
    request += "Accept: application/sdp\r\n";
    request += authorization.empty() ? MakeAuthorization() : authorization;
    if (!session_.empty()) request += "Session: " + session_ + "\r\n";
    request +=
        "Bandwidth: 1200000\r\n"
        "Require: com.real.retain-entity-for-setup\r\n"
        "\r\n";
    CByteBuffer reply;
    int32_t code = Request(request, false, &reply);
    if (code != ResultSuccess) return code;
    code = ParseDescribeReply(reply.GetString() ? reply.GetString() : "");
    if (code == ResultSuccess) Log("Shake hand DESCRIBE success");
    return code;
}

int32_t CDownRTSP554::AnswerChallenge(const std::string& reply) {
    if (rn5Retried_) return ResultShakeHandError;
    rn5Retried_ = true;
    if (user_.empty()) return ResultShakeHandError;
    const std::string challenge = FindHeaderField(reply, "WWW-Authenticate: ", nullptr, "\r\n", "");
    const size_t blank = challenge.find(' ');
    if (blank == std::string::npos || challenge.substr(0, blank).find("RN5") == std::string::npos) {
        return ResultShakeHandError;
    }
    const std::string realm = FindHeaderField(challenge, "realm=\"", nullptr, "\"\r\n", "");
    const std::string nonce = FindHeaderField(challenge, "nonce=\"", nullptr, "\"\r\n", "");
    if (realm.empty() || nonce.empty() || realm.size() > kMaxChallengeValue || nonce.size() > kMaxChallengeValue) {
        return ResultShakeHandError;
    }
    const std::string line = "Authorization: RN5 username=\"" + user_ + "\", GUID=\"" + kClientGuid +
                             "\",realm=\"" + realm + "\",nonce=\"" + nonce + "\",response=\"" +
                             MakeRn5Response(user_, password_, realm, nonce) + "\"\r\n";
    // The refusal's body (a page for a person) comes before the next reply.
    std::string body;
    const int32_t code = ReceiveBodyOf(reply, &body);
    if (code != ResultSuccess) return code;
    return SendDescribe(line);
}

int32_t CDownRTSP554::ReceiveBodyOf(const std::string& head, std::string* body) {
    // The length is the server's: bounded, and the whole body must arrive.
    const std::string lengthText = FindHeaderField(head, "Content-length:", nullptr, "\r\n", " ");
    uint64_t length = 0;
    if (!lengthText.empty() && !ParseByteCount(lengthText, kMaxBodySize, &length)) return ResultReceiveError;
    return ReceiveBody(size_t(length), body);
}

int32_t CDownRTSP554::ParseDescribeReply(const std::string& reply) {
    if (StartsWithNoCase(reply, "RTSP/1.0 401 Unauthorized")) return AnswerChallenge(reply);
    if (StartsWithNoCase(reply, "REDIRECT")) {
        Log("REDIRECTED");
        return FollowRedirect(FindHeaderField(reply, "Location:", nullptr, "\r\n", " "));
    }
    if (reply.compare(0, 12, "RTSP/1.0 200") != 0) return ResultShakeHandError;
    etag_ = FindHeaderField(reply, "ETag:", nullptr, "\r\n", " ");
    const std::string base = FindHeaderField(reply, "Content-base:", nullptr, "\r\n", " ");
    if (base.empty() || base.back() != '/') {
        Log("Get Content-base error");
        return ResultShakeHandError;
    }
    const int32_t code = ReceiveBodyOf(reply, &sdp_);
    if (code != ResultSuccess) return code;
    sdp_ = sdp_.c_str();  // the description is text: it ends at a NUL
    contentType_ = FindHeaderField(sdp_, "a=mimetype:string;\"", nullptr, "\"\r\n", " ");
    if (!GetControlUrls(sdp_, controlUrls_, base)) {
        Log("URL too long");
        return ResultShakeHandError;
    }
    subscribe_ = MakeSubscribe(sdp_);
    streamCount_ = CFmtRM::SectionStarts(sdp_).size();
    lastUnits_.assign(streamCount_, std::string());
    return ResultSuccess;
}

std::string CDownRTSP554::MakeRn5Response(const std::string& user, const std::string& password,
                                          const std::string& realm, const std::string& nonce) {
    const std::string h1 = Md5Hex(user + ":" + realm + ":" + password);
    return Md5Hex(h1 + nonce + kRn5Salt);
}

std::string CDownRTSP554::MakeSubscribe(const std::string& sdp) {
    int pos = 0;
    FindHeaderField(sdp, "m=", &pos, "\r\n", " ");
    if (pos < 0) return {};
    std::string out;
    for (int i = 0;; ++i) {
        const int before = pos;
        const std::string book = FindHeaderField(sdp, "ASMRuleBook:string", &pos, "\r\n", " ");
        // No match moves the position to -1; a text too short for the key leaves it where it was.
        if (pos < 0 || pos == before) break;
        const uint32_t n = CFmtRM::LargestOnDepend(book);
        if (i > 0) out += ",";
        out += "stream=" + std::to_string(i) + ";rule=" + std::to_string(n);
        if (book.find("OnDepend=\\\"") != std::string::npos) {
            out += ",stream=" + std::to_string(i) + ";rule=" + std::to_string(uint64_t(n) + 1);
        }
    }
    return out;
}

int32_t CDownRTSP554::SendSetup() {
    Log("Shaking hand SETUP....");
    for (size_t i = 0; i < controlUrls_.size(); ++i) {
        std::string request = "SETUP " + controlUrls_[i] + " RTSP/1.0\r\n";
        request += NextCSeqLine();
        request += "Transport: x-pn-tng/tcp;mode=play,rtp/avp/tcp;unicast;mode=play\r\n";
        if (!etag_.empty()) request += (i == 0 ? "If-Match: " : "Session: ") + etag_ + "\r\n";
        request += "\r\n";
        CByteBuffer reply;
        const int32_t code = Request(request, true, &reply);
        if (code != ResultSuccess) return code;
    }
    Log("Shake hand SETUP success");
    return ResultSuccess;
}

int32_t CDownRTSP554::SendSetParameter() {
    Log("Shaking hand SET PARAMETER....");
    std::string request = "SET_PARAMETER " + requestUrl_ + " RTSP/1.0\r\n";
    request += NextCSeqLine();
    request += "Subscribe: " + subscribe_ + "\r\n";
    if (!etag_.empty()) request += "Session: " + etag_ + "\r\n";
    request += "\r\n";
    CByteBuffer reply;
    const int32_t code = Request(request, true, &reply);
    if (code != ResultSuccess) return code;
    Log("Shake hand SET PARAMETER success");
    return ResultSuccess;
}

int32_t CDownRTSP554::SendPlay() {
    Log("Shaking hand PLAY....");
    std::string request = "PLAY " + requestUrl_ + " RTSP/1.0\r\n";
    request += NextCSeqLine();
    if (!etag_.empty()) request += "Session: " + etag_ + "\r\n";
    // Written without the locale's decimal mark.
    const uint32_t from = resuming_ ? playFromMs_ : 0;
    request += "Range: npt=" + std::to_string(from / 1000) + "." + std::to_string(1000 + from % 1000).substr(1) +
               "-\r\n\r\n";
    // The reply comes among the data and is passed over there.
    if (!SendText(request)) return ResultTimeOut;
    if (IsStopRequested()) return ResultUserCancel;
    Log("Shake hand PLAY success");
    return ResultSuccess;
}

int32_t CDownRTSP554::ReadPacket(CByteBuffer* unit) {
    RtspUnit got;
    const int32_t code = ReadInterleaved(&got);
    if (code != ResultSuccess) return code;
    if (got.frame) {
        const uint8_t header[RmUnitView::kPacketAt] = {RmUnitView::kMarker, got.channel,
                                                       uint8_t(got.payload.size() >> 8), uint8_t(got.payload.size())};
        unit->Append(header, sizeof header);
        unit->Append(got.payload.data(), int32_t(got.payload.size()));
        // The end is a unit of its own type; a short data unit is no end.
        if (ViewOf(*unit).EndsStream()) {
            unit->Reset();
            return kStreamEnd;
        }
        return ResultSuccess;
    }
    if (StartsWithNoCase(got.head, "SET_PARAMETER") || StartsWithNoCase(got.head, "OPTION")) {
        RejectServerRequest(got.head);
        return kUnitSkipped;
    }
    if (StartsWithNoCase(got.head, "RTSP/1.0 200")) return kUnitSkipped;
    return ResultReceiveError;
}

void CDownRTSP554::RejectServerRequest(const std::string& head) {
    SendText("RTSP/1.0 451 Parameter Not Understood\r\nCSeq: " +
             GetHeaderValue(head, "CSeq: ", nullptr, "\r\n") + "\r\n\r\n");
}

// The common layout from a control unit: the kept part of its header, two zero bytes to fill the
// payload header, its media. NextUnit has checked that the payload reaches kControlMediaAt.
void CDownRTSP554::RewriteControlUnit(CByteBuffer* unit) {
    ByteReader r(unit->GetData(), size_t(unit->GetLength()));
    const uint8_t* start = r.Bytes(RmUnitView::kLengthAt);
    r.Seek(RmUnitView::kPacketAt + kControlKeptAt);
    const uint8_t* kept = r.Bytes(kControlKept);
    r.Seek(RmUnitView::kPacketAt + kControlMediaAt);
    const size_t mediaLength = r.Remaining();
    const uint8_t* media = r.Bytes(mediaLength);
    if (r.Failed()) return;
    const size_t length = RmUnitView::kPayloadHeader + mediaLength;
    std::string rebuilt(reinterpret_cast<const char*>(start), RmUnitView::kLengthAt);
    rebuilt += char(length >> 8);
    rebuilt += char(length);
    rebuilt.append(reinterpret_cast<const char*>(kept), kControlKept);
    rebuilt.append(RmUnitView::kPayloadHeader - kControlKept, '\0');
    rebuilt.append(reinterpret_cast<const char*>(media), mediaLength);
    unit->Reset();
    unit->Append(rebuilt.data(), int32_t(rebuilt.size()));
}

int32_t CDownRTSP554::NextUnit(CByteBuffer* unit) {
    unit->Reset();
    const int32_t code = ReadPacket(unit);
    if (code != ResultSuccess) return code;
    const RmUnitView read = ViewOf(*unit);
    if (!read.IsFrame() || read.Channel() != 0) return ResultInvalidPack;
    // Too short for the payload header (or the longer one of a control unit): no room for media.
    const bool control = read.PacketType() == RmUnitView::kControlType;
    const size_t payload = read.Size() - RmUnitView::kPacketAt;
    if (payload < RmUnitView::kPayloadHeader || (control && payload < kControlMediaAt)) return kUnitSkipped;
    if (control) RewriteControlUnit(unit);
    RmUnitView::SetMediaLength(unit->GetData(), uint16_t(size_t(unit->GetLength()) - RmUnitView::kMediaAt));
    if (IsStopRequested()) return ResultUserCancel;
    // Units of a stream the description does not have, and units sent twice, are not media.
    if (ViewOf(*unit).Stream() >= streamCount_ || IsRepeat(*unit)) return kUnitSkipped;
    return ResultSuccess;
}

bool CDownRTSP554::IsRepeat(CByteBuffer& unit) {
    // Everything from the length on: the same packet again.
    const uint8_t* from = unit.GetData() + RmUnitView::kLengthAt;
    const size_t length = size_t(unit.GetLength()) - RmUnitView::kLengthAt;
    std::string& last = lastUnits_[ViewOf(unit).Stream()];
    if (last.size() == length && std::memcmp(last.data(), from, length) == 0) return true;
    last.assign(reinterpret_cast<const char*>(from), length);
    return false;
}

// The resume rule. The file on disk, not the record beside it, says where to go on. A RealMedia
// file of ours whose streams are the description's (as many, the same MIME types and type-specific
// data) is continued: its whole packets are read back (a torn last one is cut), its key-frame index
// is rebuilt from them, the stream is asked from a second before the last packet of the stream that
// ends first on disk, and the units the file holds are dropped by their whole content (stream, time
// stamp, flags, data, in file order: the parts of a video frame share stream and time stamp). A file
// of other streams, or a stream that turns out not to reach back into the file (no overlap to prove),
// is started afresh, asked from 0. Bare content (neither RealMedia nor MP3) is asked from 0 and
// continued by the bytes on disk, compared as they come again.
void CDownRTSP554::PrepareResume() {
    playFromMs_ = 0;
    resumeWriter_.reset();
    if (!resuming_) return;
    int32_t kind = contentKind_;
    if (kind == ContentUnknown && !contentType_.empty()) {
        kind = DetectContentFormat(contentType_, GetUrlExtensionUpper(requestUrl_));
    }
    if (kind != ContentReal && kind != ContentMp3) return;
    EnginePtr<CFmtRM> writer(static_cast<CFmtRM*>(NEW_FMTRM()));
    sys::BinaryFile file;
    if (writer && file.Open(localFile_, true)) {
        OutputFileView view(file);
        writer->Open(&view, sdp_.c_str(), true);
        writer->SetFile(nullptr);
        if (writer->Continued()) {
            playFromMs_ = writer->ResumeFromMs();
            LogFormat("Resuming after %u packets on disk", unsigned(writer->PacketCount()));
            resumeWriter_ = std::move(writer);
            return;
        }
    }
    Log("The file on disk is not of this stream: starting afresh");
    resuming_ = false;
    bytesOnDisk_ = 0;
    ReportProgress(0);
}

int32_t CDownRTSP554::ReceiveToFile() {
    OutputFileView file(outputFile_);
    EnginePtr<CFmtRM> writer = std::move(resumeWriter_);
    if (writer) {
        writer->SetFile(&file);
    } else {
        writer.reset(static_cast<CFmtRM*>(NEW_FMTRM()));
        if (!writer) return ResultMemoryError;
        writer->Open(&file, sdp_.c_str(), resuming_);
    }
    ReportTotalSize(writer->EstimatedSize());
    ReportProgress(writer->BytesWritten());
    lastTimestampMs_ = 0;
    CByteBuffer unit;
    int32_t code;
    for (;;) {
        code = NextUnit(&unit);
        if (code == kUnitSkipped) continue;
        if (code == kStreamEnd) {
            // A resumed stream must come back past the packets on disk: one that ends before
            // proves nothing of the rest, and the file stays as it was, to be resumed.
            code = ResultSuccess;
            if (!writer->ReachedEndOnDisk()) {
                Log(kEndedShortOfFile);
                code = ResultReceiveError;
            }
            break;
        }
        if (code != ResultSuccess) break;
        const uint32_t timestamp = ViewOf(unit).Timestamp();
        if (timestamp > uint32_t(lastTimestampMs_)) lastTimestampMs_ = int32_t(timestamp);
        code = writer->WritePacket(&unit);
        if (code == kResumeLost) {
            Log("The stream does not continue the file on disk: starting afresh");
            code = kStartFromZero;
            break;
        }
        if (code != ResultSuccess) break;
        packetsWritten_ = int32_t(writer->PacketCount());
        bytesOnDisk_ = writer->Written();
        ReportProgress(bytesOnDisk_);
    }
    if (!writer->Finish() && code == ResultSuccess) code = ResultFileError;
    return code;
}

// Bare media has no packets to know again: the stream comes from its start (PLAY from 0) and the
// bytes the file holds are passed over as they come again, compared with the file; where they
// differ the file is another stream's, and it is cut there and goes on with this one.
int32_t CDownRTSP554::ReceiveRaw() {
    CByteBuffer unit;
    int64_t onDisk = resuming_ ? std::max<int64_t>(outputFile_.Size(), 0) : 0;
    int64_t offset = 0;
    std::vector<uint8_t> back;
    lastTimestampMs_ = 0;
    for (;;) {
        const int32_t code = NextUnit(&unit);
        if (code == kUnitSkipped) continue;
        if (code == kStreamEnd) break;
        if (code != ResultSuccess) return code;
        const RmUnitView view = ViewOf(unit);
        const uint32_t timestamp = view.Timestamp();
        if (timestamp > uint32_t(lastTimestampMs_)) lastTimestampMs_ = int32_t(timestamp);
        const uint8_t* data = view.Media();
        const size_t length = view.MediaLength();
        size_t same = 0;
        if (offset < onDisk) {
            back.resize(size_t(std::min<int64_t>(int64_t(length), onDisk - offset)));
            if (!back.empty() && !outputFile_.ReadAt(offset, back.data(), back.size())) return ResultFileError;
            same = size_t(std::mismatch(back.begin(), back.end(), data).first - back.begin());
            if (same < back.size()) {
                Log("The file on disk is not of this stream: starting afresh");
                onDisk = offset + int64_t(same);
                if (!outputFile_.SetLength(onDisk)) return ResultFileError;
            }
        }
        if (same < length && !outputFile_.WriteAt(offset + int64_t(same), data + same, length - same)) {
            return ResultFileError;
        }
        offset += int64_t(length);
        ++packetsWritten_;
        bytesOnDisk_ = std::max(offset, onDisk);
        ReportProgress(bytesOnDisk_);
    }
    // The stream ended inside what the file holds: it proves nothing of the rest, which stays as
    // it is, to be resumed.
    if (offset < onDisk) {
        Log(kEndedShortOfFile);
        return ResultReceiveError;
    }
    return ResultSuccess;
}

int32_t CDownRTSP554::ReceiveData() {
    Log("Receiving data......");
    const int32_t code = contentKind_ == ContentReal || contentKind_ == ContentMp3 ? ReceiveToFile() : ReceiveRaw();
    if (code != ResultSuccess) return code;
    Log("Receive data success\r\n");
    Log("\r\n------^^^------DOWNLOAD RTSP 554 SUCCESS------------\r\n");
    return ResultSuccess;
}

int32_t CDownRTSP554::FollowRedirect(const std::string& location) {
    // The same step as an HTTP redirect: usable name, login only to the same server, no cut URL.
    return FollowRedirectLocation(location);
}

FK_DEFINE_FACTORIES(DOWNRTSP554, CDownRTSP554)
