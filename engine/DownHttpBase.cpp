#include "DownHttpBase.h"

#include <cstring>
#include <vector>

#include "AsciiText.h"
#include "EngineSettings.h"
#include "TextNumbers.h"
#include "UrlModel.h"
#include "UrlRules.h"

namespace {

// Header lines are trimmed of blanks and line ends only.
std::string Trim(const std::string& text) { return TrimAscii(text, " \t\r\n"); }

constexpr uint64_t kLengthLimit = (uint64_t(1) << 62) - 1;

}  // namespace

CDownHttpBase::CDownHttpBase() {
    port_ = 80;
}

// Reply readers.

int CDownHttpBase::ParseStatusCode(const std::string& head) {
    if (head.compare(0, 5, "HTTP/") != 0) return 0;
    size_t space = head.find(' ');
    size_t lineEnd = head.find('\n');
    if (space == std::string::npos || (lineEnd != std::string::npos && space > lineEnd)) return 0;
    while (space < head.size() && head[space] == ' ') ++space;
    if (space + 3 > head.size()) return 0;
    int code = 0;
    for (size_t i = space; i < space + 3; ++i) {
        if (head[i] < '0' || head[i] > '9') return 0;
        code = code * 10 + (head[i] - '0');
    }
    // Three digits and no fourth.
    if (space + 3 < head.size() && head[space + 3] >= '0' && head[space + 3] <= '9') return 0;
    return code >= 100 ? code : 0;
}

bool CDownHttpBase::FindHeader(const std::string& head, const char* name, std::string* value) {
    const std::string wanted = name;
    size_t lineStart = head.find('\n');  // the status line is no header
    while (lineStart != std::string::npos && lineStart < head.size()) {
        ++lineStart;
        size_t lineEnd = head.find('\n', lineStart);
        const size_t end = lineEnd == std::string::npos ? head.size() : lineEnd;
        const size_t colon = head.find(':', lineStart);
        if (colon != std::string::npos && colon < end) {
            if (EqualsNoCase(Trim(head.substr(lineStart, colon - lineStart)), wanted)) {
                if (value) *value = Trim(head.substr(colon + 1, end - colon - 1));
                return true;
            }
        }
        lineStart = lineEnd;
    }
    return false;
}

bool CDownHttpBase::ParseLength(const std::string& text, int64_t* value) {
    uint64_t count = 0;
    if (!ParseByteCount(text, kLengthLimit, &count)) return false;
    *value = int64_t(count);
    return true;
}

bool CDownHttpBase::ParseChunkSize(const char* line, int64_t* size) {
    if (!line) return false;
    size_t i = 0;
    int64_t result = 0;
    int digits = 0;
    for (; line[i] && HexDigitValue(line[i]) >= 0; ++i) {
        // Leading zeros are harmless; fifteen significant digits are far beyond any real chunk.
        if (result == 0 && line[i] == '0') {
            ++digits;
            continue;
        }
        if (++digits > 64 || result >= (int64_t(1) << 56)) return false;
        result = result * 16 + HexDigitValue(line[i]);
    }
    if (digits == 0) return false;
    while (IsAsciiBlank(line[i], " \t")) ++i;
    if (line[i] != ';' && line[i] != '\r' && line[i] != '\n' && line[i] != 0) return false;
    *size = result;
    return true;
}

bool CDownHttpBase::ParseContentRange(const std::string& value, int64_t* first, int64_t* total, int64_t* lastOut) {
    std::string text = Trim(value);
    if (text.compare(0, 6, "bytes ") != 0) return false;
    text = Trim(text.substr(6));
    const size_t dash = text.find('-');
    const size_t slash = text.find('/');
    if (dash == std::string::npos || slash == std::string::npos || slash < dash) return false;
    int64_t last;
    if (!ParseLength(Trim(text.substr(0, dash)), first)) return false;
    if (!ParseLength(Trim(text.substr(dash + 1, slash - dash - 1)), &last) || last < *first) return false;
    if (lastOut) *lastOut = last;
    const std::string all = Trim(text.substr(slash + 1));
    if (all == "*") {
        *total = -1;
        return true;
    }
    return ParseLength(all, total) && *total > last;
}

// Request.

bool CDownHttpBase::UseProxy() const {
    const EngineProxy proxy = GetEngineProxy();
    return proxy.enabled && !proxy.server.empty();
}

int32_t CDownHttpBase::Connect() {
    std::string host;
    int port;
    if (UseProxy()) {
        const EngineProxy proxy = GetEngineProxy();
        host = proxy.server;
        port = proxy.port;
    } else {
        host = GetUrlHost(requestUrl_);
        port = RequestPort(requestUrl_, port_);
    }
    LogFormat("Connecting to %s : %d......", host.c_str(), port);
    if (!socket_ || !socket_->Connect(host.c_str(), port)) return ResultConnectError;
    Log("Connect to server success\r\n");
    return IsStopRequested() ? ResultUserCancel : ResultSuccess;
}

