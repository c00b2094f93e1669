object AboutBox: TAboutBox
  Caption = 'About'
  BorderStyle = bsDialog
  ClientWidth = 298
  ClientHeight = 213
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  Position = poScreenCenter
  object Panel1: TPanel
    Left = 8
    Top = 8
    Width = 281
    Height = 161
    BevelInner = bvRaised
    BevelOuter = bvLowered
    ParentColor = True
    object ProgramIcon: TImage
      Left = 8
      Top = 8
      Width = 49
      Height = 49
      Stretch = True
      Picture.Icon = 'MAINICON'
    end
    object MyLabel1: TMyLabel
      Left = 88
      Top = 16
      Width = 168
      Height = 17
      BKColor = clAqua
      PREColor = clActiveCaption
      AutoSize = False
      Caption = 'Tarvexa Ripplecast'
      Font.Name = 'MS Sans Serif'
      Font.Height = -13
    end
    object Version: TLabel
      Left = 92
      Top = 40
      Width = 69
      Height = 13
      AutoSize = False
      Caption = 'Version 3.2'
    end
  end
  object OKButton: TButton
    Left = 111
    Top = 180
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
  end
end
