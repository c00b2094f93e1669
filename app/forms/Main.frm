object Form1: TForm1
  Left = 0
  Top = 0
  Width = 812
  Height = 577
  Caption = 'Tarvexa Ripplecast'
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  Position = poDesktopCenter
  WindowState = wsMaximized
  OnClose = FormClose
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  object CoolBar1: TCoolBar
    Left = 0
    Top = 0
    Width = 804
    Height = 75
    Align = alTop
    EdgeBorders = []
    object ToolBar1: TToolBar
      Width = 800
      Height = 23
      ButtonWidth = 55
      ButtonHeight = 21
      Flat = True
      ShowCaptions = True
      List = True
      Menu = qelMainMenu1
    end
    object ToolBar2: TToolBar
      Width = 800
      Height = 40
      ButtonWidth = 38
      ButtonHeight = 40
      Flat = True
      ShowCaptions = True
      Images = ImageList1
      DisabledImages = ImageList1
      object btnDown: TToolButton
        Caption = 'Down'
        ImageIndex = 0
        Enabled = False
        OnClick = btnDownClick
      end
      object btnCancel: TToolButton
        Caption = 'Stop'
        ImageIndex = 1
        Enabled = False
        OnClick = pupCancelClick
      end
      object btnAdd: TToolButton
        Caption = 'Add'
        ImageIndex = 2
        OnClick = btnAddClick
      end
      object btnDelete: TToolButton
        Caption = 'Delete'
        ImageIndex = 3
        Enabled = False
        OnClick = pupDeleteClick
      end
      object ToolButton1: TToolButton
        Width = 8
        Style = tbsSeparator
      end
      object btnDest: TToolButton
        Caption = 'Dest'
        ImageIndex = 4
        OnClick = OpenDestFilePath1Click
      end
      object btnHelp: TToolButton
        Caption = 'Help'
        ImageIndex = 5
        OnClick = btnHelpClick
      end
      object btnHome: TToolButton
        Caption = 'Home'
        ImageIndex = 6
        OnClick = btnHomeClick
      end
      object btnExit: TToolButton
        Caption = 'Exit'
        ImageIndex = 7
        OnClick = btnExitClick
      end
    end
  end
  object TreeView1: TTreeView
    Width = 201
    Align = alLeft
    ReadOnly = True
    RowSelect = True
    HideSelection = False
    ShowButtons = False
    // Lines would switch the whole-row selection off.
    ShowLines = False
    Indent = 19
    Images = ImageList2
    OnChange = TreeView1Change
    Items = <
      item
        Text = 'Ripplecast'
        ImageIndex = 0
        SelectedIndex = 0
        Items = <
          item
            Text = 'Downloading'
            ImageIndex = 1
            SelectedIndex = 1
          end
          item
            Text = 'Downloaded'
            ImageIndex = 2
            SelectedIndex = 2
          end
          item
            Text = 'Deleted'
            ImageIndex = 3
            SelectedIndex = 3
          end>
      end>
  end
  object Splitter1: TSplitter
    Width = 3
    Align = alLeft
  end
  object Panel1: TPanel
    Align = alClient
    BevelOuter = bvNone
    object Panel3: TPanel
      Height = 185
      Align = alTop
      BevelOuter = bvNone
      object ListDowned: TListView
        Align = alClient
        Visible = False
        ViewStyle = vsReport
        ReadOnly = True
        RowSelect = True
        GridLines = True
        FlatScrollBars = True
        HideSelection = False
        ColumnClick = False
        MultiSelect = False
        SmallImages = ImageList3
        Columns = <
          item
            Width = 30
            ImageIndex = 0
          end
          item
            Caption = 'FileName'
            Width = 250
          end
          item
            Caption = 'Size'
            Width = 80
          end
          item
            Caption = 'URL'
            Width = 400
          end>
        OnSelectItem = ListDownedSelectItem
        OnMouseDown = ListDownedMouseDown
        OnKeyDown = ListDownedKeyDown
      end
      object ListDown: TListView
        Align = alClient
        ViewStyle = vsReport
        ReadOnly = True
        RowSelect = True
        GridLines = True
        FlatScrollBars = True
        HideSelection = False
        ColumnClick = False
        MultiSelect = False
        SmallImages = ImageList3
        OnClick = ListDownClick
        OnSelectItem = ListDownSelectItem
        Columns = <
          item
            Width = 30
            ImageIndex = 0
          end
          item
            Caption = 'FileName'
            Width = 200
          end
          item
            Caption = 'Size'
            Width = 70
          end
          item
            Caption = 'Completed'
            Width = 70
          end
          item
            Caption = 'Percent'
          end
          item
            Caption = 'URL'
            Width = 400
          end>
        OnMouseDown = ListDownMouseDown
        OnKeyDown = ListDownKeyDown
      end
      object ListDeleted: TListView
        Align = alClient
        Visible = False
        ViewStyle = vsReport
        ReadOnly = True
        RowSelect = True
        GridLines = True
        FlatScrollBars = True
        HideSelection = False
        ColumnClick = False
        MultiSelect = False
        SmallImages = ImageList3
        Columns = <
          item
            Width = 30
            ImageIndex = 0
          end
          item
            Caption = 'FileName'
            Width = 250
          end
          item
            Caption = 'Size'
            Width = 80
          end
          item
            Caption = 'URL'
            Width = 400
          end>
        OnSelectItem = ListDownedSelectItem
        OnMouseDown = ListDeletedMouseDown
        OnKeyDown = ListDeletedKeyDown
      end
    end
    object Splitter2: TSplitter
      Height = 3
      Align = alTop
    end
    object Page_Info: TPageControl
      Align = alClient
      ActivePage = sht_Log
      object sht_Chart: TTabSheet
        Caption = 'Download Chart'
        object Panel4: TPanel
          Align = alClient
          BevelInner = bvLowered
          BevelOuter = bvNone
          object pp_Chart: TProgressPanel
            Align = alClient
            BevelInner = bvRaised
            BevelOuter = bvLowered
            BorderWidth = 1
            DidBitmap = 'CELL_DID'
            TryBitmap = 'CELL_TRY'
            TotalCount = 0
            ComedCount = 0
            OnResize = pp_ChartResize
          end
        end
      end
      object sht_Log: TTabSheet
        Caption = 'Download Log'
        object Memo1: TMemo
          Align = alClient
          Color = clBtnFace
          ReadOnly = True
          ScrollBars = ssBoth
        end
      end
    end
  end
  object ImageList3: TImageList
    Width = 16
    Height = 16
    Bitmap = 'STATE_IMAGES'
  end
  object ImageList1: TImageList
    Width = 22
    Height = 20
    Bitmap = 'TOOLBAR_IMAGES'
  end
  object ImageList2: TImageList
    Width = 16
    Height = 16
    Bitmap = 'TREE_IMAGES'
  end
  object ImageList4: TImageList
    Width = 16
    Height = 16
    Bitmap = 'MENU_IMAGES'
  end
  object PopupMenu1: TPopupMenu
    OwnerDraw = True
    object pupNN: TMenuItem
      OnMeasureItem = pupNNMeasureItem
      OnDrawItem = pupNNDrawItem
    end
    object pupAdd: TMenuItem
      Break = mbBreak
      Caption = 'Add'
      OnClick = btnAddClick
    end
    object pupDelete: TMenuItem
      Caption = 'Delete'
      OnClick = pupDeleteClick
    end
    object MenuItem1: TMenuItem
      Caption = '-'
      OnDrawItem = MenuItem1DrawItem
    end
    object pupClear: TMenuItem
      Caption = 'Clear All'
      OnClick = pupClearClick
    end
    object MenuItem2: TMenuItem
      Caption = '-'
      OnDrawItem = MenuItem2DrawItem
    end
    object pupDown: TMenuItem
      Caption = 'Down'
      OnClick = btnDownClick
    end
    object pupDownAll: TMenuItem
      Caption = 'Down All'
      OnClick = pupDownAllClick
    end
    object pupCancel: TMenuItem
      Caption = 'Stop'
      OnClick = pupCancelClick
    end
    object pupCancelAll: TMenuItem
      Caption = 'Stop All'
      OnClick = pupCancelAllClick
    end
    object N4: TMenuItem
      Caption = '-'
      OnDrawItem = N4DrawItem
    end
    object pupDownAgain: TMenuItem
      Caption = 'Down Again'
      OnClick = pupDownAgainClick
    end
    object pupOpen: TMenuItem
      Caption = 'Open Downloaded'
      OnClick = pupOpenClick
    end
    object pupProperty: TMenuItem
      Caption = 'Property'
      OnClick = pupPropertyClick
    end
  end
  object qelMainMenu1: TqelMainMenu
    Images = ImageList4
    OwnerDraw = True
    UIStyle = DeepBlue
    MenuItemHeight = 21
    SeparatorHeight = 5
    BarWidth = 26
    BarColor = $00CED3D6
    Color = clWhite
    SeparatorColor = $00848284
    SelectedBorderColor = $00C66931
    SelectedColor = $00EFD3C6
    SelectedFontColor = clBlack
    FontColor = clBlack
    BorderColor = clBlack
    FlatMenu = False
    FontName = 'MS Sans Serif'
    FontSize = 8
    FontCharset = DEFAULT_CHARSET
    UseSystemFont = True
    object menuFile1: TMenuItem
      Caption = 'File'
      object Tools1: TMenuItem
        Caption = 'Property Tools'
        OnClick = Tools1Click
      end
      object OpenDestFilePath1: TMenuItem
        Caption = 'Open Dest File Path'
        ImageIndex = 0
        OnClick = OpenDestFilePath1Click
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Exit1: TMenuItem
        Caption = 'Exit'
        ImageIndex = 4
        OnClick = btnExitClick
      end
    end
    object menuEdit1: TMenuItem
      Caption = 'Edit'
      object CopyURL1: TMenuItem
        Caption = 'Copy URL'
        ImageIndex = 1
        OnClick = CopyURL1Click
      end
      object PasteURL1: TMenuItem
        Caption = 'Paste URL'
        ImageIndex = 2
        OnClick = btnAddClick
      end
      object N2: TMenuItem
        Caption = '-'
      end
      object SelectAll1: TMenuItem
        Caption = 'Select All'
        OnClick = SelectAll1Click
      end
    end
    object menuDownload1: TMenuItem
      Caption = 'Download'
      object menuAdd: TMenuItem
        Caption = 'Add'
        OnClick = btnAddClick
      end
      object menuDelete: TMenuItem
        Caption = 'Delete'
        OnClick = pupDeleteClick
      end
      object N3: TMenuItem
        Caption = '-'
      end
      object menuBegin: TMenuItem
        Caption = 'Begin'
        OnClick = btnDownClick
      end
      object menuStop: TMenuItem
        Caption = 'Stop'
        OnClick = pupCancelClick
      end
      object menuBeginAll: TMenuItem
        Caption = 'Begin All'
        OnClick = pupDownAllClick
      end
      object menuStopAll: TMenuItem
        Caption = 'Stop All'
        OnClick = pupCancelAllClick
      end
    end
    object menuHelp1: TMenuItem
      Caption = 'Help'
      object Help1: TMenuItem
        Caption = 'Help'
        ImageIndex = 3
        OnClick = btnHelpClick
      end
      object HomePage2: TMenuItem
        Caption = 'Homepage'
        OnClick = btnHomeClick
      end
      object N5: TMenuItem
        Caption = '-'
      end
      object N6: TMenuItem
        Caption = '-'
      end
      object About1: TMenuItem
        Caption = 'About'
        OnClick = About1Click
      end
    end
  end
  object Timer1: TTimer
    OnTimer = Timer1Timer
  end
end
