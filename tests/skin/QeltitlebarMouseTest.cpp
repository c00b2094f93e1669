// The title bar driven by the mouse as a user drives it: a press and a release over each kind of
// title button, with the hover read from the cursor, and a press on the bare bar handing the form
// to the window manager to drag.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "Menus.h"
#include "Qelpublic.h"
#include "Qelregister.h"
#include "Qeltitlebar.h"
#include "TitleBarDriver.h"

namespace {

using skin::TqelTitleBar;
using skin::TqelTitleBarBtnType;
using skin::TqelUIStyle;

constexpr const char* kForm = R"(object BarForm: TForm
  Left = 60
  Top = 60
  Width = 400
  Height = 300
  object Box1: TPopupMenu
    object Restore1: TMenuItem
      Caption = 'Restore'
    end
  end
  object Bar1: TqelTitleBar
    Caption = 'Downloads'
    UIStyle = DeepBlue
  end
end
)";

class BarForm : public ui::TForm {
public:
    explicit BarForm(ui::TComponent* owner) : ui::TForm(owner) {
        skin::RegisterSkinClasses();
        InitFromText(kForm);
    }
    int drags = 0;

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (KeepDragRequest(message, wParam, drags)) return 0;
        return ui::TForm::WndProc(message, wParam, lParam);
    }
};

std::unique_ptr<ui::TBitmap> Filled(int width, int height, ui::TColor colour) {
    auto bitmap = std::make_unique<ui::TBitmap>();
    bitmap->SetSize(width, height);
    bitmap->Canvas().Brush.Color = colour;
    bitmap->Canvas().FillRect({0, 0, width, height});
    return bitmap;
}

// Where the popped-up menu showed; it is closed at once so the menu's own loop returns.
RECT shownMenu;
bool menuShown = false;
BOOL CALLBACK FindMenuWindow(HWND window, LPARAM found) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) != "#32768" || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}
void CALLBACK CloseShownMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = nullptr;  // this thread's own menu: other test programs share the desktop
    EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&menu));
    if (!menu) return;
    menuShown = true;
    GetWindowRect(menu, &shownMenu);
    EndMenu();
}

class QeltitlebarMouseTest : public ::testing::Test {
protected:
    void SetUp() override {
        bar = ui::FindAs<TqelTitleBar>(form, "Bar1");
        // Buttons 0-3 are the control box, close, maximise, minimise; then a help and a custom one.
        bar->AddButton().SetButtonType(TqelTitleBarBtnType::qelHelp);
        auto& own = bar->AddButton();
        own.SetPicNormal(*Filled(16, 14, ui::clRed));
        own.SetPicMouseOn(*Filled(16, 14, ui::clLime));
        own.SetPicMouseDown(*Filled(16, 14, ui::clBlue));
        own.SetTransparent(false);  // solid test colours: no key colour to drop
        bar->Button(0).ControlBoxMenu = ui::FindAs<ui::TPopupMenu>(form, "Box1");
        bar->OnHelpBtnClick = [this](ui::TComponent* sender, int index) {
            EXPECT_EQ(sender, bar);
            help.push_back(index);
        };
        bar->OnCustomBtnsClick = [this](ui::TComponent* sender, int index) {
            EXPECT_EQ(sender, bar);
            custom.push_back(index);
        };
        form.OnCloseQuery = [this](ui::TComponent*, bool& canClose) {
            ++closes;
            canClose = false;
        };
        driver = std::make_unique<TitleBarDriver>(*bar);
        form.Show();
    }

    POINT Inside(int index) const { return driver->Inside(index); }
    POINT BareBar() const { return driver->BareBar(); }
    void Send(UINT message, POINT at) { driver->Send(message, at); }
    void Click(POINT at) { driver->Click(at); }
    COLORREF PaintedAt(POINT at) {
        ui::TBitmap shown;
        shown.SetSize(bar->Width(), bar->Height());
        bar->PaintTo(shown.Canvas());
        return shown.Pixel(at.x, at.y);
    }

    BarForm form{nullptr};
    TqelTitleBar* bar = nullptr;
    std::unique_ptr<TitleBarDriver> driver;  // goes before the form and its bar
    int closes = 0;
    std::vector<int> help, custom;
};

