// Builds, lays out and paints a list of 500 container rows (an icon, two
// labels and a button each, one per column of a hidden header) and
// compares that with the platform's list view (report mode, same columns,
// an image list) filled with the same 500 rows and painted once. Both run
// in this process, alternately, several times; medians are printed with
// their ratio. One wheel step (scroll and repaint) is timed for each.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "tests/uitoolkit/fixtures/stopwatch.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/list.h"
#include "uitoolkit/controls/list_container_element.h"
#include "uitoolkit/controls/list_header_item.h"

using namespace UiToolkit;
using fixtures::Seconds;

namespace {

const int kRows = 500;
const int kRuns = 7;
const int kWheelSteps = 20;
const int kWidth = 480, kHeight = 600;
const int kColumns[4] = {40, 180, 160, 90};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

std::wstring Name(int i) { return L"Program " + std::to_wstring(i); }
std::wstring Detail(int i) { return L"Version 1." + std::to_wstring(i % 17) + L", 12 MB"; }

// A 32 x 32 picture in the temporary folder, drawn by every row as its
// icon (through the manager's image cache, as skin images are).
std::wstring WriteIconFile() {
  wchar_t dir[MAX_PATH];
  ::GetTempPathW(MAX_PATH, dir);
  std::wstring path = std::wstring(dir) + L"bench_uilist_icon.bmp";
  const int side = 32, row_bytes = side * 3, pixels = row_bytes * side;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + pixels;
  info.biSize = sizeof(info);
  info.biWidth = side;
  info.biHeight = side;
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::vector<unsigned char> bits(pixels);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      unsigned char* p = &bits[y * row_bytes + x * 3];
      p[0] = static_cast<unsigned char>(x * 8);
      p[1] = static_cast<unsigned char>(y * 8);
      p[2] = 0xC0;
    }
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ::WriteFile(h, &file, sizeof(file), &written, nullptr);
  ::WriteFile(h, &info, sizeof(info), &written, nullptr);
  ::WriteFile(h, bits.data(), pixels, &written, nullptr);
  ::CloseHandle(h);
  return path;
}

CListUI* BuildList(const std::wstring& icon) {
  CListUI* list = new CListUI;
  list->ApplyAttributeList(
      L"header=\"hidden\" vscrollbar=\"true\" bkcolor=\"#FFFFFFFF\" itemaltbk=\"true\" "
      L"itembkcolor=\"#FFF4F4F4\"");
  for (int w : kColumns) {
    CListHeaderItemUI* item = new CListHeaderItemUI;
    item->SetFixedWidth(w);
    list->Add(item);
  }
  for (int i = 0; i < kRows; ++i) {
    CListContainerElementUI* row = new CListContainerElementUI;
    row->SetFixedHeight(32);
    CControlUI* picture = new CControlUI;
    picture->SetBkImage(icon.c_str());
    row->Add(picture);
    CLabelUI* name = new CLabelUI;
    name->SetText(Name(i).c_str());
    row->Add(name);
    CLabelUI* detail = new CLabelUI;
    detail->SetText(Detail(i).c_str());
    row->Add(detail);
    CButtonUI* button = new CButtonUI;
    button->SetText(L"Install");
    row->Add(button);
    list->Add(row);
  }
  return list;
}

// Each total is split by stage, so a regression names the stage it is in.
struct Timing {
  double total;
  double wheel;
  double build;
  double layout;
  double paint;
  double wheel_scroll;  // the wheel message: scroll and layout
  double wheel_paint;   // the repaint that follows it
};

void Paint(HWND hwnd) {
  ::InvalidateRect(hwnd, nullptr, FALSE);
  ::UpdateWindow(hwnd);
}

// Adds the time of the wheel message and of the repaint to the two sums.
void WheelDown(HWND hwnd, double* scroll, double* paint) {
  POINT pt = {kWidth / 2, kHeight / 2};
  ::ClientToScreen(hwnd, &pt);
  const double t0 = Seconds();
  ::SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
  const double t1 = Seconds();
  ::UpdateWindow(hwnd);
  *scroll += t1 - t0;
  *paint += Seconds() - t1;
}

Timing RunToolkit(const std::wstring& icon, int* visible_rows) {
  uitest::HostWindow win;
  win.CreateAt(0, 0, kWidth, kHeight);
  uitest::PumpMessages();
  const double start = Seconds();
  CListUI* list = BuildList(icon);
  win.manager.AttachRoot(list);
  const double built = Seconds();
  list->SetBounds(RECT{0, 0, kWidth, kHeight});
  const double laid_out = Seconds();
  Paint(win.GetHWND());
  const double total = Seconds() - start;
  int shown = 0;
  for (int i = 0; i < list->GetCount(); ++i) {
    const RECT& rc = list->GetItemAt(i)->GetBounds();
    if (rc.bottom > 0 && rc.top < kHeight) ++shown;
  }
  *visible_rows = shown;
  // For a look at it: BENCH_UILIST_HOLD=<seconds> keeps the first list shown.
  static bool held = false;
  if (const char* hold = getenv("BENCH_UILIST_HOLD")) {
    if (!held) {
      held = true;
      const double until = Seconds() + atof(hold);
      while (Seconds() < until) {
        uitest::PumpMessages();
        ::Sleep(20);
      }
    }
  }
  double scroll = 0, repaint = 0;
  const double wheel_start = Seconds();
  for (int i = 0; i < kWheelSteps; ++i) WheelDown(win.GetHWND(), &scroll, &repaint);
  const double wheel = (Seconds() - wheel_start) / kWheelSteps;
  if (list->GetScrollPos().cy == 0) fprintf(stderr, "the wheel did not scroll the list\n");
  return Timing{total, wheel, built - start, laid_out - built, start + total - laid_out,
                scroll / kWheelSteps, repaint / kWheelSteps};
}

