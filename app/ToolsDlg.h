// The options dialog: default destination folder, maximum of simultaneous downloads, network
// time-out and proxy. Every showing starts from the stored settings; OK checks every field and
// makes sure the folder exists, and the values are handed to the manager all together or not at all.
#pragma once
#include <functional>
#include <string>

#include "ExtCtrls.h"
#include "Forms.h"
#include "IFetchkeeper.h"
#include "Spin.h"
#include "StdCtrls.h"

// The dialog's fields, read and checked.
struct ToolsValues {
    std::string folder;
    int32_t maxThread = 0;
    int32_t timeOut = 0;
    std::string server, port;
    bool proxyEnabled = false;
};

class TToolsDlg : public ui::TForm {
public:
    explicit TToolsDlg(ui::TComponent* owner);

    // Components, as the form's description names them.
    ui::TBevel* Bevel1;
    ui::TLabel *Label1, *Label2, *Label3, *Label4, *Label6;
    ui::TEdit* Edit1;
    ui::TSpeedButton* SpeedButton1;
    ui::TSpinEdit *CSpinEdit1, *CSpinEdit2;
    ui::TGroupBox* GroupBox1;
    ui::TCheckBox* EnableProxy;
    ui::TEdit *edServer, *edPort;
    ui::TButton *OKBtn, *CancelBtn;

    // Event handlers.
    void FormCreate(ui::TComponent* sender);
    void EnableProxyClick(ui::TComponent* sender);
    void FormShow(ui::TComponent* sender);
    void OKBtnClick(ui::TComponent* sender);
    void SpeedButton1Click(ui::TComponent* sender);

    // The fields as values: a folder that fits a path, a maximum and a time-out the engine takes, and,
    // with the proxy on, a port that is empty or 0 to 65535. False names the first bad field in `bad`.
    bool ReadValues(ToolsValues& values, ui::TWinControl** bad = nullptr) const;
    // Stores and applies the fields through the manager, only when every one of them is good.
    bool ApplyTo(IFetchkeeper& manager, const char* settingsPath) const;

    // Where the stored settings are read, handed in by whoever opens the dialog; without a manager
    // the fields keep what they hold.
    IFetchkeeper* Manager = nullptr;
    std::string SettingsPath;
    // The folder chooser: opens at the given folder, answers true and the chosen folder when the
    // user confirms one. The shell's chooser unless another is put in its place.
    std::function<bool(std::string& folder)> ChooseFolder;

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void BindComponents() override;

private:
    void EnableProxyFields();
};

extern TToolsDlg* ToolsDlg;
