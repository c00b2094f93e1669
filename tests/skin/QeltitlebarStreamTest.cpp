// The title bar's sections and buttons read from a form description through the frame, which
// passes its title-bar properties on; pictures name bitmap resources.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Forms.h"
#include "Qelform.h"
#include "Qelpublic.h"
#include "Qelregister.h"
#include "Qeltitlebar.h"

namespace {

using skin::TqelTitleBarAlign;
using skin::TqelTitleBarBtnType;

class TitleForm : public ui::TForm {
public:
    explicit TitleForm(const std::string& extra = "") : ui::TForm(nullptr) {
        skin::RegisterSkinClasses();
        Publish("Helped", &TitleForm::Helped);
        InitFromText(R"(object TitleForm: TForm
  Width = 400
  Height = 300
  object Box1: TPopupMenu
  end
  object Frame1: TqelForm
    UIStyle = WinXP
    TitleBarSections = <
      item
        AutoSize = True
        Picture = 'WINXP_TITLE_LEFT'
      end
      item
        Width = 40
        Align = qelRight
        Picture = 'WINXP_TITLE_RIGHT'
      end
      item
        Align = qelClient
        Picture = 'WINXP_TITLE_CLIENT'
      end>
    TitleBarButtons = <
      item
        ButtonType = qelControlBox
        ControlBoxMenu = Box1
      end
      item
        ButtonType = qelClose
        UIStyle = WinXP
      end
      item
        ButtonType = qelHelp
        Top = 4
      end
      item
        Transparent = True
        PicNormal = 'WINXP_TITLEBTN_HELP_NORMAL'
      end)" + extra + R"(>
    TitleBarDrawAppIcon = True
    OnTitleBarHelpBtnClick = Helped
  end
end
)");
        bar = ui::FindAs<skin::TqelForm>(*this, "Frame1")->TitleBar();
    }
    void Helped(ui::TComponent*, int index) { helped.push_back(index); }
    skin::TqelTitleBar* bar;
    std::vector<int> helped;
};

TEST(QeltitlebarStreamTest, SectionsAndButtonsComeFromTheDescription) {
    TitleForm form;
    skin::TqelTitleBar& bar = *form.bar;
    ASSERT_EQ(bar.SectionCount(), 3);
    ui::TBitmap left;
    skin::LoadSkinBitmap(left, "WINXP_TITLE_LEFT");
    ASSERT_FALSE(left.Empty());
    EXPECT_TRUE(bar.Section(0).AutoSize());
    EXPECT_EQ(bar.Section(0).Picture().Width(), left.Width());
    EXPECT_EQ(bar.Section(0).Align(), TqelTitleBarAlign::qelLeft);
    EXPECT_EQ(bar.Section(1).Align(), TqelTitleBarAlign::qelRight);
    EXPECT_EQ(bar.Section(2).Align(), TqelTitleBarAlign::qelClient);
    EXPECT_TRUE(bar.Section(2).Stretch());  // a client section always stretches
    EXPECT_FALSE(bar.Section(2).Picture().Empty());

    ASSERT_EQ(bar.ButtonCount(), 4);
    EXPECT_EQ(bar.Button(0).ButtonType(), TqelTitleBarBtnType::qelControlBox);
    EXPECT_EQ(bar.Button(0).ControlBoxMenu, ui::FindAs<ui::TPopupMenu>(form, "Box1"));
    EXPECT_EQ(bar.Button(1).ButtonType(), TqelTitleBarBtnType::qelClose);
    EXPECT_EQ(bar.Button(2).ButtonType(), TqelTitleBarBtnType::qelHelp);
    EXPECT_EQ(bar.Button(2).Top(), 4);
    EXPECT_EQ(bar.Button(3).ButtonType(), TqelTitleBarBtnType::qelCustom);
    EXPECT_TRUE(bar.Button(3).Transparent());
    ui::TBitmap help;
    skin::LoadSkinBitmap(help, "WINXP_TITLEBTN_HELP_NORMAL");
    ASSERT_FALSE(help.Empty());
    EXPECT_EQ(bar.Button(3).PicNormal().Width(), help.Width());
    EXPECT_EQ(bar.Button(3).PicNormal().Pixel(1, 1), help.Pixel(1, 1));
    EXPECT_TRUE(bar.DrawAppIcon());
    ASSERT_TRUE(static_cast<bool>(bar.OnHelpBtnClick));
    bar.OnHelpBtnClick(&bar, 2);
    EXPECT_EQ(form.helped, std::vector<int>{2});
}

TEST(QeltitlebarStreamTest, RefusedItemsAreReportedAndLeftOut) {
    std::vector<std::string> errors;
    const auto dialog = skin::TqelTitleBar::ErrorDialog;
    skin::TqelTitleBar::ErrorDialog = [&](const std::string& text) { errors.push_back(text); };
    TitleForm form("\n      item\n        ButtonType = qelControlBox\n      end");
    skin::TqelTitleBar::ErrorDialog = dialog;
    ASSERT_EQ(form.bar->ButtonCount(), 5);
    EXPECT_EQ(form.bar->Button(4).ButtonType(), TqelTitleBarBtnType::qelCustom);
    EXPECT_EQ(errors, std::vector<std::string>{"Sorry, only one button's ButtonType property can be \"qelControlBox\""});
}

}  // namespace
