// One catalogue page's first showing with empty caches, in the real main
// window: from the click on its tab until the category list, the ranking,
// the 20 records and every row and category icon have arrived and the page
// has been painted.
//   catalogue_page_bench.exe <program folder>
// The folder is a fresh copy of the program folder (icons are stored in its
// skin folder, so none is on disk yet). The window first shows tab 0 as it
// does at start; then every cache is emptied and tab 1 is timed. Prints
// "name: value" lines, among them the click's wall-clock time, so that
// run.sh can line the service's request log up with the page's stages.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "client/core/catalogue/rank_page.h"
#include "client/core/catalogue/soft_class_mgr.h"
#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/icons/local_icon_mgr.h"
#include "client/core/settings/conf_mgr.h"
#include "client/windows/catalogue/catalogue_page.h"
#include "client/windows/catalogue/type_list_item.h"
#include "client/windows/main/main_frame_wnd.h"
#include "uitoolkit/core/window_manager.h"

namespace {

class BenchFrame : public MainFrameWnd {
public:
    BenchFrame() { SetStartUpJobsEnabled(false); }
    UiToolkit::CControlUI* Find(const wchar_t* name) { return m_manager.FindControl(name); }
};

// Wall-clock milliseconds since 1970, the clock of the service's request log.
double EpochMs() {
    FILETIME ft;
    ::GetSystemTimeAsFileTime(&ft);
    const unsigned long long t = (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (t - 116444736000000000ULL) / 10000.0;
}

double Now() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return t.QuadPart * 1000.0 / freq.QuadPart;
}

// Runs the window's messages until `done` holds or the time is up.
template <typename F>
bool PumpUntil(F done, double timeout_ms) {
    const double end = Now() + timeout_ms;
    while (!done()) {
        if (Now() > end) return false;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (done()) break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    return true;
}

Page* PageOf(BenchFrame& frame, int tab) {
    UiToolkit::CControlUI* control = frame.PageOfTab(tab);
    return control ? static_cast<Page*>(control->FindInterface(L"Page")) : nullptr;
}

bool Shown(Page* page, int rows) {
    if (!page || !page->SoftList() || page->SoftList()->GetCount() != rows) return false;
    const std::wstring header = page->TextBar()->GetText().GetData();
    return header.find(L"查询中") == std::wstring::npos;
}

bool IconsShown(Page* page) {
    for (int i = 0; i < page->SoftList()->GetCount(); ++i) {
        auto* row = static_cast<SoftListItem*>(page->SoftList()->GetItemAt(i)->FindInterface(L"SoftListItem"));
        if (!row || std::wstring(row->Icon()->GetBkImage().GetData()) != IconRelativePath(kSoftIcon, row->SoftId()))
            return false;
    }
    for (int i = 0; i < page->TypeList()->GetCount(); ++i) {
        auto* row = static_cast<TypeListItem*>(page->TypeList()->GetItemAt(i)->FindInterface(L"TypeListItem"));
        if (row && std::wstring(row->IconLabel()->GetBkImage().GetData())
                           .find(IconRelativePath(kClassIcon, row->ClassId())) == std::wstring::npos)
            return false;
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: catalogue_page_bench <program folder>\n");
        return 2;
    }
    std::wstring folder = argv[1];
    if (folder.back() != L'\\') folder += L'\\';
    UiToolkit::CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    UiToolkit::CWindowManagerUI::SetResourceFolder((folder + L"skin").c_str());
    ConfMgr::SetProgramFolderForTest(folder);
    SetIconSkinFolderForTests(folder + L"skin\\");

    BenchFrame frame;
    if (!frame.Create(nullptr, L"Kelvora", 0, 0, 0, 0, 890, 635)) {
        fprintf(stderr, "catalogue_page_bench: no main window\n");
        return 1;
    }
    frame.CenterOnOwner();
    ::ShowWindow(frame.GetHWND(), SW_SHOW);
    if (!PumpUntil([&] { return Shown(PageOf(frame, 0), 16) && IconsShown(PageOf(frame, 0)); }, 60000)) {
        fprintf(stderr, "catalogue_page_bench: tab 0 did not load\n");
        return 1;
    }
    SoftInfoMgr::Instance().ClearForTest();
    SoftClassMgr::Instance().ClearForTest();
    ClearRankCacheForTest();

    UiToolkit::CControlUI* tab = frame.Find(L"market_switch");
    const double click_epoch = EpochMs();
    const double start = Now();
    tab->Activate();
    Page* page = PageOf(frame, 1);
    // Where the time goes: the loading text, the sub-category list and the
    // rows, each when it first shows.
    const bool phases = true;
    double loading_at = 0, types_at = 0;
    UiToolkit::CControlUI* first_type = page->TypeList()->GetCount() > 1 ? page->TypeList()->GetItemAt(1) : nullptr;
    if (!PumpUntil([&] {
            if (phases) {
                const std::wstring header = page->TextBar()->GetText().GetData();
                if (!loading_at && header.find(L"查询中") != std::wstring::npos) loading_at = Now() - start;
                if (!types_at && page->TypeList()->GetCount() > 1 && page->TypeList()->GetItemAt(1) != first_type)
                    types_at = Now() - start;
            }
            return Shown(page, 20);
        }, 60000)) {
        fprintf(stderr, "catalogue_page_bench: tab 1 did not load\n");
        return 1;
    }
    const double rows = Now() - start;
    if (!PumpUntil([&] { return IconsShown(page); }, 60000)) {
        fprintf(stderr, "catalogue_page_bench: tab 1 did not load\n");
        return 1;
    }
    const double icons = Now() - start;
    ::InvalidateRect(frame.GetHWND(), nullptr, FALSE);
    ::UpdateWindow(frame.GetHWND());
    const double total = Now() - start;
    printf("catalogue_page_click_epoch_ms: %.3f\n", click_epoch);
    printf("catalogue_page_loading_text_ms: %.2f\ncatalogue_page_types_shown_ms: %.2f\n", loading_at, types_at);
    printf("catalogue_page_rows_shown_ms: %.2f\n", rows);
    printf("catalogue_page_icons_shown_ms: %.2f\n", icons);
    printf("catalogue_page_first_load_ms: %.2f\n", total);
    ::DestroyWindow(frame.GetHWND());
    return 0;
}
