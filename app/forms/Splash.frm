object Form2: TForm2
  BorderStyle = bsNone
  AutoSize = True
  ClientWidth = 400
  ClientHeight = 300
  Position = poScreenCenter
  OnCreate = FormCreate
  object Image1: TImage
    Left = 0
    Top = 0
    AutoSize = True
    Picture.Bitmap = 'SPLASH'
  end
end
