// The cost of one save of the download list (the manager's SaveProject into config.ini) with many
// items: a settings file with the settings sections and `items` saved items is written, loaded
// into a manager, and then saved `rounds` times, each save timed on its own.
//   save_driver FOLDER [items=500] [rounds=20]
// Prints the median and the mean in milliseconds, and the file's size.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "../common/ListConfig.h"
#include "Factories.h"
#include "Fetchkeeper.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [items=500] [rounds=20]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const int items = argc > 2 ? std::atoi(argv[2]) : 500;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 20;
    const std::string config = folder + "/config.ini";
    if (!WriteListConfig(config, folder, items)) return 2;
    auto* manager = static_cast<CFetchkeeper*>(NEW_FETCHKEEPER());
    if (!manager || !manager->LoadProject(config.c_str()) || manager->GetCount() != items) {
        std::fprintf(stderr, "the list did not load\n");
        return 1;
    }
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto from = std::chrono::steady_clock::now();
        const bool saved = manager->SaveProject(config.c_str());
        const auto to = std::chrono::steady_clock::now();
        if (!saved) {
            std::fprintf(stderr, "save %d failed\n", i);
            return 1;
        }
        times.push_back(std::chrono::duration<double, std::milli>(to - from).count());
    }
    manager->Release();
    // What was saved loads back whole.
    auto* check = static_cast<CFetchkeeper*>(NEW_FETCHKEEPER());
    if (!check || !check->LoadProject(config.c_str()) || check->GetCount() != items) {
        std::fprintf(stderr, "the saved list did not load back\n");
        return 1;
    }
    check->Release();
    std::FILE* f = std::fopen(config.c_str(), "rb");
    long size = -1;
    if (f) {
        std::fseek(f, 0, SEEK_END);
        size = std::ftell(f);
        std::fclose(f);
    }
    std::sort(times.begin(), times.end());
    const double mean = std::accumulate(times.begin(), times.end(), 0.0) / double(times.size());
    std::printf("save of %d items: median %9.2f ms  mean %9.2f ms  (%d saves, file %ld bytes)\n", items,
                times[times.size() / 2], mean, rounds, size);
    return 0;
}
