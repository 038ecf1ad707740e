#include "client/core/install_scan/install_version_match.h"
#include <map>
#include "client/core/utilities/version_compare.h"

bool MatchVersionDb(const SysInstallSoftList& list, const InstalledNameMatcher& matcher) {
    std::vector<std::wstring> names;
    std::map<std::wstring, SysInstallSoftPtr> by_name;
    for (const auto& soft : list) {
        const std::wstring& publisher = soft->publisher;
        if (publisher == L"Microsoft Corporation" || publisher.compare(0, 9, L"Microsoft") == 0)
            continue;
        // The same name twice is looked up once; the later entry wins.
        if (by_name.find(soft->display_name) == by_name.end()) names.push_back(soft->display_name);
        by_name[soft->display_name] = soft;
    }
    std::vector<VersionMatch> results;
    if (!matcher || !matcher(names, &results)) return false;
    for (size_t i = 0; i < names.size() && i < results.size(); ++i) {
        const VersionMatch& match = results[i];
        if (match.version.empty()) continue;
        SysInstallSoft* soft = by_name[names[i]].get();
        soft->soft_id = match.soft_id;
        soft->catalogue_version = match.version;
        soft->update = !soft->display_version.empty() &&
                       CompareVersion(match.version, soft->display_version) < 0;
    }
    return true;
}
