#pragma once
// What a page passes on: the page handles the notifications it knows and
// hands every other one, unchanged, to the observers kept here (its rows,
// its detail view, its sub-pages), which each pick out their own.
//
// Observers are not owned. One may be added twice and is then called
// twice. Adds and removals take a lock, so rows built on a worker thread
// may add themselves while the UI thread forwards; a walk calls, outside
// the lock, each observer that was present when it began and still is
// (one removed meanwhile, by itself or another, is not called).
#include <stdint.h>
#include <list>
#include <unordered_set>

#include "foundation/ke/critical_section.h"
#include "uitoolkit/core/notify.h"

class NotifyObserverList {
public:
    NotifyObserverList();
    virtual ~NotifyObserverList();

    void AddObserver(UiToolkit::INotifyUI* observer);
    // Unlinks the first entry equal to `observer`; none, no effect.
    void RemoveObserver(UiToolkit::INotifyUI* observer);
    // The very record the owner received, to every observer, first to last.
    void ForwardToAll(UiToolkit::TUiNotify& msg);
    // A fresh record: type `name`, no sender, the current tick count,
    // everything else 0.
    void NotifyAll(const wchar_t* name);

    size_t ObserverCount() const;

private:
    NotifyObserverList(const NotifyObserverList&) = delete;
    NotifyObserverList& operator=(const NotifyObserverList&) = delete;

    struct Entry {
        uint64_t serial;
        UiToolkit::INotifyUI* observer;
    };
    bool StillPresent(uint64_t serial) const;

    mutable ke::critical_section lock_;
    std::list<Entry> entries_;
    std::unordered_set<uint64_t> present_;  // the serials in entries_
    uint64_t next_serial_;
};
