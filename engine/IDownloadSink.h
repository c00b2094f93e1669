// What a running download reports to its item. Slot order is shared by every downloader.
#pragma once
#include <cstdint>

#include "EngineTypes.h"
#include "ItemRules.h"
#include "TextCopy.h"

class IDownloadSink {
public:
    virtual void FK_STDCALL SetTotalSize(int32_t bytes) = 0;
    virtual void FK_STDCALL SetDownloaded(int32_t bytes) = 0;
    virtual void FK_STDCALL Succeeded() = 0;
    virtual void FK_STDCALL Failed(const char* text) = 0;
    virtual void FK_STDCALL Log(const char* text) = 0;
    virtual void FK_STDCALL SetContentKind(int32_t code) = 0;
    virtual void FK_STDCALL SetDestFile(const char* path) = 0;
    virtual void FK_STDCALL SetActiveKind(int32_t kind) = 0;
    virtual bool FK_STDCALL IsStopped() = 0;
    virtual void FK_STDCALL Restart() = 0;
    virtual void FK_STDCALL SetUrl(const char* url) = 0;
    // Last call of a run's worker thread: after it the run never touches the sink again, so the
    // item may be freed. Appended after the reporting slots so their numbers stay as they are.
    virtual void FK_STDCALL RunFinished() = 0;
    // True when the run must end at once, without asking the user whether to stop: its item is
    // being freed (the list is cleared or the manager released). IsStopped is true then as well.
    virtual bool FK_STDCALL MustEnd() = 0;
    // Before a run names its file anew: `out` (kPathSize bytes) gets the name the file may have,
    // `wanted` in FileSystemName's form or, when another item of the list holds it as its
    // destination or resume record, its first free numbered name; false when none fits. The
    // caller holds the engine lock until it has reported the name with SetDestFile, so the name
    // stays free. A sink without a list behind it frees every name that fits.
    virtual bool FK_STDCALL FreeDestFile(const char* wanted, char* out) {
        const std::string name = FileSystemName(wanted ? wanted : "");
        if (name.empty() || name.size() >= kPathSize) return false;
        CopyBounded(out, kPathSize, name);
        return true;
    }

protected:
    ~IDownloadSink() = default;
};
