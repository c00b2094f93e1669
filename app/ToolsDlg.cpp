#include "ToolsDlg.h"

#include <windows.h>

#include "EngineTypes.h"
#include "Folders.h"
#include "ProgramTexts.h"
#include "SettingRules.h"
#include "SysUtils.h"
#include "sys/win32/FolderSearch.h"

TToolsDlg* ToolsDlg = nullptr;

namespace {

bool ReadInt(const ui::TCustomEdit& edit, int32_t& out) {
    try {
        out = ui::StrToInt(edit.Text());
        return true;
    } catch (const ui::EConvertError&) {
        return false;
    }
}

}  // namespace

TToolsDlg::TToolsDlg(ui::TComponent* owner) : ui::TForm(owner) {
    ChooseFolder = ChooseFolderWithShell;
    Publish("FormCreate", &TToolsDlg::FormCreate);
    Publish("EnableProxyClick", &TToolsDlg::EnableProxyClick);
    Publish("FormShow", &TToolsDlg::FormShow);
    Publish("OKBtnClick", &TToolsDlg::OKBtnClick);
    Publish("SpeedButton1Click", &TToolsDlg::SpeedButton1Click);
    InitFromResource("TTOOLSDLG");
}

void TToolsDlg::BindComponents() {
    using ui::FindAs;
    Bevel1 = FindAs<ui::TBevel>(*this, "Bevel1");
    Label1 = FindAs<ui::TLabel>(*this, "Label1");
    Label2 = FindAs<ui::TLabel>(*this, "Label2");
    Label3 = FindAs<ui::TLabel>(*this, "Label3");
    Label4 = FindAs<ui::TLabel>(*this, "Label4");
    Label6 = FindAs<ui::TLabel>(*this, "Label6");
    Edit1 = FindAs<ui::TEdit>(*this, "Edit1");
    SpeedButton1 = FindAs<ui::TSpeedButton>(*this, "SpeedButton1");
    CSpinEdit1 = FindAs<ui::TSpinEdit>(*this, "CSpinEdit1");
    CSpinEdit2 = FindAs<ui::TSpinEdit>(*this, "CSpinEdit2");
    GroupBox1 = FindAs<ui::TGroupBox>(*this, "GroupBox1");
    EnableProxy = FindAs<ui::TCheckBox>(*this, "EnableProxy");
    edServer = FindAs<ui::TEdit>(*this, "edServer");
    edPort = FindAs<ui::TEdit>(*this, "edPort");
    OKBtn = FindAs<ui::TButton>(*this, "OKBtn");
    CancelBtn = FindAs<ui::TButton>(*this, "CancelBtn");
}

void TToolsDlg::EnableProxyFields() {
    const bool on = EnableProxy->Checked();
    edServer->SetEnabled(on);
    edPort->SetEnabled(on);
}

void TToolsDlg::FormCreate(ui::TComponent*) { EnableProxyFields(); }

void TToolsDlg::EnableProxyClick(ui::TComponent*) { EnableProxyFields(); }

void TToolsDlg::FormShow(ui::TComponent*) {
    const char* path = SettingsPath.c_str();
    char folder[kPathSize] = {};
    if (Manager) {
        Manager->GetDestPath(path, folder);
        folder[sizeof folder - 1] = '\0';
        CSpinEdit1->SetValue(Manager->GetMaxThread(path));
        CSpinEdit2->SetValue(Manager->GetTimeOut(path));
        char server[kUrlSize] = {}, port[kPortTextSize] = {};
        uint8_t enabled = 0;
        Manager->GetProxy(path, server, port, &enabled);
        server[sizeof server - 1] = '\0';
        port[sizeof port - 1] = '\0';
        edServer->SetText(server);
        edPort->SetText(port);
        EnableProxy->SetChecked(enabled != 0);
    }
    EnableProxyFields();
    if (folder[0] != '\0') {
        Edit1->SetText(folder);
        if (DirectoryHasEntry(folder)) return;
    }
    Edit1->SetText(ProgramDownloadFolder());
}

bool TToolsDlg::ReadValues(ToolsValues& values, ui::TWinControl** bad) const {
    auto refuse = [bad](ui::TWinControl* field) {
        if (bad) *bad = field;
        return false;
    };
    values.folder = Edit1->Text();
    if (values.folder.empty() || values.folder.size() >= kPathSize) return refuse(Edit1);
    if (!ReadInt(*CSpinEdit1, values.maxThread) || !MaxThreadInRange(values.maxThread)) return refuse(CSpinEdit1);
    if (!ReadInt(*CSpinEdit2, values.timeOut) || !TimeOutInRange(values.timeOut)) return refuse(CSpinEdit2);
    values.server = edServer->Text();
    values.port = ui::Trim(edPort->Text());
    values.proxyEnabled = EnableProxy->Checked();
    // A proxy that is off keeps its texts as they are, unread: the user cannot see them greyed out,
    // let alone mend them. An empty port is what the settings hold until one is given.
    int32_t port = 0;
    if (values.proxyEnabled && !values.port.empty() && (!ReadInt(*edPort, port) || port < 0 || port > 65535))
        return refuse(edPort);
    return true;
}

bool TToolsDlg::ApplyTo(IFetchkeeper& manager, const char* settingsPath) const {
    ToolsValues values;
    if (!ReadValues(values)) return false;
    manager.SetDestPath(settingsPath, values.folder.c_str());
    manager.SetMaxThread(values.maxThread);
    manager.SaveMaxThread(settingsPath, values.maxThread);
    manager.SetTimeOut(settingsPath, values.timeOut);
    manager.SetProxy(settingsPath, values.server.c_str(), values.port.c_str(), values.proxyEnabled ? 1 : 0);
    return true;
}

void TToolsDlg::OKBtnClick(ui::TComponent*) {
    // The button's own result, OK, is set already; a bad field keeps the dialog open instead.
    ToolsValues values;
    ui::TWinControl* bad = nullptr;
    if (!ReadValues(values, &bad)) {
        SetModalResult(ui::mrNone);
        ui::ShowMessage(kInvalidInput);
        if (bad) bad->SetFocus();
        return;
    }
    if (!ConfirmFolder(Handle(), values.folder)) SetModalResult(ui::mrCancel);
}

void TToolsDlg::SpeedButton1Click(ui::TComponent*) {
    std::string folder = "C:";
    if (ChooseFolder && ChooseFolder(folder)) Edit1->SetText(folder);
}

LRESULT TToolsDlg::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Enter presses OK, the default button; Esc presses Cancel.
    if (message == WM_COMMAND && lParam == 0 && HIWORD(wParam) == 0 &&
        (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        ui::TButton* button = LOWORD(wParam) == IDOK ? OKBtn : CancelBtn;
        if (button->Enabled()) button->Click();
        return 0;
    }
    return ui::TForm::WndProc(message, wParam, lParam);
}
