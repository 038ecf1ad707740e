#include "client/windows/pages/notify_observer_list.h"

#include <vector>

NotifyObserverList::NotifyObserverList() : next_serial_(1) {}

NotifyObserverList::~NotifyObserverList() {}

void NotifyObserverList::AddObserver(UiToolkit::INotifyUI* observer) {
    ke::scoped_lock guard(lock_);
    entries_.push_back(Entry{next_serial_, observer});
    present_.insert(next_serial_++);
}

void NotifyObserverList::RemoveObserver(UiToolkit::INotifyUI* observer) {
    ke::scoped_lock guard(lock_);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->observer == observer) {
            present_.erase(it->serial);
            entries_.erase(it);
            return;
        }
    }
}

size_t NotifyObserverList::ObserverCount() const {
    ke::scoped_lock guard(lock_);
    return entries_.size();
}

bool NotifyObserverList::StillPresent(uint64_t serial) const {
    ke::scoped_lock guard(lock_);
    return present_.count(serial) != 0;
}

void NotifyObserverList::ForwardToAll(UiToolkit::TUiNotify& msg) {
    std::vector<Entry> walk;
    {
        ke::scoped_lock guard(lock_);
        walk.assign(entries_.begin(), entries_.end());
    }
    // An observer may remove itself or others (a row destroyed by what it
    // handles): each is checked just before its call.
    for (const Entry& e : walk) {
        if (StillPresent(e.serial)) e.observer->Notify(msg);
    }
}

void NotifyObserverList::NotifyAll(const wchar_t* name) {
    UiToolkit::TUiNotify msg;
    msg.sType = name ? name : L"";
    msg.dwTimestamp = ::GetTickCount();
    ForwardToAll(msg);
}
