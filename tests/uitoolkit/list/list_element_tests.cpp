// Rows painting from the list's item style, measuring, and text rows with
// columns and links.
#include <gtest/gtest.h>

#include "tests/uitoolkit/core/dib_canvas.h"
#include "tests/uitoolkit/list/list_window.h"

using namespace listtest;

namespace {

const wchar_t* kStyled =
    L"header=\"hidden\" itembkcolor=\"#FF102030\" itemaltbk=\"true\" "
    L"itemselectedbkcolor=\"#FF00C000\" itemhotbkcolor=\"#FF0000C0\" "
    L"itemdisabledbkcolor=\"#FF808080\" itemlinecolor=\"#FFFF0000\"";

// Paints the list into a canvas and samples the right end of a row's
// middle line (clear of the text) and of its last line.
struct Painted {
  DibCanvas canvas{300, 200, 0x00FFFFFF};
  explicit Painted(CListUI* list) { list->Paint(canvas.dc(), RECT{0, 0, 300, 200}); }
  DWORD Middle(int row) const { return canvas.At(290, row * 20 + 10); }
  DWORD Bottom(int row) const { return canvas.At(290, row * 20 + 19); }
};

class FixedSource : public IListTextSource {
 public:
  const wchar_t* GetItemText(CControlUI*, int row, int column) override {
    calls.push_back(std::to_wstring(row) + L":" + std::to_wstring(column));
    return text;
  }
  const wchar_t* text = L"";
  std::vector<std::wstring> calls;
};

}  // namespace

TEST(ListElementTest, BackgroundFollowsAlternateHotSelectedAndDisabled) {
  ListWindow w(6, 300, 200, kStyled);
  ASSERT_TRUE(w.list->SelectItem(2));
  w.RowAt(3)->SetEnabled(false);
  w.Move(150, 90);  // row 4 becomes hot
  ASSERT_TRUE(static_cast<CListLabelElementUI*>(w.RowAt(4))->GetState() & UISTATE_HOT);
  Painted p(w.list);
  const DWORD expected[6] = {0x102030, 0xFFFFFF, 0x00C000, 0x808080, 0x0000C0, 0xFFFFFF};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(expected[i], p.Middle(i));
    EXPECT_EQ(0xFF0000u, p.Bottom(i));
  }
}

TEST(ListElementTest, RowWithoutOwnerPaintsNothingAndMeasuresZero) {
  CListLabelElementUI row;
  row.SetText(L"alone");
  row.SetBounds(RECT{0, 0, 100, 20});
  DibCanvas canvas(100, 20, 0x00ABCDEF);
  row.Paint(canvas.dc(), RECT{0, 0, 100, 20});
  EXPECT_EQ(0xABCDEFu, canvas.At(2, 10));
  EXPECT_EQ(0, row.MeasureSize(SIZE{100, 100}).cx);
  EXPECT_EQ(0, row.MeasureSize(SIZE{100, 100}).cy);
}

TEST(ListElementTest, LabelRowMeasuresFromTheStyleFontAndPadding) {
  ListWindow w(0, 300, 200, L"header=\"hidden\" itemtextpadding=\"3,4,5,6\"");
  CListLabelElementUI* row = new CListLabelElementUI;
  row->SetText(L"WWWW");
  w.list->Add(row);
  const int font = w.win.manager.DefaultFont()->tm.tmHeight;
  SIZE size = row->MeasureSize(SIZE{300, 200});
  EXPECT_EQ(font + 4 + 6 + 8, size.cy);
  // The text's width plus the padding: wider text, wider row.
  EXPECT_GT(size.cx, 3 + 5);
  row->SetText(L"WWWWWWWW");
  EXPECT_GT(row->MeasureSize(SIZE{300, 200}).cx, size.cx);
  row->SetFixedHeight(33);
  EXPECT_EQ(33, row->MeasureSize(SIZE{300, 200}).cy);
}

TEST(ListElementTest, TextRowDrawsColumnsFromTheSourceOrItsOwnTexts) {
  ListWindow w(0, 300, 200, L"header=\"hidden\"");
  for (int width : {100, 100, 100}) w.list->Add(HeaderItem(width));
  CListTextElementUI* row = new CListTextElementUI;
  row->SetFixedHeight(20);
  row->SetColumnText(1, L"WWWW");
  w.list->Add(row);
  w.Layout();
  {
    Painted p(w.list);
    // Only the second column has text of its own.
    bool ink[3] = {false, false, false};
    for (int x = 0; x < 300; ++x)
      for (int y = 2; y < 18; ++y)
        if (p.canvas.At(x, y) != 0xFFFFFF) ink[x / 100] = true;
    EXPECT_FALSE(ink[0]);
    EXPECT_TRUE(ink[1]);
    EXPECT_FALSE(ink[2]);
  }
  FixedSource source;
  source.text = L"x";
  w.list->SetTextSource(&source);
  { Painted p(w.list); }
  EXPECT_EQ((std::vector<std::wstring>{L"0:0", L"0:1", L"0:2"}), source.calls);
  w.list->SetTextSource(nullptr);
}

