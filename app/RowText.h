// The texts and numbers the main window shows for an item, apart from any window.
#pragma once
#include <cstdint>
#include <string>

// Groups of three digits from the right joined by ",": 1234567 -> 1,234,567.
std::string GroupDigits(const std::string& text);

// Splits at the last backslash: the directory with its backslash goes into dir (no terminator is
// added; callers pass zero-filled buffers), the file name, terminated, into name. False, and
// nothing written, when the path has no backslash.
bool SplitPath(const char* path, char* dir, char* name);
// The file-name part of a path ("" when it has no backslash).
std::string FileNamePart(const char* path);

// "Size": "Unknown" for an undetermined size, else the grouped digits.
std::string SizeCell(int32_t totalSize);
// "Percent": false when the cell keeps its text (size not yet reported).
bool PercentCell(int32_t totalSize, int32_t downloaded, std::string& text);

// A log without the line break that closes it; a text shorter than that becomes empty.
std::string WithoutLastLineBreak(const char* text, size_t length);

// Cells of the block chart: one per 1024 bytes, at least one once a size is known.
struct ChartCounts {
    int32_t total, comed;
};
ChartCounts ChartCells(int32_t totalSize, int32_t downloaded);