std::string CDownHttpBase::RequestLine() {
    std::string request = "GET ";
    if (UseProxy()) {
        request += requestUrl_;
    } else {
        request += "/" + GetUrlPath(requestUrl_);
    }
    request += " HTTP/1.1\r\n";
    request += MakeAuthorization();
    return request;
}

std::string CDownHttpBase::MakeRequest() { return RequestLine(); }

std::string CDownHttpBase::HostAndPort() const {
    std::string host = GetUrlHost(requestUrl_);
    const int port = GetUrlPort(requestUrl_);
    if (port != 0 && port != 80) host += ":" + std::to_string(port);
    return host;
}

std::string CDownHttpBase::HostLine() const { return "HOST: " + HostAndPort() + "\r\n"; }

// Reply.

int32_t CDownHttpBase::Handshake() {
    Log("Shaking hands......");
    const std::string request = MakeRequest();
    CByteBuffer reply;
    int32_t code = Exchange(request.data(), int32_t(request.size()), &reply);
    if (code != 0) return code;
    const std::string head = reply.GetString() ? reply.GetString() : "";
    // A head cut by the close or by the size of the head area would make headers into body bytes.
    const bool whole = (head.size() >= 2 && head.compare(head.size() - 2, 2, "\n\n") == 0) ||
                       (head.size() >= 4 && head.compare(head.size() - 4, 4, "\r\n\r\n") == 0);
    if (!whole) {
        Log("The reply head is cut short or too long");
        return ResultShakeHandError;
    }
    code = ProcessStatus(head);
    if (code != 0) return code;
    Log("Shake hands success\r\n");
    return ResultSuccess;
}

CDownHttpBase::StatusClass CDownHttpBase::ReadStatusClass(const std::string& reply) {
    const int status = ParseStatusCode(reply);
    if (status == 206) return StatusClass::Partial;
    if (status >= 200 && status < 300) return StatusClass::Whole;
    if (status >= 300 && status < 400) return StatusClass::Redirect;
    return StatusClass::Refused;
}

int32_t CDownHttpBase::ProcessStatus(const std::string& reply) {
    std::string range;
    if (resuming_ && ParseStatusCode(reply) == 416) {
        // Nothing lies past what is on disk: a run that ended before deleting its record left a
        // whole file. A refusal that does not say so (no size, another size) starts afresh.
        if (FindHeader(reply, "Content-Range", &range)) {
            const std::string size = Trim(range).compare(0, 8, "bytes */") == 0 ? Trim(Trim(range).substr(8)) : "";
            int64_t all = -1;
            if (ParseLength(size, &all) && all == bytesOnDisk_) {
                Log("The file on disk is already whole");
                totalSize_ = all;
                return ResultSuccess;
            }
        }
        // Nothing shows the file on disk whole: it is asked for all of it, once, on a new
        // connection, so the item can still finish.
        Log("The server refuses to resume; starting afresh");
        return kStartFromZero;
    }
    switch (ReadStatusClass(reply)) {
        case StatusClass::Whole:
            if (resuming_ && restartOnWholeReply_) {
                // The server ignored the range and sends the whole file: start it afresh.
                Log("The server sends the whole file; starting afresh");
                RestartOutput();
            }
            return ParseHeaders(reply.c_str());
        case StatusClass::Partial: {
            int32_t code = ParseHeaders(reply.c_str());
            if (code != 0) return code;
            const int64_t length = totalSize_;  // this reply's body; -1 when not named
            if (length != -1) totalSize_ = length + bytesOnDisk_;
            if (FindHeader(reply, "Content-Range", &range)) {
                int64_t first = 0, all = 0, last = 0;
                if (!ParseContentRange(range, &first, &all, &last) || first != bytesOnDisk_ ||
                    (length != -1 && length != last - first + 1)) {
                    Log("The server sends another part than asked for");
                    return ResultShakeHandError;
                }
                // The reply ends at last; a file that goes on past it is not complete with it.
                totalSize_ = last + 1;
                if (all > totalSize_) wholeSize_ = all;
            }
            return ResultSuccess;
        }
        case StatusClass::Redirect:
            return FollowLocation(reply);
        case StatusClass::Refused:
            break;
    }
    return ResultShakeHandError;
}

int32_t CDownHttpBase::ParseHeaders(const char* reply) {
    const std::string head = reply ? reply : "";
    std::string value;
    if (FindHeader(head, "Content-Length", &value)) {
        int64_t length;
        if (!ParseLength(value, &length)) {
            Log("Invalid Content-Length");
            return ResultShakeHandError;
        }
        totalSize_ = length;
    }
    if (FindHeader(head, "Transfer-Encoding", &value)) {
        // Chunked framing comes first in the list or, after other codings, last.
        const size_t comma = value.rfind(',');
        const std::string lastCoding = comma == std::string::npos ? value : Trim(value.substr(comma + 1));
        if ((value.size() >= 7 && EqualsNoCase(value.substr(0, 7), "chunked")) || EqualsNoCase(lastCoding, "chunked")) {
            chunked_ = true;
        }
    }
    contentType_.clear();
    if (FindHeader(head, "Content-Type", &value)) {
        contentType_ = Trim(value.substr(0, value.find_first_of(",;\r\n")));
    }
    return IsStopRequested() ? ResultUserCancel : ResultSuccess;
}

