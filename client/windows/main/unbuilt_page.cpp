#include "client/windows/main/unbuilt_page.h"

#include <wchar.h>

UnbuiltPage::UnbuiltPage(const wchar_t* tag) : tag_(tag) {}

const wchar_t* UnbuiltPage::ClassName() const { return L"UnbuiltPageUI"; }

LPVOID UnbuiltPage::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, L"UnbuiltPage") == 0) return this;
    return CControlUI::FindInterface(name);
}
