// A fresh folder under the system's temporary directory, removed with everything in it at the end.
#pragma once
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

class TempDir {
public:
    TempDir() {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                ("fk-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // A path inside the folder, in the platform's own spelling.
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    // The folder with a trailing separator, as destination folders are passed.
    std::string Dir() const { return (path_ / "").string(); }

private:
    std::filesystem::path path_;
};
