// The size of a file as a reader of it sees it.
#pragma once
#include <string>

// Byte length of the file, -1 when it cannot be opened for reading. Lengths beyond the range of
// long (a 32-bit long on Windows) are reported as LONG_MAX.
long GetFileSize(const std::string& path);
