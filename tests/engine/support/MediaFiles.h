// The real media files under tests/fixtures/media, and what ffmpeg makes of a file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The fixture folder with a trailing separator (through drive Z: under Wine).
std::string MediaDir();
std::vector<uint8_t> ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes);

#ifndef _WIN32
// ffmpeg's per-packet lines for a file (-f framecrc with the given options), without the lines
// that name the input. Needs the native ffmpeg, so the Windows build leaves it out.
std::string Framecrc(const std::string& path, const std::string& options,
                     const std::string& inputOptions = "");
#endif
