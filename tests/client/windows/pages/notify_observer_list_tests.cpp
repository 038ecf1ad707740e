// What a page passes on to its rows: order, duplicates, removals during a
// walk, and rows added from a worker while the UI thread forwards.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "client/windows/pages/notify_observer_list.h"
#include "foundation/ke/thread_single.h"
#include "uitoolkit/core/control.h"

namespace {

struct Observer : UiToolkit::INotifyUI {
    Observer(const char* name, std::vector<std::string>* calls) : name(name), calls(calls) {}
    void Notify(UiToolkit::TUiNotify& msg) override {
        calls->push_back(name);
        last_type = msg.sType.GetData();
        last_sender = msg.pSender;
        last_stamp = msg.dwTimestamp;
        last_record = &msg;
        if (on_notify) on_notify();
    }
    std::string name;
    std::vector<std::string>* calls;
    std::wstring last_type;
    UiToolkit::CControlUI* last_sender = nullptr;
    DWORD last_stamp = 0;
    const UiToolkit::TUiNotify* last_record = nullptr;
    std::function<void()> on_notify;
};

std::string Join(const std::vector<std::string>& v) {
    std::string out;
    for (const auto& s : v) out += (out.empty() ? "" : " ") + s;
    return out;
}

TEST(NotifyObserverList, AddRemoveAndForwardByTable) {
    std::vector<std::string> calls;
    Observer a("a", &calls), b("b", &calls), c("c", &calls), never("never", &calls);
    struct Case {
        const char* what;
        std::function<void(NotifyObserverList&)> change;
        const char* called;
    } cases[] = {
        {"empty list", [](NotifyObserverList&) {}, ""},
        {"in insertion order", [&](NotifyObserverList& l) { l.AddObserver(&a); l.AddObserver(&b); l.AddObserver(&c); }, "a b c"},
        {"added twice, called twice", [&](NotifyObserverList& l) { l.AddObserver(&a); l.AddObserver(&b); l.AddObserver(&a); }, "a b a"},
        {"removal takes the first entry only", [&](NotifyObserverList& l) { l.AddObserver(&a); l.AddObserver(&b); l.AddObserver(&a); l.RemoveObserver(&a); }, "b a"},
        {"removed twice, gone", [&](NotifyObserverList& l) { l.AddObserver(&a); l.AddObserver(&a); l.RemoveObserver(&a); l.RemoveObserver(&a); }, ""},
        {"never added: nothing changes", [&](NotifyObserverList& l) { l.AddObserver(&a); l.RemoveObserver(&never); }, "a"},
    };
    for (const Case& k : cases) {
        NotifyObserverList list;
        k.change(list);
        calls.clear();
        UiToolkit::TUiNotify msg;
        msg.sType = L"click";
        list.ForwardToAll(msg);
        EXPECT_EQ(k.called, Join(calls)) << k.what;
    }
}

TEST(NotifyObserverList, ForwardPassesTheVeryRecordAndNotifyAllAFreshOne) {
    std::vector<std::string> calls;
    Observer a("a", &calls);
    NotifyObserverList list;
    list.AddObserver(&a);
    UiToolkit::CControlUI sender;
    UiToolkit::TUiNotify msg;
    msg.sType = L"itemselect";
    msg.pSender = &sender;
    msg.dwTimestamp = 1234;
    list.ForwardToAll(msg);
    EXPECT_EQ(&msg, a.last_record);

    DWORD before = ::GetTickCount();
    list.NotifyAll(L"fetch_collect_soft");
    EXPECT_EQ(L"fetch_collect_soft", a.last_type);
    EXPECT_EQ(nullptr, a.last_sender);
    EXPECT_GE(a.last_stamp, before);
    list.NotifyAll(nullptr);
    EXPECT_EQ(L"", a.last_type);
}

TEST(NotifyObserverList, RemovalsDuringAWalk) {
    std::vector<std::string> calls;
    Observer a("a", &calls), b("b", &calls), c("c", &calls), late("late", &calls);
    NotifyObserverList list;
    list.AddObserver(&a);
    list.AddObserver(&b);
    list.AddObserver(&c);
    // a removes itself and c (a row destroyed by what it handles), and adds
    // one that was not there when the walk began.
    a.on_notify = [&] {
        list.RemoveObserver(&a);
        list.RemoveObserver(&c);
        list.AddObserver(&late);
    };
    UiToolkit::TUiNotify msg;
    list.ForwardToAll(msg);
    EXPECT_EQ("a b", Join(calls));
    a.on_notify = nullptr;
    calls.clear();
    list.ForwardToAll(msg);
    EXPECT_EQ("b late", Join(calls));
}

TEST(NotifyObserverList, RowsAddedFromAWorkerWhileForwarding) {
    std::vector<std::string> calls;
    NotifyObserverList list;
    const int kRows = 2000;
    std::vector<Observer*> rows;
    for (int i = 0; i < kRows; ++i) rows.push_back(new Observer("r", &calls));
    std::atomic<bool> done(false);
    ASSERT_TRUE(ke::run_detached([&] {
        for (Observer* row : rows) list.AddObserver(row);
        done = true;
    }));
    UiToolkit::TUiNotify msg;
    size_t previous = 0;
    while (!done) {
        calls.clear();
        list.ForwardToAll(msg);
        // Each walk sees a prefix of what the worker added, never less than before.
        EXPECT_GE(calls.size(), previous);
        previous = calls.size();
    }
    calls.clear();
    list.ForwardToAll(msg);
    EXPECT_EQ(static_cast<size_t>(kRows), calls.size());
    EXPECT_EQ(static_cast<size_t>(kRows), list.ObserverCount());
    for (Observer* row : rows) list.RemoveObserver(row);
    EXPECT_EQ(0u, list.ObserverCount());
    for (Observer* row : rows) delete row;
}

}  // namespace
