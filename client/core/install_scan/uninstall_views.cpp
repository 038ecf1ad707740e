#include "client/core/install_scan/uninstall_views.h"

UninstallViewRule ThisBuildsViewRule() {
    return sizeof(void*) == 8 ? UninstallViewRule::kSixtyFourBit : UninstallViewRule::kThirtyTwoBit;
}

bool ReadUninstallViews(UninstallViewRule rule, bool wow64, const std::function<bool(REGSAM view)>& read_view) {
    if (rule == UninstallViewRule::kSixtyFourBit) {
        const bool read32 = read_view(KEY_WOW64_32KEY);
        const bool read64 = read_view(KEY_WOW64_64KEY);
        return read32 || read64;
    }
    bool ok = read_view(KEY_WOW64_32KEY);
    if (ok && wow64) ok = read_view(KEY_WOW64_64KEY);
    return ok;
}
