// The up-down control: the common control's pair of arrow buttons that step a position between
// a minimum and a maximum.
#pragma once
#include "Controls.h"

namespace ui {

class TUpDown : public TWinControl {
public:
    explicit TUpDown(TComponent* owner);
    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetRange(int min, int max);
    int Increment() const { return increment_; }
    void SetIncrement(int increment);
    int Position() const;
    void SetPosition(int position);
    bool Horizontal = false;
    // OnClick follows each press of an arrow, once the position has moved.

    bool HandleScroll(UINT message, WPARAM wParam) override;
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;

protected:
    void FillParams(CreateParams& params) override;
    void InitWnd() override;

private:
    int min_ = 0, max_ = 100, increment_ = 1;
    int position_ = 0;  // until the window exists
};

}  // namespace ui
