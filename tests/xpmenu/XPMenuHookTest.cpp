// Which menus, bars and controls the component hooks, and activating, deactivating and
// re-activating it on a live form.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ControlSubClass.h"
#include "XPHooks.h"
#include "XPTestForm.h"

namespace {

using namespace xpmenu;

// Class-name tests match the class itself, not what derives from it.
class TMyButton : public ui::TButton {
public:
    using ui::TButton::TButton;
};
class TMaskEdit : public ui::TCustomEdit {
public:
    using ui::TCustomEdit::TCustomEdit;
};
class TFrame : public ui::TWinControl {
public:
    using ui::TWinControl::TWinControl;
};

class XPMenuHookTest : public ::testing::Test {
protected:
    void SetUp() override { form = std::make_unique<XPTestForm>(nullptr); }
    void TearDown() override { form.reset(); }

    bool Drawn(const char* item) { return IsDrawHook(form->Find<ui::TMenuItem>(item)->OnDrawItem, form->xp); }
    bool Hooked(const char* control) { return form->xp->HookOf(form->Find<ui::TControl>(control)) != nullptr; }
    int HookCount() {
        int n = 0;
        for (int i = 0; i < form->xp->ComponentCount(); ++i) n += dynamic_cast<TControlSubClass*>(form->xp->Component(i)) != nullptr;
        return n;
    }

