// What the folder chooser does with a typed folder, by its options; the question goes through the
// message-box hook, so no chooser and no box opens.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FolderDialog.h"
#include "Forms.h"
#include "TempDir.h"

namespace {

TEST(FolderDialogTest, TypedFolderThatDoesNotExist) {
    TempDir dir;
    std::vector<std::string> asked;
    int answer = IDYES;
    ui::SetMessageBoxHook([&](const std::string& text, const std::string& caption, UINT flags) {
        asked.push_back(text);
        EXPECT_EQ(caption, "Confirm");
        EXPECT_EQ(flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
        return answer;
    });
    const unsigned all = ui::sdAllowCreate | ui::sdPerformCreate | ui::sdPrompt;
    struct Case {
        const char* name;  // inside dir; empty: the folder itself
        unsigned options;
        int answer;
        bool accepted, exists, asks;
    } cases[] = {
        {"", 0, IDYES, true, true, false},  // an existing folder needs no option
        {"a", 0, IDYES, false, false, false},
        {"b", ui::sdAllowCreate, IDYES, true, false, false},
        {"c", ui::sdAllowCreate | ui::sdPerformCreate, IDYES, true, true, false},
        {"d", all, IDYES, true, true, true},
        {"e", all, IDNO, false, false, true},
        {"f\\g\\h", all, IDYES, true, true, true},  // every missing level
    };
    for (const auto& c : cases) {
        std::string folder = dir.File(c.name);
        if (folder.back() == '\\') folder.pop_back();
        asked.clear();
        answer = c.answer;
        EXPECT_EQ(ui::AcceptTypedFolder(folder, c.options, nullptr), c.accepted) << folder;
        EXPECT_EQ(std::filesystem::is_directory(folder), c.exists) << folder;
        EXPECT_EQ(asked.size(), c.asks ? 1u : 0u) << folder;
        if (c.asks && !asked.empty()) EXPECT_EQ(asked[0], "The folder " + folder + " does not exist. Create it?");
    }
    // A file in the way cannot become a folder; nothing empty is accepted.
    const std::string file = dir.File("plain.txt");
    std::ofstream(file) << "x";
    EXPECT_FALSE(ui::AcceptTypedFolder(file, all, nullptr));
    EXPECT_FALSE(ui::AcceptTypedFolder("", all, nullptr));
    ui::SetMessageBoxHook(nullptr);
}

}  // namespace
