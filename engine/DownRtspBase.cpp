#include "DownRtspBase.h"

#include <cstring>

#include "ByteReader.h"
#include "HeaderText.h"
#include "TextNumbers.h"

namespace {

bool EndsHead(const std::string& head) {
    const size_t n = head.size();
    return (n >= 2 && head.compare(n - 2, 2, "\n\n") == 0) || (n >= 4 && head.compare(n - 4, 4, "\r\n\r\n") == 0);
}

}  // namespace

CDownRtspBase::CDownRtspBase() = default;

int32_t CDownRtspBase::Begin() {
    const int32_t code = CDownBase::Begin();
    if (code != ResultSuccess) return code;
    port_ = kRtspPort;
    return ResultSuccess;
}

int32_t CDownRtspBase::CheckResume() {
    const int32_t code = CDownBase::CheckResume();
    if (code == ResultSuccess) cseq_ = 1;
    return code;
}

int32_t CDownRtspBase::Exchange(const void* request, int32_t length, CByteBuffer* reply) {
    const int32_t code = CDownBase::Exchange(request, length, reply);
    if (code != ResultSuccess) return code;
    if (IsBadReply(reply->GetString(), "RTSP/1.0 200")) return ResultShakeHandError;
    return IsStopRequested() ? ResultUserCancel : ResultSuccess;
}

bool CDownRtspBase::IsBadReply(const char* text, const char* expected) {
    if (!text) return true;
    if (!expected) return false;
    return std::strncmp(text, expected, std::strlen(expected)) != 0;
}

std::string CDownRtspBase::NextCSeqLine() {
    return "CSeq: " + std::to_string(cseq_++) + "\r\n";
}

bool CDownRtspBase::SendText(const std::string& text) {
    return socket_ && socket_->SendAll(text.data(), static_cast<int32_t>(text.size()));
}

int32_t CDownRtspBase::ReceiveBody(size_t length, std::string* body) {
    if (length > kMaxBodySize) return ResultReceiveError;
    std::string bytes(length, '\0');
    if (length && (!socket_ || !socket_->ReceiveExact(&bytes[0], static_cast<int32_t>(length)))) {
        return ResultTimeOut;
    }
    if (body) *body = std::move(bytes);
    return ResultSuccess;
}

int32_t CDownRtspBase::ReadHeadRest(std::string* head) {
    while (!EndsHead(*head)) {
        if (head->size() >= kMaxHeadSize) return ResultReceiveError;
        char c = 0;
        if (!socket_ || !socket_->ReceiveExact(&c, 1)) return ResultTimeOut;
        head->push_back(c);
    }
    return ResultSuccess;
}

int32_t CDownRtspBase::ReadInterleaved(RtspUnit* unit) {
    if (!unit || !socket_) return ResultInternalError;
    uint8_t start[4];
    if (!socket_->ReceiveExact(start, sizeof start)) return ResultTimeOut;
    ByteReader reader(start, sizeof start);
    if (reader.U8() == '$') {
        unit->frame = true;
        unit->channel = reader.U8();
        const uint16_t length = reader.U16Be();
        unit->payload.resize(length);
        unit->head.clear();
        unit->body.clear();
        if (length && !socket_->ReceiveExact(unit->payload.data(), length)) return ResultTimeOut;
        return ResultSuccess;
    }
    unit->frame = false;
    unit->channel = 0;
    unit->payload.clear();
    unit->head.assign(reinterpret_cast<const char*>(start), sizeof start);
    unit->body.clear();
    int32_t code = ReadHeadRest(&unit->head);
    if (code != ResultSuccess) return code;
    const std::string value = FindHeaderField(unit->head, "Content-Length:", nullptr, "\r\n", " ");
    if (value.empty()) return ResultSuccess;
    uint64_t length = 0;
    if (!ParseByteCount(value, kMaxBodySize, &length)) return ResultReceiveError;
    return ReceiveBody(size_t(length), &unit->body);
}
