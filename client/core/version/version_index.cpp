#include "client/core/version/version_index.h"
#include <algorithm>

VersionIndex::VersionIndex(const std::vector<VersionMgr::LoweredItem>& items) : items_(items) {
    first_of_feature_.reserve(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const std::wstring& feature = items[i].feature;
        if (feature.empty()) continue;  // an empty feature name matches nothing
        first_of_feature_.emplace(std::wstring_view(feature), i);  // keeps the first row
        longest_feature_ = std::max(longest_feature_, feature.size());
        for (size_t at = 0; at + 3 <= feature.size(); ++at) {
            auto& rows = rows_of_trigram_[Trigram(feature.data() + at)];
            if (rows.empty() || rows.back() != i) rows.push_back(i);  // ascending, no repeats
        }
    }
}

uint64_t VersionIndex::Trigram(const wchar_t* p) {
    return static_cast<uint64_t>(static_cast<uint16_t>(p[0])) << 32 |
           static_cast<uint64_t>(static_cast<uint16_t>(p[1])) << 16 | static_cast<uint16_t>(p[2]);
}

size_t VersionIndex::FirstContainedIn(const std::wstring& name) const {
    size_t best = kNone;
    std::wstring_view view(name);
    for (size_t at = 0; at < name.size(); ++at) {
        size_t longest = std::min(longest_feature_, name.size() - at);
        for (size_t length = 1; length <= longest; ++length) {
            auto it = first_of_feature_.find(view.substr(at, length));
            if (it != first_of_feature_.end() && it->second < best) best = it->second;
        }
    }
    return best;
}

size_t VersionIndex::FirstContaining(const std::wstring& name, size_t below) const {
    if (name.size() >= 3) {
        // Every row holding the name holds each of its pieces: compare only
        // the rows of the rarest one, in table order.
        const std::vector<size_t>* rarest = nullptr;
        for (size_t at = 0; at + 3 <= name.size(); ++at) {
            auto it = rows_of_trigram_.find(Trigram(name.data() + at));
            if (it == rows_of_trigram_.end()) return kNone;
            if (!rarest || it->second.size() < rarest->size()) rarest = &it->second;
        }
        for (size_t row : *rarest) {
            if (row >= below) break;
            if (items_[row].feature.find(name) != std::wstring::npos) return row;
        }
        return kNone;
    }
    for (size_t row = 0; row < items_.size() && row < below; ++row) {
        const std::wstring& feature = items_[row].feature;
        if (!feature.empty() && feature.find(name) != std::wstring::npos) return row;
    }
    return kNone;
}

VersionMgr::DBItemPtr VersionIndex::Find(const std::wstring& lower_name) const {
    if (lower_name.empty()) return nullptr;
    size_t best = FirstContainedIn(lower_name);
    size_t containing = FirstContaining(lower_name, best);
    if (containing < best) best = containing;
    return best == kNone ? nullptr : items_[best].item;
}
