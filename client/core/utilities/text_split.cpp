#include "client/core/utilities/text_split.h"

void SplitString(std::vector<std::wstring>* out, const std::wstring& delimiter,
                 const std::wstring& text) {
    if (delimiter.empty()) {
        if (!text.empty()) out->push_back(text);
        return;
    }
    size_t pos = text.find_first_not_of(delimiter);
    while (pos != std::wstring::npos && pos < text.size()) {
        size_t next = text.find(delimiter, pos);
        size_t end = next == std::wstring::npos ? text.size() : next;
        if (end > pos) out->push_back(text.substr(pos, end - pos));
        if (next == std::wstring::npos) break;
        pos = next + delimiter.size();
    }
}

void CollapseBackslashes(std::wstring* text) {
    std::wstring result;
    result.reserve(text->size());
    for (wchar_t c : *text) {
        if (c == L'\\' && !result.empty() && result.back() == L'\\') continue;
        result.push_back(c);
    }
    text->swap(result);
}
