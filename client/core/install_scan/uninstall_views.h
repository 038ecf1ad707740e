#pragma once
// Which registry views of the uninstall list a scan reads, and what the scan
// then reports, whatever each view holds.
#include <windows.h>
#include <functional>

enum class UninstallViewRule {
    // A 32-bit program: its own view, then, under WOW64 and only when its own
    // view could be read, the 64-bit view; the result is the last view's.
    // (On 64-bit Windows the 32-bit view's key always exists.)
    kThirtyTwoBit,
    // A 64-bit program: the 32-bit view and its own view, each on its own, so
    // that a view without the key (a fresh 64-bit machine or Wine prefix has
    // none in the 32-bit view) never hides the other. The result is whether
    // either view could be read.
    kSixtyFourBit,
};

// The rule of the program this code is built into.
UninstallViewRule ThisBuildsViewRule();

// Reads the views in order, 32-bit first, through `read_view`, which is given
// KEY_WOW64_32KEY or KEY_WOW64_64KEY and says whether that view's key could
// be read. `wow64`: a 32-bit program runs under WOW64 (the 64-bit rule
// ignores it). Returns the scan's result by `rule`.
bool ReadUninstallViews(UninstallViewRule rule, bool wow64, const std::function<bool(REGSAM view)>& read_view);
