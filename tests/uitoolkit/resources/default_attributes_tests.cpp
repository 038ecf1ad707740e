// Default attribute lists per control tag, and their lookup through the
// shared-resource chain.
#include <gtest/gtest.h>

#include <string>

#include "uitoolkit/core/window_manager.h"

using namespace UiToolkit;

namespace {

std::wstring Text(const wchar_t* list) { return list ? list : L"(none)"; }

TEST(DefaultAttributes, TheFirstListOfATagWinsAndIsACopy) {
  CWindowManagerUI m;
  wchar_t buffer[] = L"width=\"8\"";
  m.AddDefaultAttributes(L"VScrollBar", buffer);
  buffer[0] = L'X';  // the manager kept its own copy
  m.AddDefaultAttributes(L"VScrollBar", L"width=\"20\"");
  m.AddDefaultAttributes(L"HScrollBar", nullptr);  // an empty list
  m.AddDefaultAttributes(nullptr, L"ignored=\"1\"");
  m.AddDefaultAttributes(L"", L"ignored=\"1\"");
  struct Case {
    const wchar_t* tag;
    const wchar_t* expected;
  } cases[] = {
      {L"VScrollBar", L"width=\"8\""},
      {L"HScrollBar", L""},
      {L"vscrollbar", L"(none)"},  // tags compare exactly
      {L"VScrollBar ", L"(none)"},
      {L"Button", L"(none)"},
      {L"", L"(none)"},
      {nullptr, L"(none)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::wstring(c.expected), Text(m.DefaultAttributes(c.tag)))
        << (c.tag ? c.tag : L"(null)");
  }
}

TEST(DefaultAttributes, APopupReadsItsOwnersListsAndItsOwnFirst) {
  CWindowManagerUI top, owner, popup;
  top.AddDefaultAttributes(L"VerticalLayout", L"inset=\"1,1,1,1\"");
  owner.AddDefaultAttributes(L"VScrollBar", L"width=\"8\"");
  owner.AddDefaultAttributes(L"ScrollBarUI", L"owner=\"true\"");
  popup.AddDefaultAttributes(L"ScrollBarUI", L"popup=\"true\"");
  owner.SetResourceParent(&top);
  popup.SetResourceParent(&owner);
  struct Case {
    CWindowManagerUI* asked;
    const wchar_t* tag;
    const wchar_t* expected;
  } cases[] = {
      {&popup, L"VScrollBar", L"width=\"8\""},
      {&popup, L"ScrollBarUI", L"popup=\"true\""},
      {&popup, L"VerticalLayout", L"inset=\"1,1,1,1\""},
      {&owner, L"ScrollBarUI", L"owner=\"true\""},
      {&top, L"VScrollBar", L"(none)"},  // lists never flow down the chain
      {&popup, L"HScrollBar", L"(none)"},
  };
  for (const Case& c : cases) EXPECT_EQ(std::wstring(c.expected), Text(c.asked->DefaultAttributes(c.tag))) << c.tag;

  // Cleared lists are gone; the chain shows what is left above.
  popup.ClearDefaultAttributes();
  EXPECT_EQ(L"owner=\"true\"", Text(popup.DefaultAttributes(L"ScrollBarUI")));
  owner.ClearDefaultAttributes();
  EXPECT_EQ(L"(none)", Text(popup.DefaultAttributes(L"ScrollBarUI")));
  EXPECT_EQ(L"inset=\"1,1,1,1\"", Text(popup.DefaultAttributes(L"VerticalLayout")));
  // After a clear a tag takes a new first list.
  owner.AddDefaultAttributes(L"VScrollBar", L"width=\"12\"");
  EXPECT_EQ(L"width=\"12\"", Text(popup.DefaultAttributes(L"VScrollBar")));
}

TEST(DefaultAttributes, ManyTagsStayApartAndLongListsStayWhole) {
  CWindowManagerUI m;
  std::wstring big(10000, L'a');
  for (int i = 0; i < 500; ++i) {
    std::wstring tag = L"Tag" + std::to_wstring(i);
    m.AddDefaultAttributes(tag.c_str(), i == 250 ? big.c_str() : tag.c_str());
  }
  for (int i = 0; i < 500; ++i) {
    std::wstring tag = L"Tag" + std::to_wstring(i);
    EXPECT_EQ(i == 250 ? big : tag, Text(m.DefaultAttributes(tag.c_str()))) << i;
  }
}

}  // namespace
