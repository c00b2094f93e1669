// The name the output file is opened under: whatever renamed it (its content kind here, a redirect
// or the stream extension before the run), the file it names is checked as the first name was.
#include "DownBase.h"
#include "EngineLock.h"
#include "EngineTypes.h"
#include "ItemRules.h"
#include "sys/FileSystem.h"

std::string FreeOutputName(IDownloadSink* sink, const std::string& wanted) {
    char out[kPathSize] = {};
    if (sink) return sink->FreeDestFile(wanted.c_str(), out) ? std::string(out) : std::string();
    const std::string name = FileSystemName(wanted);
    return name.size() < kPathSize ? name : std::string();
}

int32_t CDownBase::SettleOutputName() {
    const std::string first = localFile_;
    // A resumed part lies under the present name: a new name would continue an empty file.
    std::string wanted = contentKind_ != 0 && !resuming_ ? FittedName(contentKind_) : first;
    // A name the item's field cannot hold would be cut, and name no file.
    if (wanted.size() >= kPathSize) {
        Log("The new name does not fit the destination: the file keeps its name");
        wanted = first;
    }
    // From the choice until the item holds the name, no other item may take it.
    EngineGuard lock(EngineLock());
    const std::string name = FreeOutputName(sink_, wanted);
    if (name.empty()) {
        Log("No free name for the file");
        return ResultFileError;
    }
    if (DestKey(name) != DestKey(first)) {
        // The part on disk belongs to the item of the same name; this run cannot continue it
        // elsewhere, having asked for the rest.
        if (resuming_) return ResultSameNameNoResume;
        // CheckResume looked at the first name only. A file this large under the new one is kept
        // whether or not it has a record: this run asked for the whole and would truncate it.
        if (sys::FileSize64(name) >= kResumeThreshold) return ResultSameNameNoResume;
    }
    localFile_ = name;
    // The record belongs beside the file under its final name.
    resumeFile_ = RecordNameOf(localFile_);
    if (contentKind_ != 0) ReportContentKind(contentKind_);
    if (contentKind_ != 0 || name != first) ReportFileName(localFile_.c_str());
    return ResultSuccess;
}
