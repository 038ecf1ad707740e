#include "client/core/utilities/version_compare.h"
#include <stdlib.h>
#include <vector>
#include "client/core/utilities/text_split.h"

int CompareVersion(const std::wstring& first, const std::wstring& second) {
    std::vector<std::wstring> a, b;
    SplitString(&a, L".", first);
    SplitString(&b, L".", second);
    size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        long x = _wtol(a[i].c_str());
        long y = _wtol(b[i].c_str());
        if (y > x) return 1;
        if (y < x) return -1;
    }
    const std::vector<std::wstring>& longer = a.size() > b.size() ? a : b;
    for (size_t i = common; i < longer.size(); ++i) {
        if (_wtol(longer[i].c_str()) >= 1) return &longer == &b ? 1 : -1;
    }
    return 0;
}
