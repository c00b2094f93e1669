// A test form in each of the five styles, for a person to look at: the frame with its title bar
// and menu bar, buttons (one disabled), check boxes and radio buttons. Each form is shown for a
// moment and pictured from its windows' own contexts into <dir>/skin-<style>.bmp.
//   QelShowcase <dir>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Forms.h"
#include "WaitPainted.h"
#include "WindowGrab.h"
#include "Qelform.h"
#include "Qelregister.h"

namespace {

class ShowcaseForm : public ui::TForm {
public:
    explicit ShowcaseForm(const std::string& style) : ui::TForm(nullptr) {
        skin::RegisterSkinClasses();
        InitFromText(R"(object ShowcaseForm: TForm
  Left = 40
  Top = 40
  Width = 360
  Height = 260
  Caption = 'Skinned controls'
  object qelMainMenu1: TqelMainMenu
    UIStyle = )" + style + R"(
    object File1: TMenuItem
      Caption = 'File'
    end
    object Edit1: TMenuItem
      Caption = 'Edit'
    end
    object Help1: TMenuItem
      Caption = 'Help'
    end
  end
  object Frame1: TqelForm
    UIStyle = )" + style + R"(
    Caption = ')" + style + R"( style'
    Menu = qelMainMenu1
    object Ok1: TqelButton
      Left = 16
      Top = 80
      Width = 90
      Height = 23
      Caption = 'OK'
    end
    object Off1: TqelButton
      Left = 120
      Top = 80
      Width = 90
      Height = 23
      Caption = 'Disabled'
      Enabled = False
    end
    object Check1: TqelCheckBox
      Left = 16
      Top = 125
      Caption = 'Checked'
      Checked = True
    end
    object Check2: TqelCheckBox
      Left = 16
      Top = 150
      Caption = 'Not checked'
    end
    object Check3: TqelCheckBox
      Left = 16
      Top = 175
      Caption = 'Disabled'
      Checked = True
      Enabled = False
    end
    object Radio1: TqelRadioButton
      Left = 180
      Top = 125
      Caption = 'Chosen'
      Checked = True
    end
    object Radio2: TqelRadioButton
      Left = 180
      Top = 150
      Caption = 'Not chosen'
    end
    object Radio3: TqelRadioButton
      Left = 180
      Top = 175
      Caption = 'Disabled'
      Enabled = False
    end
  end
end
)");
    }
};

void Pump() { ui::Application->ProcessMessages(); }

std::vector<HWND> descendants;

BOOL CALLBACK Collect(HWND child, LPARAM) {
    descendants.push_back(child);
    return TRUE;
}

// Copies the window's own picture into `pixels` (top row first) at its place inside `frame`.
void CopyWindow(HWND window, const RECT& frame, std::vector<DWORD>& pixels) {
    RECT r;
    const std::vector<DWORD> own = window_grab::GrabWindow(window, r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int fw = frame.right - frame.left, fh = frame.bottom - frame.top;
    if (own.empty()) return;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int fx = r.left - frame.left + x, fy = r.top - frame.top + y;
            if (fx >= 0 && fy >= 0 && fx < fw && fy < fh) pixels[static_cast<size_t>(fy) * fw + fx] = own[y * w + x];
        }
    }
}

// The form and every visible window in it, parents before their children (Wine keeps some child
// windows on surfaces of their own, which the screen's picture leaves black).
bool SavePicture(HWND form, const std::string& path) {
    RECT frame;
    GetWindowRect(form, &frame);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    std::vector<DWORD> pixels(static_cast<size_t>(w) * h, 0);
    CopyWindow(form, frame, pixels);
    descendants.clear();
    EnumChildWindows(form, Collect, 0);
    for (HWND child : descendants) {
        if (IsWindowVisible(child)) CopyWindow(child, frame, pixels);
    }
    return window_grab::SaveBmp(path, pixels, w, h);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string dir = argv[1];
    ui::TApplication application;
    int failed = 0;
    for (const char* style : {"MacOS", "WinXP", "DeepBlue", "Protein", "BlueGlass"}) {
        ShowcaseForm form(style);
        form.Show();
        if (!wait_painted::PumpUntilPainted(form.Handle(), Pump)) ++failed;
        RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        if (!wait_painted::PumpUntilPainted(form.Handle(), Pump)) ++failed;
        std::string name = style;
        for (char& c : name) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        if (!SavePicture(form.Handle(), dir + "\\skin-" + name + ".bmp")) ++failed;
        form.Hide();
    }
    return failed;
}
