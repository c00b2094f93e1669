// Reads and writes "config.ini": the saved download list and the settings. Every operation opens
// and closes the file; the store keeps nothing but the path (and, while a save edits it, the text).
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "EngineObject.h"
#include "EngineTypes.h"
#include "sys/ProfileText.h"

class CPrjMng final : public EngineObject<CPrjMng> {
public:
    // Answers true; nothing calls it: kept for the table's layout.
    virtual bool FK_STDCALL ReturnTrue();
    virtual void FK_STDCALL SetFile(const char* path);
    // The writers answer whether every write went through (callers may ignore it).
    virtual bool FK_STDCALL WriteCount(int32_t count);
    virtual bool FK_STDCALL WriteItem(int32_t index, const DownItemRecord* record);
    virtual int32_t FK_STDCALL ReadCount();
    virtual void FK_STDCALL ReadItem(int32_t index, DownItemRecord* out);
    virtual bool FK_STDCALL ReadDestPath(char* out);
    virtual bool FK_STDCALL WriteDestPath(const char* dir);
    virtual int32_t FK_STDCALL ReadMaxThread();
    virtual bool FK_STDCALL WriteMaxThread(int32_t count);
    virtual int32_t FK_STDCALL ReadTimeOut();
    virtual bool FK_STDCALL WriteTimeOut(int32_t seconds);
    virtual bool FK_STDCALL ReadProxy(char* server, char* port, uint8_t* enabled);
    virtual bool FK_STDCALL WriteProxy(const char* server, const char* port, int32_t enable);
    virtual bool FK_STDCALL ClearItems();
    virtual bool FK_STDCALL ReadDebug();
    virtual bool FK_STDCALL WriteDebug();

    const char* File() const { return file_; }

    // While an edit is open every read and write goes to the file's text held in memory, so that
    // many reads or writes (a whole list) cost one read and one write of the file. Begins one on
    // the file's text (a missing file is an empty text); false, with no edit open, when the file
    // cannot be read or is a text that must be left to the profile calls (UTF-16). An edit that is
    // not ended writes nothing.
    bool BeginEdit();
    // Ends the edit by writing the text to path (created or replaced); false when that failed.
    bool EndEdit(const char* path);

private:
    std::string GetString(const char* section, const char* key, size_t bufferSize);
    int GetInt(const char* section, const char* key, int def);
    bool WriteString(const char* section, const char* key, const char* value);

    // [section] Default as a number in [low, high]; def when absent, not a number, or out of range.
    int32_t ReadSetting(const char* section, int32_t def, int32_t low, int32_t high);

    char file_[kPathSize] = {};
    std::unique_ptr<sys::ProfileText> edit_;
};
