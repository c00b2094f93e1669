// A form with what the XP-look component hooks: a menu bar, a popup menu, a tool bar, a control
// bar and standard controls on the form, on a panel and in a group box. The component itself is
// one of the form's components, read from the description like the rest.
#pragma once
#include <initializer_list>


#include "ComCtrls.h"
#include "ComboBox.h"
#include "ControlBar.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "ImgList.h"
#include "Menus.h"
#include "RadioButton.h"
#include "Reader.h"
#include "StdCtrls.h"
#include "Xpmenu.h"

class XPTestForm : public ui::TForm {
public:
    explicit XPTestForm(ui::TComponent* owner) : ui::TForm(owner) {
        Publish("OwnDraw", &XPTestForm::OwnDraw);
        InitFromText(R"(object XPTestForm: TForm
  Caption = 'XP look'
  ClientWidth = 420
  ClientHeight = 300
  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object FileMenu: TMenuItem
      Caption = '&File'
      object OpenItem: TMenuItem
        Caption = '&Open...'
        ShortCut = 16463
      end
      object SaveItem: TMenuItem
        Caption = '&Save'
        Checked = True
      end
      object Line1: TMenuItem
        Caption = '-'
      end
      object SkippedItem: TMenuItem
        Caption = 'Skipped'
        Tag = 999
        object UnderSkipped: TMenuItem
          Caption = 'Under a skipped item'
        end
      end
      object OwnItem: TMenuItem
        Caption = 'Own drawing'
        OnDrawItem = OwnDraw
      end
      object ExitItem: TMenuItem
        Caption = 'E&xit'
        Enabled = False
      end
    end
    object ViewMenu: TMenuItem
      Caption = '&View'
      object BarItem: TMenuItem
        Caption = 'Tool bar'
        Default = True
      end
    end
  end
  object PopupMenu1: TPopupMenu
    Tag = 999
    object PopupItem: TMenuItem
      Caption = 'Popup item'
    end
  end
  object ToolBar1: TToolBar
    ShowCaptions = True
    ButtonWidth = 60
    ButtonHeight = 36
    object FirstButton: TToolButton
      Caption = 'First'
    end
    object Sep1: TToolButton
      Style = tbsSeparator
      Width = 8
      Tag = 1
    end
    object CheckButton: TToolButton
      Caption = 'Check'
      Style = tbsCheck
      Down = True
    end
  end
  object ControlBar1: TControlBar
    Top = 40
    Height = 40
    object BandPanel: TPanel
      Left = 14
      Top = 4
      Width = 120
      Height = 30
      Caption = 'Band'
    end
  end
  object Edit1: TEdit
    Left = 8
    Top = 100
    Text = 'flat edit'
  end
  object Combo1: TComboBox
    Left = 140
    Top = 100
    Text = 'flat combo'
  end
  object Panel1: TPanel
    Left = 8
    Top = 130
    Width = 190
    Height = 70
    BevelOuter = bvLowered
    object PanelEdit: TEdit
      Left = 8
      Top = 8
      Tag = 999
    end
    object PanelCheck: TCheckBox
      Left = 8
      Top = 40
      Caption = 'Check box'
      Checked = True
    end
  end
  object Group1: TGroupBox
    Left = 210
    Top = 130
    Width = 200
    Height = 100
    Caption = 'Group'
    object Radio1: TRadioButton
      Left = 10
      Top = 20
      Caption = 'Radio'
      Checked = True
    end
    object Button1: TButton
      Left = 10
      Top = 50
      Caption = 'Button'
    end
  end
  object Speed1: TSpeedButton
    Left = 8
    Top = 210
    Width = 40
    Height = 30
  end
  object Skipped: TPanel
    Left = 60
    Top = 210
    Width = 140
    Height = 60
    Tag = 999
    object UnderSkippedPanel: TEdit
      Left = 4
      Top = 4
    end
  end
  object XPMenu1: TXPMenu
  end
end
)");
        xp = ui::FindAs<xpmenu::TXPMenu>(*this, "XPMenu1");
    }

    template <class T>
    T* Find(const char* name) {
        return ui::FindAs<T>(*this, name);
    }

    void OwnDraw(ui::TComponent*, ui::TCanvas*, ui::TRect, bool) { ++ownDraws; }

    xpmenu::TXPMenu* xp = nullptr;
    int ownDraws = 0;
};

// Runs the messages that are waiting.
inline void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A glyph of cells 8 x 8 side by side, each a block of its colour on a fuchsia ground.
inline void MakeGlyph(ui::TBitmap& glyph, std::initializer_list<COLORREF> cells) {
    glyph.SetSize(8 * static_cast<int>(cells.size()), 8);
    int i = 0;
    for (COLORREF c : cells) {
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) glyph.SetPixel(8 * i + x, y, x >= 2 && x < 6 && y >= 2 && y < 6 ? c : RGB(255, 0, 255));
        ++i;
    }
}
