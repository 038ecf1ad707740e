#pragma once
// The arithmetic and texts of the installed-programs page: no window here.
#include <stddef.h>
#include <stdint.h>

#include <string>

#include "client/core/install_scan/sys_install_soft.h"

const int kInstalledPageSize = 20;

// Newest installation first by the yyyymmdd date; programs of one day keep
// the order the scan found them in.
void SortNewestFirst(SysInstallSoftList* list);

// The records shown on page `page` (1-based) of `total`: from `first`,
// `count` of them (none for a page beyond the last, or below 1).
struct InstalledPageSlice {
    size_t first = 0;
    size_t count = 0;
};
InstalledPageSlice SliceOfPage(size_t total, int page);

// "亲，您一共安装了软件 N 款".
std::wstring InstalledCaption(size_t count);

// The size cell: empty for 0 KB, else the KB divided by 1000 as "%.2f MB".
std::wstring InstalledSizeText(uint32_t size_kb);