TEST_F(QeltitlebarMouseTest, EachButtonActsOnAPressAndReleaseOverIt) {
    struct Case {
        const char* name;
        int button;
        int closes;
        ui::TWindowState state;
        bool minimised;
        std::vector<int> help, custom;
    } cases[] = {
        {"close", 1, 1, ui::TWindowState::Normal, false, {}, {}},
        {"maximise", 2, 0, ui::TWindowState::Maximized, false, {}, {}},
        {"minimise", 3, 0, ui::TWindowState::Minimized, true, {}, {}},
        {"help", 4, 0, ui::TWindowState::Normal, false, {4}, {}},
        {"custom", 5, 0, ui::TWindowState::Normal, false, {}, {5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShowWindow(form.Handle(), SW_RESTORE);
        form.WindowState = ui::TWindowState::Normal;
        closes = 0;
        help.clear();
        custom.clear();
        Click(Inside(c.button));
        EXPECT_EQ(closes, c.closes);
        EXPECT_EQ(form.WindowState, c.state);
        EXPECT_EQ(IsIconic(form.Handle()) != FALSE, c.minimised);
        EXPECT_EQ(help, c.help);
        EXPECT_EQ(custom, c.custom);
        EXPECT_EQ(form.drags, 0);  // a press on a button never drags the form
    }
}

TEST_F(QeltitlebarMouseTest, MaximiseButtonRestoresAMaximisedForm) {
    Click(Inside(2));
    ASSERT_EQ(form.WindowState, ui::TWindowState::Maximized);
    Click(Inside(2));  // where the button now is on the wider bar
    EXPECT_EQ(form.WindowState, ui::TWindowState::Normal);
    EXPECT_EQ(form.drags, 0);
}

TEST_F(QeltitlebarMouseTest, ControlBoxPopsItsMenuUpUnderTheBar) {
    menuShown = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, CloseShownMenu);
    Click(Inside(0));
    KillTimer(nullptr, timer);
    ASSERT_TRUE(menuShown);
    POINT corner{0, bar->Height()};
    ClientToScreen(bar->Handle(), &corner);
    EXPECT_EQ(shownMenu.left, corner.x);
    EXPECT_EQ(shownMenu.top, corner.y);
    EXPECT_EQ(form.drags, 0);
    EXPECT_EQ(closes, 0);
}

TEST_F(QeltitlebarMouseTest, ReleaseActsOnTheButtonUnderTheMouseThen) {
    // Pressed on close, moved off it before the release: nothing.
    Send(WM_MOUSEMOVE, Inside(1));
    Send(WM_LBUTTONDOWN, Inside(1));
    Send(WM_MOUSEMOVE, BareBar());
    Send(WM_LBUTTONUP, BareBar());
    EXPECT_EQ(closes, 0);
    // Pressed on the bare bar (the drag) and released over help: the help button's event.
    Send(WM_LBUTTONDOWN, BareBar());
    Send(WM_MOUSEMOVE, Inside(4));
    Send(WM_LBUTTONUP, Inside(4));
    EXPECT_EQ(help, std::vector<int>{4});
    EXPECT_EQ(closes, 0);
}

TEST_F(QeltitlebarMouseTest, ButtonShowsMouseOnAndMouseDownPictures) {
    const POINT at = Inside(5);
    Send(WM_MOUSEMOVE, BareBar());
    EXPECT_EQ(PaintedAt(at), RGB(255, 0, 0));
    Send(WM_MOUSEMOVE, at);
    EXPECT_EQ(bar->HoveredButton(), 5);
    EXPECT_EQ(PaintedAt(at), RGB(0, 255, 0));
    Send(WM_LBUTTONDOWN, at);
    EXPECT_EQ(PaintedAt(at), RGB(0, 0, 255));
    Send(WM_LBUTTONUP, at);
    EXPECT_EQ(PaintedAt(at), RGB(0, 255, 0));
    EXPECT_EQ(custom, std::vector<int>{5});
}

TEST_F(QeltitlebarMouseTest, PressOnTheBareBarDragsTheFormUnlessMaximised) {
    Send(WM_MOUSEMOVE, BareBar());
    Send(WM_LBUTTONDOWN, BareBar());
    EXPECT_EQ(form.drags, 1);
    Send(WM_LBUTTONUP, BareBar());
    EXPECT_EQ(closes + static_cast<int>(help.size() + custom.size()), 0);
    // The press is over once the drag is handed on: the buttons show no pressed picture.
    const POINT at = Inside(5);
    Send(WM_MOUSEMOVE, at);
    EXPECT_EQ(PaintedAt(at), RGB(0, 255, 0));

    Click(Inside(2));
    ASSERT_EQ(form.WindowState, ui::TWindowState::Maximized);
    Send(WM_MOUSEMOVE, BareBar());
    Send(WM_LBUTTONDOWN, BareBar());
    Send(WM_LBUTTONUP, BareBar());
    EXPECT_EQ(form.drags, 1);
}

TEST_F(QeltitlebarMouseTest, RightButtonDoesNothing) {
    for (int i : {1, 2, 4, 5}) {
        Send(WM_MOUSEMOVE, Inside(i));
        Send(WM_RBUTTONDOWN, Inside(i));
        Send(WM_RBUTTONUP, Inside(i));
    }
    Send(WM_RBUTTONDOWN, BareBar());
    Send(WM_RBUTTONUP, BareBar());
    EXPECT_EQ(closes, 0);
    EXPECT_EQ(form.WindowState, ui::TWindowState::Normal);
    EXPECT_TRUE(help.empty());
    EXPECT_TRUE(custom.empty());
    EXPECT_EQ(form.drags, 0);
}

TEST_F(QeltitlebarMouseTest, StyleSetsTheFormsMinimumWidth) {
    struct Case {
        TqelUIStyle style;
        int minWidth;
    } cases[] = {{TqelUIStyle::MacOS, 130},   {TqelUIStyle::WinXP, 150},     {TqelUIStyle::DeepBlue, 130},
                 {TqelUIStyle::Protein, 130}, {TqelUIStyle::BlueGlass, 270}, {TqelUIStyle::Custom, 270}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.style));
        bar->SetUIStyle(c.style);
        MINMAXINFO info{};
        SendMessageA(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.ptMinTrackSize.x, c.minWidth);  // Custom leaves the width as it was
    }
}

