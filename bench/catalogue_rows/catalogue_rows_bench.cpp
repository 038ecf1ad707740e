// 500 catalogue rows built (as a page worker does), taken by a list (each
// joins its services, as a page takes it), laid out and painted, against
// 500 plain container rows with as many cells of the same widths, in the
// same process, alternately; medians and their ratio are printed.
//   catalogue_rows_bench.exe <skin folder>
// The records come from the catalogue service (VANTREL_CATALOGUE_HOST) and
// are fetched before any timing.
#include <windows.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "client/core/catalogue/soft_info_mgr.h"
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

double RunCatalogueRows(const std::vector<int32_t>& ids) {
    uitest::HostWindow win;
    win.CreateAt(0, 0, kWidth, kHeight);
    uitest::PumpMessages();
    const double start = Now();
    std::vector<SoftListItem*> built;
    built.reserve(kRows);
    for (int i = 0; i < kRows; ++i) built.push_back(new SoftListItem(RowOwner(), ids[i % ids.size()], 0));
    CListUI* list = NewList();
    win.manager.AttachRoot(list);
    for (SoftListItem* row : built) {
        list->Add(row);
        row->Attach();
    }
    list->SetBounds(RECT{0, 0, kWidth, kHeight});
    Paint(win.GetHWND());
    return Now() - start;
}

double RunPlainRows() {
    uitest::HostWindow win;
    win.CreateAt(0, 0, kWidth, kHeight);
    uitest::PumpMessages();
    const double start = Now();
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
    list->SetBounds(RECT{0, 0, kWidth, kHeight});
    Paint(win.GetHWND());
    return Now() - start;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: catalogue_rows_bench <skin folder>\n");
        return 2;
    }
    CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    CWindowManagerUI::SetResourceFolder(argv[1]);
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

    std::vector<double> ours, plain;
    RunPlainRows();  // warms up the fonts and the image cache
    RunCatalogueRows(ids);
    for (int run = 0; run < kRuns; ++run) {
        ours.push_back(RunCatalogueRows(ids));
        plain.push_back(RunPlainRows());
    }
    printf("catalogue_rows_500_median_ms: %.2f\n", Median(ours));
    printf("plain_rows_500_median_ms: %.2f\n", Median(plain));
    printf("catalogue_rows_vs_plain_ratio: %.2f\n", Median(ours) / Median(plain));
    return 0;
}
