#pragma once
// The strip that every row with a download shows: a progress bar, the
// percent, start, stop and delete buttons and the speed. It is built in
// code by the row that owns it (no skin file).
//
// Its buttons call the download task registry; it changes only when the
// registry's observers report back, through the main window's messages
// WM_DOWNLOADING, WM_STOP_DOWNLOAD and WM_RESTART_DOWNLOAD, which name the
// widget in lParam. UI thread only.
//
// Using it:
//   1. new DownloadProgress; SetFixedWidth/SetFixedHeight; Build(...);
//      add it to the row's layout.
//   2. RegisterAsTarget() once the row is in place, so the dispatcher
//      delivers those messages to it (a widget that is not registered, or
//      is gone, has its messages dropped and their records freed).
//   3. Hand it the "click" notifications that the row does not handle
//      itself: it acts only on its own three buttons.
#include <stdint.h>

#include "client/core/catalogue/software.h"
#include "client/windows/main/live_targets.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/progress.h"
#include "uitoolkit/core/notify.h"
#include "uitoolkit/layouts/horizontal_layout.h"

class DownloadProgress : public UiToolkit::CHorizontalLayoutUI, public UiToolkit::INotifyUI {
public:
    DownloadProgress();
    ~DownloadProgress() override;

    const wchar_t* ClassName() const override;
    // "DownloadProgress" gives the widget.
    LPVOID FindInterface(const wchar_t* name) override;

    // Builds the children for the fixed width and height set before.
    // `soft`: only its id is read (kept in the delete button's user data).
    void Build(const SoftwarePtr& soft, int bar_value, bool stop_enabled, bool start_enabled,
               int percent, int32_t speed, const wchar_t* fore_image, const wchar_t* back_image);

    // Clicks of its buttons, and "wm_downloading", "wm_stop_download",
    // "wm_restart_download" with this widget as sender ("wm_downloading"
    // frees its record).
    void Notify(UiToolkit::TUiNotify& msg) override;

    // The bar takes `value` when it lies in 0..100 and differs from the
    // current one; a null text leaves that text as it is.
    void ShowProgress(int value, const wchar_t* percent_text, const wchar_t* speed_text);
    // Start disabled, stop enabled.
    void ShowRunning();
    // Stop disabled, start enabled.
    void ShowStopped();
    // A running (1) or finished (2) report; ignored while stopped.
    void ShowTransfer(int32_t state, int32_t percent, int32_t speed);

    void RegisterAsTarget();
    // Its messages are dropped from now on (also done by the destructor).
    void UnregisterAsTarget() { registration_.Reset(); }

    int SoftId() const;
    bool IsStoppedLook() const;
    UiToolkit::CProgressUI* Bar() const { return bar_; }
    UiToolkit::CButtonUI* StartButton() const { return start_; }
    UiToolkit::CButtonUI* StopButton() const { return stop_; }
    UiToolkit::CButtonUI* DeleteButton() const { return delete_; }
    UiToolkit::CButtonUI* PercentText() const { return percent_; }
    UiToolkit::CButtonUI* SpeedText() const { return speed_; }

private:
    UiToolkit::CProgressUI* bar_;
    UiToolkit::CButtonUI* start_;
    UiToolkit::CButtonUI* stop_;
    UiToolkit::CButtonUI* delete_;
    UiToolkit::CButtonUI* percent_;
    UiToolkit::CButtonUI* speed_;
    LiveTargetRegistration registration_;  // last: goes first
};
