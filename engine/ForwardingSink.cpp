#include "ForwardingSink.h"

void CForwardingSink::SetTotalSize(int32_t bytes) {
    if (outer_) outer_->SetTotalSize(bytes);
}

void CForwardingSink::SetDownloaded(int32_t bytes) {
    if (outer_) outer_->SetDownloaded(bytes);
}

void CForwardingSink::Succeeded() {
    if (outer_) outer_->Succeeded();
}

void CForwardingSink::Failed(const char* text) {
    if (outer_) outer_->Failed(text);
}

void CForwardingSink::Log(const char* text) {
    if (outer_) outer_->Log(text);
}

void CForwardingSink::SetContentKind(int32_t code) {
    if (outer_) outer_->SetContentKind(code);
}

void CForwardingSink::SetDestFile(const char* path) {
    if (outer_) outer_->SetDestFile(path);
}

void CForwardingSink::SetActiveKind(int32_t kind) {
    if (outer_) outer_->SetActiveKind(kind);
}

bool CForwardingSink::IsStopped() { return outer_ ? outer_->IsStopped() : false; }

void CForwardingSink::Restart() {
    if (outer_) outer_->Restart();
}

void CForwardingSink::SetUrl(const char* url) {
    if (outer_) outer_->SetUrl(url);
}

void CForwardingSink::RunFinished() {}

bool CForwardingSink::MustEnd() { return outer_ ? outer_->MustEnd() : false; }

bool CForwardingSink::FreeDestFile(const char* wanted, char* out) {
    return outer_ ? outer_->FreeDestFile(wanted, out) : IDownloadSink::FreeDestFile(wanted, out);
}
