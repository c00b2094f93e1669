#include "DownBase.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <utility>

#include "AsciiText.h"
#include "Base64.h"
#include "EngineSettings.h"
#include "Factories.h"
#include "ItemRules.h"
#include "PathParts.h"
#include "TextNumbers.h"
#include "UrlModel.h"
#include "UrlRules.h"
#include "sys/FileSystem.h"

namespace {

struct ResultEntry {
    int32_t code;
    const char* text;
};

const ResultEntry kResultTexts[] = {
    {ResultMemoryError, "MEMORY ERROR"},
    {ResultFileError, "FILE ERROR"},
    {ResultUserCancel, "USER CANCEL THE OPERATION"},
    {ResultConnectError, "CONNECT TO SERVER ERROR"},
    {ResultShakeHandError, "SHAKE HAND ERROR"},
    {ResultReceiveError, "RECEIVE DATA ERROR"},
    {ResultInternalError, "INTERNAL ERROR"},
    {ResultTimeOut, "RECEIVE DATA TIME OUT"},
    {ResultInvalidPack, "GET INVALID PACK"},
    {ResultSameNameNoResume, "You have a same name file and can not resume."},
};

const char kRedirectedText[] = "REDIRECTED\r\n";

struct TypeRow {
    const char* prefix;
    int32_t kind;
};

const TypeRow kContentTypes[] = {
    {"text/html", ContentHtml},
    {"video/x-ms-asf", ContentAsf},
    {"audio/x-ms-asx", ContentAsf},
    {"video/x-ms-wmv", ContentAsf},
    {"audio/x-ms-wax", ContentWax},
    {"video/x-ms-wmp", ContentWax},
    {"video/x-ms-wvx", ContentWvx},
    {"application/smil", ContentSmil},
    {"application/vnd.rn-rmadriver", ContentSmil},
    {"audio/x-pn-realaudio", ContentReal},
    {"video/x-pn-realvideo", ContentReal},
    {"video/quicktime", ContentQuickTime},
    {"application/octet-stream", ContentOctet},
    {"application/x-mms-framed", ContentOctet},
    {"audio/X-MP3-draft-00", ContentMp3},
};

const TypeRow kExtensions[] = {
    {"ASF", ContentAsf}, {"ASX", ContentAsf}, {"HTM", ContentHtml}, {"HTML", ContentHtml},
    {"RAM", ContentReal}, {"SMI", ContentSmil}, {"SMIL", ContentSmil}, {"WAX", ContentWax},
};

struct ExtensionRow {
    int32_t kind;
    const char* extensions[3];  // preferred first, null-ended
};

const ExtensionRow kFittingExtensions[] = {
    {ContentWax, {".wax", nullptr}},
    {ContentWvx, {".wvx", ".wmx", nullptr}},
    {ContentHtml, {".htm", ".html", nullptr}},
    {ContentAsf, {".asx", ".asf", nullptr}},
    {ContentReal, {".ram", ".ra", ".rm"}},
    {ContentSmil, {".smil", ".smi", nullptr}},
    {ContentMp3, {".rm", nullptr}},
};

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// The number of a resume record's line, saturated; a CR before the LF does not disturb it.
int32_t RecordNumber(const std::string& line) {
    return int32_t(std::clamp<int64_t>(LeadingDecimal(line).value_or(0), -INT32_MAX, INT32_MAX));
}

// The resume record of a file: a text file beside it, named as the file followed by ".ini".
std::string ResumeRecordOf(const std::string& file) { return RecordNameOf(file); }

int32_t ToSinkSize(int64_t bytes) {
    if (bytes < 0) return -1;
    return bytes > INT32_MAX ? -1 : static_cast<int32_t>(bytes);
}

}  // namespace

const char* DownResultText(int32_t code) {
    if (code == ResultSuccess || code == ResultRedirected) return nullptr;
    for (const auto& entry : kResultTexts) {
        if (entry.code == code) return entry.text;
    }
    return "UNDEFINED ERROR";
}

CDownBase::CDownBase() { headerBytes_.SetBlockSize(256); }

CDownBase::~CDownBase() { CDownBase::Close(); }

void CDownBase::SetUrl(const char* url, const char* localFile) {
    url_ = url ? url : "";
    requestUrl_ = UrlWithoutLogin(url_);
    user_ = GetUrlUser(url_);
    password_ = GetUrlPassword(url_);
    localFile_ = localFile ? localFile : "";
}

int32_t CDownBase::Run(IDownloadSink* sink) {
    sink_ = sink;
    int32_t code = IsStopRequested() ? ResultUserCancel : RunSteps();
    if (code == kStartFromZero) code = RunAfresh();
    // A run that failed while the user was stopping it (a wait that ran out, say) was stopped.
    if (code != ResultSuccess && code != ResultRedirected && IsStopRequested()) code = ResultUserCancel;
    Close();
    ResultText(code);
    sink_ = nullptr;
    return code;
}

