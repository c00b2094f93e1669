object SkinShowcase: TForm
  Left = 0
  Top = 0
  Width = 800
  Height = 430
  BorderStyle = bsNone
  object Frame1: TqelForm
    UIStyle = DeepBlue
    Caption = 'Skinned controls'
    Menu = MainMenu1
    object Button1: TqelButton
      Left = 12
      Top = 64
      Caption = 'OK'
    end
    object Button2: TqelButton
      Left = 110
      Top = 64
      Caption = 'Cancel'
    end
    object Check1: TqelCheckBox
      Left = 12
      Top = 98
      Caption = 'Check box'
      Checked = True
    end
    object Check2: TqelCheckBox
      Left = 116
      Top = 98
      Caption = 'Unchecked'
    end
    object RadioButton1: TqelRadioButton
      Left = 12
      Top = 122
      Caption = 'Radio one'
      Checked = True
    end
    object RadioButton2: TqelRadioButton
      Left = 116
      Top = 122
      Caption = 'Radio two'
    end
    object Edit1: TqelEdit
      Left = 12
      Top = 150
      Width = 200
      Height = 21
      Text = 'Bordered edit'
    end
    object Combo1: TqelComboBox
      Left = 12
      Top = 180
      Width = 200
      Text = 'Combo box'
      Items.Strings = (
        'Combo box'
        'Second choice')
    end
    object Memo1: TqelMemo
      Left = 12
      Top = 210
      Width = 200
      Height = 64
      Lines.Strings = (
        'Bordered memo,'
        'two lines of text')
    end
    object ListBox1: TqelListBox
      Left = 12
      Top = 284
      Width = 96
      Height = 92
      Items.Strings = (
        'List box'
        'Second'
        'Third'
        'Fourth')
      ItemIndex = 1
    end
    object CheckList1: TqelCheckListBox
      Left = 116
      Top = 284
      Width = 96
      Height = 92
      Items.Strings = (
        'Check list'
        'Checked'
        'Third'
        'Checked too')
    end
    object Progress1: TqelProgressBar
      Left = 12
      Top = 388
      Width = 200
      Height = 12
      Max = 100
      Position = 60
      ShowCaption = True
    end
    object ListView1: TqelListView
      Left = 226
      Top = 64
      Width = 262
      Height = 110
      ViewStyle = vsReport
      Columns = <
        item
          Caption = 'List view'
          Width = 150
        end
        item
          Caption = 'Size'
          Width = 80
        end>
    end
    object TreeView1: TqelTreeView
      Left = 226
      Top = 184
      Width = 262
      Height = 100
      Items = <
        item
          Text = 'Tree view'
          Items = <
            item
              Text = 'Child one'
            end
            item
              Text = 'Child two'
            end>
        end
        item
          Text = 'Second root'
        end>
    end
    object Tabs1: TqelTabControl
      Left = 226
      Top = 296
      Width = 262
      Height = 104
      Tabs.Strings = (
        'Tab control'
        'Second'
        'Third')
      TabIndex = 0
    end
    object Group1: TqelGroupBox
      Left = 500
      Top = 60
      Width = 200
      Height = 96
      Caption = 'Group box'
      object GroupProgress1: TqelProgressBar
        Orientation = qelVertical
        Left = 12
        Top = 22
        Width = 12
        Height = 64
        Max = 100
        Position = 70
      end
      object GroupCheck1: TqelCheckBox
        Left = 40
        Top = 40
        Caption = 'Inside the box'
      end
    end
    object Image1: TqelImagePanel
      Left = 500
      Top = 164
      Width = 200
      Height = 56
      Picture.Bitmap = 'WINXP_TITLE_CLIENT'
      DrawStyle = qelStretch
      Font.Color = clWhite
      Caption = 'Image panel'
    end
    object RadioGroup1: TqelRadioGroup
      Left = 500
      Top = 226
      Width = 200
      Height = 92
      Caption = 'Radio group'
      Columns = 2
      Items.Strings = (
        'First'
        'Second'
        'Third'
        'Fourth'
        'Fifth')
      ItemIndex = 2
    end
    object CheckGroup1: TqelCheckGroup
      Left = 500
      Top = 324
      Width = 200
      Height = 82
      Caption = 'Check group'
      Items.Strings = (
        'One'
        'Two'
        'Three')
    end
    object SideChannel1: TqelSideChannel
      Width = 76
      Caption = 'Tools'
      Align = qelRight
      StayOn = True
    end
  end
  object MainMenu1: TqelMainMenu
    object File1: TMenuItem
      Caption = '&File'
    end
    object Edit2: TMenuItem
      Caption = '&Edit'
    end
    object Help1: TMenuItem
      Caption = '&Help'
    end
  end
end
