// The folder chooser.
#pragma once
#include <string>

namespace ui {

// Opens the shell's folder chooser at `directory`; a confirmed choice is written back. With
// allowCreate the chooser offers a new-folder button.
bool SelectDirectory(std::string& directory, bool allowCreate, int helpContext = 0);

}  // namespace ui
