// File-system calls the engine needs beyond stdio.
#pragma once
#include <cstdint>
#include <string>

namespace sys {

// The path as the platform wants it: on POSIX both '\' and '/' separate folders.
std::string NativePath(const std::string& path);

// True when a search for every entry of the folder finds one (so the folder exists and can be read).
bool FolderHasEntries(const std::string& dir);

bool FileExists(const std::string& path);

// Size of the file at path, -1 when it cannot be opened as a file.
int64_t FileSize64(const std::string& path);

// Copies src over dst (dst is replaced).
bool CopyFileOver(const std::string& src, const std::string& dst);

// Moves src onto dst in one step, replacing dst: readers see the old file or the new one, never half.
bool MoveFileOver(const std::string& src, const std::string& dst);

bool RemoveFile(const std::string& path);

}  // namespace sys
