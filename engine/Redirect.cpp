#include "Redirect.h"

#include "Factories.h"
#include "ParsePointerFile.h"
#include "PathParts.h"

bool CRedirect::Init() {
    host_ = nullptr;
    return true;
}

bool CRedirect::ReturnTrue() { return true; }

void CRedirect::Run(const char* url, const char* destFile, int32_t contentKind, IItemHost* host) {
    host_ = host;
    const std::string dest = destFile ? destFile : "";
    destDir_ = FolderOf(dest);
    EnginePtr<CParsePointerFile> parser(static_cast<CParsePointerFile*>(NEW_PARSEPOINTERFILE()));
    if (!parser) return;
    parser->Set(dest.c_str(), url ? url : "", contentKind);
    parser->Parse(this);
}

void CRedirect::AddUrl(const char* url, int32_t kind) {
    if (host_ && url) host_->AddFoundItem(url, destDir_.c_str(), kind);
}

void CRedirect::AddUrlDefault(const char* url) { AddUrl(url, KindFromUrl); }

FK_DEFINE_FACTORIES(REDIRECT, CRedirect)
