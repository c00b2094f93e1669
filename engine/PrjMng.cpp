#include "PrjMng.h"

#include <climits>
#include <cstdio>
#include <optional>

#include "EngineSettings.h"
#include "TextCopy.h"
#include "TextNumbers.h"
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
    const std::optional<int64_t> value = LeadingDecimal(text);
    if (!value || *value < low || *value > high) return std::nullopt;
    return int32_t(*value);
}

}  // namespace

std::string CPrjMng::GetString(const char* section, const char* key, size_t bufferSize) {
    if (edit_) return edit_->GetString(section, key, "", bufferSize);
    return sys::ProfileGetString(file_, section, key, "", bufferSize);
}

int CPrjMng::GetInt(const char* section, const char* key, int def) {
    return edit_ ? edit_->GetInt(section, key, def) : sys::ProfileGetInt(file_, section, key, def);
}

bool CPrjMng::WriteString(const char* section, const char* key, const char* value) {
    if (!edit_) return sys::ProfileWriteString(file_, section, key, value);
    edit_->Write(section, key, value);
    return true;
}

bool CPrjMng::BeginEdit() {
    auto text = std::make_unique<sys::ProfileText>();
    if (text->Load(file_) == sys::ProfileText::Loaded::kUnreadable || text->Utf16()) return false;
    edit_ = std::move(text);
    return true;
}

bool CPrjMng::EndEdit(const char* path) {
    if (!edit_) return false;
    const bool stored = edit_->Store(path);
    edit_.reset();
    return stored;
}

int32_t CPrjMng::ReadSetting(const char* section, int32_t def, int32_t low, int32_t high) {
    const std::string text = GetString(section, "Default", 30);
    return DecimalInRange(text, low, high).value_or(def);
}

bool CPrjMng::ReturnTrue() { return true; }

void CPrjMng::SetFile(const char* path) { CopyBounded(file_, sizeof file_, path); }

bool CPrjMng::WriteCount(int32_t count) {
    return WriteString(kDown, "Count", Decimal(count).c_str());
}

bool CPrjMng::WriteItem(int32_t index, const DownItemRecord* record) {
    const std::string section = Decimal(index);
    bool ok = WriteString(section.c_str(), "URL", record->url);
    ok = WriteString(section.c_str(), "DestFileName", record->destFile) && ok;
    ok = WriteString(section.c_str(), "State", Decimal(record->state).c_str()) && ok;
    return ok;
}

int32_t CPrjMng::ReadCount() { return GetInt(kDown, "Count", 0); }

void CPrjMng::ReadItem(int32_t index, DownItemRecord* out) {
    const std::string section = Decimal(index);
    CopyBounded(out->url, sizeof out->url,
                GetString(section.c_str(), "URL", kUrlSize).c_str());
    // A stored path longer than the field is cut to fit.
    CopyBounded(out->destFile, sizeof out->destFile,
                GetString(section.c_str(), "DestFileName", kUrlSize).c_str());
    out->state = GetInt(section.c_str(), "State", 0);
}

bool CPrjMng::ReadDestPath(char* out) {
    const std::string dir = GetString("DestPath", "Default", kPathSize);
    if (!sys::FolderHasEntries(dir)) {
        out[0] = 0;
        return false;
    }
    CopyBounded(out, kPathSize, dir.c_str());
    return true;
}

bool CPrjMng::WriteDestPath(const char* dir) {
    return WriteString("DestPath", "Default", dir);
}

int32_t CPrjMng::ReadMaxThread() {
    return ReadSetting("MaxThread", kMaxThreadDefault, kMaxThreadMin, INT32_MAX);
}

bool CPrjMng::WriteMaxThread(int32_t count) {
    return WriteString("MaxThread", "Default", Decimal(count).c_str());
}

int32_t CPrjMng::ReadTimeOut() { return ReadSetting("TimeOut", kTimeOutDefault, kTimeOutMin, INT32_MAX); }

bool CPrjMng::WriteTimeOut(int32_t seconds) {
    return WriteString("TimeOut", "Default", Decimal(seconds).c_str());
}

bool CPrjMng::ReadProxy(char* server, char* port, uint8_t* enabled) {
    CopyBounded(server, kUrlSize, GetString("Proxy", "server", kUrlSize).c_str());
    CopyBounded(port, kPortTextSize, GetString("Proxy", "port", kPortTextSize).c_str());
    *enabled = GetInt("Proxy", "enable", 0) != 0 ? 1 : 0;
    return *enabled != 0;
}

bool CPrjMng::WriteProxy(const char* server, const char* port, int32_t enable) {
    bool ok = WriteString("Proxy", "server", server);
    ok = WriteString("Proxy", "port", port) && ok;
    ok = WriteString("Proxy", "enable", (enable & 0xFF) ? "1" : "0") && ok;
    return ok;
}

bool CPrjMng::ClearItems() {
    const int32_t count = ReadCount();
    bool ok = WriteString(kDown, nullptr, nullptr);
    // The saved sections are numbered from 0 without gaps: a damaged Count must not make one save
    // walk millions of sections that are not there.
    for (int32_t i = 0; i < count; ++i) {
        const std::string section = Decimal(i);
        if (GetString(section.c_str(), "URL", kUrlSize).empty()) break;
        ok = WriteString(section.c_str(), nullptr, nullptr) && ok;
    }
    return ok;
}

bool CPrjMng::ReadDebug() {
    return !GetString(kDown, "Debug", 20).empty();
}

bool CPrjMng::WriteDebug() {
    WriteString(kDown, "Debug", "1");
    return true;
}

FK_DEFINE_FACTORIES(PRJMNG, CPrjMng)
