// The spin edit: an edit for an integer with up and down buttons. A minimum equal to the maximum
// sets no limit.
#pragma once
#include "StdCtrls.h"

namespace ui {

class TSpinEdit : public TCustomEdit {
public:
    explicit TSpinEdit(TComponent* owner);
    ~TSpinEdit() override;
    int MinValue = 0, MaxValue = 0, Increment = 1;
    // The text read as an integer; EConvertError when it is none.
    int Value() const;
    void SetValue(int value);
    // What a click of the up (+1) or down (-1) button does.
    void Step(int direction);
    HWND ButtonsHandle() const { return buttons_; }
    bool SetProperty(const std::string& name, const ui::Value& value, Reader& reader) override;
    void SetBounds(int left, int top, int width, int height) override;
    bool HandleNotify(NMHDR* header, LRESULT& result) override;
    bool HandleScroll(UINT, WPARAM) override { return true; }

protected:
    void InitWnd() override;

private:
    int Clamp(int value) const;
    void PlaceParts();
    HWND buttons_ = nullptr;
};

}  // namespace ui
