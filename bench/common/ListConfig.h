// The config.ini of the list benchmarks, as a program that has run for a while leaves it: settings
// first, then the list, items in all the states a list holds, with URLs and paths of an everyday
// length.
#pragma once
#include <cstdio>
#include <string>

inline bool WriteListConfig(const std::string& path, const std::string& folder, int items) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fprintf(f, "[DestPath]\r\nDefault=%s\r\n[MaxThread]\r\nDefault=3\r\n[TimeOut]\r\nDefault=30\r\n", folder.c_str());
    std::fprintf(f, "[Proxy]\r\nserver=\r\nport=\r\nenable=0\r\n[Down]\r\nCount=%d\r\n", items);
    const int states[] = {3, 4, 4, 5, 6, 1};
    for (int i = 0; i < items; ++i) {
        std::fprintf(f, "[%d]\r\nURL=http://media.example.net/archive/2026/december/episode-%05d/clip-%05d.asf\r\n", i, i, i);
        std::fprintf(f, "DestFileName=%s\\Downloads\\Shows\\clip-%05d.asf\r\nState=%d\r\n", folder.c_str(), i,
                     states[i % 6]);
    }
    return std::fclose(f) == 0;
}