int32_t CDownBase::RunAfresh() {
    // The file on disk cannot be continued by this stream; a second refusal is not met by a third try.
    Close();
    ForgetRun();
    freshStart_ = true;
    const int32_t code = IsStopRequested() ? ResultUserCancel : RunSteps();
    return code == kStartFromZero ? ResultReceiveError : code;
}

int32_t CDownBase::RunSteps() {
    // SetUrl had no request URL that fits: a cut one would fetch what nobody named.
    if (requestUrl_.empty()) {
        Log("URL too long");
        return ResultShakeHandError;
    }
    int32_t code = ResultSuccess;
    if ((code = Begin()) == 0 && (code = Connect()) == 0 && (code = CheckResume()) == 0 &&
        (code = Handshake()) == 0 && (code = OpenOutput()) == 0) {
        // The record exists from the first received byte on, so a run killed while receiving
        // still leaves a file that can be resumed.
        SaveResumeInfo();
        code = ReceiveData();
        // A stop seen at the very end keeps the record too: without it the whole file would
        // count as a foreign one of the same name, and the item could never finish.
        if (code == 0 && IsStopRequested()) code = ResultUserCancel;
        if (code != 0) {
            SaveResumeInfo();
        } else {
            DeleteResumeInfo();
        }
    }
    return code;
}

void CDownBase::ForgetRun() {
    resuming_ = false;
    lastTimestampMs_ = 0;
    packetsWritten_ = 0;
    bytesOnDisk_ = 0;
    totalSize_ = -1;
    headerBytes_.Reset();
    packetSize_ = 0;
    packetCount_ = 0;
    resumePointPassed_ = false;
    overlap_.clear();
    overlapSeen_ = 0;
    askPacket_ = askTimeMs_ = 0;
    lastPacket_.clear();
    ReportProgress(0);
}

int32_t CDownBase::Begin() {
    Close();
    return OpenSocket();
}

int32_t CDownBase::OpenSocket() {
    EnginePtr<CQmSocket> socket(static_cast<CQmSocket*>(NEW_CQMSOCKET()));
    if (!socket) return ResultMemoryError;
    // A download never waits without limit, whatever the setting says.
    socket->SetTimeOut(BoundedTimeOut(GetEngineTimeOut()));
    socket->SetStopCheck([this] { return IsStopRequested(); });
    socket_ = std::move(socket);
    return ResultSuccess;
}

int32_t CDownBase::Connect() {
    const std::string host = GetUrlHost(requestUrl_);
    const int port = RequestPort(requestUrl_, port_);
    LogFormat("Connecting to %s : %d......", host.c_str(), port);
    if (!socket_ || !socket_->Connect(host.c_str(), port)) return ResultConnectError;
    Log("Connect to server success\r\n");
    return IsStopRequested() ? ResultUserCancel : ResultSuccess;
}

int32_t CDownBase::CheckResume() {
    resumeFile_ = ResumeRecordOf(localFile_);
    const int64_t size = sys::FileSize64(localFile_);
    if (size < kResumeThreshold || freshStart_) return ResultSuccess;
    if (!sys::FileExists(resumeFile_)) return ResultSameNameNoResume;
    if (!ReadResumeInfo()) return ResultSuccess;
    bytesOnDisk_ = size;
    ReportProgress(size);
    resuming_ = true;
    return ResultSuccess;
}

bool CDownBase::ReadResumeInfo() {
    std::ifstream in(sys::NativePath(resumeFile_), std::ios::binary);
    if (!in) return false;
    std::string line;
    if (!std::getline(in, line)) return false;
    if (!std::getline(in, line)) return false;
    lastTimestampMs_ = RecordNumber(line);
    if (!std::getline(in, line)) return false;
    packetsWritten_ = RecordNumber(line);
    return true;
}

int32_t CDownBase::SaveResumeInfo() {
    if (resumeFile_.empty()) resumeFile_ = ResumeRecordOf(localFile_);
    std::ofstream out(sys::NativePath(resumeFile_), std::ios::binary | std::ios::trunc);
    if (out) out << protocolKind_ << "\r\n" << lastTimestampMs_ << "\r\n" << packetsWritten_;
    return ResultSuccess;
}

int32_t CDownBase::DeleteResumeInfo() {
    if (resumeFile_.empty()) resumeFile_ = ResumeRecordOf(localFile_);
    sys::RemoveFile(resumeFile_);
    return ResultSuccess;
}

int32_t CDownBase::Exchange(const void* request, int32_t length, CByteBuffer* reply) {
    if (!socket_ || !socket_->SendAll(request, length)) return ResultTimeOut;
    if (!reply) return ResultInternalError;
    reply->Reset();
    if (socket_->ReceiveBlock(reply) <= 0) return ResultTimeOut;
    return ResultSuccess;
}

