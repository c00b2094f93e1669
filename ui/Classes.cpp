// The class library's own classes, as form descriptions name them.
#include "ActnList.h"
#include "ComCtrls.h"
#include "ComboBox.h"
#include "ControlBar.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "ImgList.h"
#include "ListBox.h"
#include "Menus.h"
#include "RadioButton.h"
#include "Reader.h"
#include "Spin.h"
#include "StdCtrls.h"
#include "UpDown.h"

namespace ui {

void RegisterStandardClasses() {
    RegisterComponentClass<TPanel>("TPanel");
    RegisterComponentClass<TSplitter>("TSplitter");
    RegisterComponentClass<TImage>("TImage");
    RegisterComponentClass<TBevel>("TBevel");
    RegisterComponentClass<TTimer>("TTimer");
    RegisterComponentClass<TLabel>("TLabel");
    RegisterComponentClass<TButton>("TButton");
    RegisterComponentClass<TBitBtn>("TBitBtn");
    RegisterComponentClass<TCheckBox>("TCheckBox");
    RegisterComponentClass<TEdit>("TEdit");
    RegisterComponentClass<TGroupBox>("TGroupBox");
    RegisterComponentClass<TSpeedButton>("TSpeedButton");
    RegisterComponentClass<TUpDown>("TUpDown");
    RegisterComponentClass<TSpinEdit>("TSpinEdit");
    RegisterComponentClass<TSpinEdit>("TCSpinEdit");
    RegisterComponentClass<TMemo>("TMemo");
    RegisterComponentClass<TScrollBar>("TScrollBar");
    RegisterComponentClass<TListView>("TListView");
    RegisterComponentClass<TTreeView>("TTreeView");
    RegisterComponentClass<TToolBar>("TToolBar");
    RegisterComponentClass<TToolButton>("TToolButton");
    RegisterComponentClass<TCoolBar>("TCoolBar");
    RegisterComponentClass<TPageControl>("TPageControl");
    RegisterComponentClass<TTabSheet>("TTabSheet");
    RegisterComponentClass<TImageList>("TImageList");
    RegisterComponentClass<TControlBar>("TControlBar");
    RegisterComponentClass<TComboBox>("TComboBox");
    RegisterComponentClass<TRadioButton>("TRadioButton");
    RegisterComponentClass<TListBox>("TListBox");
    RegisterComponentClass<TCheckListBox>("TCheckListBox");
    RegisterComponentClass<TMainMenu>("TMainMenu");
    RegisterComponentClass<TPopupMenu>("TPopupMenu");
    RegisterComponentClass<TMenuItem>("TMenuItem");
    RegisterComponentClass<TActionList>("TActionList");
    RegisterComponentClass<TAction>("TAction");
}

}  // namespace ui
