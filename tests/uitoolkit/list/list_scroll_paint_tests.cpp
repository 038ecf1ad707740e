// A wheel step moves the pixels of the rows already drawn and draws only
// what comes into view (and what changed): the window must then show what a
// full repaint shows, and rows that stay in view are not painted again.
#include <gtest/gtest.h>

#include <vector>

#include "tests/uitoolkit/core/dib_canvas.h"
#include "tests/uitoolkit/list/list_window.h"

using namespace listtest;

namespace {

const int kW = 200, kH = 200;

// A label row that counts its paints.
class CountedRow : public CListLabelElementUI {
 public:
  void Paint(HDC hdc, const RECT& dirty) override {
    ++paints;
    CListLabelElementUI::Paint(hdc, dirty);
  }
  int paints = 0;
};

// The window's client pixels as shown.
std::vector<DWORD> Shown(HWND hwnd) {
  DibCanvas canvas(kW, kH);
  HDC dc = ::GetDC(hwnd);
  ::BitBlt(canvas.dc(), 0, 0, kW, kH, dc, 0, 0, SRCCOPY);
  ::ReleaseDC(hwnd, dc);
  std::vector<DWORD> pixels;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) pixels.push_back(canvas.At(x, y));
  return pixels;
}

int Differences(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
  int n = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
  return n;
}

struct ScrolledList {
  ListWindow w{0, kW, kH,
               L"bkcolor=\"#FFFFFFFF\" vscrollbar=\"true\" itemaltbk=\"true\" "
               L"itembkcolor=\"#FFE8F0FF\" itemhotbkcolor=\"#FFFFE0C0\""};
  std::vector<CountedRow*> rows;
  ScrolledList() {
    for (int i = 0; i < 80; ++i) {
      CountedRow* row = new CountedRow;
      row->SetText((L"row " + std::to_wstring(i)).c_str());
      row->SetFixedHeight(20);
      rows.push_back(row);
      w.list->Add(row);
    }
    w.Layout();
    Paint();
  }
  HWND hwnd() { return w.win.GetHWND(); }
  void Paint() { ::UpdateWindow(hwnd()); }
  // What a full repaint shows now.
  std::vector<DWORD> Repainted() {
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    Paint();
    return Shown(hwnd());
  }
};

TEST(ListScrollPaintTest, AWheelStepShowsWhatAFullRepaintShows) {
  struct Step {
    const char* what;
    void (*act)(ScrolledList& s);
  } steps[] = {
      {"one step down", [](ScrolledList& s) { s.w.Wheel(60, 100, true); }},
      {"two steps before a paint",
       [](ScrolledList& s) {
         s.w.Wheel(60, 100, true);
         s.w.Wheel(60, 100, true);
       }},
      {"a row changed, then a step",
       [](ScrolledList& s) {
         s.rows[12]->SetText(L"changed before the step");
         s.w.Wheel(60, 100, true);
       }},
      {"a step, then a row changed",
       [](ScrolledList& s) {
         s.w.Wheel(60, 100, true);
         s.rows[14]->SetText(L"changed after the step");
       }},
      {"the pointer over another row, one step up",
       [](ScrolledList& s) {
         s.w.Move(60, 150);
         s.w.Wheel(60, 150, false);
       }},
  };
  ScrolledList s;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act(s);
    s.Paint();
    const std::vector<DWORD> shown = Shown(s.hwnd());
    EXPECT_EQ(0, Differences(shown, s.Repainted()));
  }
  EXPECT_GT(s.w.list->GetScrollPos().cy, 0);
}

TEST(ListScrollPaintTest, RowsThatStayInViewAreNotPaintedAgain) {
  ScrolledList s;
  std::vector<int> before;
  int in_view = 0;
  for (CountedRow* row : s.rows) {
    before.push_back(row->paints);
    const RECT& rc = row->GetBounds();
    if (rc.bottom > 0 && rc.top < kH) ++in_view;
  }
  s.w.Wheel(60, 100, true);
  s.Paint();
  int painted = 0;
  for (size_t i = 0; i < s.rows.size(); ++i) painted += s.rows[i]->paints != before[i];
  EXPECT_GE(in_view, 10);
  // What came into view at the bottom, and the row the pointer left and the
  // one it is over now.
  EXPECT_LE(painted, 5) << "of " << in_view << " rows in view";
  EXPECT_GE(painted, 1);
}

}  // namespace
