#include "Plus.h"

#include "Main.h"
#include "Reader.h"

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(ui::TComponent* owner) : ui::TForm(owner) {
    RegisterProgramClasses();
    InitFromResource("TABOUTBOX");
}

void TAboutBox::BindComponents() {
    Panel1 = ui::FindAs<ui::TPanel>(*this, "Panel1");
    ProgramIcon = ui::FindAs<ui::TImage>(*this, "ProgramIcon");
    MyLabel1 = ui::FindAs<TMyLabel>(*this, "MyLabel1");
    Version = ui::FindAs<ui::TLabel>(*this, "Version");
    OKButton = ui::FindAs<ui::TButton>(*this, "OKButton");
}

LRESULT TAboutBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Enter presses OK, the default button; Esc closes the box as well (its result is not looked at).
    if (message == WM_COMMAND && lParam == 0 && HIWORD(wParam) == 0 &&
        (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        OKButton->Click();
        return 0;
    }
    return ui::TForm::WndProc(message, wParam, lParam);
}

TForm2::TForm2(ui::TComponent* owner) : ui::TForm(owner) {
    Publish("FormCreate", &TForm2::FormCreate);
    InitFromResource("TFORM2");
}

void TForm2::BindComponents() { Image1 = ui::FindAs<ui::TImage>(*this, "Image1"); }

void TForm2::FormCreate(ui::TComponent*) { DoubleBuffered = true; }
