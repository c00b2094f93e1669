#include "PrjMng.h"

#include <climits>
#include <cstdio>
#include <optional>

#include "EngineSettings.h"
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
// A decimal number in [low, high]; anything else (no digits, a value that would wrap) is nullopt.
std::optional<int32_t> DecimalInRange(const std::string& text, int32_t low, int32_t high) {
    size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos) return std::nullopt;
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+') ++i;
    int64_t value = 0;
    const size_t first = i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t(INT32_MAX) + 1) return std::nullopt;
    }
    if (i == first) return std::nullopt;
    if (negative) value = -value;
    if (value < low || value > high) return std::nullopt;
    return int32_t(value);
}

}  // namespace

int32_t CPrjMng::ReadSetting(const char* section, int32_t def, int32_t low, int32_t high) {
    const std::string text = sys::ProfileGetString(file_, section, "Default", "", 30);
    return DecimalInRange(text, low, high).value_or(def);
}

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

int32_t CPrjMng::ReadMaxThread() {
    return ReadSetting("MaxThread", kMaxThreadDefault, kMaxThreadMin, INT32_MAX);
}

bool CPrjMng::WriteMaxThread(int32_t count) {
    return sys::ProfileWriteString(file_, "MaxThread", "Default", Decimal(count).c_str());
}

int32_t CPrjMng::ReadTimeOut() { return ReadSetting("TimeOut", kTimeOutDefault, kTimeOutMin, INT32_MAX); }

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
    // The saved sections are numbered from 0 without gaps: a damaged Count must not make one save
    // walk millions of sections that are not there.
    for (int32_t i = 0; i < count; ++i) {
        const std::string section = Decimal(i);
        if (sys::ProfileGetString(file_, section.c_str(), "URL", "", kUrlSize).empty()) break;
        ok = sys::ProfileWriteString(file_, section.c_str(), nullptr, nullptr) && ok;
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
