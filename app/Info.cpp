#include "Info.h"

#include <windows.h>

#include "EngineTypes.h"
#include "Folders.h"
#include "ItemRules.h"
#include "ProgramTexts.h"
#include "SanitizeFileName.h"
#include "SysUtils.h"

TfrmInfo* frmInfo = nullptr;

TfrmInfo::TfrmInfo(ui::TComponent* owner) : ui::TForm(owner) {
    ChooseFolder = ChooseFolderWithShell;
    Publish("EditURLChange", &TfrmInfo::EditURLChange);
    Publish("Button1Click", &TfrmInfo::Button1Click);
    Publish("Button2Click", &TfrmInfo::Button2Click);
    Publish("SpeedButton1Click", &TfrmInfo::SpeedButton1Click);
    InitFromResource("TFRMINFO");
}

void TfrmInfo::BindComponents() {
    using ui::FindAs;
    Panel1 = FindAs<ui::TPanel>(*this, "Panel1");
    Label1 = FindAs<ui::TLabel>(*this, "Label1");
    Label2 = FindAs<ui::TLabel>(*this, "Label2");
    Label3 = FindAs<ui::TLabel>(*this, "Label3");
    Label4 = FindAs<ui::TLabel>(*this, "Label4");
    Label5 = FindAs<ui::TLabel>(*this, "Label5");
    EditURL = FindAs<ui::TEdit>(*this, "EditURL");
    edUser = FindAs<ui::TEdit>(*this, "edUser");
    edPass = FindAs<ui::TEdit>(*this, "edPass");
    EditDest = FindAs<ui::TEdit>(*this, "EditDest");
    EditFileName = FindAs<ui::TEdit>(*this, "EditFileName");
    SpeedButton1 = FindAs<ui::TSpeedButton>(*this, "SpeedButton1");
    Button1 = FindAs<ui::TButton>(*this, "Button1");
    Button2 = FindAs<ui::TButton>(*this, "Button2");
}

void TfrmInfo::EditURLChange(ui::TComponent*) {
    char name[kFileNameSize] = {};
    if (FileNameFromUrl && FileNameFromUrl(EditURL->Text().c_str(), name)) {
        name[sizeof name - 1] = '\0';
        EditFileName->SetText(name);
    }
}

void TfrmInfo::Button1Click(ui::TComponent*) {
    const std::string typed = EditURL->Text();
    const std::string url = ui::Trim(typed);
    if (url != typed) EditURL->SetText(url);  // a change like any other: a file name is proposed
    if (!HasRunScheme(url.c_str())) {
        ui::ShowMessage(kInvalidInput);
        return;
    }
    const std::string folder = EditDest->Text();
    const std::string name = EditFileName->Text();
    if (folder.empty() || name.empty()) {
        ui::ShowMessage(kInvalidInput);
        return;
    }
    // Both callers get the name cleaned; one that cleans away to nothing would make the folder
    // itself the destination.
    const std::string cleaned = SanitizeFileName(name);
    if (!IsUsableFileName(cleaned)) {
        ui::ShowMessage(kInvalidInput);
        return;
    }
    // The engine's fields hold so much and no more: what does not fit is refused here, with the
    // fields as typed, never cut on the way to the engine and the server.
    bool urlFits = url.size() < kUrlSize;
    if (urlFits && UrlWithLogin) urlFits = !UrlWithLogin(url, ui::Trim(edUser->Text()), ui::Trim(edPass->Text())).empty();
    if (!urlFits) {
        ui::ShowMessage(kUrlTooLong);
        EditURL->SetFocus();
        return;
    }
    if (WithBackslash(folder).size() + cleaned.size() >= kPathSize) {
        ui::ShowMessage(kPathTooLong);
        EditFileName->SetFocus();
        return;
    }
    if (cleaned != name) EditFileName->SetText(cleaned);
    if (ConfirmFolder(Handle(), folder)) SetModalResult(ui::mrOk);
}

void TfrmInfo::Button2Click(ui::TComponent*) { SetModalResult(ui::mrCancel); }

void TfrmInfo::SpeedButton1Click(ui::TComponent*) {
    // Opens at the default folder whatever the field holds.
    std::string folder = kDefaultDestFolder;
    if (ChooseFolder && ChooseFolder(folder)) EditDest->SetText(folder);
}

LRESULT TfrmInfo::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Enter in a field presses OK, the default button; Esc is not bound to Cancel.
    if (message == WM_COMMAND && lParam == 0 && LOWORD(wParam) == IDOK && HIWORD(wParam) == 0) {
        if (Button1->Enabled()) Button1->Click();
        return 0;
    }
    return ui::TForm::WndProc(message, wParam, lParam);
}
