#include "client/windows/menus/popup_menus.h"

#include "client/core/startup/main_window_handle.h"
#include "client/windows/main_frame_messages.h"
#include "client/windows/menus/menu_placement.h"
#include "uitoolkit/core/control.h"

namespace {

bool IsItemClick(const UiToolkit::TUiNotify& msg) {
    return msg.sType == UI_NOTIFY_ITEMCLICK && msg.pSender;
}

// The command of a tray or settings menu item; -1 for another item.
LPARAM MenuItemCommand(const UiToolkit::CUiString& name, bool tray) {
    if (name == L"menu_setting") return kMenuCommandSetting;
    if (name == L"menu_about") return kMenuCommandAbout;
    if (tray && name == L"menu_open") return kMenuCommandOpen;
    if (tray && name == L"menu_exit") return kMenuCommandTrayExit;
    return -1;
}

}  // namespace

TrayMenu::TrayMenu() : MenuWnd(L"tray_menu.xml", L"tray_menu") {}

void TrayMenu::Notify(UiToolkit::TUiNotify& msg) {
    if (!IsItemClick(msg)) return;
    LPARAM command = MenuItemCommand(msg.pSender->GetName(), true);
    if (command >= 0) ::PostMessageW(parent_, WM_MENU_COMMAND, 0, command);
    PostClose();
}

void TrayMenu::AdjustPosition() { PlaceAtAnchor(); }

SettingMenu::SettingMenu(POINT anchor_client)
    : MenuWnd(L"menu.xml", L"setting_menu"), anchor_client_(anchor_client) {}

void SettingMenu::Notify(UiToolkit::TUiNotify& msg) {
    if (!IsItemClick(msg)) return;
    LPARAM command = MenuItemCommand(msg.pSender->GetName(), false);
    if (command >= 0) ::PostMessageW(parent_, WM_MENU_COMMAND, 0, command);
    PostClose();
}

void SettingMenu::AdjustPosition() {
    SIZE size = WindowSize();
    POINT origin = SettingMenuOrigin(anchor_, anchor_client_.y, size, WorkAreaNear(anchor_));
    ::SetWindowPos(m_hwnd, nullptr, origin.x, origin.y, 0, 0,
                   SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
}

MenuAddScheme::MenuAddScheme(int soft_id)
    : MenuWnd(L"menu_add_scheme.xml", L"add_scheme_menu"), soft_id_(soft_id) {}

void MenuAddScheme::Notify(UiToolkit::TUiNotify& msg) {
    if (!IsItemClick(msg)) return;
    ::PostMessageW(MainWindowHandle(), WM_ADD_TO_SCHEME, 0, soft_id_);
    PostClose();
}

void MenuAddScheme::AdjustPosition() { PlaceAtAnchor(); }

void ShowTrayMenu(HWND main, POINT screen) { (new TrayMenu)->Popup(main, screen.x, screen.y); }

void ShowSettingMenu(HWND main, POINT client) {
    POINT screen = client;
    ::ClientToScreen(main, &screen);
    (new SettingMenu(client))->Popup(main, screen.x, screen.y);
}

void ShowAddSchemeMenu(HWND main, POINT client, int soft_id) {
    POINT screen = client;
    ::ClientToScreen(main, &screen);
    (new MenuAddScheme(soft_id))->Popup(main, screen.x, screen.y);
}
