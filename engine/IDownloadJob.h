// One run of one item, on a worker thread of its own.
#pragma once
#include <cstdint>

#include "EngineObject.h"
#include "IDownloadSink.h"

class IDownloadJob : public IEngineObject {
public:
    // Answers true; nothing calls it: kept for the table's layout.
    virtual bool FK_STDCALL ReturnTrue() = 0;
    virtual bool FK_STDCALL Set(const char* url, const char* destFile, int32_t kind) = 0;
    // Starts the worker thread, which runs the job, calls the sink's RunFinished and releases the
    // job. True when the thread started; false when none could be (the job then has reported the
    // failure through the sink and released itself). Nothing of the job or its thread is handed
    // out: the worker may have freed both by the time this returns.
    virtual bool FK_STDCALL RunThread(IDownloadSink* sink) = 0;
    virtual void FK_STDCALL Run(IDownloadSink* sink) = 0;

protected:
    ~IDownloadJob() = default;
};
