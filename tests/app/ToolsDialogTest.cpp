// The options dialog read from its description, filled from the settings stored by a real manager,
// its checks of OK driven through its controls, and the values handed back to the manager.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "EngineFactories.h"
#include "FolderChooser.h"
#include "IFetchkeeper.h"
#include "Interface.h"
#include "ModalBound.h"
#include "TempDir.h"
#include "ToolsDlg.h"
#include "sys/win32/FolderSearch.h"

namespace {

const char kQuestion[] = "The directory is not exist,create it?";

// The client area of a window as it prints itself into a memory bitmap.
struct ClientPicture {
    explicit ClientPicture(HWND window) {
        GetClientRect(window, &client);
        HDC screen = GetDC(nullptr);
        memory = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        ReleaseDC(nullptr, screen);
        old = SelectObject(memory, bitmap);
        printed = PrintWindow(window, memory, PW_CLIENTONLY) != FALSE;
    }
    ~ClientPicture() {
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
    }
    ClientPicture(const ClientPicture&) = delete;
    ClientPicture& operator=(const ClientPicture&) = delete;
    COLORREF Pixel(int x, int y) const { return GetPixel(memory, x, y); }

    RECT client{};
    HDC memory = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    bool printed = false;
};

class ToolsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        programDir = dir.Dir();
        programDir.pop_back();
        SetProgramDirectory(programDir.c_str());
        settings = dir.File("config.ini");
        manager = static_cast<IFetchkeeper*>(StaticManagerFactory()());
        ASSERT_NE(manager, nullptr);
        ui::SetMessageBoxHook([this](const std::string& text, const std::string& caption, UINT flags) {
            texts.push_back(text);
            if (text == kQuestion) {
                EXPECT_EQ(caption, "Warning");
                EXPECT_EQ(flags, static_cast<UINT>(MB_ICONWARNING | MB_OKCANCEL));
            }
            return answer;
        });
        form = new TToolsDlg(ui::Application);
        form->Manager = manager;
        form->SettingsPath = settings;
        form->ChooseFolder = ChooserThatMustNotOpen();
    }
    void TearDown() override {
        delete form;
        ui::SetMessageBoxHook(nullptr);
        if (manager) {
            manager->SetTimeOut(settings.c_str(), 30);  // the engine-wide value, for the tests after these
            manager->SetProxy(settings.c_str(), "", "", 0);
            manager->Release();
        }
        SetProgramDirectory("");
    }
    // A folder with an entry, as the stored destination folder must be.
    std::string FolderWithEntry(const std::string& name) {
        const std::string folder = dir.File(name);
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "\\entry.txt") << "x";
        return folder;
    }
    // Shows the dialog modally and closes it at once with the given button.
    int ShowAndPress(ui::TButton* button) {
        PostMessageA(button->HandleOrNull(), BM_CLICK, 0, 0);
        return ShowModalBounded(*form);
    }
    void Fill(const std::string& folder, const char* max, const char* timeOut, const char* server, const char* port,
              bool proxy) {
        form->Edit1->SetText(folder);
        form->CSpinEdit1->SetText(max);
        form->CSpinEdit2->SetText(timeOut);
        form->edServer->SetText(server);
        form->edPort->SetText(port);
        form->EnableProxy->SetChecked(proxy);
    }
    struct Stored {
        std::string folder, server, port;
        int32_t max, timeOut;
        bool enabled;
        bool operator==(const Stored& o) const {
            return folder == o.folder && server == o.server && port == o.port && max == o.max &&
                   timeOut == o.timeOut && enabled == o.enabled;
        }
        friend std::ostream& operator<<(std::ostream& out, const Stored& s) {
            return out << '[' << s.folder << " | " << s.max << " | " << s.timeOut << " | " << s.server << ':' << s.port
                       << (s.enabled ? " on" : " off") << ']';
        }
    };
    Stored ReadStored() {
        char folder[512] = {}, server[1024] = {}, port[64] = {};
        uint8_t enabled = 0;
        manager->GetDestPath(settings.c_str(), folder);
        manager->GetProxy(settings.c_str(), server, port, &enabled);
        return {folder, server, port, manager->GetMaxThread(settings.c_str()), manager->GetTimeOut(settings.c_str()),
                enabled != 0};
    }

    TempDir dir;
    std::string programDir, settings;
    IFetchkeeper* manager = nullptr;
    TToolsDlg* form = nullptr;
    std::vector<std::string> texts;
    int answer = IDOK;
};

