// The add and properties dialog read from its description, its file-name proposal through a real
// manager, and the checks of OK driven through the dialog's own controls.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "EngineFactories.h"
#include "FolderChooser.h"
#include "IFetchkeeper.h"
#include "Info.h"
#include "ModalBound.h"
#include "TempDir.h"

namespace {

const char kQuestion[] = "The directory is not exist,create it?";

struct Box {
    std::string text, caption;
    UINT flags;
};

class InfoDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager = static_cast<IFetchkeeper*>(StaticManagerFactory()());
        ASSERT_NE(manager, nullptr);
        ui::SetMessageBoxHook([this](const std::string& text, const std::string& caption, UINT flags) {
            boxes.push_back({text, caption, flags});
            return answer;
        });
        form = new TfrmInfo(ui::Application);
        form->FileNameFromUrl = [this](const char* url, char* out) { return manager->FileNameFromUrl(url, out); };
        form->ChooseFolder = ChooserThatMustNotOpen();
    }
    void TearDown() override {
        delete form;
        ui::SetMessageBoxHook(nullptr);
        if (manager) manager->Release();
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& b : boxes) texts.push_back(b.text);
        return texts;
    }
    // A folder that exists: dir without its trailing separator.
    std::string Existing() const {
        std::string folder = dir.Dir();
        folder.pop_back();
        return folder;
    }
    void Press(ui::TButton* button) { SendMessageA(button->HandleOrNull(), BM_CLICK, 0, 0); }

    TempDir dir;
    IFetchkeeper* manager = nullptr;
    TfrmInfo* form = nullptr;
    std::vector<Box> boxes;
    int answer = IDOK;
};

