#include "DownFTP.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>

#include "AsciiText.h"
#include "EngineSettings.h"
#include "NameLookup.h"
#include "UrlModel.h"
#include "UrlRules.h"
#include "sys/BinaryFile.h"
#include "sys/MessageBox.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPieceSize = 4096;
// A reply longer than this without its last line is not an FTP reply.
constexpr size_t kMaxReply = 65536;
// Preliminary (1xx) replies accepted before the one that counts; a server may not stall with them.
constexpr int kMaxPreliminary = 8;

int RemainingMs(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(std::min<long long>(left, INT_MAX));
}

bool HasControlCharacter(const std::string& text) {
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The reply code of a line that begins with three digits, the first 1 to 5; 0 otherwise.
int LineCode(const std::string& line) {
    if (line.size() < 3 || !IsDigit(line[0]) || !IsDigit(line[1]) || !IsDigit(line[2])) return 0;
    if (line[0] < '1' || line[0] > '5') return 0;
    return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

// The sink takes 32-bit sizes.
int32_t Clamp32(uint64_t value) { return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value); }

}  // namespace

const char* FtpStateText(int32_t state) {
    switch (state) {
        case FtpStoppedByUser: return "download stopped by user";
        case FtpSocketInitFailed: return "Can't initialize socket";
        case FtpSocketCreateFailed: return "Can't create socket";
        case FtpConnectFailed: return "Can't connect socket";
        case FtpListenFailed: return "Can't listen socket";
        case FtpFileOpenFailed: return "Can't open local file";
        case FtpBadUrl: return "Invalid character in FTP user, password or path";
        case FtpLoginRefused: return "FTP server refused the login";
        case FtpPortRefused: return "FTP server refused the data port";
        case FtpTypeRefused: return "FTP server refused binary mode";
        case FtpSizeFailed: return "Can't get file size";
        case FtpRetrRefused: return "FTP server refused the file";
        case FtpTimedOut: return "FTP server time out";
        case FtpControlLost: return "FTP connection lost";
        case FtpBadReply: return "Invalid reply from FTP server";
        case FtpTransferIncomplete: return "File transfer incomplete";
        case FtpFileWriteFailed: return "Can't write local file";
        default: return "program error inside:CDownFTP::ReceiveFile";
    }
}

bool CDownFTP::ReturnTrue() { return true; }

void CDownFTP::SetParams(const char* host, const char* user, const char* password, int32_t port,
                         const char* remotePath, const char* localFile) {
    host_ = host ? host : "";
    user_ = user ? user : "";
    password_ = password ? password : "";
    port_ = port;
    remotePath_ = remotePath ? remotePath : "";
    localFile_ = localFile ? localFile : "";
}

// The engine's URL model splits it (so the path may hold ':' and '@'). The job percent-encoded
// the URL; the server wants the names themselves.
void CDownFTP::SetUrl(const char* url, const char* localFile) {
    const std::string text = url ? url : "";
    const UrlParts parts = SplitUrl(text);
    user_ = parts.user.empty() ? "anonymous" : UrlDecode(parts.user);
    password_ = UrlDecode(parts.password);
    host_ = parts.host;
    port_ = RequestPort(text, 21);
    remotePath_ = UrlDecode(GetUrlPath(text));
    localFile_ = localFile ? localFile : "";
}

int32_t CDownFTP::Run(IDownloadSink* sink) {
    sink_ = sink;
    state_ = FtpOk;
    size_ = UINT64_MAX;
    pending_.clear();
    finalReplyRead_ = false;
    if (HasControlCharacter(user_) || HasControlCharacter(password_) || HasControlCharacter(remotePath_)) {
        Log("User, password or path holds a line break or NUL");
        Fail(FtpBadUrl);
    }
    Login();
    ListenData();
    SendPort();
    SendType();
    QuerySize();
    SendRetr();
    ReceiveFile();
    Disconnect();
    const int32_t result = ReportResult();
    sink_ = nullptr;
    return result;
}

void CDownFTP::Fail(int32_t state) {
    if (state_ == FtpOk) state_ = state;
}

