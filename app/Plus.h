// The about box and the splash window.
#pragma once
#include "ExtCtrls.h"
#include "Forms.h"
#include "Mylabel.h"
#include "StdCtrls.h"

class TAboutBox : public ui::TForm {
public:
    explicit TAboutBox(ui::TComponent* owner);
    ui::TPanel* Panel1;
    ui::TImage* ProgramIcon;
    TMyLabel* MyLabel1;
    ui::TLabel* Version;
    ui::TButton* OKButton;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void BindComponents() override;
};

class TForm2 : public ui::TForm {
public:
    explicit TForm2(ui::TComponent* owner);
    ui::TImage* Image1;
    void FormCreate(ui::TComponent* sender);

protected:
    void BindComponents() override;
};

extern TAboutBox* AboutBox;
