// A download sink that records every report of a run, for driving downloaders and jobs directly.
// Safe to read from the test thread while a worker reports.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "IDownloadSink.h"

class RecordingSink final : public IDownloadSink {
public:
    void FK_STDCALL SetTotalSize(int32_t bytes) override {
        std::lock_guard<std::mutex> g(lock_);
        totals.push_back(bytes);
    }
    void FK_STDCALL SetDownloaded(int32_t bytes) override {
        std::function<void(int32_t)> hook;
        {
            std::lock_guard<std::mutex> g(lock_);
            progress.push_back(bytes);
            hook = onProgress;
        }
        if (hook) hook(bytes);
    }
    void FK_STDCALL Succeeded() override {
        std::lock_guard<std::mutex> g(lock_);
        ++succeeded;
        calls.push_back("Succeeded");
    }
    void FK_STDCALL Failed(const char* text) override {
        std::lock_guard<std::mutex> g(lock_);
        failures.push_back(text ? text : "");
        calls.push_back("Failed");
    }
    void FK_STDCALL Log(const char* text) override {
        std::lock_guard<std::mutex> g(lock_);
        logs.push_back(text ? text : "");
    }
    void FK_STDCALL SetContentKind(int32_t code) override {
        std::lock_guard<std::mutex> g(lock_);
        contentKinds.push_back(code);
    }
    void FK_STDCALL SetDestFile(const char* path) override {
        std::lock_guard<std::mutex> g(lock_);
        destFiles.push_back(path ? path : "");
    }
    void FK_STDCALL SetActiveKind(int32_t kind) override {
        std::lock_guard<std::mutex> g(lock_);
        activeKinds.push_back(kind);
    }
    bool FK_STDCALL IsStopped() override { return stop; }
    void FK_STDCALL Restart() override {
        std::lock_guard<std::mutex> g(lock_);
        ++restarts;
        calls.push_back("Restart");
    }
    void FK_STDCALL SetUrl(const char* url) override {
        std::lock_guard<std::mutex> g(lock_);
        urls.push_back(url ? url : "");
    }
    void FK_STDCALL RunFinished() override {
        if (onRunFinished) onRunFinished();
        std::lock_guard<std::mutex> g(lock_);
        calls.push_back("RunFinished");
        finishedOn = std::this_thread::get_id();
        finished = true;
    }
    bool FK_STDCALL MustEnd() override { return mustEnd; }

    // The whole log as one text.
    std::string LogText() const {
        std::lock_guard<std::mutex> g(lock_);
        std::string all;
        for (const auto& line : logs) all += line + "\n";
        return all;
    }
    bool Finished() const {
        std::lock_guard<std::mutex> g(lock_);
        return finished;
    }

    std::vector<int32_t> totals, progress, contentKinds, activeKinds;
    std::vector<std::string> failures, logs, destFiles, urls, calls;
    int succeeded = 0;
    int restarts = 0;
    std::atomic<bool> stop{false};
    std::atomic<bool> mustEnd{false};
    bool finished = false;
    std::thread::id finishedOn;
    std::function<void(int32_t)> onProgress;  // called on the reporting thread, outside the lock
    std::function<void()> onRunFinished;      // likewise

private:
    mutable std::mutex lock_;
};
