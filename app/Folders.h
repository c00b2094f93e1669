// The folders the dialogs and commands make sure of: the one a download is to be saved in, and
// the program's own fallback beside it.
#pragma once
#include <windows.h>

#include <string>

// True when `folder` is there, or when the user, asked, lets it be created and it is. A refusal or a
// failed creation (said in a message) answers false.
bool ConfirmFolder(HWND owner, const std::string& folder);

// The folder with a backslash at its end, as a file name is joined to it.
std::string WithBackslash(std::string folder);

// "Downloads" beside the program, created when it is not there yet.
std::string ProgramDownloadFolder();

// The shell's folder chooser, opened at `folder`: true and the chosen folder when the user confirms
// one; it may create a new folder.
bool ChooseFolderWithShell(std::string& folder);
