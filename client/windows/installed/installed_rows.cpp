#include "client/windows/installed/installed_rows.h"

#include <stdio.h>

#include <algorithm>

void SortNewestFirst(SysInstallSoftList* list) {
    std::stable_sort(list->begin(), list->end(), [](const SysInstallSoftPtr& a, const SysInstallSoftPtr& b) {
        return a->install_date > b->install_date;
    });
}

InstalledPageSlice SliceOfPage(size_t total, int page) {
    InstalledPageSlice slice;
    if (page < 1) return slice;
    const size_t first = static_cast<size_t>(page - 1) * kInstalledPageSize;
    if (first >= total) return slice;
    slice.first = first;
    slice.count = std::min(total - first, static_cast<size_t>(kInstalledPageSize));
    return slice;
}

std::wstring InstalledCaption(size_t count) {
    wchar_t text[64];
    swprintf(text, sizeof(text) / sizeof(text[0]), L"亲，您一共安装了软件 %d 款", static_cast<int>(count));
    return text;
}

std::wstring InstalledSizeText(uint32_t size_kb) {
    if (size_kb == 0) return std::wstring();
    wchar_t text[32];
    swprintf(text, sizeof(text) / sizeof(text[0]), L"%.2f MB", size_kb / 1000.0);
    return text;
}