int32_t CDownHttpBase::FollowLocation(const std::string& reply) {
    std::string location;
    FindHeader(reply, "Location", &location);
    return FollowRedirectLocation(location);
}

bool CDownHttpBase::IsBadReply(const char* reply, const char* expected) {
    if (!reply) return true;
    if ((expected && std::strncmp(reply, expected, std::strlen(expected)) == 0) ||
        std::strncmp(reply, "HTTP/1.0 200", 12) == 0) {
        return false;
    }
    Log("ERROR: recv error");
    return true;
}

// Body.

int32_t CDownHttpBase::WritePiece(const char* bytes, size_t count, bool write) {
    if (!write) return ResultSuccess;
    if (!WriteOutput(bytes, count)) {
        Log("Cannot write the file");
        return ResultFileError;
    }
    bytesOnDisk_ += int64_t(count);
    ReportProgress(bytesOnDisk_);
    return ResultSuccess;
}

int32_t CDownHttpBase::ReceiveData() {
    Log("Receiving data......");
    ReportTotalSize(wholeSize_ != -1 ? wholeSize_ : totalSize_);
    int32_t code;
    // Chunked framing wins over a length, as HTTP/1.1 says.
    if (Chunked()) {
        code = ReceiveChunked(true);
    } else if (totalSize_ != -1) {
        code = ReceiveBody(totalSize_ - bytesOnDisk_, true);
    } else {
        code = ReceiveToClose(true);
    }
    if (code != 0) return code;
    if (IsStopRequested()) return ResultUserCancel;
    if (wholeSize_ > bytesOnDisk_) {
        // What came stays for the next resume; the file is not complete.
        Log("The server sent only a part of the rest");
        return ResultTimeOut;
    }
    Log("Receive data success\r\n");
    Log("\r\n------^^^------DOWNLOAD HTTP 80 SUCCESS------------\r\n");
    return ResultSuccess;
}

int32_t CDownHttpBase::ReceivePiece(char* bytes, int32_t want) {
    if (!socket_) return CQmSocket::kFailed;
    // The socket looks at the stop request while it waits (OpenSocket): a wait it gave up for a
    // stop is a stop, not a silent server.
    const int32_t n = socket_->ReceiveAvailable(bytes, want);
    return n == CQmSocket::kTimedOut && IsStopRequested() ? kStopped : n;
}

int32_t CDownHttpBase::ReceiveBody(int64_t count, bool write) {
    if (count < 0) return ResultReceiveError;
    std::vector<char> piece(size_t(count < kPieceSize ? count : kPieceSize));
    while (count > 0) {
        // Whatever arrived is written before the next wait, so a body that ends early or stalls
        // leaves every byte it brought on disk for the resume.
        const int32_t want = int32_t(count < kPieceSize ? count : kPieceSize);
        const int32_t n = ReceivePiece(piece.data(), want);
        if (n == kStopped) return ResultUserCancel;
        if (n <= 0) return ResultTimeOut;
        int32_t code = WritePiece(piece.data(), size_t(n), write);
        if (code != 0) return code;
        count -= n;
        if (IsStopRequested()) return ResultUserCancel;
    }
    return ResultSuccess;
}

int32_t CDownHttpBase::ReceiveToClose(bool write) {
    std::vector<char> piece(kPieceSize);
    for (;;) {
        const int32_t n = ReceivePiece(piece.data(), kPieceSize);
        if (n == kStopped) return ResultUserCancel;
        if (n == 0) return ResultSuccess;  // the server closed: that ends a body of no stated length
        if (n == CQmSocket::kTimedOut) return ResultTimeOut;
        if (n < 0) return ResultReceiveError;
        int32_t code = WritePiece(piece.data(), size_t(n), write);
        if (code != 0) return code;
        if (IsStopRequested()) return ResultUserCancel;
    }
}

int32_t CDownHttpBase::ReceiveChunked(bool write) {
    char line[kChunkLineSize];
    bool any = false;
    for (;;) {
        const int32_t n = socket_ ? socket_->ReadLine(line, sizeof line) : 0;
        if (n == -1) return ResultTimeOut;
        if (n <= 0) {
            Log("Malformed chunk size line");
            return ResultReceiveError;
        }
        int64_t size;
        if (!ParseChunkSize(line, &size)) {
            Log("Malformed chunk size line");
            return ResultReceiveError;
        }
        if (size == 0) break;
        any = true;
        int32_t code = ReceiveBody(size, write);
        if (code != 0) return code;
        // The line end behind the chunk's data.
        const int32_t end = socket_->ReadLine(line, sizeof line);
        if (end == -1) return ResultTimeOut;
        if (end != 1) {
            Log("Malformed chunk end");
            return ResultReceiveError;
        }
    }
    if (!any) return ResultReceiveError;
    // Trailer lines up to the blank one; the body is complete whatever follows.
    for (int i = 0; i < 64; ++i) {
        if (socket_->ReadLine(line, sizeof line) <= 1) break;
    }
    return ResultSuccess;
}
