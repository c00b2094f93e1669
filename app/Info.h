// The add and properties dialog: a download's URL, optional user name and password, destination
// folder and file name, checked when OK is pressed.
#pragma once
#include <functional>
#include <string>

#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

class TfrmInfo : public ui::TForm {
public:
    explicit TfrmInfo(ui::TComponent* owner);

    // Components, as the form's description names them.
    ui::TPanel* Panel1;
    ui::TLabel *Label1, *Label2, *Label3, *Label4, *Label5;
    ui::TEdit *EditURL, *edUser, *edPass, *EditDest, *EditFileName;
    ui::TSpeedButton* SpeedButton1;
    ui::TButton *Button1, *Button2;

    // Event handlers.
    void EditURLChange(ui::TComponent* sender);
    void Button1Click(ui::TComponent* sender);
    void Button2Click(ui::TComponent* sender);
    void SpeedButton1Click(ui::TComponent* sender);

    // The file name of a URL (true when the URL has one), written into a buffer of kFileNameSize bytes: the
    // engine's answer, handed in by whoever opens the dialog. No name is proposed without it.
    std::function<bool(const char* url, char* out)> FileNameFromUrl;
    // The URL with the user name and password folded in, as it would be sent; empty when it does
    // not fit the engine. Set by a caller that sends the login; OK then refuses a URL the login
    // makes too long.
    std::function<std::string(const std::string& url, const std::string& user, const std::string& password)>
        UrlWithLogin;
    // The folder chooser: opens at the given folder, answers true and the chosen folder when the
    // user confirms one. The shell's chooser unless another is put in its place.
    std::function<bool(std::string& folder)> ChooseFolder;

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void BindComponents() override;
};

extern TfrmInfo* frmInfo;
