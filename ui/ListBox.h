// A list of strings over the system's list box, and the same list with a check box before each
// string (drawn by the control itself), toggled by a click on the box or by the space key.
#pragma once
#include <string>
#include <vector>

#include "Controls.h"

namespace ui {

class TListBox : public TWinControl {
public:
    explicit TListBox(TComponent* owner);
    const std::vector<std::string>& Items() const { return items_; }
    int Count() const { return static_cast<int>(items_.size()); }
    virtual void AddItem(const std::string& text);
    virtual void DeleteItem(int index);
    virtual void Clear();
    // -1 when no string is selected.
    int ItemIndex() const;  // changes by the user report through OnClick
    void SetItemIndex(int index);
    // 0 none, 1 single (a sunken frame).
    virtual int BorderStyle() const { return borderStyle_; }
    virtual void SetBorderStyle(int value);
    bool HandleCommand(WORD code, WORD id) override;
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;

protected:
    void FillParams(CreateParams& params) override;
    void InitWnd() override;
    std::vector<std::string> items_;
    int itemIndex_ = -1;  // until the window exists
    int borderStyle_ = 1;
};

class TCheckListBox : public TListBox {
public:
    explicit TCheckListBox(TComponent* owner);
    // false for an index outside the list.
    bool Checked(int index) const;
    // An index outside the list throws.
    void SetChecked(int index, bool checked);
    // Check boxes drawn flat, without the sunken 3-D edge.
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    void AddItem(const std::string& text) override;
    void DeleteItem(int index) override;
    void Clear() override;
    // A string's check state changed by the user (a click on its box, or space).
    TNotifyEvent OnClickCheck;
    // The box area before every string; clicks left of its right edge toggle.
    static constexpr int kCheckWidth = 13, kCheckMargin = 2;

    bool HandleDrawItem(DRAWITEMSTRUCT* item) override;
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void FillParams(CreateParams& params) override;
    void InitWnd() override;
    void FontChanged() override;

private:
    void ToggleByUser(int index);
    void InvalidateItem(int index);
    void FitItemHeight();
    std::vector<char> checked_;
    bool flat_ = false;
};

}  // namespace ui
