#pragma once
// Helpers for the tests of the client's windows: the program folder's skin,
// a message pump, message-level clicks, and pages and targets that record
// what reaches them.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "client/windows/main/live_targets.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/notify.h"
#include "uitoolkit/window/window_impl_base.h"

namespace wintest {

// Points the toolkit at this program and at the skin folder of build/dist.
void UseDistSkin();
// The folder that holds the skin of build/dist (Wine path, no trailing \).
std::wstring DistSkinFolder();

// Runs the toolkit's routing for every message that arrives.
void Pump(DWORD ms);
bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms);

// Posts a left click (move, down, up) at a client point of `hwnd`.
void ClickAt(HWND hwnd, POINT client);
// The same at the centre of a control of that window.
void ClickControl(HWND hwnd, UiToolkit::CControlUI* control);
// Posts a key down and up to `hwnd`.
void PressKey(HWND hwnd, WPARAM key);

// The width and height of `text` in the font that `label` draws with.
SIZE TextExtent(UiToolkit::CLabelUI* label, const wchar_t* text);
// How many pixels of `label`'s text run past the room its padding leaves,
// or past `limit` (a right edge in the window) when that is nearer; 0 or
// less when the text fits.
int TextOverrun(UiToolkit::CLabelUI* label, LONG limit);

// Writes the screen under `hwnd` as a 24-bit BMP at a Linux `path`.
bool SaveWindowShot(HWND hwnd, const char* path);

// Runs `step` once, `delay_ms` from now, from whatever message loop runs
// then (a thread timer): the way to act inside a modal loop.
void RunSoon(DWORD delay_ms, std::function<void()> step);

// The first visible top-level window of this process with that class.
HWND FindOwnWindow(const wchar_t* class_name);
// How many visible top-level windows of this process have that class.
int CountOwnWindows(const wchar_t* class_name);

// Waits (from whatever message loop runs, so also inside a modal loop) for
// a visible window of this process with that class, then calls `act` once
// with it and its skinned window object (none for other windows).
void WhenWindowAppears(const wchar_t* class_name,
                       std::function<void(HWND, UiToolkit::WindowImplBase*)> act,
                       DWORD timeout_ms = 10000);
// The text of a named control of a skinned window.
std::wstring ControlText(UiToolkit::WindowImplBase* wnd, const wchar_t* name);
// Posts a click on a named control of a skinned window.
void ClickNamed(UiToolkit::WindowImplBase* wnd, const wchar_t* name);

// What a recording receiver saw.
struct Delivery {
    std::wstring type;
    UiToolkit::CControlUI* sender;
    WPARAM wParam;
    LPARAM lParam;
    DWORD timestamp;
};

// A page of the main window that records every notification.
class RecordingPage : public UiToolkit::CContainerUI, public UiToolkit::INotifyUI {
public:
    explicit RecordingPage(const wchar_t* tag) : tag(tag) {}
    LPVOID FindInterface(const wchar_t* name) override;
    void Notify(UiToolkit::TUiNotify& msg) override;
    int Count(const wchar_t* type) const;
    void Clear() { log.clear(); }

    // The last delivery of that type, or none.
    const Delivery* Last(const wchar_t* type) const;

    std::wstring tag;
    std::vector<Delivery> log;
    // Called for each notification after it is recorded.
    std::function<void(UiToolkit::TUiNotify&)> on_notify;
};

// An object that a message can name: registered as a live target of the
// given class while it exists; records deliveries and icon paths.
class RecordingTarget : public UiToolkit::CControlUI,
                        public UiToolkit::INotifyUI,
                        public IconShower {
public:
    RecordingTarget(TargetClass cls, bool* destroyed = nullptr);
    ~RecordingTarget() override;
    void Notify(UiToolkit::TUiNotify& msg) override;
    void ShowIconPath(const wchar_t* path) override { icons.push_back(path); }

    std::vector<Delivery> log;
    std::vector<std::wstring> icons;
    // Deliveries to every recording target so far: a destroyed target
    // cannot record that it was called.
    static int total_deliveries;

private:
    bool* destroyed_;
    LiveTargetRegistration registration_;
};

// A test suite whose dialogs are shown over one plain window: the skin of
// build/dist, and the owner made once (windows are slow to come and go
// under Wine without a window manager).
class DialogOwnerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void TearDown() override { UseDistSkin(); }
    static HWND owner();
};

// Watches one heap address: true once `delete` was called on it.
void WatchDelete(const void* p);
bool WatchedDeleted();
// While on, freed blocks are filled with 0xDD and kept out of use for the
// next 131072 frees: a late call into a deleted object meets the poison
// (and crashes) instead of a newer object at the same address.
void QuarantineFrees(bool on);

}  // namespace wintest
