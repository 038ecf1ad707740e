#include "client/core/utilities/version_compare.h"
#include <vector>
#include "client/core/utilities/text_split.h"

namespace {

// The leading digits of a part without its leading zeros: "007beta" gives
// "7", "beta" and "-1" give "" (zero). Held as text, so a part of any
// length compares exactly; a fixed-width number would saturate and make
// distinct long parts (dates, build stamps) equal.
std::wstring PartDigits(const std::wstring& part) {
    size_t end = 0;
    while (end < part.size() && part[end] >= L'0' && part[end] <= L'9') ++end;
    size_t start = 0;
    while (start < end && part[start] == L'0') ++start;
    return part.substr(start, end - start);
}

// -1, 0 or 1 as the number `a` is lower than, equal to or higher than `b`.
int CompareDigits(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    int order = a.compare(b);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

}  // namespace

int CompareVersion(const std::wstring& first, const std::wstring& second) {
    std::vector<std::wstring> a, b;
    SplitString(&a, L".", first);
    SplitString(&b, L".", second);
    size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        int order = CompareDigits(PartDigits(a[i]), PartDigits(b[i]));
        if (order != 0) return -order;  // 1 when the second is higher
    }
    const std::vector<std::wstring>& longer = a.size() > b.size() ? a : b;
    for (size_t i = common; i < longer.size(); ++i) {
        if (!PartDigits(longer[i]).empty()) return &longer == &b ? 1 : -1;
    }
    return 0;
}