void CDownFTP::Log(const std::string& text) {
    if (sink_) sink_->Log(text.c_str());
}

int CDownFTP::TimeOutMs() const { return TimeOutToMs(GetEngineTimeOut()); }

bool CDownFTP::SendCommand(const std::string& line, const std::string& shown) {
    Log(shown);
    const std::string bytes = line + "\r\n";
    const auto deadline = Clock::now() + std::chrono::milliseconds(TimeOutMs());
    size_t sent = 0;
    while (sent < bytes.size()) {
        const int n = control_.Send(bytes.data() + sent, static_cast<int>(bytes.size() - sent));
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n != sys::TcpSocket::kWouldBlock) {
            Fail(FtpControlLost);
            return false;
        }
        const int left = RemainingMs(deadline);
        const sys::WaitResult ready = left > 0 ? control_.Wait(1, left) : sys::WaitResult::TimedOut;
        if (ready == sys::WaitResult::TimedOut) {
            Fail(FtpTimedOut);
            return false;
        }
        if (ready == sys::WaitResult::Failed) {
            Fail(FtpControlLost);
            return false;
        }
    }
    return true;
}

bool CDownFTP::ReadReply(Reply& reply) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(TimeOutMs());
    for (;;) {
        // A reply is complete at the line that carries its code and a blank (or nothing) after it;
        // a "code-" first line opens a multi-line reply.
        size_t start = 0;
        int code = 0;
        bool multi = false;
        for (size_t end; (end = pending_.find('\n', start)) != std::string::npos; start = end + 1) {
            std::string line = pending_.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (start == 0) {
                code = LineCode(line);
                if (code == 0) {
                    Log(pending_.substr(0, std::min<size_t>(end, 200)));
                    Fail(FtpBadReply);
                    return false;
                }
                multi = line.size() > 3 && line[3] == '-';
                if (multi) continue;
            } else if (LineCode(line) != code || (line.size() > 3 && line[3] != ' ')) {
                continue;
            }
            reply.code = code;
            reply.text = pending_.substr(0, end + 1);
            pending_.erase(0, end + 1);
            std::string shown = reply.text;
            shown.erase(std::remove(shown.begin(), shown.end(), '\0'), shown.end());
            Log(TrimRightAscii(shown, "\r\n"));
            return true;
        }
        if (pending_.size() > kMaxReply) {
            Fail(FtpBadReply);
            return false;
        }
        const int left = RemainingMs(deadline);
        const sys::WaitResult ready = left > 0 ? control_.Wait(0, left) : sys::WaitResult::TimedOut;
        if (ready == sys::WaitResult::TimedOut) {
            Log("No reply from server in time");
            Fail(FtpTimedOut);
            return false;
        }
        char piece[kPieceSize];
        const int n = ready == sys::WaitResult::Ready ? control_.Receive(piece, sizeof piece) : sys::TcpSocket::kError;
        if (n > 0) {
            pending_.append(piece, static_cast<size_t>(n));
        } else if (n != sys::TcpSocket::kWouldBlock) {
            Log(n == 0 ? "Server closed the connection" : "Connection to server broken");
            Fail(FtpControlLost);
            return false;
        }
    }
}

bool CDownFTP::Command(const std::string& line, const std::string& shown, int32_t refused, Reply& reply) {
    if (!SendCommand(line, shown) || !ReadReply(reply)) return false;
    if (reply.code / 100 != 2) {
        Fail(refused);
        return false;
    }
    return true;
}

