// A radio button over the system's button; buttons of one parent exclude each other.
#pragma once
#include "Controls.h"

namespace ui {

class TRadioButton : public TWinControl {
public:
    explicit TRadioButton(TComponent* owner);
    bool Checked() const;
    void SetChecked(bool checked);
    bool HandleCommand(WORD code, WORD id) override;
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;

protected:
    void FillParams(CreateParams& params) override;
    void InitWnd() override;

private:
    bool checked_ = false;
};

}  // namespace ui