TEST(ListElementTest, TextRowKeepsEightLinksAndSendsLinkOnRelease) {
  ListWindow w(0, 300, 200, L"header=\"hidden\" itemshowhtml=\"true\"");
  for (int width : {100, 100, 100}) w.list->Add(HeaderItem(width));
  CListTextElementUI* row = new CListTextElementUI;
  row->SetName(L"t");
  row->SetFixedHeight(20);
  w.list->Add(row);
  FixedSource source;
  source.text = L"{a p}a{/a} {a q}b{/a} {a r}c{/a} {a s}d{/a}";
  w.list->SetTextSource(&source);
  w.Layout();
  EXPECT_EQ(UIFLAG_LISTROW, row->CapabilityFlags());
  { Painted p(w.list); }
  ASSERT_EQ(8, row->GetLinkCount());
  EXPECT_EQ(L"p", std::wstring(row->GetLinkText(0)));
  EXPECT_EQ(L"s", std::wstring(row->GetLinkText(7)));
  // The last two links lie in the second column.
  EXPECT_GE(row->GetLinkRect(7).left, 100);
  EXPECT_LT(row->GetLinkRect(7).right, 200);
  EXPECT_EQ(UIFLAG_LISTROW | UIFLAG_SETCURSOR, row->CapabilityFlags());

  const RECT link = row->GetLinkRect(5);
  const int x = (link.left + link.right) / 2, y = (link.top + link.bottom) / 2;
  w.Down(x, y);
  w.Up(x, y);
  EXPECT_EQ(Log({L"t:itemclick:0:0", L"list:itemselect:0:-1", L"t:link:5:0"}), w.notes.entries);
  EXPECT_EQ(5, row->GetHoveredLink());
  w.Move(299, 10);
  EXPECT_EQ(-1, row->GetHoveredLink());
  w.list->SetTextSource(nullptr);
}

TEST(ListElementTest, ClassNamesAndInterfaces) {
  struct Case {
    CControlUI* control;
    const wchar_t* class_name;
    std::vector<const wchar_t*> answers;
    std::vector<const wchar_t*> refuses;
  };
  CListUI list;
  CListBodyUI body(nullptr);
  CListHeaderUI header;
  CListHeaderItemUI item;
  CListLabelElementUI label;
  CListTextElementUI text;
  CListContainerElementUI box;
  const Case cases[] = {
      {&list, L"ListUI", {L"List", L"IList", L"IListOwner", L"VerticalLayout", L"Container"}, {}},
      {&body, L"VerticalLayoutUI", {L"VerticalLayout"}, {L"List"}},
      {&header, L"ListHeaderUI", {L"ListHeader", L"HorizontalLayout"}, {L"List"}},
      {&item, L"ListHeaderItemUI", {L"ListHeaderItem", L"Control"}, {L"Container"}},
      {&label, L"ListLabelElementUI", {L"ListLabelElement", L"ListElement", L"ListItem"},
       {L"ListTextElement"}},
      {&text, L"ListTextElementUI",
       {L"ListTextElement", L"ListLabelElement", L"ListElement", L"ListItem"}, {}},
      {&box, L"ListContainerElementUI", {L"ListContainerElement", L"ListItem", L"Container"},
       {L"ListElement"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.class_name)));
    EXPECT_EQ(std::wstring(c.class_name), c.control->ClassName());
    for (const wchar_t* name : c.answers) EXPECT_NE(nullptr, c.control->FindInterface(name)) << name;
    for (const wchar_t* name : c.refuses) EXPECT_EQ(nullptr, c.control->FindInterface(name)) << name;
  }
  EXPECT_EQ(static_cast<UINT>(UIFLAG_TABSTOP), list.CapabilityFlags());
  EXPECT_EQ(static_cast<UINT>(UIFLAG_LISTROW), box.CapabilityFlags());
  EXPECT_EQ(static_cast<UINT>(UIFLAG_SETCURSOR), item.CapabilityFlags());
}

TEST(ListElementTest, AlignWordsReplaceOnlyTheHorizontalBits) {
  struct Case {
    UINT before;
    const wchar_t* value;
    UINT after;
  };
  const Case cases[] = {
      {DT_VCENTER | DT_CENTER, L"left", DT_VCENTER | DT_LEFT},
      {DT_VCENTER, L"right", DT_VCENTER | DT_RIGHT},
      {DT_RIGHT | DT_SINGLELINE, L"center", DT_CENTER | DT_SINGLELINE},
      {DT_RIGHT, L"center,left", DT_LEFT},  // left is looked for first
      {DT_RIGHT, L"middle", DT_RIGHT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.value)));
    EXPECT_EQ(c.after, ApplyListAlignWords(c.before, c.value));
  }
  CListUI list;
  list.ApplyAttribute(L"itemalign", L"right");
  list.ApplyAttribute(L"itemendellipsis", L"true");
  EXPECT_EQ(static_cast<UINT>(DT_VCENTER | DT_RIGHT | DT_END_ELLIPSIS),
            list.GetItemStyle()->uTextStyle);
  CListHeaderItemUI item;
  item.ApplyAttribute(L"align", L"left");
  EXPECT_EQ(static_cast<UINT>(DT_LEFT | DT_VCENTER | DT_SINGLELINE), item.GetTextStyle());
}