void CDownFTP::Login() {
    if (IsFailed()) return;
    if (!sys::SocketStartup()) {
        Fail(FtpSocketInitFailed);
        return;
    }
    Log("Connecting to server......\r\n");
    // A lookup that hangs must neither outlast the time-out nor keep a stopped run waiting.
    std::string address;
    bool connected =
        LookUpHost(host_, TimeOutMs(), [this] { return sink_ && sink_->IsStopped(); }, address) == LookupResult::Found &&
        control_.StartConnect(address, port_);
    if (connected) {
        connected = control_.Wait(1, TimeOutMs()) == sys::WaitResult::Ready && control_.ConnectSucceeded();
    }
    if (!connected) {
        Log("Can't connect to server");
        Fail(FtpConnectFailed);
        return;
    }
    Reply reply;
    int preliminary = 0;
    do {
        if (!ReadReply(reply)) return;
    } while (reply.code < 200 && ++preliminary <= kMaxPreliminary);  // 120: the greeting follows
    if (reply.code / 100 != 2) {
        Fail(reply.code < 200 ? FtpTimedOut : FtpConnectFailed);
        return;
    }
    if (!SendCommand("USER " + user_, "USER " + user_ + "\r\n") || !ReadReply(reply)) return;
    if (reply.code >= 200 && reply.code < 300) return;  // logged in without a password
    if (reply.code != 331) {
        Fail(FtpLoginRefused);
        return;
    }
    // Only a 2xx completes the login; 332 (an account wanted) is one we cannot give.
    Command("PASS " + password_, "PASS(hide)\r\n", FtpLoginRefused, reply);
}

void CDownFTP::ListenData() {
    if (IsFailed()) return;
    // The data connection comes to the address PORT names; listening there alone is enough.
    std::string address;
    int port = 0;
    if (!control_.LocalAddress(address, port) || !listener_.Listen(address, 0, 5)) Fail(FtpListenFailed);
}

void CDownFTP::SendPort() {
    if (IsFailed()) return;
    std::string address;
    int localPort = 0;
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!control_.LocalAddress(address, localPort) ||
        std::sscanf(address.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d) != 4) {
        Fail(FtpListenFailed);
        return;
    }
    const int port = listener_.Port();
    char line[64];
    std::snprintf(line, sizeof line, "PORT %u,%u,%u,%u,%i,%i", a, b, c, d, (port >> 8) & 0xFF, port & 0xFF);
    Reply reply;
    Command(line, std::string(line) + "\r\n", FtpPortRefused, reply);
}

// Binary: an ASCII transfer rewrites line ends, and servers refuse SIZE in ASCII mode.
void CDownFTP::SendType() {
    if (IsFailed()) return;
    Reply reply;
    Command("TYPE I", "TYPE I\r\n", FtpTypeRefused, reply);
}

void CDownFTP::QuerySize() {
    if (IsFailed()) return;
    Reply reply;
    if (!Command("SIZE " + remotePath_, "SIZE " + remotePath_ + "\r\n", FtpSizeFailed, reply)) return;
    const size_t mark = reply.text.find("213 ");
    if (reply.code != 213 || mark == std::string::npos) {
        Fail(FtpSizeFailed);
        return;
    }
    size_t i = mark + 4;
    while (i < reply.text.size() && reply.text[i] == ' ') ++i;
    uint64_t size = 0;
    size_t digits = 0;
    for (; i < reply.text.size() && IsDigit(reply.text[i]); ++i, ++digits) {
        if (size > (UINT64_MAX - 9) / 10) {
            Fail(FtpSizeFailed);
            return;
        }
        size = size * 10 + static_cast<uint64_t>(reply.text[i] - '0');
    }
    if (digits == 0) {
        Fail(FtpSizeFailed);
        return;
    }
    size_ = size;
    if (sink_) sink_->SetTotalSize(Clamp32(size_));
}

void CDownFTP::SendRetr() {
    if (IsFailed()) return;
    Reply reply;
    if (!SendCommand("RETR " + remotePath_, "RETR " + remotePath_ + "\r\n") || !ReadReply(reply)) return;
    if (reply.code >= 300) {
        Fail(FtpRetrRefused);
        return;
    }
    // A server may skip the preliminary reply and report the finished transfer at once.
    finalReplyRead_ = reply.code >= 200;
}

