// The form frame and its form's window: one frame per form, the menu's shortcuts reached from
// the form and from the application's message loop, no window menu bar once the form shows, the
// form's size limits, and a form created maximised that is placed back where it was on restore.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Forms.h"
#include "Qelform.h"
#include "Qelimagepanel.h"
#include "Qelmainmenu.h"
#include "Qelmenubar.h"
#include "Qelpublic.h"
#include "Qelregister.h"
#include "WindowPixels.h"
#include "Qeltitlebar.h"
#include "TitleBarDriver.h"

namespace {

using skin::TqelForm;

class ShortcutForm : public ui::TForm {
public:
    explicit ShortcutForm(const std::string& windowState = "wsNormal") : ui::TForm(nullptr) {
        skin::RegisterSkinClasses();
        InitFromText(R"(object ShortcutForm: TForm
  Left = 30
  Top = 40
  Width = 400
  Height = 300
  WindowState = )" + windowState + R"(
  Menu = qelMainMenu1
  object qelMainMenu1: TqelMainMenu
    object File1: TMenuItem
      Caption = 'File'
      object Open1: TMenuItem
        Caption = 'Open'
        ShortCut = 16463
      end
    end
  end
  object Frame1: TqelForm
    Menu = qelMainMenu1
  end
end
)");
        frame = ui::FindAs<TqelForm>(*this, "Frame1");
        ui::FindAs<ui::TMenuItem>(*this, "Open1")->OnClick = [this](ui::TComponent*) { ++opened; };
        Handle();
    }
    TqelForm* frame;
    int opened = 0;
    int drags = 0;

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (KeepDragRequest(message, wParam, drags)) return 0;
        return ui::TForm::WndProc(message, wParam, lParam);
    }
};

