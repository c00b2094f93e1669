// Whether a folder holds entries, by the Win32 search for "\*.*": the settings store's test of its
// stored folder (sys::FolderHasEntries) and the options dialog's. Inline, so the program, which
// binds the engine only at run time, builds it from this one place.
#pragma once
#include <windows.h>

#include <string>

// True when a search for folder + "\*.*" finds an entry (so the folder exists and can be read);
// false for an empty text.
inline bool DirectoryHasEntry(const std::string& folder) {
    if (folder.empty()) return false;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}