TEST_F(ToolsDialogTest, ComponentsComeFromTheDescription) {
    EXPECT_EQ(form->Caption(), "Tools");
    EXPECT_EQ(form->ClientWidth(), 313);
    EXPECT_EQ(form->ClientHeight(), 223);
    EXPECT_EQ(form->Position, ui::TPosition::ScreenCenter);
    EXPECT_EQ(form->Bevel1->Width(), 289);
    EXPECT_EQ(form->Bevel1->Height(), 97);
    struct Caption {
        ui::TControl* control;
        const char* text;
    } captions[] = {{form->Label1, "Dest"},   {form->Label2, "MaxDownloading"}, {form->Label3, "Time Out"},
                    {form->Label4, "s"},      {form->Label6, ":"},              {form->GroupBox1, "Proxy Information"},
                    {form->EnableProxy, "Proxy"}, {form->OKBtn, "OK"},          {form->CancelBtn, "Cancel"}};
    for (const auto& c : captions) EXPECT_EQ(c.control->Caption(), c.text);
    EXPECT_EQ(form->Edit1->Width(), 121);
    for (ui::TSpinEdit* spin : {form->CSpinEdit1, form->CSpinEdit2}) {
        EXPECT_EQ(spin->Width(), 41) << spin->Name();
        EXPECT_EQ(spin->MinValue, 3) << spin->Name();
        EXPECT_EQ(spin->MaxValue, 3) << spin->Name();
    }
    EXPECT_EQ(form->edServer->Width(), 97);
    EXPECT_EQ(form->edPort->Width(), 41);
    for (ui::TControl* c : {static_cast<ui::TControl*>(form->EnableProxy), static_cast<ui::TControl*>(form->edServer),
                            static_cast<ui::TControl*>(form->Label6), static_cast<ui::TControl*>(form->edPort)}) {
        EXPECT_EQ(c->Parent(), form->GroupBox1) << c->Name();
    }
    EXPECT_TRUE(form->OKBtn->Default);
    EXPECT_EQ(form->OKBtn->ModalResult, ui::mrOk);
    EXPECT_TRUE(form->CancelBtn->Cancel);
    EXPECT_EQ(form->CancelBtn->ModalResult, ui::mrCancel);
    EXPECT_TRUE(form->SpeedButton1->Flat);
    EXPECT_FALSE(form->SpeedButton1->Glyph.Empty());
    // Created with the check box clear: server and port greyed out.
    EXPECT_FALSE(form->EnableProxy->Checked());
    EXPECT_FALSE(form->edServer->Enabled());
    EXPECT_FALSE(form->edPort->Enabled());
    EXPECT_FALSE(IsWindowEnabled(form->edServer->HandleOrNull()));
    EXPECT_TRUE(texts.empty());
}

TEST_F(ToolsDialogTest, EveryShowingStartsFromTheStoredSettings) {
    const std::string folder = FolderWithEntry("store");
    ASSERT_TRUE(manager->SetDestPath(settings.c_str(), folder.c_str()));
    ASSERT_TRUE(manager->SaveMaxThread(settings.c_str(), 7));
    ASSERT_TRUE(manager->SetTimeOut(settings.c_str(), 45));
    ASSERT_TRUE(manager->SetProxy(settings.c_str(), "proxy.example", "8080", 1));

    EXPECT_EQ(ShowAndPress(form->CancelBtn), ui::mrCancel);
    EXPECT_EQ(form->Edit1->Text(), folder);
    EXPECT_EQ(form->CSpinEdit1->Text(), "7");
    EXPECT_EQ(form->CSpinEdit2->Text(), "45");
    EXPECT_EQ(form->edServer->Text(), "proxy.example");
    EXPECT_EQ(form->edPort->Text(), "8080");
    EXPECT_TRUE(form->EnableProxy->Checked());
    EXPECT_TRUE(form->edServer->Enabled());
    EXPECT_TRUE(form->edPort->Enabled());

    // Values changed in a cancelled dialog are gone at the next showing.
    Fill(dir.File("other"), "9", "99", "elsewhere.example", "1", false);
    EXPECT_EQ(ShowAndPress(form->CancelBtn), ui::mrCancel);
    EXPECT_EQ(form->Edit1->Text(), folder);
    EXPECT_EQ(form->CSpinEdit1->Text(), "7");
    EXPECT_EQ(form->CSpinEdit2->Text(), "45");
    EXPECT_EQ(form->edServer->Text(), "proxy.example");
    EXPECT_TRUE(form->EnableProxy->Checked());

    // A proxy stored as off: its texts are shown greyed out.
    ASSERT_TRUE(manager->SetProxy(settings.c_str(), "proxy.example", "8080", 0));
    EXPECT_EQ(ShowAndPress(form->CancelBtn), ui::mrCancel);
    EXPECT_FALSE(form->EnableProxy->Checked());
    EXPECT_FALSE(form->edServer->Enabled());
    EXPECT_EQ(form->edServer->Text(), "proxy.example");
    EXPECT_EQ(form->edPort->Text(), "8080");
    EXPECT_TRUE(texts.empty());
}

