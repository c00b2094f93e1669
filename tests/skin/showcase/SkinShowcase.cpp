// Shows the test form that places every control of the skinned library (SkinShowcase.frm) in the
// style named on the command line, fills in what a description cannot hold (list view rows, the
// check list's checks), and once everything has painted writes the ready file, so that the
// screenshot script can take the picture; it ends by itself after half a minute.
//   SkinShowcase <form.frm> <style word, e.g. DeepBlue> <ready file>
#include <windows.h>

#include <commctrl.h>

#include <fstream>
#include <sstream>
#include <string>

#include "ComCtrls.h"
#include "Forms.h"
#include "Qelchecklistbox.h"
#include "Qelform.h"
#include "Qellistview.h"
#include "Qelregister.h"
#include "Qelthemes.h"
#include "WaitPainted.h"

namespace {

class ShowcaseForm : public ui::TForm {
public:
    ShowcaseForm(ui::TComponent* owner, const std::string& description) : ui::TForm(owner) {
        InitFromText(description);
    }
};

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        ui::Application->ProcessMessages();
        Sleep(10);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) return 3;
    std::stringstream text;
    text << in.rdbuf();
    ui::TApplication application;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    skin::RegisterSkinClasses();
    ShowcaseForm form(nullptr, text.str());
    ui::FindAs<skin::TqelForm>(form, "Frame1")->SetUIStyle(skin::ParseUIStyle(argv[2]));
    auto* list = ui::FindAs<skin::TqelListView>(form, "ListView1");
    const char* const rows[][2] = {{"movie.asf", "12 MB"}, {"song.mp3", "4 MB"}, {"talk.rm", "800 KB"}};
    for (const auto& row : rows) {
        ui::TListItem* item = list->AddItem();
        item->SetCaption(row[0]);
        item->AddSubItem(row[1]);
    }
    auto* checks = ui::FindAs<skin::TqelCheckListBox>(form, "CheckList1");
    checks->SetChecked(1, true);
    checks->SetChecked(3, true);
    form.Show();
    const auto step = [] { ui::Application->ProcessMessages(); };
    if (!wait_painted::PumpUntilPainted(form.Handle(), step)) return 4;
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (!wait_painted::PumpUntilPainted(form.Handle(), step)) return 4;
    std::ofstream(argv[3]) << "ready\n";
    Pump(30000);  // shown while the picture is taken; the script ends it
    return 0;
}
