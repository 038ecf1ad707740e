#pragma once
// Helpers for the tests of the client's windows: the program folder's skin,
// a message pump, message-level clicks, and pages and targets that record
// what reaches them.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "client/windows/main/live_targets.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/notify.h"

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

// Runs `step` once, `delay_ms` from now, from whatever message loop runs
// then (a thread timer): the way to act inside a modal loop.
void RunSoon(DWORD delay_ms, std::function<void()> step);

// The first visible top-level window of this process with that class.
HWND FindOwnWindow(const wchar_t* class_name);

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

    std::wstring tag;
    std::vector<Delivery> log;
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

private:
    bool* destroyed_;
    LiveTargetRegistration registration_;
};

// Watches one heap address: true once `delete` was called on it.
void WatchDelete(const void* p);
bool WatchedDeleted();

}  // namespace wintest
