#pragma once
// The three popup menus of the client and how they are opened. Each posts
// its command to the main window (client/windows/main_frame_messages.h).
#include <windows.h>

#include "client/windows/menus/menu_wnd.h"

// Right button on the tray icon: open, settings, about, exit.
class TrayMenu : public MenuWnd {
public:
    TrayMenu();
    void Notify(UiToolkit::TUiNotify& msg) override;

protected:
    void AdjustPosition() override;
};

// The main window's settings button: settings, about; centred under the
// click.
class SettingMenu : public MenuWnd {
public:
    // `anchor_client`: the click in the main window's client coordinates.
    explicit SettingMenu(POINT anchor_client);
    void Notify(UiToolkit::TUiNotify& msg) override;

protected:
    void AdjustPosition() override;

private:
    POINT anchor_client_;
};

// A catalogue row's add-to-scheme button: one item for the row's software.
class MenuAddScheme : public MenuWnd {
public:
    explicit MenuAddScheme(int soft_id);
    void Notify(UiToolkit::TUiNotify& msg) override;

protected:
    void AdjustPosition() override;

private:
    int soft_id_;
};

// Opening them. `main` is the main window; points are where the user
// clicked (screen for the tray, the main window's client otherwise).
void ShowTrayMenu(HWND main, POINT screen);
void ShowSettingMenu(HWND main, POINT client);
void ShowAddSchemeMenu(HWND main, POINT client, int soft_id);