// Only the server may connect: anyone else reaching the port is turned away. The control connection
// is watched meanwhile, so a server that gives up on the data connection is heard at once.
bool CDownFTP::AcceptData(int timeoutMs) {
    std::string server;
    int serverPort = 0;
    if (!control_.PeerAddress(server, serverPort)) {
        Fail(FtpControlLost);
        return false;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const int left = RemainingMs(deadline);
        if (left == 0) {
            Log("The server did not open the data connection in time");
            Fail(FtpTimedOut);
            return false;
        }
        if (listener_.Accept(transfer_, std::min(left, kStopCheckMs))) {
            std::string peer;
            int peerPort = 0;
            if (!transfer_.PeerAddress(peer, peerPort)) {
                Log("Data connection broken before the transfer");
                Fail(FtpTransferIncomplete);
                return false;
            }
            if (peer == server) return true;
            Log("Data connection from " + peer + " refused");
            transfer_.Close();
            continue;
        }
        // A refusal may already wait in what came with the preliminary reply.
        if (!finalReplyRead_ &&
            (pending_.find('\n') != std::string::npos || control_.Wait(0, 0) == sys::WaitResult::Ready)) {
            Reply reply;
            if (!ReadReply(reply)) return false;
            if (reply.code >= 300) {
                Fail(FtpTransferIncomplete);
                return false;
            }
            finalReplyRead_ = reply.code >= 200;
        }
    }
}

void CDownFTP::ReceiveFile() {
    if (IsFailed()) return;
    const int timeoutMs = TimeOutMs();
    if (!AcceptData(timeoutMs)) return;
    sys::BinaryFile file;
    if (!file.Open(localFile_, false)) {
        Fail(FtpFileOpenFailed);
        return;
    }
    uint64_t received = 0;
    bool askNow = true;  // once per piece: a "No" holds until the next piece arrives
    int idleMs = 0;
    char piece[kPieceSize];
    while (received < size_) {
        // The item is being freed: nobody is left to answer for it.
        if (sink_ && sink_->MustEnd()) {
            Fail(FtpStoppedByUser);
            break;
        }
        if (askNow && sink_ && sink_->IsStopped()) {
            if (sys::AskYesNo("really want to stop to download?", "warning")) {
                Fail(FtpStoppedByUser);
                break;
            }
            askNow = false;
        }
        // In slices, so that the stop request is looked at while the data connection is silent.
        const sys::WaitResult ready = transfer_.Wait(0, kStopCheckMs);
        if (ready == sys::WaitResult::TimedOut) {
            idleMs += kStopCheckMs;
            if (idleMs >= timeoutMs) {
                Log("No data from server in time");
                Fail(FtpTimedOut);
                break;
            }
            continue;
        }
        const int wanted = static_cast<int>(std::min<uint64_t>(sizeof piece, size_ - received));
        const int n = ready == sys::WaitResult::Ready ? transfer_.Receive(piece, wanted) : sys::TcpSocket::kError;
        if (n == sys::TcpSocket::kWouldBlock) continue;
        if (n <= 0) {
            char text[96];
            std::snprintf(text, sizeof text, "Data connection %s after %llu of %llu bytes",
                          n == 0 ? "closed" : "broken", static_cast<unsigned long long>(received),
                          static_cast<unsigned long long>(size_));
            Log(text);
            Fail(FtpTransferIncomplete);
            break;
        }
        if (!file.Write(piece, static_cast<size_t>(n))) {
            Fail(FtpFileWriteFailed);
            break;
        }
        received += static_cast<uint64_t>(n);
        idleMs = 0;
        askNow = true;
        if (sink_) sink_->SetDownloaded(Clamp32(received));
    }
    file.Close();
    if (IsFailed()) return;
    transfer_.Close();
    // The transfer counts once the server confirms it.
    Reply reply;
    for (int preliminary = 0; !finalReplyRead_; ++preliminary) {
        if (!ReadReply(reply)) return;
        if (reply.code >= 300 || (reply.code < 200 && preliminary >= kMaxPreliminary)) {
            Fail(FtpTransferIncomplete);
            return;
        }
        finalReplyRead_ = reply.code >= 200;
    }
}

void CDownFTP::Disconnect() {
    transfer_.Close();
    control_.Close();
    listener_.Close();
    Log("Disconnected\r\n");
}

int32_t CDownFTP::ReportResult() {
    if (sink_) {
        if (state_ == FtpOk) {
            sink_->Succeeded();
        } else {
            sink_->Failed(FtpStateText(state_));
        }
    }
    return state_;
}

FK_DEFINE_FACTORIES(DOWNFTP, CDownFTP)
