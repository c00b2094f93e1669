// Whole files as bytes, for tests that write fixtures and read back what the engine wrote: as a
// string, or as a byte vector for the media parsers. A file that cannot be read reads as empty.
#pragma once
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::vector<uint8_t> ReadAll(const std::string& path) {
    const std::string bytes = ReadFileBytes(path);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

inline void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
    WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
}