std::string CDownBase::MakeAuthorization() {
    if (user_.empty()) return std::string();
    std::string login = user_;
    if (!password_.empty()) login += ":" + password_;
    // The encoded value has a 512-byte area: at most 381 characters of login.
    if (login.size() > 381) login.resize(381);
    char encoded[512];
    Base64Encode(login.c_str(), encoded);
    return std::string("Authorization: Basic ") + encoded + "\r\n";
}



int32_t CDownBase::DetectContentFormat(const std::string& contentType, const std::string& extensionUpper) {
    for (const auto& row : kContentTypes) {
        if (StartsWith(contentType, row.prefix)) return row.kind;
    }
    const std::string upper = UpperAscii(contentType);
    if (upper.find("MP3") != std::string::npos) return ContentMp3;
    if (upper.find("REAL") != std::string::npos) return ContentReal;
    for (const auto& row : kExtensions) {
        if (StartsWith(extensionUpper, row.prefix)) return row.kind;
    }
    return ContentUnknown;
}

std::string CDownBase::FittedName(int32_t kind) const {
    const ExtensionRow* row = nullptr;
    for (const auto& candidate : kFittingExtensions) {
        if (candidate.kind == kind) row = &candidate;
    }
    if (!row) return localFile_;
    const size_t dot = ExtensionDot(localFile_);
    if (dot == std::string::npos) return localFile_ + row->extensions[0];
    const std::string extension = localFile_.substr(dot);
    for (const char* accepted : row->extensions) {
        if (accepted && EqualsNoCase(extension, accepted)) return localFile_;
    }
    return localFile_.substr(0, dot) + row->extensions[0];
}

int32_t CDownBase::OpenOutput() {
    if (contentKind_ == 0 && !contentType_.empty()) {
        contentKind_ = DetectContentFormat(contentType_, GetUrlExtensionUpper(requestUrl_));
    }
    if (const int32_t code = SettleOutputName()) return code;
    if (!outputFile_.Open(localFile_, resuming_)) return ResultFileError;
    if (!outputFile_.SeekEnd()) return ResultFileError;
    return ResultSuccess;
}

bool CDownBase::WriteOutput(const void* bytes, size_t count) { return outputFile_.Write(bytes, count); }

bool CDownBase::RestartOutput() {
    resuming_ = false;
    bytesOnDisk_ = 0;
    ReportProgress(0);
    return !outputFile_.IsOpen() || outputFile_.Truncate();
}

void CDownBase::Close() {
    socket_.reset();
    outputFile_.Close();
    asfParser_.reset();
}

int32_t CDownBase::SetStreamHeader(const uint8_t* bytes, int32_t length) {
    asfParser_.reset();
    if (!bytes || length < 0) return ResultReceiveError;
    asfParser_ = CAsfParser::Create(bytes, size_t(length));
    if (!asfParser_) return ResultMemoryError;
    packetSize_ = asfParser_->GetMaxPacketSize();
    totalSize_ = asfParser_->GetFileSize();
    packetCount_ = asfParser_->GetDataPacketCount();
    if (asfParser_->IsBroadcast()) {
        // A live stream's header counts and sizes nothing (VLC's says 0xFFFFFFFF packets): it is
        // received until it ends, its size unknown.
        packetCount_ = 0;
        totalSize_ = -1;
    }
    if (packetSize_ > kMaxPacketSize) {
        Log("Pack size so large.");
        return ResultReceiveError;
    }
    return ResultSuccess;
}

void CDownBase::ReportProgress(int64_t bytes) {
    if (sink_) sink_->SetDownloaded(bytes > INT32_MAX ? INT32_MAX : ToSinkSize(bytes));
}

void CDownBase::ReportTotalSize(int64_t bytes) {
    if (sink_) sink_->SetTotalSize(ToSinkSize(bytes));
}

bool CDownBase::IsStopRequested() { return sink_ ? sink_->IsStopped() : false; }

void CDownBase::ReportContentKind(int32_t kind) {
    if (sink_) sink_->SetContentKind(kind);
}

void CDownBase::ReportFileName(const char* path) {
    if (sink_) sink_->SetDestFile(path);
}

void CDownBase::Log(const char* text) {
    if (sink_) sink_->Log(text);
}

void CDownBase::LogFormat(const char* format, ...) {
    char text[4096];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Log(text);
}

void CDownBase::ResultText(int32_t code) {
    if (!sink_) return;
    if (code == ResultSuccess) {
        sink_->Succeeded();
    } else if (code == ResultRedirected) {
        sink_->Log(kRedirectedText);
    } else {
        sink_->Failed(DownResultText(code));
    }
}
