// The program's entry: proves the engine library before any window exists, shows the splash
// while the windows are built, and runs the message loop.
#include <windows.h>

#include "Forms.h"
#include "Info.h"
#include "Interface.h"
#include "Main.h"
#include "Plus.h"
#include "ProgramTexts.h"
#include "ToolsDlg.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ui::TApplication application;
    try {
        // No taskbar button while the splash is up.
        const LONG previous = SetWindowLongA(application.Handle(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
        LoadEngineLibrary();
        IFetchkeeper* probe = NEW_FETCHKEEPER();
        if (!probe) {
            ui::ShowMessage(kBrokenLibrary);
            return 0;
        }
        probe->Release();

        auto* splash = new TForm2(&application);
        splash->Show();
        UpdateWindow(splash->Handle());
        application.ProcessMessages();

        application.Initialize();
        application.SetTitle(kProductName);
        application.CreateForm(Form1);
        application.CreateForm(frmInfo);
        application.CreateForm(ToolsDlg);
        application.CreateForm(AboutBox);
        Sleep(2000);
        splash->Close();
        delete splash;
        SetWindowLongA(application.Handle(), GWL_EXSTYLE, previous);
        application.Run();
    } catch (const ui::Exception& e) {
        application.ShowException(e);
    } catch (...) {
        application.ShowException(ui::Exception(""));
    }
    return 0;
}
