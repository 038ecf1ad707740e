#pragma once
// Work that must end before the UI goes on: the UI thread sits in a small
// modal window with an animation while a one-shot worker runs the job. The
// job writes its results into the caller's variables; the window closes
// when the job has returned. The job must not touch any control.
#include <windows.h>

#include "foundation/ke/task.h"
#include "uitoolkit/layouts/horizontal_layout.h"
#include "uitoolkit/window/modal_dialog.h"

// The animation: "loading.xml" with its animated GIF button.
class GifLoadding : public UiToolkit::CHorizontalLayoutUI {
public:
    explicit GifLoadding(UiToolkit::CWindowManagerUI* manager);
    // Call once the control is in the window's tree.
    void StartAnimation();

private:
    UiToolkit::CWindowManagerUI* manager_;
};

class LoadingWnd : public UiToolkit::CModalDialog {
public:
    explicit LoadingWnd(ke::task job);
    // Waits for the job: what it writes to must stay valid until it returns.
    ~LoadingWnd() override;

    // Only "on_task_complete" counts; clicks and the rest do nothing.
    void Notify(UiToolkit::TUiNotify& msg) override;
    // Started by the window once its skin is ready, at most once.
    void StartJob();
    bool JobReturned() const;
    // Returns at once when the job never started.
    void WaitForJob() const;

protected:
    void OnSkinReady() override;
    // Escape and the system close are ignored until the job has returned.
    bool OnDialogKey(WPARAM key) override;
    LRESULT OnClose(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    ke::task job_;
    HANDLE returned_;  // manual-reset, set once the job has returned
    bool started_;
};

// Runs `job` behind a loading window owned by `owner` and returns once the
// job has returned: true when the window closed at the job's end, false
// when a quit ended the modal loop first (the caller then shows nothing
// further; the quit is passed on to the outer loop).
bool RunInLoadingWnd(HWND owner, ke::task job);
// The same with the window's top-left corner at a screen point, where the
// user just clicked.
bool RunInLoadingWndAt(HWND owner, POINT screen_pos, ke::task job);