TEST_F(ToolsDialogTest, WithoutAUsableStoredFolderTheProgramsDownloadsFolderIsProposedAndCreated) {
    const std::string fallback = programDir + "\\Downloads";
    struct Case {
        const char* what;
        bool storeFolderThenRemoveIt;
    } cases[] = {{"nothing stored", false}, {"stored folder gone", true}};
    for (const auto& c : cases) {
        std::filesystem::remove_all(fallback);
        if (c.storeFolderThenRemoveIt) {
            const std::string gone = FolderWithEntry("gone");
            ASSERT_TRUE(manager->SetDestPath(settings.c_str(), gone.c_str()));
            std::filesystem::remove_all(gone);
        }
        form->Edit1->SetText("stale");
        EXPECT_EQ(ShowAndPress(form->CancelBtn), ui::mrCancel) << c.what;
        EXPECT_EQ(form->Edit1->Text(), fallback) << c.what;
        EXPECT_TRUE(std::filesystem::is_directory(fallback)) << c.what;
    }
    // Shown again with the folder already there: the failed creation is no error.
    EXPECT_EQ(ShowAndPress(form->CancelBtn), ui::mrCancel);
    EXPECT_EQ(form->Edit1->Text(), fallback);
    EXPECT_TRUE(texts.empty());
}

TEST_F(ToolsDialogTest, DirectoryHasEntryAsksTheFileSearch) {
    EXPECT_TRUE(DirectoryHasEntry(FolderWithEntry("full")));
    EXPECT_FALSE(DirectoryHasEntry(dir.File("absent")));
    EXPECT_FALSE(DirectoryHasEntry(""));
}

