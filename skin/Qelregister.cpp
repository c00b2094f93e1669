#include "Qelregister.h"

#include "Qelbutton.h"
#include "Qelchecklistbox.h"
#include "Qelcombobox.h"
#include "Qeledit.h"
#include "Qelform.h"
#include "Qelgroupbox.h"
#include "Qelimagepanel.h"
#include "Qellistbox.h"
#include "Qellistview.h"
#include "Qelmainmenu.h"
#include "Qelmemo.h"
#include "Qelprogressbar.h"
#include "Qelradiogroup.h"
#include "Qelsidechannel.h"
#include "Qeltabcontrol.h"
#include "Qeltitlebar.h"
#include "Qeltreeview.h"
#include "Reader.h"

namespace skin {

void RegisterSkinClasses() {
    ui::RegisterComponentClass<TqelForm>("TqelForm");
    ui::RegisterComponentClass<TqelButton>("TqelButton");
    ui::RegisterComponentClass<TqelImageButton>("TqelImageButton");
    ui::RegisterComponentClass<TqelCheckBox>("TqelCheckBox");
    ui::RegisterComponentClass<TqelRadioButton>("TqelRadioButton");
    ui::RegisterComponentClass<TqelTitleBar>("TqelTitleBar");
    ui::RegisterComponentClass<TqelMainMenu>("TqelMainMenu");
    ui::RegisterComponentClass<TqelProgressBar>("TqelProgressBar");
    ui::RegisterComponentClass<TqelImagePanel>("TqelImagePanel");
    ui::RegisterComponentClass<TqelGroupBox>("TqelGroupBox");
    ui::RegisterComponentClass<TqelCheckGroup>("TqelCheckGroup");
    ui::RegisterComponentClass<TqelRadioGroup>("TqelRadioGroup");
    ui::RegisterComponentClass<TqelComboBox>("TqelComboBox");
    ui::RegisterComponentClass<TqelTabControl>("TqelTabControl");
    ui::RegisterComponentClass<TqelEdit>("TqelEdit");
    ui::RegisterComponentClass<TqelMemo>("TqelMemo");
    ui::RegisterComponentClass<TqelListBox>("TqelListBox");
    ui::RegisterComponentClass<TqelCheckListBox>("TqelCheckListBox");
    ui::RegisterComponentClass<TqelListView>("TqelListView");
    ui::RegisterComponentClass<TqelTreeView>("TqelTreeView");
    ui::RegisterComponentClass<TqelSideChannel>("TqelSideChannel");
}

}  // namespace skin