    std::unique_ptr<XPTestForm> form;
};

TEST_F(XPMenuHookTest, DefaultsAndOwner) {
    TXPMenu& xp = *form->xp;
    EXPECT_FALSE(xp.Active());
    EXPECT_EQ(xp.Form(), form.get());
    EXPECT_EQ(xp.XPContainers(), 1023);
    EXPECT_EQ(xp.XPControls(), 65535);
    EXPECT_EQ(xp.IconWidth, 24);
    EXPECT_EQ(xp.DimLevel, 30);
    EXPECT_EQ(xp.GrayLevel, 10);
    EXPECT_EQ(xp.Font().Color, ui::clMenuText);
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = 340;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
    EXPECT_EQ(xp.Font().Name, metrics.lfMenuFont.lfFaceName);
    EXPECT_EQ(xp.Font().Height, metrics.lfMenuFont.lfHeight);
    EXPECT_EQ(xp.SelectFontColor, ui::clMenuText);
    EXPECT_TRUE(xp.UseSystemColors());
    ui::TMainMenu notAWindow(nullptr);
    EXPECT_THROW(TXPMenu{&notAWindow}, ui::Exception);
    TXPMenu alone(nullptr);
    EXPECT_EQ(alone.Form(), nullptr);
    alone.SetActive(true);  // nothing to hook
    EXPECT_TRUE(alone.Active());
}

TEST_F(XPMenuHookTest, MenuItemsAreHookedExceptTaggedOnesAndOwnHandlers) {
    form->xp->SetActive(true);
    for (const char* item : {"FileMenu", "OpenItem", "SaveItem", "Line1", "UnderSkipped", "ExitItem", "ViewMenu",
                             "BarItem", "PopupItem"}) {
        EXPECT_TRUE(Drawn(item)) << item;
    }
    EXPECT_FALSE(Drawn("SkippedItem"));
    EXPECT_FALSE(Drawn("OwnItem"));
    EXPECT_TRUE(form->Find<ui::TMainMenu>("MainMenu1")->OwnerDraw);
    EXPECT_TRUE(form->Find<ui::TPopupMenu>("PopupMenu1")->OwnerDraw);  // its Tag 999 is not looked at

    form->xp->SetActive(false);
    EXPECT_FALSE(Drawn("OpenItem"));
    EXPECT_FALSE(form->Find<ui::TMainMenu>("MainMenu1")->OwnerDraw);
    auto* own = form->Find<ui::TMenuItem>("OwnItem");
    ASSERT_TRUE(own->OnDrawItem);  // the program's handler stays
    ui::TBitmap b;
    b.SetSize(10, 10);
    own->OnDrawItem(own, &b.Canvas(), ui::TRect{0, 0, 10, 10}, false);
    EXPECT_EQ(form->ownDraws, 1);
}

TEST_F(XPMenuHookTest, OverrideOwnerDrawTakesOverHandlersWhileActive) {
    form->xp->SetActive(true);
    form->xp->SetOverrideOwnerDraw(true);
    EXPECT_TRUE(Drawn("OwnItem"));
    EXPECT_FALSE(Drawn("SkippedItem"));
}

TEST_F(XPMenuHookTest, MainMenuTaggedIsNotVisited) {
    form->Find<ui::TMainMenu>("MainMenu1")->Tag = 999;
    form->xp->SetActive(true);
    EXPECT_FALSE(Drawn("OpenItem"));
    EXPECT_TRUE(Drawn("PopupItem"));
}

TEST_F(XPMenuHookTest, BarsGetTheComponentsHandlers) {
    auto* bar = form->Find<ui::TToolBar>("ToolBar1");
    auto* cbar = form->Find<ui::TControlBar>("ControlBar1");
    form->xp->SetActive(true);
    EXPECT_TRUE(bar->Flat);
    EXPECT_TRUE(IsToolBarHook(bar->OnCustomDrawButton, form->xp));
    EXPECT_TRUE(IsBandPaintHook(cbar->OnBandPaint, form->xp));
    form->xp->SetActive(false);
    EXPECT_FALSE(bar->OnCustomDrawButton);
    EXPECT_FALSE(cbar->OnBandPaint);
    EXPECT_TRUE(bar->Flat);  // a bar made flat stays flat
}

TEST_F(XPMenuHookTest, ControlsAreHookedByKindParentAndTag) {
    form->xp->SetActive(true);
    for (const char* c : {"Edit1", "Combo1", "Panel1", "PanelCheck", "Group1", "Radio1", "Button1", "Speed1",
                          "BandPanel"}) {
        EXPECT_TRUE(Hooked(c)) << c;
    }
    for (const char* c : {"PanelEdit", "Skipped", "UnderSkippedPanel"}) EXPECT_FALSE(Hooked(c)) << c;
    EXPECT_EQ(HookCount(), 9);
}

TEST_F(XPMenuHookTest, DisabledKindsAndContainersAreLeftAlone) {
    const struct {
        TXPControls controls;
        TXPContainers containers;
        const char* control;
        bool hooked;
    } cases[] = {
        {static_cast<TXPControls>(kAllControls & ~Member(xcEdit)), kAllContainers, "Edit1", false},
        {static_cast<TXPControls>(kAllControls & ~Member(xcEdit)), kAllContainers, "Combo1", true},
        {kAllControls, static_cast<TXPContainers>(kAllContainers & ~Member(xccPanel)), "PanelCheck", false},
        {kAllControls, static_cast<TXPContainers>(kAllContainers & ~Member(xccPanel)), "Panel1", true},
        {kAllControls, static_cast<TXPContainers>(kAllContainers & ~Member(xccGroupBox)), "Radio1", false},
        {static_cast<TXPControls>(kAllControls & ~Member(xcCheckBox)), kAllContainers, "PanelCheck", false},
        {static_cast<TXPControls>(kAllControls & ~Member(xcSpeedButton)), kAllContainers, "Speed1", false},
        {kAllControls, static_cast<TXPContainers>(kAllContainers & ~Member(xccControlbar)), "BandPanel", false},
    };
    for (const auto& c : cases) {
        XPTestForm f(nullptr);
        f.xp->SetXPControls(c.controls);
        f.xp->SetXPContainers(c.containers);
        f.xp->SetActive(true);
        EXPECT_EQ(f.xp->HookOf(f.Find<ui::TControl>(c.control)) != nullptr, c.hooked) << c.control;
    }
}

TEST_F(XPMenuHookTest, ChangingTheSetsWhileActiveMovesTheHooks) {
    form->xp->SetActive(true);
    form->xp->SetXPControls(static_cast<TXPControls>(kAllControls & ~Member(xcMainMenu)));
    EXPECT_FALSE(Drawn("OpenItem"));
    EXPECT_TRUE(Drawn("PopupItem"));
    form->xp->SetXPControls(kAllControls);
    EXPECT_TRUE(Drawn("OpenItem"));
}

TEST_F(XPMenuHookTest, ClassNamesMatchExactlyAndFramesAreVisited) {
    auto* mine = new TMyButton(form.get());
    mine->SetParent(form.get());
    auto* plain = new ui::TButton(form.get());
    plain->SetParent(form.get());
    auto* mask = new TMaskEdit(form.get());
    mask->SetParent(form.get());
    auto* frame = new TFrame(form.get());
    frame->SetParent(form.get());
    auto* inFrame = new ui::TEdit(frame);  // a frame owns its controls
    inFrame->SetParent(frame);
    form->xp->SetActive(true);
    EXPECT_FALSE(form->xp->HookOf(mine));
    EXPECT_TRUE(form->xp->HookOf(plain));
    EXPECT_TRUE(form->xp->HookOf(mask));
    EXPECT_TRUE(form->xp->HookOf(inFrame));

    XPTestForm other(nullptr);
    auto* frame2 = new TFrame(&other);
    frame2->SetParent(&other);
    auto* inFrame2 = new ui::TEdit(frame2);
    inFrame2->SetParent(frame2);
    other.xp->SetXPContainers(static_cast<TXPContainers>(kAllContainers & ~Member(xccFrame)));
    other.xp->SetActive(true);
    EXPECT_FALSE(other.xp->HookOf(inFrame2));
}

TEST_F(XPMenuHookTest, ActivateDeactivateAndReactivateOnALiveForm) {
    form->Show();
    Pump();
    auto* edit = form->Find<ui::TEdit>("Edit1");
    const HWND editWindow = edit->Handle();
    const LONG_PTR ownProc = GetWindowLongPtrA(editWindow, GWLP_WNDPROC);
    ASSERT_TRUE(edit->Ctl3D());

    form->xp->SetActive(true);
    edit->Repaint();
    Pump();
    EXPECT_FALSE(edit->Ctl3D());  // painted flat
    EXPECT_NE(GetWindowLongPtrA(editWindow, GWLP_WNDPROC), ownProc);

    form->xp->SetActive(false);  // hooks leave with the next message their control gets
    edit->Repaint();
    form->Repaint();
    SendMessageA(editWindow, WM_NULL, 0, 0);
    Pump();
    EXPECT_FALSE(Hooked("Edit1"));
    EXPECT_TRUE(edit->Ctl3D());
    EXPECT_EQ(GetWindowLongPtrA(editWindow, GWLP_WNDPROC), ownProc);

    form->xp->SetActive(true);
    Pump();
    EXPECT_TRUE(Hooked("Edit1"));
    EXPECT_EQ(HookCount(), 9);
    // Re-applying while active (as a changed option does) makes no second hook.
    form->xp->ReapplyHooks();
    form->xp->SetOverrideOwnerDraw(true);
    form->xp->SetXPControls(static_cast<TXPControls>(kAllControls & ~Member(xcToolbar)));
    Pump();
    EXPECT_EQ(HookCount(), 9);
    SetWindowTextA(editWindow, "typed");
    EXPECT_EQ(edit->Text(), "typed");
}

TEST_F(XPMenuHookTest, DestroyingTheComponentPutsEveryControlBack) {
    form->Show();
    auto* edit = form->Find<ui::TEdit>("Edit1");
    auto* combo = form->Find<ui::TComboBox>("Combo1");
    const HWND editWindow = edit->Handle(), comboWindow = combo->Handle();
    const LONG_PTR editProc = GetWindowLongPtrA(editWindow, GWLP_WNDPROC);
    const LONG_PTR comboProc = GetWindowLongPtrA(comboWindow, GWLP_WNDPROC);
    form->xp->SetActive(true);
    edit->Repaint();
    Pump();
    ASSERT_FALSE(edit->Ctl3D());
    delete form->xp;
    form->xp = nullptr;
    EXPECT_EQ(GetWindowLongPtrA(editWindow, GWLP_WNDPROC), editProc);
    EXPECT_EQ(GetWindowLongPtrA(comboWindow, GWLP_WNDPROC), comboProc);
    EXPECT_TRUE(edit->Ctl3D());
    EXPECT_FALSE(form->Find<ui::TMenuItem>("OpenItem")->OnDrawItem);
    // Messages still reach the controls.
    edit->Repaint();
    combo->Repaint();
    SendMessageA(editWindow, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("after"));
    Pump();
    EXPECT_EQ(edit->Text(), "after");
}

TEST_F(XPMenuHookTest, ControlsAndComponentGoInAnyOrder) {
    form->Show();
    form->xp->SetActive(true);
    Pump();
    // A hooked control destroyed first takes its hook with it.
    delete form->Find<ui::TEdit>("Edit1");
    EXPECT_EQ(HookCount(), 8);
    Pump();
    // Then the component, then the form with the rest of the controls.
    delete form->xp;
    form->xp = nullptr;
    Pump();
    form.reset();
    // And the form going first with an active component on it.
    auto other = std::make_unique<XPTestForm>(nullptr);
    other->Show();
    other->xp->SetActive(true);
    Pump();
    other.reset();
}

TEST_F(XPMenuHookTest, AutoDetectHooksItemsAddedWhileActive) {
    form->xp->AutoDetect = true;
    form->xp->SetActive(true);
    auto* added = new ui::TMenuItem(form.get());
    added->SetCaption("Added");
    form->Find<ui::TMenuItem>("FileMenu")->Add(added);
    EXPECT_FALSE(IsDrawHook(added->OnDrawItem, form->xp));
    // The look comes from a timer: its message is waited for, as long as a busy machine needs.
    const DWORD start = GetTickCount();
    while (!IsDrawHook(added->OnDrawItem, form->xp) && GetTickCount() - start < 20000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Pump();
    }
    EXPECT_TRUE(IsDrawHook(added->OnDrawItem, form->xp));
}

TEST_F(XPMenuHookTest, DrawnItemHooksItsSiblingsAddedLater) {
    form->xp->SetActive(true);
    auto* added = new ui::TMenuItem(form.get());
    added->SetCaption("Late");
    auto* file = form->Find<ui::TMenuItem>("FileMenu");
    file->Add(added);
    auto* sub = new ui::TMenuItem(form.get());
    sub->SetCaption("Late child");
    added->Add(sub);
    ui::TBitmap b;
    b.SetSize(200, 30);
    auto* open = form->Find<ui::TMenuItem>("OpenItem");
    open->OnDrawItem(open, &b.Canvas(), ui::TRect{0, 0, 200, 20}, false);
    EXPECT_TRUE(IsDrawHook(added->OnDrawItem, form->xp));
    EXPECT_TRUE(IsDrawHook(sub->OnDrawItem, form->xp));
    EXPECT_FALSE(Drawn("SkippedItem"));
}

}  // namespace
