// A window caption drawn from bitmap sections (left, stretched middle, right) and a row of title
// buttons (close, maximise or restore, minimise, help, custom), with an optional control-box
// button or the program's icon on the left. Dragging it moves the form; its buttons act on it.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "Qelthemes.h"

namespace skin {

enum class TqelTitleBarAlign : uint8_t { qelLeft = 0, qelRight = 1, qelClient = 2 };
enum class TqelTitleBarBtnType : uint8_t { qelMax = 0, qelMin = 1, qelClose = 2, qelHelp = 3, qelControlBox = 4, qelCustom = 5 };
using TqelTitleBarButtonClickEvent = std::function<void(ui::TComponent* sender, int index)>;

class TqelTitleBar;

class TqelTitleBarSection {
public:
    explicit TqelTitleBarSection(TqelTitleBar* bar) : bar_(bar) {}
    int Width() const { return width_; }
    void SetWidth(int width);
    TqelTitleBarAlign Align() const { return align_; }
    void SetAlign(TqelTitleBarAlign align);
    ui::TBitmap& Picture() { return picture_; }
    void SetPicture(const ui::TBitmap* picture);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

private:
    TqelTitleBar* bar_;
    int width_ = 10;
    TqelTitleBarAlign align_ = TqelTitleBarAlign::qelLeft;
    ui::TBitmap picture_;
    bool stretch_ = false, autoSize_ = false;
};

class TqelTitleBarButton {
public:
    explicit TqelTitleBarButton(TqelTitleBar* bar);
    TqelTitleBarBtnType ButtonType() const { return type_; }
    void SetButtonType(TqelTitleBarBtnType type);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    int Top() const { return top_; }
    void SetTop(int top);
    TqelUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TqelUIStyle style);
    ui::TPopupMenu* ControlBoxMenu = nullptr;
    ui::TBitmap& PicNormal() { return picNormal_; }
    ui::TBitmap& PicMouseOn() { return picMouseOn_; }
    ui::TBitmap& PicMouseDown() { return picMouseDown_; }
    // Own pictures only for custom and control-box buttons.
    void SetPicNormal(const ui::TBitmap& picture);
    void SetPicMouseOn(const ui::TBitmap& picture);
    void SetPicMouseDown(const ui::TBitmap& picture);

    void DoClick();
    void UpdateUIStyle();
    void ProcessMaxBtn();

private:
    bool AcceptsPictures() const;
    void LoadPictures(int first);

    TqelTitleBar* bar_;
    TqelTitleBarBtnType type_ = TqelTitleBarBtnType::qelCustom;
    bool transparent_ = false;
    int top_ = 2;
    TqelUIStyle uiStyle_ = TqelUIStyle::DeepBlue;
    ui::TBitmap picNormal_, picMouseOn_, picMouseDown_;
};

class TqelTitleBar : public ui::TCustomPanel {
public:
    explicit TqelTitleBar(ui::TComponent* owner);

    // Where the refusals of a change are reported (an error box by default).
    static std::function<void(const std::string&)> ErrorDialog;

    TqelUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TqelUIStyle style);
    int SectionCount() const { return static_cast<int>(sections_.size()); }
    TqelTitleBarSection& Section(int i) { return *sections_.at(i); }
    TqelTitleBarSection& AddSection();
    void ClearSections();
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TqelTitleBarButton& Button(int i) { return *buttons_.at(i); }
    TqelTitleBarButton& AddButton();
    void ClearButtons();
    // The collections of a form description (`< item ... end >`); a picture names a bitmap resource.
    void ReadSections(const ui::Value& items);
    void ReadButtons(const ui::Value& items, ui::Reader& reader);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    int ButtonInterval() const { return buttonInterval_; }
    void SetButtonInterval(int value);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) override;
    bool FormActive() const { return formActive_; }
    void SetFormActive(bool value);
    int LeftBtnXOffset() const { return leftOffset_; }
    void SetLeftBtnXOffset(int value);
    int RightBtnXOffset() const { return rightOffset_; }
    void SetRightBtnXOffset(int value);
    bool DrawAppIcon() const { return drawAppIcon_; }
    void SetDrawAppIcon(bool value);
    int CornerRadius() const { return cornerRadius_; }
    int HoveredButton() const { return hovered_; }
    // Where the mouse is, in screen coordinates; tests set their own.
    void SetCursorSource(std::function<POINT()> source) { cursorPos_ = std::move(source); }

    TqelTitleBarButtonClickEvent OnCustomBtnsClick, OnHelpBtnClick;

    ui::TCustomForm* ParentForm() const;
    bool InForm() const;
    void OnFormReSize();
    void SetFormRoundCorner(int radius);
    void Changed() { Invalidate(); }

    // The mouse, in bar coordinates.
    void MouseDown(ui::TMouseButton button, int x, int y);
    void MouseUp(ui::TMouseButton button, int x, int y);
    void DblClick();

    void PaintTo(ui::TCanvas& canvas) override { Paint(canvas); }
    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void Paint(ui::TCanvas& canvas) override;
    virtual void DrawSectionsTo(ui::TBitmap& bitmap);
    virtual void DrawButtons(ui::TBitmap& bitmap);

private:
    POINT CursorInBar();

    TqelUIStyle uiStyle_ = TqelUIStyle::DeepBlue;
    std::vector<std::unique_ptr<TqelTitleBarSection>> sections_;
    std::vector<std::unique_ptr<TqelTitleBarButton>> buttons_;
    bool autoSize_ = false;
    int buttonInterval_ = 0;
    std::string caption_;
    bool formActive_ = true;
    int leftOffset_ = 0, rightOffset_ = 0;
    int cornerRadius_ = 0;
    bool drawAppIcon_ = false;
    bool mouseDown_ = false;
    int hovered_ = -1;
    std::function<POINT()> cursorPos_;
};

bool FormMaximised(const ui::TCustomForm& form);

}  // namespace skin
