// Every label of the dialogs shows its whole text at the form's own size, in the fonts the dialogs
// ask for: no label runs past its parent's edge or under a field beside it, and a label of fixed
// width is wide enough for its text.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Graphics.h"
#include "Info.h"
#include "Plus.h"
#include "StdCtrls.h"
#include "ToolsDlg.h"

namespace {

int TextWidth(ui::TCustomLabel& label) {
    ui::TBitmap probe;
    probe.Canvas().Font.Assign(label.Font());
    return probe.Canvas().TextWidth(label.Caption());
}

// The windows beside the label, in its parent's client coordinates.
bool UnderASibling(HWND parent, const RECT& text, std::string& which) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!(GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE)) continue;
        RECT r, overlap;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        if (IntersectRect(&overlap, &r, &text)) {
            char name[64] = {};
            GetWindowTextA(c, name, sizeof name);
            which = name;
            return true;
        }
    }
    return false;
}

void ExpectLabelsFit(ui::TCustomForm& form) {
    SCOPED_TRACE(form.Caption());
    int labels = 0;
    for (int i = 0; i < form.ComponentCount(); ++i) {
        auto* label = dynamic_cast<ui::TCustomLabel*>(form.Component(i));
        if (!label || !label->Visible() || label->Caption().empty()) continue;
        ++labels;
        const int width = TextWidth(*label);
        const ui::TRect b = label->BoundsRect();
        if (!label->AutoSize()) EXPECT_LE(width, b.Width()) << label->Name();
        ui::TWinControl* parent = label->Parent();
        ASSERT_NE(parent, nullptr) << label->Name();
        EXPECT_LE(b.Left + width, parent->ClientWidth()) << label->Name() << " runs past its parent";
        const RECT text{b.Left, b.Top, b.Left + width, b.Bottom};
        std::string which;
        EXPECT_FALSE(UnderASibling(parent->Handle(), text, which))
            << label->Name() << " \"" << label->Caption() << "\" (" << width << " wide) runs under \"" << which << "\"";
    }
    EXPECT_GT(labels, 0);
}

TEST(DialogLabelsTest, EveryLabelShowsItsWholeText) {
    {
        auto form = std::make_unique<TfrmInfo>(ui::Application);
        ExpectLabelsFit(*form);
    }
    {
        auto form = std::make_unique<TToolsDlg>(ui::Application);
        ExpectLabelsFit(*form);
    }
    {
        auto form = std::make_unique<TAboutBox>(ui::Application);
        ExpectLabelsFit(*form);
    }
}

}  // namespace