TEST_F(ToolsDialogTest, OkChecksEveryFieldAndTheFolder) {
    const std::string good = FolderWithEntry("good");
    enum Folder { Good, Missing, TwoLevels, Empty };
    struct Case {
        Folder folder;
        const char *max, *timeOut, *port;
        int answer;  // to the folder question
        int result;  // modal result after OK
        std::vector<std::string> messages;
    } cases[] = {
        {Good, "3", "30", "8080", IDOK, ui::mrOk, {}},
        {Good, "1", "1", "", IDOK, ui::mrOk, {}},
        {Good, " 12 ", "600", "0", IDOK, ui::mrOk, {}},
        {Good, "3", "30", "65535", IDOK, ui::mrOk, {}},
        {Good, "0", "30", "8080", IDOK, ui::mrNone, {"Invalid input!"}},
        {Good, "-2", "30", "8080", IDOK, ui::mrNone, {"Invalid input!"}},
        {Good, "", "30", "8080", IDOK, ui::mrNone, {"Invalid input!"}},
        {Good, "3x", "30", "8080", IDOK, ui::mrNone, {"Invalid input!"}},
        {Good, "99999999999", "30", "8080", IDOK, ui::mrNone, {"Invalid input!"}},
        {Good, "3", "0", "8080", IDOK, ui::mrNone, {"Invalid input!"}},
        {Good, "3", "-30", "8080", IDOK, ui::mrNone, {"Invalid input!"}},
        {Good, "3", "", "8080", IDOK, ui::mrNone, {"Invalid input!"}},
        {Good, "3", "30", "65536", IDOK, ui::mrNone, {"Invalid input!"}},
        {Good, "3", "30", "-1", IDOK, ui::mrNone, {"Invalid input!"}},
        {Good, "3", "30", "80a", IDOK, ui::mrNone, {"Invalid input!"}},
        {Empty, "3", "30", "8080", IDOK, ui::mrNone, {"Invalid input!"}},
        // A bad field is refused before the folder is looked at.
        {Missing, "0", "30", "8080", IDOK, ui::mrNone, {"Invalid input!"}},
        {Missing, "3", "30", "8080", IDOK, ui::mrOk, {kQuestion}},
        {Missing, "3", "30", "8080", IDCANCEL, ui::mrCancel, {kQuestion}},
        {TwoLevels, "3", "30", "8080", IDOK, ui::mrCancel, {kQuestion, "Can not create the directory!"}},
    };
    int index = 0;
    for (const auto& c : cases) {
        std::string folder;
        switch (c.folder) {
        case Good: folder = good; break;
        case Missing: folder = dir.File("new" + std::to_string(index)); break;
        case TwoLevels: folder = dir.File("up" + std::to_string(index) + "\\down"); break;
        case Empty: break;
        }
        const std::string label = "case " + std::to_string(index++) + ": " + folder + " | " + c.max + " | " +
                                  c.timeOut + " | " + c.port;
        Fill(folder, c.max, c.timeOut, "proxy.example", c.port, true);
        texts.clear();
        answer = c.answer;
        form->SetModalResult(ui::mrNone);
        SendMessageA(form->OKBtn->HandleOrNull(), BM_CLICK, 0, 0);
        EXPECT_EQ(form->ModalResult(), c.result) << label;
        EXPECT_EQ(texts, c.messages) << label;
        if (c.folder == Missing || c.folder == TwoLevels) {
            const bool created = std::filesystem::is_directory(folder);
            EXPECT_EQ(created, c.folder == Missing && c.result == ui::mrOk) << label;
        }
        ToolsValues values;
        EXPECT_EQ(form->ReadValues(values), c.messages != std::vector<std::string>{"Invalid input!"}) << label;
    }
}

TEST_F(ToolsDialogTest, ValuesReachTheManagerAllTogetherOrNotAtAll) {
    const std::string first = FolderWithEntry("first");
    Fill(first, "5", "20", "proxy.example", "3128", true);
    ASSERT_TRUE(form->ApplyTo(*manager, settings.c_str()));
    const Stored applied{first, "proxy.example", "3128", 5, 20, true};
    EXPECT_EQ(ReadStored(), applied);

    // One bad field anywhere: nothing at all changes, also not the fields before it.
    const std::string second = FolderWithEntry("second");
    struct Bad {
        const char *max, *timeOut, *port;
        bool proxy;
    } bads[] = {{"0", "40", "8080", false}, {"6", "0", "8080", false}, {"6", "40", "70000", true}, {"6", "40", "x", true}};
    for (const auto& b : bads) {
        Fill(second, b.max, b.timeOut, "other.example", b.port, b.proxy);
        EXPECT_FALSE(form->ApplyTo(*manager, settings.c_str())) << b.max << ' ' << b.timeOut << ' ' << b.port;
        EXPECT_EQ(ReadStored(), applied) << b.max << ' ' << b.timeOut << ' ' << b.port;
    }

    // Proxy off: server and port are stored with the flag, and shown again greyed out.
    Fill(second, "6", "40", "other.example", "8080", false);
    ASSERT_TRUE(form->ApplyTo(*manager, settings.c_str()));
    EXPECT_EQ(ReadStored(), (Stored{second, "other.example", "8080", 6, 40, false}));
    EXPECT_EQ(ShowAndPress(form->CancelBtn), ui::mrCancel);
    EXPECT_EQ(form->edServer->Text(), "other.example");
    EXPECT_FALSE(form->edServer->Enabled());
}