void HoldCtrl(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

TEST(QelformWindowTest, OnlyOneFramePerFormAndTheFirstStaysAsItWas) {
    ShortcutForm form;
    const ui::TColor border = form.frame->BorderColor();
    const int components = form.ComponentCount();
    try {
        TqelForm second(&form);
        FAIL() << "a second frame was made";
    } catch (const ui::Exception& e) {
        EXPECT_STREQ(e.what(), "Sorry, You can create only one TqelForm component in one form!");
    }
    EXPECT_EQ(form.frame->BorderColor(), border);
    EXPECT_EQ(form.ComponentCount(), components);
    // Only the form's direct children count: a frame inside a panel does not.
    ui::TForm plain(nullptr);
    ui::TPanel panel(&plain);
    panel.SetParent(&plain);
    TqelForm inner(nullptr);
    inner.SetParent(&panel);
    TqelForm direct(&plain);
    EXPECT_NE(direct.TitleBar(), nullptr);
}

TEST(QelformWindowTest, MenuShortcutsRunFromTheFormAndFromTheApplicationLoop) {
    ShortcutForm form;
    HoldCtrl(false);
    EXPECT_EQ(SendMessageA(form.Handle(), WM_KEYDOWN, 'O', 0), 0);
    EXPECT_EQ(form.opened, 0);
    HoldCtrl(true);
    EXPECT_EQ(SendMessageA(form.Handle(), WM_KEYDOWN, 'O', 0), 1);
    EXPECT_EQ(form.opened, 1);
    EXPECT_EQ(SendMessageA(form.Handle(), WM_KEYUP, 'O', 0), 0);
    EXPECT_EQ(form.opened, 1);

    // A key pressed in any window of the program reaches the menu through the application.
    ASSERT_TRUE(static_cast<bool>(ui::Application->OnMessage));
    ui::TForm other(nullptr);
    PostMessageA(other.Handle(), WM_KEYDOWN, 'O', 0);
    ui::Application->ProcessMessages();
    EXPECT_EQ(form.opened, 2);
    HoldCtrl(false);
    PostMessageA(other.Handle(), WM_KEYDOWN, 'O', 0);
    ui::Application->ProcessMessages();
    EXPECT_EQ(form.opened, 2);
}

TEST(QelformWindowTest, TheFirstFrameHoldsTheApplicationHookUntilItGoes) {
    auto first = std::make_unique<ShortcutForm>();
    ui::TForm plain(nullptr);
    auto* second = new TqelForm(&plain);
    first.reset();
    EXPECT_FALSE(static_cast<bool>(ui::Application->OnMessage));  // the second never took it
    delete second;
    ShortcutForm again;
    EXPECT_TRUE(static_cast<bool>(ui::Application->OnMessage));
}

TEST(QelformWindowTest, ShownFormHasNoWindowMenuBarAndKeepsItsSizeLimits) {
    ShortcutForm form;
    ASSERT_NE(GetMenu(form.Handle()), nullptr);
    form.Show();
    EXPECT_EQ(form.Menu(), nullptr);
    EXPECT_EQ(GetMenu(form.Handle()), nullptr);
    ASSERT_NE(form.frame->MenuBar(), nullptr);
    EXPECT_EQ(form.frame->MenuBar()->ButtonCount(), 1);

    const ui::TRect work = skin::GetWorkAreaRect();
    MINMAXINFO info{};
    SendMessageA(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 125);
    EXPECT_EQ(info.ptMinTrackSize.y, 50);
    EXPECT_EQ(info.ptMaxTrackSize.x, work.Width());
    EXPECT_EQ(info.ptMaxTrackSize.y, work.Height());
    EXPECT_EQ(info.ptMaxSize.x, work.Width());
    EXPECT_EQ(info.ptMaxSize.y, work.Height());
    form.Hide();
}

TEST(QelformWindowTest, FormCreatedMaximisedGoesBackToItsPlaceOnRestore) {
    ShortcutForm normal;
    EXPECT_FALSE(normal.frame->MaximizePending());

    ShortcutForm form("wsMaximized");
    EXPECT_TRUE(form.frame->MaximizePending());
    form.Show();
    ASSERT_TRUE(IsZoomed(form.Handle()));
    EXPECT_TRUE(form.frame->MaximizePending());
    ShowWindow(form.Handle(), SW_RESTORE);
    EXPECT_FALSE(form.frame->MaximizePending());
    EXPECT_EQ(form.Left(), 30);
    EXPECT_EQ(form.Top(), 40);
    EXPECT_EQ(form.Width(), 400);
    EXPECT_EQ(form.Height(), 300);
    RECT r;
    GetWindowRect(form.Handle(), &r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.right - r.left, 400);
    // The frame follows the restored form.
    EXPECT_EQ(form.frame->Width(), form.ClientWidth() - 2 * form.frame->FrameBorderWidth());
    form.Hide();
}

// A form whose frame has a picture panel with a caption of its own as its form panel, over a form
// face and a frame border in colours of their own.
class PanelledForm : public ui::TForm {
public:
    PanelledForm() : ui::TForm(nullptr) {
        skin::RegisterSkinClasses();
        InitFromText(R"(object PanelledForm: TForm
  Left = 40
  Top = 40
  Width = 300
  Height = 200
  Color = clLime
  object Frame1: TqelForm
    UIStyle = Custom
    BorderColor = clRed
    BorderWidth = 4
    FormPanel = Image1
    object Image1: TqelImagePanel
      Color = clWhite
      Font.Color = clBlack
      Font.Height = -20
      Caption = 'WWWWWWWW'
    end
  end
end
)");
        frame = ui::FindAs<TqelForm>(*this, "Frame1");
        image = ui::FindAs<skin::TqelImagePanel>(*this, "Image1");
        SetCursorPos(0, 0);  // away from the form
        Show();
        RedrawAll(Handle());
        ui::Application->ProcessMessages();
    }
    ~PanelledForm() override { Hide(); }
    COLORREF ClientPixel(int x, int y) {
        HDC dc = GetDC(Handle());
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(Handle(), dc);
        return c;
    }
    TqelForm* frame;
    skin::TqelImagePanel* image;
};

TEST(QelformWindowTest, AnImagePanelAsFormPanelShowsNoCaption) {
    PanelledForm form;
    ASSERT_EQ(form.frame->FormPanel(), form.image);
    EXPECT_EQ(form.image->Align(), ui::TAlign::Client);
    EXPECT_EQ(form.image->Caption(), "");
    // Read back from the screen: the whole panel is its colour, without a letter on it.
    const HWND panel = form.image->Handle();
    ASSERT_GT(form.image->Width(), 200);
    int white = 0, other = 0;
    for (int y = 0; y < form.image->Height(); ++y) {
        for (int x = 0; x < form.image->Width(); ++x) (WindowPixel(panel, x, y) == RGB(255, 255, 255) ? white : other)++;
    }
    EXPECT_GT(white, 0);
    EXPECT_EQ(other, 0);
}

TEST(QelformWindowTest, RemovingTheFrameRepaintsTheForm) {
    PanelledForm form;
    const int bottom = form.ClientHeight() - 1;
    const POINT border[] = {{1, 100}, {form.ClientWidth() - 2, 100}, {150, bottom}};
    for (const POINT& p : border) ASSERT_EQ(form.ClientPixel(p.x, p.y), RGB(255, 0, 0)) << p.x << "," << p.y;
    delete form.frame;
    ui::Application->ProcessMessages();
    for (const POINT& p : border) EXPECT_EQ(form.ClientPixel(p.x, p.y), RGB(0, 255, 0)) << p.x << "," << p.y;
}

LRESULT HitAt(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
}

TEST(QelformWindowTest, StateFollowsTheWindowWhenTheSystemRestoresOrMaximisesIt) {
    ShortcutForm form("wsMaximized");
    TitleBarDriver bar(*form.frame->TitleBar());
    form.Show();
    ASSERT_TRUE(IsZoomed(form.Handle()));
    struct Step {
        const char* what;
        int show;  // what the system does to the window first
        ui::TWindowState state;
        LRESULT leftEdge;
        int drags;
    } steps[] = {
        {"restored by the system", SW_RESTORE, ui::TWindowState::Normal, HTLEFT, 1},
        {"maximised by the system", SW_MAXIMIZE, ui::TWindowState::Maximized, HTCLIENT, 0},
        {"restored again", SW_RESTORE, ui::TWindowState::Normal, HTLEFT, 1},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        ShowWindow(form.Handle(), s.show);
        EXPECT_EQ(form.WindowState, s.state);
        EXPECT_EQ(HitAt(form.Handle(), 3, 100), s.leftEdge);
        form.drags = 0;
        bar.Send(WM_MOUSEMOVE, bar.BareBar());
        bar.Send(WM_LBUTTONDOWN, bar.BareBar());
        bar.Send(WM_LBUTTONUP, bar.BareBar());
        EXPECT_EQ(form.drags, s.drags);
        // The first click on the maximise button (button 2) turns the window over.
        const bool wasZoomed = IsZoomed(form.Handle()) != FALSE;
        bar.Click(bar.Inside(2));
        EXPECT_EQ(IsZoomed(form.Handle()) != FALSE, !wasZoomed);
        bar.Click(bar.Inside(2));
        EXPECT_EQ(IsZoomed(form.Handle()) != FALSE, wasZoomed);
    }
    ShowWindow(form.Handle(), SW_MINIMIZE);
    EXPECT_EQ(form.WindowState, ui::TWindowState::Minimized);
    form.Hide();
}

}  // namespace
