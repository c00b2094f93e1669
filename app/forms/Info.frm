object frmInfo: TfrmInfo
  Caption = 'frmInfo'
  BorderStyle = bsDialog
  ClientWidth = 411
  ClientHeight = 192
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  Position = poScreenCenter
  object Panel1: TPanel
    Left = 1
    Top = 1
    Width = 409
    Height = 153
    BevelOuter = bvLowered
    object Label1: TLabel
      Left = 16
      Top = 20
      Width = 22
      Height = 13
      Caption = 'URL'
    end
    object Label4: TLabel
      Left = 16
      Top = 52
      Width = 22
      Height = 13
      Caption = 'User'
    end
    object Label5: TLabel
      Left = 222
      Top = 52
      Width = 56
      Height = 13
      Caption = 'Password'
    end
    object Label2: TLabel
      Left = 16
      Top = 84
      Width = 22
      Height = 13
      Caption = 'Dest'
    end
    object Label3: TLabel
      Left = 16
      Top = 116
      Width = 45
      Height = 13
      Caption = 'FileName'
    end
    object EditURL: TEdit
      Left = 72
      Top = 16
      Width = 321
      Height = 21
      TabOrder = 0
      OnChange = EditURLChange
    end
    object EditDest: TEdit
      Left = 72
      Top = 80
      Width = 169
      Height = 21
      TabOrder = 1
    end
    object SpeedButton1: TSpeedButton
      Left = 243
      Top = 79
      Width = 23
      Height = 22
      Flat = True
      Glyph = 'FOLDER'
      OnClick = SpeedButton1Click
    end
    object EditFileName: TEdit
      Left = 72
      Top = 112
      Width = 201
      Height = 21
      TabOrder = 2
    end
    object edUser: TEdit
      Left = 72
      Top = 48
      Width = 140
      Height = 21
      TabOrder = 3
    end
    object edPass: TEdit
      Left = 280
      Top = 48
      Width = 117
      Height = 21
      PasswordChar = '*'
      TabOrder = 4
    end
  end
  object Button1: TButton
    Left = 232
    Top = 161
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    TabOrder = 1
    OnClick = Button1Click
  end
  object Button2: TButton
    Left = 320
    Top = 161
    Width = 75
    Height = 25
    Caption = 'Cancel'
    TabOrder = 2
    OnClick = Button2Click
  end
end
