#include "PrjMng.h"

#include <cstdio>

#include "TextCopy.h"
#include "sys/FileSystem.h"
#include "sys/Profile.h"

namespace {
const char kDown[] = "Down";

std::string Decimal(int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", int(value));
    return text;
}
}  // namespace

bool CPrjMng::ReturnTrue() { return true; }

void CPrjMng::SetFile(const char* path) { CopyBounded(file_, sizeof file_, path); }

bool CPrjMng::WriteCount(int32_t count) {
    return sys::ProfileWriteString(file_, kDown, "Count", Decimal(count).c_str());
}

bool CPrjMng::WriteItem(int32_t index, const DownItemRecord* record) {
    const std::string section = Decimal(index);
    bool ok = sys::ProfileWriteString(file_, section.c_str(), "URL", record->url);
    ok = sys::ProfileWriteString(file_, section.c_str(), "DestFileName", record->destFile) && ok;
    ok = sys::ProfileWriteString(file_, section.c_str(), "State", Decimal(record->state).c_str()) && ok;
    return ok;
}

int32_t CPrjMng::ReadCount() { return sys::ProfileGetInt(file_, kDown, "Count", 0); }

void CPrjMng::ReadItem(int32_t index, DownItemRecord* out) {
    const std::string section = Decimal(index);
    CopyBounded(out->url, sizeof out->url,
                sys::ProfileGetString(file_, section.c_str(), "URL", "", kUrlSize).c_str());
    // A stored path longer than the field is cut to fit.
    CopyBounded(out->destFile, sizeof out->destFile,
                sys::ProfileGetString(file_, section.c_str(), "DestFileName", "", kUrlSize).c_str());
    out->state = sys::ProfileGetInt(file_, section.c_str(), "State", 0);
}

bool CPrjMng::ReadDestPath(char* out) {
    const std::string dir = sys::ProfileGetString(file_, "DestPath", "Default", "", kPathSize);
    if (!sys::FolderHasEntries(dir)) {
        out[0] = 0;
        return false;
    }
    CopyBounded(out, kPathSize, dir.c_str());
    return true;
}

bool CPrjMng::WriteDestPath(const char* dir) {
    return sys::ProfileWriteString(file_, "DestPath", "Default", dir);
}

int32_t CPrjMng::ReadMaxThread() { return sys::ProfileGetInt(file_, "MaxThread", "Default", 3); }

bool CPrjMng::WriteMaxThread(int32_t count) {
    return sys::ProfileWriteString(file_, "MaxThread", "Default", Decimal(count).c_str());
}

int32_t CPrjMng::ReadTimeOut() { return sys::ProfileGetInt(file_, "TimeOut", "Default", 30); }

bool CPrjMng::WriteTimeOut(int32_t seconds) {
    return sys::ProfileWriteString(file_, "TimeOut", "Default", Decimal(seconds).c_str());
}

bool CPrjMng::ReadProxy(char* server, char* port, uint8_t* enabled) {
    CopyBounded(server, kUrlSize, sys::ProfileGetString(file_, "Proxy", "server", "", kUrlSize).c_str());
    CopyBounded(port, 10, sys::ProfileGetString(file_, "Proxy", "port", "", 10).c_str());
    *enabled = sys::ProfileGetInt(file_, "Proxy", "enable", 0) != 0 ? 1 : 0;
    return *enabled != 0;
}

bool CPrjMng::WriteProxy(const char* server, const char* port, int32_t enable) {
    bool ok = sys::ProfileWriteString(file_, "Proxy", "server", server);
    ok = sys::ProfileWriteString(file_, "Proxy", "port", port) && ok;
    ok = sys::ProfileWriteString(file_, "Proxy", "enable", (enable & 0xFF) ? "1" : "0") && ok;
    return ok;
}

bool CPrjMng::ClearItems() {
    const int32_t count = ReadCount();
    bool ok = sys::ProfileWriteString(file_, kDown, nullptr, nullptr);
    for (int32_t i = 0; i < count; ++i) {
        ok = sys::ProfileWriteString(file_, Decimal(i).c_str(), nullptr, nullptr) && ok;
    }
    return ok;
}

bool CPrjMng::ReadDebug() {
    return !sys::ProfileGetString(file_, kDown, "Debug", "", 20).empty();
}

bool CPrjMng::WriteDebug() {
    sys::ProfileWriteString(file_, kDown, "Debug", "1");
    return true;
}

FK_DEFINE_FACTORIES(PRJMNG, CPrjMng)
