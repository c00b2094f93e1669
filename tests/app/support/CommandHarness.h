// What the main window's command tests share: the window and its two dialogs built in-process on
// a real manager, message boxes answered and recorded, shell opens recorded instead of run, the
// popup menu recorded instead of shown, and steps run inside a dialog's modal loop.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "EngineFactories.h"
#include "Forms.h"
#include "Info.h"
#include "Interface.h"
#include "Main.h"
#include "ShellApi.h"
#include "TempDir.h"
#include "ToolsDlg.h"

namespace command_harness {

struct Message {
    std::string text, caption;
    UINT flags;
};

struct ShellCall {
    HWND owner;
    std::string target;
};

// Steps run one per timer tick inside whatever modal loop is running; a dialog still open after
// the last step is cancelled, so a test that goes wrong fails instead of hanging.
class ModalSteps {
public:
    static ModalSteps& Instance() {
        static ModalSteps steps;
        return steps;
    }
    void Run(std::vector<std::function<void()>> steps) {
        pending_.assign(steps.begin(), steps.end());
        timer_ = SetTimer(nullptr, 0, 20, &ModalSteps::Tick);
    }
    void Stop() {
        if (timer_) KillTimer(nullptr, timer_);
        timer_ = 0;
        pending_.clear();
    }
    bool Done() const { return pending_.empty(); }
    // A step that comes round again on each tick until `done` holds, at most `ticks` times; the
    // step after it fails if done never held.
    static std::function<void()> WaitFor(std::function<bool()> done, int ticks = 1000) {
        struct Wait {
            std::function<bool()> done;
            int left;
            void operator()() {
                if (done() || --left <= 0) return;
                Instance().pending_.push_front(*this);
            }
        };
        return Wait{std::move(done), ticks};
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ModalSteps& self = Instance();
        if (self.pending_.empty()) {
            // Every step has run and a dialog is still up: close it as cancelled.
            for (ui::TCustomForm* form : {static_cast<ui::TCustomForm*>(frmInfo), static_cast<ui::TCustomForm*>(ToolsDlg)}) {
                if (form && form->Modal()) {
                    ADD_FAILURE() << "a dialog was left open";
                    form->SetModalResult(ui::mrCancel);
                }
            }
            self.Stop();
            return;
        }
        std::function<void()> step = std::move(self.pending_.front());
        self.pending_.pop_front();
        step();
    }
    std::deque<std::function<void()>> pending_;
    UINT_PTR timer_ = 0;
};

class CommandHarness : public ::testing::Test {
protected:
    void SetUp() override {
        folder = dir.Dir();
        if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
        SetProgramDirectory(folder.c_str());
        BindEngineFactories(StaticManagerFactory(), nullptr);
        ui::SetMessageBoxHook([this](const std::string& text, const std::string& caption, UINT flags) {
            messages.push_back({text, caption, flags});
            if (answers.empty()) return IDOK;
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
        ui::SetShellOpenHook([this](HWND owner, const std::string& target) -> INT_PTR {
            shellCalls.push_back({owner, target});
            if (shellAnswers.empty()) return 42;
            const INT_PTR answer = shellAnswers.front();
            shellAnswers.pop_front();
            return answer;
        });
    }
    void TearDown() override {
        ModalSteps::Instance().Stop();
        delete form;
        form = nullptr;
        Form1 = nullptr;
        delete frmInfo;
        frmInfo = nullptr;
        delete ToolsDlg;
        ToolsDlg = nullptr;
        ui::SetMessageBoxHook(nullptr);
        ui::SetShellOpenHook(nullptr);
        BindEngineFactories(nullptr, nullptr);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    // The window as the program builds it, with the poll left to the test.
    TForm1* Make() {
        form = new TForm1(ui::Application);
        Form1 = form;
        form->Timer1->SetEnabled(false);
        form->PopupAt = [this](ui::TPopupMenu*, int, int) { ++popups; };
        frmInfo = new TfrmInfo(ui::Application);
        ToolsDlg = new TToolsDlg(ui::Application);
        return form;
    }
    void Tick() { form->Timer1Timer(form->Timer1); }
    void Show(int node) { form->TreeView1->SetSelected(form->TreeView1->NodeAt(node)); }

    // Runs `command` while `steps` play inside the dialog it opens.
    void WithDialog(std::vector<std::function<void()>> steps, const std::function<void()>& command) {
        ModalSteps::Instance().Run(std::move(steps));
        command();
        EXPECT_TRUE(ModalSteps::Instance().Done()) << "the command opened no dialog";
        ModalSteps::Instance().Stop();
    }

    static std::vector<std::string> Cells(const ui::TListItem* row) {
        std::vector<std::string> cells;
        for (int i = 0; i < row->SubItemCount(); ++i) cells.push_back(row->SubItem(i));
        return cells;
    }
    DownItemInfo InfoOf(ItemHandle item) {
        DownItemInfo info{};
        EXPECT_TRUE(form->Manager()->GetItemInfo(item, &info));
        return info;
    }
    int32_t StateOf(ItemHandle item) { return InfoOf(item).state; }
    std::vector<ItemHandle> Items() {
        std::vector<ItemHandle> items;
        for (ItemHandle i = form->Manager()->GetFirstItem(); i; i = form->Manager()->GetNextItem(i)) items.push_back(i);
        return items;
    }
    // A right-click on row `index` of `list` (or below the rows when index is -1).
    void RightClick(ui::TListView* list, int index) {
        POINT at{5, list->Height() - 5};
        if (index >= 0) {
            RECT r{};
            r.left = LVIR_BOUNDS;
            SendMessageA(list->Handle(), LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
            at = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            list->SetSelected(list->Item(index));
        }
        list->OnMouseDown(list, ui::TMouseButton::Right, 0, at.x, at.y);
    }
    // Waits (pumping messages) until `done` holds or `seconds` pass.
    template <class Done>
    bool WaitFor(Done done, int seconds) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!done()) {
            if (std::chrono::steady_clock::now() > until) return false;
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            Sleep(20);
        }
        return true;
    }

    TempDir dir;
    std::string folder;  // the temporary folder without its trailing separator
    TForm1* form = nullptr;
    std::vector<Message> messages;
    std::deque<int> answers;
    std::vector<ShellCall> shellCalls;
    std::deque<INT_PTR> shellAnswers;
    int popups = 0;
};

}  // namespace command_harness
