#pragma once
// Fast lookup of the first version-database row whose feature name is in an
// installed name or holds it. Gives exactly what VersionMgr::FindItem gives
// (first row in table order, empty names never match) without comparing
// every name with every row:
// - rows contained in the name: every substring of the name is looked up in
//   a hash of the feature names;
// - rows that contain the name: only rows that share the name's rarest
//   three-character piece are compared.
#include <stdint.h>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>
#include "client/core/version/version_mgr.h"

class VersionIndex {
public:
    // `items` must outlive the index (the index points into their texts).
    explicit VersionIndex(const std::vector<VersionMgr::LoweredItem>& items);

    VersionMgr::DBItemPtr Find(const std::wstring& lower_name) const;

private:
    static const size_t kNone = static_cast<size_t>(-1);
    size_t FirstContainedIn(const std::wstring& name) const;
    size_t FirstContaining(const std::wstring& name, size_t below) const;
    static uint64_t Trigram(const wchar_t* p);

    const std::vector<VersionMgr::LoweredItem>& items_;
    std::unordered_map<std::wstring_view, size_t> first_of_feature_;
    std::unordered_map<uint64_t, std::vector<size_t>> rows_of_trigram_;
    size_t longest_feature_ = 0;
};
