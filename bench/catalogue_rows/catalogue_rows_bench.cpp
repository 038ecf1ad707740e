// 500 catalogue rows built (as a page worker does), taken by a list (each
// joins its services, as a page takes it), laid out and painted, against
// 500 plain container rows with as many cells of the same widths, in the
// same process, alternately; medians and their ratio are printed.
//   catalogue_rows_bench.exe <skin folder>
// The records and their icons come from the catalogue service
// (VANTREL_CATALOGUE_HOST) and are fetched before any timing, the icons
// into the skin folder's temp\ as the client keeps them (so give it a copy
// of the skin).
#include <windows.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/icons/icon_downloader.h"
#include "client/core/icons/local_icon_mgr.h"
#include "client/windows/catalogue/soft_list_item.h"
#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "uitoolkit/controls/list.h"
#include "uitoolkit/controls/list_container_element.h"
#include "uitoolkit/layouts/horizontal_layout.h"

using namespace UiToolkit;

namespace {

const int kRows = 500;
const int kRuns = 7;
const int kWidth = 739, kHeight = 434;
// The catalogue row's cells; the name cell takes the rest.
const int kCells[] = {70, 0, 70, 60, 50, 110, 80, 81};

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

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Paint(HWND hwnd) {
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
}

CListUI* NewList() {
    CListUI* list = new CListUI;
    list->ApplyAttributeList(L"header=\"hidden\" vscrollbar=\"true\" bkcolor=\"#FFFFFFFF\"");
    return list;
}

// One run's time in ms, split by stage so that a regression names its stage.
struct Stages {
    double build = 0;   // the rows made (a page worker's part)
    double take = 0;    // added to the list (and, for catalogue rows, joined to their services)
    double layout = 0;  // the list laid out
    double paint = 0;   // the window painted
    double Total() const { return build + take + layout + paint; }
};

Stages RunCatalogueRows(const std::vector<int32_t>& ids) {
    uitest::HostWindow win;
    win.CreateAt(0, 0, kWidth, kHeight);
    uitest::PumpMessages();
    Stages s;
    double t = Now();
    std::vector<SoftListItem*> built;
    built.reserve(kRows);
    for (int i = 0; i < kRows; ++i) built.push_back(new SoftListItem(RowOwner(), ids[i % ids.size()], 0));
    s.build = Now() - t;
    t = Now();
    CListUI* list = NewList();
    win.manager.AttachRoot(list);
    for (SoftListItem* row : built) {
        list->Add(row);
        row->Attach();
    }
    s.take = Now() - t;
    t = Now();
    list->SetBounds(RECT{0, 0, kWidth, kHeight});
    s.layout = Now() - t;
    t = Now();
    Paint(win.GetHWND());
    s.paint = Now() - t;
    return s;
}

Stages RunPlainRows() {
    uitest::HostWindow win;
    win.CreateAt(0, 0, kWidth, kHeight);
    uitest::PumpMessages();
    Stages s;
    double t = Now();
    CListUI* list = NewList();
    win.manager.AttachRoot(list);
    for (int i = 0; i < kRows; ++i) {
        CListContainerElementUI* row = new CListContainerElementUI;
        row->SetFixedHeight(66);
        CHorizontalLayoutUI* cells = new CHorizontalLayoutUI;
        for (int width : kCells) {
            CControlUI* cell = new CControlUI;
            if (width) cell->SetFixedWidth(width);
            cells->Add(cell);
        }
        row->Add(cells);
        list->Add(row);
    }
    s.build = Now() - t;
    t = Now();
    list->SetBounds(RECT{0, 0, kWidth, kHeight});
    s.layout = Now() - t;
    t = Now();
    Paint(win.GetHWND());
    s.paint = Now() - t;
    return s;
}

// The median run (by total) and, beside it, each stage's own median.
void Print(const char* name, const std::vector<Stages>& runs) {
    std::vector<double> total, build, take, layout, paint;
    for (const Stages& r : runs) {
        total.push_back(r.Total());
        build.push_back(r.build);
        take.push_back(r.take);
        layout.push_back(r.layout);
        paint.push_back(r.paint);
    }
    printf("%s_500_median_ms: %.2f\n", name, Median(total));
    printf("%s_build_ms: %.2f\n", name, Median(build));
    printf("%s_take_ms: %.2f\n", name, Median(take));
    printf("%s_layout_ms: %.2f\n", name, Median(layout));
    printf("%s_paint_ms: %.2f\n", name, Median(paint));
}

double MedianTotal(const std::vector<Stages>& runs) {
    std::vector<double> total;
    for (const Stages& r : runs) total.push_back(r.Total());
    return Median(total);
}

// Every id's icon downloaded (or refused) before the timing: a row then
// finds its icon known, as rows do once a page has shown them.
bool FetchIcons(const std::vector<int32_t>& ids) {
    HANDLE done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    LONG left = static_cast<LONG>(ids.size());
    for (int32_t id : ids) {
        IconDownloader::Instance().RequestSoftIcon(id, [&left, done](int32_t, const wchar_t*) {
            if (::InterlockedDecrement(&left) == 0) ::SetEvent(done);
        });
    }
    const bool all = ::WaitForSingleObject(done, 60000) == WAIT_OBJECT_0;
    ::CloseHandle(done);
    return all;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: catalogue_rows_bench <skin folder>\n");
        return 2;
    }
    CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    CWindowManagerUI::SetResourceFolder(argv[1]);
    SetIconSkinFolderForTests(argv[1]);
    SoftMap records;
    for (int32_t id = 1001; id <= 1070; ++id) records[id] = SoftwarePtr();
    if (!SoftInfoMgr::Instance().FetchSofts(&records, true)) {
        fprintf(stderr, "catalogue_rows_bench: the records could not be fetched\n");
        return 1;
    }
    std::vector<int32_t> ids;
    for (const auto& entry : records)
        if (SoftInfoMgr::Instance().GetSoft(entry.first)) ids.push_back(entry.first);
    if (ids.empty()) return 1;
    if (!FetchIcons(ids)) {
        fprintf(stderr, "catalogue_rows_bench: the icons could not be fetched\n");
        return 1;
    }
    int known = 0;
    for (int32_t id : ids) {
        SoftwarePtr soft = SoftInfoMgr::Instance().GetSoft(id);
        if (soft && !SoftInfoMgr::Instance().GetIconPath(*soft).empty()) ++known;
    }
    printf("records: %d, with their icon stored: %d\n", static_cast<int>(ids.size()), known);

    std::vector<Stages> ours, plain;
    RunPlainRows();  // warms up the fonts
    RunCatalogueRows(ids);
    for (int run = 0; run < kRuns; ++run) {
        ours.push_back(RunCatalogueRows(ids));
        plain.push_back(RunPlainRows());
    }
    Print("catalogue_rows", ours);
    Print("plain_rows", plain);
    printf("catalogue_rows_vs_plain_ratio: %.2f (aim <= 3)\n", MedianTotal(ours) / MedianTotal(plain));
    return 0;
}
