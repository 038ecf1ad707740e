#pragma once
// Gives scanned programs their catalogue soft id, catalogue version and
// update flag from the version database.
#include <stdint.h>
#include <functional>
#include <string>
#include <vector>
#include "client/core/install_scan/sys_install_soft.h"

// The database's answer for one installed name; the version is empty when
// nothing matched.
struct VersionMatch {
    std::wstring version;
    int32_t soft_id = 0;
};

// Answers one VersionMatch per name, in order; false when the database
// failed. May block until the database is ready.
typedef std::function<bool(const std::vector<std::wstring>& names, std::vector<VersionMatch>* results)>
    InstalledNameMatcher;

// Programs published by Microsoft are never looked up. Returns whether the
// database answered.
bool MatchVersionDb(const SysInstallSoftList& list, const InstalledNameMatcher& matcher);
