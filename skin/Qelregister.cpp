#include "Qelregister.h"

#include "Qelbutton.h"
#include "Qelform.h"
#include "Qelmainmenu.h"
#include "Qeltitlebar.h"
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
}

}  // namespace skin
