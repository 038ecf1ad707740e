#pragma once
// The skinned windows of the setup programs: their skin is the zip held in
// the program's own "ZIPRES" resource. A skin that cannot be loaded leaves
// an empty window (no failure box): the setup programs may run where no
// message box can be answered.
#include "uitoolkit/core/control.h"
#include "uitoolkit/window/modal_dialog.h"
#include "uitoolkit/window/window_impl_base.h"

// The program's skin resource ("#105", "#106"), set once at start.
void UseSetupSkinResource(const wchar_t* name);
const wchar_t* SetupSkinResource();

// The interface `kind` of the named control; none, with a log line, when
// the skin lacks the control or holds another kind under that name.
void* FindSkinInterface(UiToolkit::CWindowManagerUI& manager, const wchar_t* name,
                        const wchar_t* kind);

// Finds a named control of the expected kind (the interface name the
// control answers to); none when the skin lacks it or holds another kind.
template <typename T>
T* FindSkinControl(UiToolkit::CWindowManagerUI& manager, const wchar_t* name,
                   const wchar_t* kind) {
    return static_cast<T*>(FindSkinInterface(manager, name, kind));
}

// A top-level setup window. Escape, the system close and the skin's own
// close button all come to OnCloseRequest, which says what closing means
// on the page shown (ask, quit, or nothing while work runs); none of them
// destroys the window behind the program's back. A window that is
// destroyed all the same ends the message loop, so the process never
// lingers without a window (holding its mutex).
class SetupWindow : public UiToolkit::WindowImplBase {
 public:
    SetupWindow();

 protected:
    const wchar_t* SkinFolder() const override;
    int SkinSourceKind() const override;
    const wchar_t* SkinResourceName() const override;
    void OnSkinLoadFailed() override;
    LRESULT OnClose(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT OnDestroy(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

    // A close request while the skin is there. Called once at a time: a
    // request that arrives while one is being answered is dropped.
    virtual void OnCloseRequest() = 0;
    // Routes a close request; the skin's close button calls it too.
    void RequestClose();
    bool HasSkin() const { return m_skinLoaded; }

 private:
    bool m_skinLoaded;
    bool m_closing;
};

// A modal dialog of the setup programs, from the same skin resource.
class SetupDialog : public UiToolkit::CModalDialog {
 public:
    SetupDialog(const wchar_t* skin_file, const wchar_t* class_name);

 protected:
    int SkinSourceKind() const override;
    const wchar_t* SkinResourceName() const override;
    // An empty dialog still closes with Escape.
    void OnSkinLoadFailed() override;
};

// Creates a top-level setup window without owner (the window base adds the
// styles it needs), sets its icons from `icon_id`, centres it on the work
// area, shows it and runs the message loop until it ends. The window stays
// (hidden or not) until the process ends.
void ShowAndRun(SetupWindow* window, const wchar_t* title, int width, int height, UINT icon_id);

// Creates the program's single-instance mutex, owned; when another copy
// holds it, ends the process at once with exit code 0.
HANDLE TakeSingleInstance(const wchar_t* name);

// Shows a dialog modally over `owner` as every box of the programs is shown
// (a popup with caption and system menu, centred on its owner), then frees
// it. Returns the modal result.
int ShowModalDialog(UiToolkit::CModalDialog* dialog, HWND owner);