TEST_F(QeltitlebarMouseTest, EveryButtonLetsTheFormGrowToTheWorkArea) {
    const ui::TRect work = skin::GetWorkAreaRect();
    for (int button : {1, 4, 5, 2}) {  // close (refused), help, custom, maximise
        SCOPED_TRACE(button);
        form.Constraints.MaxWidth = 200;
        form.Constraints.MaxHeight = 150;
        Click(Inside(button));
        MINMAXINFO info{};
        SendMessageA(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.ptMaxTrackSize.x, work.Width());
        EXPECT_EQ(info.ptMaxTrackSize.y, work.Height());
    }
    ASSERT_TRUE(IsZoomed(form.Handle()));
    RECT r;
    GetWindowRect(form.Handle(), &r);
    EXPECT_EQ(r.right - r.left, work.Width());
    EXPECT_EQ(r.bottom - r.top, work.Height());
}

TEST_F(QeltitlebarMouseTest, DoubleClickRaisesTheBarsOwnEventFirst) {
    std::vector<ui::TWindowState> seen;
    bar->OnDblClick = [this, &seen](ui::TComponent* sender) {
        EXPECT_EQ(sender, bar);
        seen.push_back(form.WindowState);
    };
    Send(WM_MOUSEMOVE, Inside(4));
    Send(WM_LBUTTONDBLCLK, Inside(4));  // on a button: the event, and nothing else
    EXPECT_EQ(seen, std::vector<ui::TWindowState>{ui::TWindowState::Normal});
    EXPECT_FALSE(IsZoomed(form.Handle()));
    Send(WM_MOUSEMOVE, BareBar());
    Send(WM_LBUTTONDBLCLK, BareBar());
    EXPECT_EQ(seen, (std::vector<ui::TWindowState>{ui::TWindowState::Normal, ui::TWindowState::Normal}));
    EXPECT_TRUE(IsZoomed(form.Handle()));
}

}  // namespace