TEST_F(ToolsDialogTest, AProxyThatIsOffLeavesItsPortUncheckedAndOkStoresEveryField) {
    const std::string folder = FolderWithEntry("off");
    // What a greyed-out port box may hold: the user cannot see it, let alone mend it.
    const char* ports[] = {"abc", "99999", "-1", "80a"};
    int32_t max = 4;
    for (const char* port : ports) {
        Fill(folder, std::to_string(max).c_str(), "25", "proxy.example", port, false);
        texts.clear();
        form->SetModalResult(ui::mrNone);
        SendMessageA(form->OKBtn->HandleOrNull(), BM_CLICK, 0, 0);
        EXPECT_EQ(form->ModalResult(), ui::mrOk) << port;
        EXPECT_TRUE(texts.empty()) << port;
        ASSERT_TRUE(form->ApplyTo(*manager, settings.c_str())) << port;
        EXPECT_EQ(ReadStored(), (Stored{folder, "proxy.example", port, max, 25, false})) << port;

        // Ticked, the same port is refused.
        SendMessageA(form->EnableProxy->HandleOrNull(), BM_CLICK, 0, 0);
        ASSERT_TRUE(form->edPort->Enabled());
        form->SetModalResult(ui::mrNone);
        SendMessageA(form->OKBtn->HandleOrNull(), BM_CLICK, 0, 0);
        EXPECT_EQ(form->ModalResult(), ui::mrNone) << port;
        EXPECT_EQ(texts, std::vector<std::string>{"Invalid input!"}) << port;
        ++max;
    }
}

TEST_F(ToolsDialogTest, ProxyCheckBoxGreysServerAndPortAndKeepsTheirTexts) {
    form->edServer->SetText("proxy.example");
    form->edPort->SetText("8080");
    for (bool expected : {true, false, true}) {
        SendMessageA(form->EnableProxy->HandleOrNull(), BM_CLICK, 0, 0);
        EXPECT_EQ(form->EnableProxy->Checked(), expected);
        EXPECT_EQ(form->edServer->Enabled(), expected);
        EXPECT_EQ(form->edPort->Enabled(), expected);
        EXPECT_EQ(form->edServer->Text(), "proxy.example");
        EXPECT_EQ(form->edPort->Text(), "8080");
    }
}

TEST_F(ToolsDialogTest, ProxyGroupBoxFillsItsInsideWithTheFormsColour) {
    HWND box = form->GroupBox1->HandleOrNull();
    ASSERT_NE(box, nullptr);
    // A new bitmap starts black: whatever the box leaves unpainted stays so.
    ClientPicture picture(box);
    ASSERT_TRUE(picture.printed);
    const RECT client = picture.client;
    // Points of the inside, clear of the caption, the frame and the controls in the box.
    auto underChild = [this, box](POINT p) {
        RECT label = form->Label6->BoundsRect().Win();  // the ":" drawn in the box
        InflateRect(&label, 2, 2);
        if (PtInRect(&label, p)) return true;
        MapWindowPoints(box, nullptr, &p, 1);
        for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            RECT r;
            GetWindowRect(c, &r);
            InflateRect(&r, 2, 2);
            if (PtInRect(&r, p)) return true;
        }
        return false;
    };
    const COLORREF face = ui::ColorToRGB(form->Color());
    int checked = 0;
    for (int y = 20; y < client.bottom - 6; y += 4) {
        for (int x = 6; x < client.right - 6; x += 4) {
            if (underChild({x, y})) continue;
            ++checked;
            ASSERT_EQ(picture.Pixel(x, y), face) << x << ',' << y;
        }
    }
    EXPECT_GT(checked, 0);
}

TEST_F(ToolsDialogTest, ProxyColonIsDrawnBetweenServerAndPort) {
    ASSERT_EQ(form->Label6->Parent(), form->GroupBox1);
    const ui::TRect colon = form->Label6->BoundsRect();
    EXPECT_GE(colon.Left, form->edServer->BoundsRect().Right);
    EXPECT_LE(colon.Right, form->edPort->BoundsRect().Left);
    HWND box = form->GroupBox1->HandleOrNull();
    ASSERT_NE(box, nullptr);
    ClientPicture picture(box);
    ASSERT_TRUE(picture.printed);
    // The box's inside is the form's colour; the ":" puts pixels of the text colour on it.
    const COLORREF face = ui::ColorToRGB(form->Color());
    const COLORREF ink = ui::ColorToRGB(form->Label6->Font().Color);
    int inked = 0, faced = 0;
    for (int y = colon.Top; y < colon.Bottom; ++y) {
        for (int x = colon.Left; x < colon.Right; ++x) {
            const COLORREF p = picture.Pixel(x, y);
            inked += p == ink;
            faced += p == face;
        }
    }
    EXPECT_GE(inked, 2) << "the two dots of the colon";
    EXPECT_GT(faced, inked) << "around them, the label's background";
}

