#pragma once
// The client's popup menus: small skinned popup windows (not Windows
// menus) whose items are list rows. A menu builds its skin with a manager
// of its own, places itself, closes when it loses the focus, on Escape or
// after an item click, and deletes itself when its window is gone: the
// caller allocates it, calls Popup once and keeps no pointer.
#include <windows.h>

#include "uitoolkit/core/notify.h"
#include "uitoolkit/core/ui_string.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/core/window_wnd.h"

class MenuWnd : public UiToolkit::CWindowWnd, public UiToolkit::INotifyUI {
public:
    MenuWnd(const wchar_t* skin_file, const wchar_t* class_name);
    ~MenuWnd() override;

    // Shows the menu for `parent` at the screen point x, y.
    void Popup(HWND parent, int x, int y);
    void Notify(UiToolkit::TUiNotify& msg) override;
    UiToolkit::CWindowManagerUI& Manager() { return m_manager; }

protected:
    const wchar_t* WindowClassName() const override;
    LRESULT ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnWindowGone(HWND hwnd) override;
    virtual void AdjustPosition();

    // Top-left corner at the anchor, kept inside the work area.
    void PlaceAtAnchor();
    SIZE WindowSize() const;

    UiToolkit::CWindowManagerUI m_manager;
    POINT anchor_;
    HWND parent_;

private:
    void OnCreate();
    void OnSize();

    UiToolkit::CUiString skin_file_;
    UiToolkit::CUiString class_name_;
    bool built_;
};
