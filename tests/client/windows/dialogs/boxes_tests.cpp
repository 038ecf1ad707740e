// The confirmation box, the information box and the about box, answered by
// message-level clicks and keys inside their modal loops.
#include <gtest/gtest.h>

#include <string>

#include "client/windows/dialogs/about_dialog.h"
#include "client/windows/dialogs/message_box_dlg.h"
#include "client/windows/dialogs/message_wnd.h"
#include "client/windows/dialogs/modal_dialogs.h"
#include "tests/client/windows/support/window_test_support.h"

namespace {

class Boxes : public wintest::DialogOwnerTest {
protected:
    // Where a box sits against its owner: centred on it.
    void ExpectCentredOnOwner(HWND box) {
        RECT o, b;
        ::GetWindowRect(owner(), &o);
        ::GetWindowRect(box, &b);
        EXPECT_NEAR((o.left + o.right) / 2, (b.left + b.right) / 2, 1);
        EXPECT_NEAR((o.top + o.bottom) / 2, (b.top + b.bottom) / 2, 1);
    }
};

TEST_F(Boxes, ConfirmationAnswers) {
    const struct {
        const char* how;
        int initial;
        int answer;
    } cases[] = {
        {"ok", 1, 0},
        {"cancel", 0, 1},
        {"escape", 1, 1},  // left as it was: callers start at Cancel
        {"escape", 5, 5},
        {"system close", 7, 7},
    };
    for (const auto& c : cases) {
        int answer = c.initial;
        std::wstring text;
        std::string how = c.how;
        wintest::WhenWindowAppears(L"message_box", [&](HWND box, UiToolkit::WindowImplBase* w) {
            EXPECT_FALSE(::IsWindowEnabled(owner()));
            ExpectCentredOnOwner(box);
            RECT rc;
            ::GetWindowRect(box, &rc);
            EXPECT_EQ(197, rc.right - rc.left);
            EXPECT_EQ(97, rc.bottom - rc.top);
            text = wintest::ControlText(w, L"msg_box_tip_btn");
            if (how == "ok") wintest::ClickNamed(w, L"msg_box_ok_btn");
            if (how == "cancel") wintest::ClickNamed(w, L"msg_box_cancel_btn");
            if (how == "escape") wintest::PressKey(box, VK_ESCAPE);
            if (how == "system close") ::PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
        RunModalDialog(new MessageBoxDlg(L"确定取消升级吗？", &answer), owner());
        EXPECT_EQ(c.answer, answer) << how;
        EXPECT_EQ(L"<i default\\main\\tip.png> 确定取消升级吗？", text) << how;
        EXPECT_TRUE(::IsWindowEnabled(owner())) << how;
        EXPECT_EQ(nullptr, wintest::FindOwnWindow(L"message_box")) << how;
    }
    // The one-call form starts at Cancel.
    wintest::WhenWindowAppears(L"message_box", [&](HWND box, UiToolkit::WindowImplBase*) {
        wintest::PressKey(box, VK_ESCAPE);
    });
    EXPECT_EQ(1, ShowMessageBox(owner(), L"text"));
    wintest::WhenWindowAppears(L"message_box", [&](HWND, UiToolkit::WindowImplBase* w) {
        wintest::ClickNamed(w, L"msg_box_ok_btn");
    });
    EXPECT_EQ(0, ShowMessageBox(owner(), L"text"));
}

TEST_F(Boxes, TheTipLineIsDisabledBlackMarkup) {
    wintest::WhenWindowAppears(L"message_wnd", [&](HWND box, UiToolkit::WindowImplBase* w) {
        ExpectCentredOnOwner(box);
        auto* tip = static_cast<UiToolkit::CButtonUI*>(w->Manager().FindControl(L"msg_tip_btn"));
        ASSERT_TRUE(tip);
        EXPECT_FALSE(tip->IsEnabled());
        EXPECT_EQ(L"<i default\\main\\tip.png> 网络不可用，请检查网络！", std::wstring(tip->GetText().GetData()));
        // A click on the message itself does nothing; OK closes.
        wintest::ClickControl(box, tip);
        wintest::RunSoon(150, [w] {
            EXPECT_TRUE(::IsWindow(w->GetHWND()));
            wintest::ClickNamed(w, L"msg_ok_btn");
        });
    });
    ShowMessageWnd(owner(), L"网络不可用，请检查网络！");
    EXPECT_EQ(nullptr, wintest::FindOwnWindow(L"message_wnd"));
    EXPECT_TRUE(::IsWindowEnabled(owner()));
}

TEST_F(Boxes, TheAboutBoxShowsTheProgramsVersion) {
    for (const wchar_t* closer : {L"about_ok_btn", L"about_close_btn"}) {
        std::wstring version;
        wintest::WhenWindowAppears(L"AboutDialog", [&](HWND box, UiToolkit::WindowImplBase* w) {
            ExpectCentredOnOwner(box);
            RECT rc;
            ::GetWindowRect(box, &rc);
            EXPECT_EQ(327, rc.right - rc.left);
            EXPECT_EQ(261, rc.bottom - rc.top);
            // The skin's own text is a placeholder; the box shows the program's.
            version = wintest::ControlText(w, L"about_version_tips");
            wintest::ClickNamed(w, closer);
        });
        ShowAboutDialog(owner());
        EXPECT_EQ(L"1.0.2.7", version);
        EXPECT_EQ(nullptr, wintest::FindOwnWindow(L"AboutDialog"));
    }
}

}  // namespace