TEST_F(InfoDialogTest, ComponentsComeFromTheDescription) {
    EXPECT_EQ(form->Caption(), "frmInfo");
    EXPECT_EQ(form->ClientWidth(), 411);
    EXPECT_EQ(form->ClientHeight(), 192);
    EXPECT_EQ(form->Font().Name, "MS Sans Serif");
    EXPECT_EQ(form->Font().Height, -11);
    EXPECT_EQ(form->Panel1->Width(), 409);
    EXPECT_EQ(form->Panel1->Height(), 153);
    struct Row {
        ui::TLabel* label;
        const char* caption;
        ui::TEdit* edit;
        int width;
    } rows[] = {{form->Label1, "URL", form->EditURL, 321},
                {form->Label4, "User", form->edUser, 140},
                {form->Label5, "Password", form->edPass, 117},
                {form->Label2, "Dest", form->EditDest, 169},
                {form->Label3, "FileName", form->EditFileName, 201}};
    for (const auto& r : rows) {
        EXPECT_EQ(r.label->Caption(), r.caption);
        EXPECT_EQ(r.edit->Width(), r.width) << r.caption;
        EXPECT_EQ(r.edit->Parent(), form->Panel1) << r.caption;
    }
    EXPECT_EQ(SendMessageA(form->edPass->HandleOrNull(), EM_GETPASSWORDCHAR, 0, 0), '*');
    EXPECT_EQ(SendMessageA(form->edUser->HandleOrNull(), EM_GETPASSWORDCHAR, 0, 0), 0);
    // Tab order: URL, Dest, FileName, User, Password.
    std::vector<HWND> order;
    for (HWND w = GetWindow(form->Panel1->HandleOrNull(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (GetWindowLongA(w, GWL_STYLE) & WS_TABSTOP) order.push_back(w);
    }
    EXPECT_EQ(order, (std::vector<HWND>{form->EditURL->HandleOrNull(), form->EditDest->HandleOrNull(),
                                        form->EditFileName->HandleOrNull(), form->edUser->HandleOrNull(),
                                        form->edPass->HandleOrNull()}));
    EXPECT_TRUE(form->SpeedButton1->Flat);
    EXPECT_FALSE(form->SpeedButton1->Glyph.Empty());
    EXPECT_GT(form->SpeedButton1->Left(), form->EditDest->Left() + form->EditDest->Width() - 1);
    EXPECT_EQ(form->Button1->Caption(), "OK");
    EXPECT_TRUE(form->Button1->Default);
    EXPECT_EQ(form->Button1->ModalResult, ui::mrNone);
    EXPECT_EQ(form->Button2->Caption(), "Cancel");
    EXPECT_FALSE(form->Button2->Cancel);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(InfoDialogTest, UrlChangeProposesTheFileName) {
    form->EditFileName->SetText("keep.bin");
    struct Step {
        std::string url;
        std::string name;  // EditFileName afterwards
    } steps[] = {
        {"http://127.0.0.1/dir/song.mp3", "song.mp3"},
        {"", "song.mp3"},                          // no file name: the last one stays
        {"mms://media.example/live/clip.asf", "clip.asf"},
        {"ftp://files.example/", "clip.asf"},
        {"rtsp://r.example/a/b/movie.rm", "movie.rm"},
        // The longest name the engine keeps reaches the field whole.
        {"http://127.0.0.1/" + std::string(600, 'n'), std::string(kUrlFileNameMax, 'n')},
    };
    for (const auto& s : steps) {
        form->EditURL->SetText(s.url);  // through the edit's own change notification
        EXPECT_EQ(form->EditFileName->Text(), s.name) << s.url;
    }
}

enum class Dest { Existing, Missing, TwoLevels, Empty };

TEST_F(InfoDialogTest, OkChecksTheInput) {
    struct Case {
        const char* url;
        Dest dest;
        const char* name;
        int answer;                          // to the folder question
        int result;                          // modal result afterwards
        std::vector<std::string> messages;
        const char* urlAfter;                // null: as typed
        const char* nameAfter;               // null: as typed
    } cases[] = {
        {"http://h.example/a.mp3", Dest::Existing, "a.mp3", IDOK, ui::mrOk, {}, nullptr, nullptr},
        {"HTTP://H.EXAMPLE/A.MP3", Dest::Existing, "x.mp3", IDOK, ui::mrOk, {}, nullptr, nullptr},
        {"rtsp://h.example/a.rm", Dest::Existing, "a.rm", IDOK, ui::mrOk, {}, nullptr, nullptr},
        {"mms://h.example/a", Dest::Existing, "a.asf", IDOK, ui::mrOk, {}, nullptr, nullptr},
        {"MMST://h.example/a", Dest::Existing, "a.asf", IDOK, ui::mrOk, {}, nullptr, nullptr},
        {"mmsu://h.example/a", Dest::Existing, "a.asf", IDOK, ui::mrOk, {}, nullptr, nullptr},
        {"ftp://h.example/a.zip", Dest::Existing, "a.zip", IDOK, ui::mrOk, {}, nullptr, nullptr},
        {"https://h.example/a", Dest::Existing, "a", IDOK, ui::mrNone, {"Invalid input!"}, nullptr, nullptr},
        {"mmsh://h.example/a", Dest::Existing, "a", IDOK, ui::mrNone, {"Invalid input!"}, nullptr, nullptr},
        {"http:/h.example/a", Dest::Existing, "a", IDOK, ui::mrNone, {"Invalid input!"}, nullptr, nullptr},
        {"h.example/a.mp3", Dest::Existing, "a", IDOK, ui::mrNone, {"Invalid input!"}, nullptr, nullptr},
        {"", Dest::Existing, "a", IDOK, ui::mrNone, {"Invalid input!"}, nullptr, nullptr},
        // Trimmed before the test; the change proposes the URL's name again.
        {"  http://h.example/a.wmv \r\n", Dest::Existing, "typed.bin", IDOK, ui::mrOk, {},
         "http://h.example/a.wmv", "a.wmv"},
        {"http://h.example/a", Dest::Empty, "a", IDOK, ui::mrNone, {"Invalid input!"}, nullptr, nullptr},
        {"http://h.example/a", Dest::Existing, "", IDOK, ui::mrNone, {"Invalid input!"}, nullptr, nullptr},
        // Names are cleaned as Add cleans them; one that cleans away to nothing is refused.
        {"http://h.example/a", Dest::Existing, "a*b?c<d>.mp3", IDOK, ui::mrOk, {}, nullptr, "abcd.mp3"},
        {"http://h.example/a", Dest::Existing, "dir\\sub/x|y:z\".txt", IDOK, ui::mrOk, {}, nullptr,
         "dirsubxyz.txt"},
        {"http://h.example/a", Dest::Existing, "\"*/:<>?\\|", IDOK, ui::mrNone, {"Invalid input!"}, nullptr,
         nullptr},
        {"http://h.example/a", Dest::Existing, "..", IDOK, ui::mrNone, {"Invalid input!"}, nullptr, nullptr},
        {"http://h.example/a", Dest::Existing, " .*", IDOK, ui::mrNone, {"Invalid input!"}, nullptr, nullptr},
        {"http://h.example/a", Dest::Existing, ".hidden", IDOK, ui::mrOk, {}, nullptr, nullptr},
        // A missing folder: asked, then created one level deep.
        {"http://h.example/a", Dest::Missing, "a", IDOK, ui::mrOk, {kQuestion}, nullptr, nullptr},
        {"http://h.example/a", Dest::Missing, "a", IDCANCEL, ui::mrNone, {kQuestion}, nullptr, nullptr},
        {"http://h.example/a", Dest::TwoLevels, "a", IDOK, ui::mrNone,
         {kQuestion, "Can not create the directory!"}, nullptr, nullptr},
    };
    int index = 0;
    for (const auto& c : cases) {
        const std::string label = std::string(c.url) + " | " + c.name + " | case " + std::to_string(index);
        std::string folder;
        switch (c.dest) {
        case Dest::Existing: folder = Existing(); break;
        case Dest::Missing: folder = dir.File("new" + std::to_string(index)); break;
        case Dest::TwoLevels: folder = dir.File("up" + std::to_string(index) + "\\down"); break;
        case Dest::Empty: break;
        }
        ++index;
        form->EditURL->SetText(c.url);
        form->EditDest->SetText(folder);
        form->EditFileName->SetText(c.name);
        form->SetModalResult(ui::mrNone);
        boxes.clear();
        answer = c.answer;
        Press(form->Button1);
        EXPECT_EQ(form->ModalResult(), c.result) << label;
        EXPECT_EQ(Texts(), c.messages) << label;
        EXPECT_EQ(form->EditURL->Text(), c.urlAfter ? c.urlAfter : c.url) << label;
        EXPECT_EQ(form->EditFileName->Text(), c.nameAfter ? c.nameAfter : c.name) << label;
        EXPECT_EQ(form->EditDest->Text(), folder) << label;
        if (c.dest == Dest::Missing || c.dest == Dest::TwoLevels) {
            const bool created = std::filesystem::is_directory(folder);
            EXPECT_EQ(created, c.answer == IDOK && c.dest == Dest::Missing) << label;
        }
        for (const auto& b : boxes) {
            if (b.text != kQuestion) continue;
            EXPECT_EQ(b.caption, "Warning") << label;
            EXPECT_EQ(b.flags, static_cast<UINT>(MB_ICONWARNING | MB_OKCANCEL)) << label;
        }
    }
}

TEST_F(InfoDialogTest, AFileInPlaceOfTheFolderCannotBeCreated) {
    const std::string file = dir.File("plain.txt");
    std::ofstream(file) << "x";
    form->EditURL->SetText("http://h.example/a");
    form->EditDest->SetText(file);
    form->EditFileName->SetText("a");
    form->SetModalResult(ui::mrNone);
    Press(form->Button1);
    EXPECT_EQ(Texts(), (std::vector<std::string>{kQuestion, "Can not create the directory!"}));
    EXPECT_EQ(form->ModalResult(), ui::mrNone);
}

TEST_F(InfoDialogTest, ShownModallyItEndsOnlyWithOkOrCancel) {
    const std::string folder = Existing();
    struct Case {
        const char* what;
        const char* url;
        std::vector<std::pair<int, UINT>> input;  // 0 OK button, 1 Cancel button, 2 key in the URL field
        int result;
        std::vector<std::string> messages;
    } cases[] = {
        {"OK", "http://h.example/a", {{0, 0}}, ui::mrOk, {}},
        {"Cancel", "http://h.example/a", {{1, 0}}, ui::mrCancel, {}},
        {"refused, then Cancel", "https://h.example/a", {{0, 0}, {1, 0}}, ui::mrCancel, {"Invalid input!"}},
        {"Enter", "http://h.example/a", {{2, VK_RETURN}}, ui::mrOk, {}},
        {"Esc is not Cancel", "http://h.example/a", {{2, VK_ESCAPE}, {0, 0}}, ui::mrOk, {}},
    };
    for (const auto& c : cases) {
        form->EditURL->SetText(c.url);
        form->EditDest->SetText(folder);
        form->EditFileName->SetText("a.bin");
        boxes.clear();
        // Queued before the dialog's own loop runs, which then handles them in order.
        for (const auto& [kind, key] : c.input) {
            if (kind == 2) {
                PostMessageA(form->EditURL->HandleOrNull(), WM_KEYDOWN, key, 1);
                PostMessageA(form->EditURL->HandleOrNull(), WM_KEYUP, key, 0xC0000001);
            } else {
                PostMessageA((kind == 0 ? form->Button1 : form->Button2)->HandleOrNull(), BM_CLICK, 0, 0);
            }
        }
        EXPECT_EQ(ShowModalBounded(*form), c.result) << c.what;
        EXPECT_EQ(Texts(), c.messages) << c.what;
        EXPECT_FALSE(IsWindowVisible(form->HandleOrNull())) << c.what;
    }
}

TEST_F(InfoDialogTest, FolderButtonOpensTheChooserAtTheDefaultFolder) {
    FolderChooserFake chooser;
    chooser.pick = "C:\\Picked";
    form->ChooseFolder = chooser.Chooser();
    form->EditDest->SetText("D:\\elsewhere");
    ClickFolderButton(form->SpeedButton1->HandleOrNull());
    EXPECT_EQ(form->EditDest->Text(), "C:\\Picked");
    chooser.confirm = false;
    ClickFolderButton(form->SpeedButton1->HandleOrNull());
    EXPECT_EQ(form->EditDest->Text(), "C:\\Picked");
    EXPECT_EQ(chooser.openedAt, (std::vector<std::string>{"C:\\MyDownloads", "C:\\MyDownloads"}));
}

}  // namespace
