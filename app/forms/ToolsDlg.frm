object ToolsDlg: TToolsDlg
  Caption = 'Tools'
  BorderStyle = bsDialog
  ClientWidth = 313
  ClientHeight = 223
  ParentFont = True
  Position = poScreenCenter
  OnCreate = FormCreate
  OnShow = FormShow
  object Bevel1: TBevel
    Left = 12
    Top = 8
    Width = 289
    Height = 97
    Shape = bsFrame
  end
  object Label1: TLabel
    Left = 24
    Top = 24
    Width = 22
    Height = 13
    Caption = 'Dest'
  end
  object Label2: TLabel
    Left = 24
    Top = 52
    Width = 78
    Height = 13
    Caption = 'MaxDownloading'
  end
  object Label3: TLabel
    Left = 24
    Top = 80
    Width = 44
    Height = 13
    Caption = 'Time Out'
  end
  object Label4: TLabel
    Left = 162
    Top = 80
    Width = 5
    Height = 13
    Caption = 's'
  end
  object Edit1: TEdit
    Left = 116
    Top = 20
    Width = 121
    Height = 21
    TabOrder = 0
  end
  object SpeedButton1: TSpeedButton
    Left = 239
    Top = 19
    Width = 23
    Height = 22
    Flat = True
    Glyph = 'FOLDER'
    OnClick = SpeedButton1Click
  end
  object CSpinEdit1: TCSpinEdit
    Left = 116
    Top = 48
    Width = 41
    Height = 22
    MinValue = 3
    MaxValue = 3
    TabOrder = 1
  end
  object OKBtn: TButton
    Left = 146
    Top = 188
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 2
    OnClick = OKBtnClick
  end
  object CancelBtn: TButton
    Left = 226
    Top = 188
    Width = 75
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 3
  end
  object CSpinEdit2: TCSpinEdit
    Left = 116
    Top = 76
    Width = 41
    Height = 22
    MinValue = 3
    MaxValue = 3
    TabOrder = 4
  end
  object GroupBox1: TGroupBox
    Left = 12
    Top = 112
    Width = 289
    Height = 65
    Caption = 'Proxy Information'
    TabOrder = 5
    object Label6: TLabel
      Left = 184
      Top = 30
      Width = 3
      Height = 13
      Caption = ':'
    end
    object EnableProxy: TCheckBox
      Left = 12
      Top = 28
      Width = 57
      Height = 17
      Caption = 'Proxy'
      OnClick = EnableProxyClick
    end
    object edServer: TEdit
      Left = 80
      Top = 26
      Width = 97
      Height = 21
    end
    object edPort: TEdit
      Left = 192
      Top = 26
      Width = 41
      Height = 21
    end
  end
end