Timing RunListView(HICON icon) {
  uitest::HostWindow win;
  win.CreateAt(0, 0, kWidth, kHeight);
  uitest::PumpMessages();
  const double start = Seconds();
  HWND view = ::CreateWindowExW(0, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER, 0, 0,
                                kWidth, kHeight, win.GetHWND(), nullptr, nullptr, nullptr);
  HIMAGELIST images = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 1, 1);
  ImageList_AddIcon(images, icon);
  ListView_SetImageList(view, images, LVSIL_SMALL);
  for (int c = 0; c < 4; ++c) {
    LVCOLUMNW col = {};
    col.mask = LVCF_WIDTH;
    col.cx = kColumns[c];
    ::SendMessageW(view, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&col));
  }
  // Filled with redrawing off, so it is painted once, as the list is.
  ::SendMessageW(view, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(view, LVM_SETITEMCOUNT, kRows, 0);
  for (int i = 0; i < kRows; ++i) {
    std::wstring name = Name(i), detail = Detail(i);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = i;
    item.pszText = const_cast<wchar_t*>(L"");
    item.iImage = 0;
    ::SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    LVITEMW sub = {};
    sub.iSubItem = 1;
    sub.pszText = const_cast<wchar_t*>(name.c_str());
    ::SendMessageW(view, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&sub));
    sub.iSubItem = 2;
    sub.pszText = const_cast<wchar_t*>(detail.c_str());
    ::SendMessageW(view, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&sub));
    sub.iSubItem = 3;
    sub.pszText = const_cast<wchar_t*>(L"Install");
    ::SendMessageW(view, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&sub));
  }
  ::SendMessageW(view, WM_SETREDRAW, TRUE, 0);
  Paint(view);
  const double total = Seconds() - start;
  const double wheel_start = Seconds();
  for (int i = 0; i < kWheelSteps; ++i) {
    POINT pt = {kWidth / 2, kHeight / 2};
    ::ClientToScreen(view, &pt);
    ::SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    ::UpdateWindow(view);
  }
  const double wheel = (Seconds() - wheel_start) / kWheelSteps;
  ::DestroyWindow(view);
  ImageList_Destroy(images);
  return Timing{total, wheel, 0, 0, 0, 0, 0};
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&icc);
  CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
  HICON icon = ::LoadIconW(nullptr, IDI_APPLICATION);
  const std::wstring icon_file = WriteIconFile();
  std::vector<double> ours, theirs, our_wheel, their_wheel, build, layout, paint, wheel_scroll,
      wheel_paint;
  int visible_rows = 0;
  for (int run = 0; run < kRuns; ++run) {
    Timing a = RunToolkit(icon_file, &visible_rows);
    Timing b = RunListView(icon);
    ours.push_back(a.total);
    build.push_back(a.build);
    layout.push_back(a.layout);
    paint.push_back(a.paint);
    wheel_scroll.push_back(a.wheel_scroll);
    wheel_paint.push_back(a.wheel_paint);
    theirs.push_back(b.total);
    our_wheel.push_back(a.wheel);
    their_wheel.push_back(b.wheel);
  }
  const double mine = Median(ours), peer = Median(theirs);
  printf("rows: %d\n", kRows);
  printf("rows_on_screen: %d\n", visible_rows);
  printf("list_build_layout_paint_ms: %.2f\n", mine * 1e3);
  printf("list_build_ms: %.2f\n", Median(build) * 1e3);
  printf("list_layout_ms: %.2f\n", Median(layout) * 1e3);
  printf("list_paint_ms: %.2f\n", Median(paint) * 1e3);
  printf("listview_fill_paint_ms: %.2f\n", peer * 1e3);
  printf("ratio_list_over_listview: %.2f\n", mine / peer);
  printf("list_wheel_step_ms: %.3f\n", Median(our_wheel) * 1e3);
  printf("list_wheel_step_scroll_layout_ms: %.3f\n", Median(wheel_scroll) * 1e3);
  printf("list_wheel_step_paint_ms: %.3f\n", Median(wheel_paint) * 1e3);
  printf("listview_wheel_step_ms: %.3f\n", Median(their_wheel) * 1e3);
  printf("ratio_wheel_step_list_over_listview: %.2f (aim <= 0.5)\n",
         Median(our_wheel) / Median(their_wheel));
  ::DeleteFileW(icon_file.c_str());
  return 0;
}
