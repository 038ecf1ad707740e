#pragma once
// The objects that a main-window message may name in lParam, while they
// exist. A poster only passes an address; by the time the message is
// dispatched the object may be gone. Each such object registers itself
// here once it is in place (a row when its page takes it, a widget when
// its row is built, a page when it is constructed) and unregisters in its
// destructor; the dispatcher delivers only to a registered object of the
// class the message table names, and drops the message otherwise.
//
// Register and unregister from any thread (a lock guards the map). Lookups
// and the calls that follow run on the UI thread, which is also where
// controls are destroyed, so an object found here stays alive for the call.
#include <stddef.h>

namespace UiToolkit {
class CControlUI;
class INotifyUI;
}

// The classes the message table names as targets.
enum class TargetClass {
    kPage,             // a catalogue page
    kDownloadingPage,  // the download centre's active list
    kSoftListItem,     // a catalogue row
    kDownloadProgress, // a row's progress widget
    kSchemeSoftItem,   // a scheme's software row
    kDetail,           // the detail view
    kTypeListItem,     // a sub-category row
    kIconControl,      // a favourites or scheme row's icon label
    kCollectItem,      // a favourites row
    kMySchemeItem,     // a scheme row
};
const char* TargetClassName(TargetClass cls);

// Shows an icon file that a worker fetched (catalogue and category rows).
class IconShower {
public:
    virtual ~IconShower() {}
    virtual void ShowIconPath(const wchar_t* path) = 0;
};

struct LiveTarget {
    TargetClass cls = TargetClass::kPage;
    UiToolkit::CControlUI* control = nullptr;  // the object as a control: the sender
                                               // of direct deliveries, the icon label
    UiToolkit::INotifyUI* receiver = nullptr;  // gets direct deliveries
    IconShower* icon = nullptr;                // rows that show icons
};

namespace LiveTargets {

// `address` is exactly what posters put in lParam. Registering an address
// again replaces its entry.
void Register(const void* address, const LiveTarget& target);
void Unregister(const void* address);
// True when `address` is registered with class `cls`; the entry in `out`.
bool Find(const void* address, TargetClass cls, LiveTarget* out);
size_t Count();

}  // namespace LiveTargets

// Holds one registration and removes it when destroyed: a member of the
// target (declare it last, so it goes first).
class LiveTargetRegistration {
public:
    LiveTargetRegistration() = default;
    ~LiveTargetRegistration() { Reset(); }
    void Set(const void* address, const LiveTarget& target);
    void Reset();

private:
    LiveTargetRegistration(const LiveTargetRegistration&) = delete;
    LiveTargetRegistration& operator=(const LiveTargetRegistration&) = delete;
    const void* address_ = nullptr;
};
