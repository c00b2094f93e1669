#include "Qelregister.h"

#include "Qelcombobox.h"
#include "Qelform.h"
#include "Qelgroupbox.h"
#include "Qelimagepanel.h"
#include "Qelmainmenu.h"
#include "Qelprogressbar.h"
#include "Qeltabcontrol.h"
#include "Reader.h"

namespace skin {

void RegisterSkinClasses() {
    ui::RegisterComponentClass<TqelForm>("TqelForm");
    ui::RegisterComponentClass<TqelMainMenu>("TqelMainMenu");
    ui::RegisterComponentClass<TqelProgressBar>("TqelProgressBar");
    ui::RegisterComponentClass<TqelImagePanel>("TqelImagePanel");
    ui::RegisterComponentClass<TqelGroupBox>("TqelGroupBox");
    ui::RegisterComponentClass<TqelComboBox>("TqelComboBox");
    ui::RegisterComponentClass<TqelTabControl>("TqelTabControl");
}

}  // namespace skin
