#include "client/windows/main/live_targets.h"

#include <map>

#include "foundation/ke/critical_section.h"

namespace {

struct Registry {
    ke::critical_section lock;
    std::map<const void*, LiveTarget> targets;
};

Registry& TheRegistry() {
    // Created on first use; C++ makes the first use safe between threads.
    static Registry* registry = new Registry;
    return *registry;
}

}  // namespace

const char* TargetClassName(TargetClass cls) {
    switch (cls) {
    case TargetClass::kPage: return "Page";
    case TargetClass::kDownloadingPage: return "DownloadingPage";
    case TargetClass::kSoftListItem: return "SoftListItem";
    case TargetClass::kDownloadProgress: return "DownloadProgress";
    case TargetClass::kSchemeSoftItem: return "SchemeSoftItem";
    case TargetClass::kDetail: return "Detail";
    case TargetClass::kTypeListItem: return "TypeListItem";
    case TargetClass::kIconControl: return "icon control";
    case TargetClass::kCollectItem: return "CollectItem";
    case TargetClass::kMySchemeItem: return "MySchemeItem";
    }
    return "?";
}

namespace LiveTargets {

void Register(const void* address, const LiveTarget& target) {
    if (!address) return;
    Registry& r = TheRegistry();
    ke::scoped_lock guard(r.lock);
    r.targets[address] = target;
}

void Unregister(const void* address) {
    Registry& r = TheRegistry();
    ke::scoped_lock guard(r.lock);
    r.targets.erase(address);
}

bool Find(const void* address, TargetClass cls, LiveTarget* out) {
    if (!address) return false;
    Registry& r = TheRegistry();
    ke::scoped_lock guard(r.lock);
    auto it = r.targets.find(address);
    if (it == r.targets.end() || it->second.cls != cls) return false;
    if (out) *out = it->second;
    return true;
}

size_t Count() {
    Registry& r = TheRegistry();
    ke::scoped_lock guard(r.lock);
    return r.targets.size();
}

}  // namespace LiveTargets

void LiveTargetRegistration::Set(const void* address, const LiveTarget& target) {
    Reset();
    LiveTargets::Register(address, target);
    address_ = address;
}

void LiveTargetRegistration::Reset() {
    if (!address_) return;
    LiveTargets::Unregister(address_);
    address_ = nullptr;
}
