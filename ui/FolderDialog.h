// The folder chooser with a field in which a folder may be typed, and what it does with a typed
// folder that does not exist yet.
#pragma once
#include <windows.h>

#include <string>

namespace ui {

enum TSelectDirOpt : unsigned {
    sdAllowCreate = 1,    // a typed folder that does not exist is accepted
    sdPerformCreate = 2,  // ... and created
    sdPrompt = 4,         // ... after the user agrees
};

// Opens the shell's folder chooser at `directory`; a confirmed choice is written back.
bool SelectDirectoryWithOptions(std::string& directory, unsigned options, int helpContext = 0);

// The chooser's answer to a typed folder that does not exist: true when the chooser may close with
// it (created first when the options say so), false when it stays open.
bool AcceptTypedFolder(const std::string& folder, unsigned options, HWND owner);

}  // namespace ui
