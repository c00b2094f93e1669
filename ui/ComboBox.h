// A drop-down combo box over the system's combo box: an edit field with a list of choices.
#pragma once
#include <string>
#include <vector>

#include "Controls.h"

namespace ui {

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* owner);
    const std::vector<std::string>& Items() const { return items_; }
    void AddItem(const std::string& text);
    std::string Text() const;
    void SetText(const std::string& text);
    bool DroppedDown() const;
    TNotifyEvent OnChange;
    bool HandleCommand(WORD code, WORD id) override;
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;
    void SetCaption(const std::string& caption) override { SetText(caption); }

protected:
    void FillParams(CreateParams& params) override;
    void InitWnd() override;

private:
    std::vector<std::string> items_;
    std::string text_;  // until the window exists
};

}  // namespace ui
