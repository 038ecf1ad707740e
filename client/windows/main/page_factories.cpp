#include "client/windows/main/page_factories.h"

#include <wchar.h>

#include "client/windows/catalogue/catalogue_page.h"
#include "client/windows/installed/uninstall_soft.h"
#include "client/windows/downloads/download_center.h"
#include "client/windows/home/home_page.h"
#include "client/windows/pages/stand_in_page.h"

namespace {

struct PageFactory {
    const wchar_t* tag;
    UiToolkit::CControlUI* (*create)();
};

// Tab order. A built page replaces its stand-in here. Each page, the home
// page included, belongs to the tab item that holds it.
const PageFactory kFactories[] = {
    {L"necessary_soft", [] { return static_cast<UiToolkit::CControlUI*>(new NecessarySoft); }},
    {L"market_soft", [] { return static_cast<UiToolkit::CControlUI*>(new MarketSoft); }},
    {L"uninstall_soft", [] { return static_cast<UiToolkit::CControlUI*>(new UninstallSoft); }},
    {L"scheme_soft", [] { return static_cast<UiToolkit::CControlUI*>(new SchemeSoft); }},
    {L"tools_soft", [] { return static_cast<UiToolkit::CControlUI*>(new ToolsSoft); }},
    {L"download_center", [] { return static_cast<UiToolkit::CControlUI*>(new DownloadCenter); }},
    {L"home_page", [] { return static_cast<UiToolkit::CControlUI*>(new HomePage); }},
};

}  // namespace

const wchar_t* const kMainFramePageTags[7] = {L"necessary_soft", L"market_soft", L"uninstall_soft",
                                              L"scheme_soft", L"tools_soft", L"download_center",
                                              L"home_page"};

UiToolkit::CControlUI* CreateMainFramePage(const wchar_t* tag) {
    if (!tag) return nullptr;
    for (const PageFactory& f : kFactories) {
        if (wcscmp(f.tag, tag) == 0) return f.create();
    }
    return nullptr;
}