TEST_F(ToolsDialogTest, SpinButtonsSitBesideTheEditAboveItAndStepTheValue) {
    for (ui::TSpinEdit* spin : {form->CSpinEdit1, form->CSpinEdit2}) {
        HWND edit = spin->HandleOrNull(), buttons = spin->ButtonsHandle();
        ASSERT_NE(buttons, nullptr) << spin->Name();
        EXPECT_EQ(GetParent(buttons), GetParent(edit));
        EXPECT_TRUE(IsWindowVisible(buttons) || !IsWindowVisible(edit));
        RECT e, b, overlap;
        GetWindowRect(edit, &e);
        GetWindowRect(buttons, &b);
        EXPECT_GT(b.right - b.left, 0) << spin->Name();
        EXPECT_GT(b.bottom - b.top, 0) << spin->Name();
        EXPECT_FALSE(IntersectRect(&overlap, &e, &b)) << spin->Name();
        // Edit and buttons together take the control's own bounds.
        POINT origin{spin->Left(), spin->Top()};
        MapWindowPoints(GetParent(edit), nullptr, &origin, 1);
        EXPECT_EQ(e.left, origin.x) << spin->Name();
        EXPECT_EQ(b.right, origin.x + spin->Width()) << spin->Name();
        EXPECT_EQ(b.top, e.top) << spin->Name();
        EXPECT_EQ(b.bottom, e.bottom) << spin->Name();
        // Above the edit in window order: the edit comes after the buttons.
        HWND after = buttons;
        while (after && after != edit) after = GetWindow(after, GW_HWNDNEXT);
        EXPECT_EQ(after, edit) << spin->Name();
        // The bounds follow a move of the control.
        spin->SetBounds(spin->Left() + 5, spin->Top(), 60, spin->Height());
        GetWindowRect(edit, &e);
        GetWindowRect(buttons, &b);
        EXPECT_EQ(b.left, e.right) << spin->Name();
        EXPECT_EQ(b.right - e.left, 60) << spin->Name();
        // A click on the upper button steps the value up, on the lower one down.
        spin->SetText("10");
        const int w = b.right - b.left, h = b.bottom - b.top;
        auto click = [buttons, w](int y) {
            SendMessageA(buttons, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w / 2, y));
            SendMessageA(buttons, WM_LBUTTONUP, 0, MAKELPARAM(w / 2, y));
        };
        click(2);
        EXPECT_EQ(spin->Text(), "11") << spin->Name();
        click(h - 3);
        click(h - 3);
        EXPECT_EQ(spin->Text(), "9") << spin->Name();
    }
}

TEST_F(ToolsDialogTest, KeysAndButtonsOfTheModalDialog) {
    const std::string folder = FolderWithEntry("keys");
    ASSERT_TRUE(manager->SetDestPath(settings.c_str(), folder.c_str()));
    auto key = [this](UINT vk) {
        PostMessageA(form->Edit1->HandleOrNull(), WM_KEYDOWN, vk, 1);
        PostMessageA(form->Edit1->HandleOrNull(), WM_KEYUP, vk, 0xC0000001);
    };
    key(VK_RETURN);
    EXPECT_EQ(ShowModalBounded(*form), ui::mrOk);
    key(VK_ESCAPE);
    EXPECT_EQ(ShowModalBounded(*form), ui::mrCancel);
    EXPECT_EQ(ShowAndPress(form->OKBtn), ui::mrOk);
    EXPECT_TRUE(texts.empty());
}

TEST_F(ToolsDialogTest, FolderButtonOpensTheChooserAtTheDrive) {
    FolderChooserFake chooser;
    chooser.pick = "D:\\Chosen";
    form->ChooseFolder = chooser.Chooser();
    form->Edit1->SetText("E:\\typed");
    ClickFolderButton(form->SpeedButton1->HandleOrNull());
    EXPECT_EQ(form->Edit1->Text(), "D:\\Chosen");
    chooser.confirm = false;
    ClickFolderButton(form->SpeedButton1->HandleOrNull());
    EXPECT_EQ(form->Edit1->Text(), "D:\\Chosen");
    EXPECT_EQ(chooser.openedAt, (std::vector<std::string>{"C:", "C:"}));
}

}  // namespace
