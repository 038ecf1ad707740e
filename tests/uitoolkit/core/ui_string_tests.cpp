#include <gtest/gtest.h>

#include <string>

#include "uitoolkit/core/ui_string.h"

using UiToolkit::CUiString;

namespace {

std::wstring Repeat(wchar_t ch, int n) { return std::wstring(n, ch); }

TEST(UiString, InlineAndHeapBoundary) {
  struct Case {
    int assign_len;
    int append_len;
    bool inline_after;
  } cases[] = {
      {0, 0, true},   {62, 0, true},  {63, 0, false}, {62, 1, false},
      {61, 1, true},  {100, 0, false}, {10, 60, false},
  };
  for (const Case& c : cases) {
    CUiString s;
    std::wstring a = Repeat(L'a', c.assign_len), b = Repeat(L'b', c.append_len);
    s.Assign(a.c_str());
    if (c.append_len) s.Append(b.c_str());
    EXPECT_EQ(c.inline_after, s.IsInline()) << c.assign_len << "+" << c.append_len;
    EXPECT_EQ(a + b, std::wstring(s.GetData()));
  }
  // Shrinking back below the limit returns to the inline buffer.
  CUiString s(Repeat(L'x', 80).c_str());
  s = L"short";
  EXPECT_TRUE(s.IsInline());
  EXPECT_EQ(std::wstring(L"short"), s.GetData());
}

TEST(UiString, AssignWithLengthAndNull) {
  CUiString s;
  s.Assign(L"abcdef", 3);
  EXPECT_EQ(std::wstring(L"abc"), s.GetData());
  s.Assign(nullptr);
  EXPECT_TRUE(s.IsEmpty());
  s = static_cast<const wchar_t*>(nullptr);
  EXPECT_TRUE(s.IsEmpty());
  CUiString copy(CUiString(Repeat(L'q', 70).c_str()));
  EXPECT_EQ(Repeat(L'q', 70), copy.GetData());
}

// The source of Append/Assign may be the string's own text, inline or heap.
TEST(UiString, AliasedSources) {
  for (int len : {5, 40, 62, 63, 100}) {
    std::wstring base = Repeat(L'z', len - 1) + L"!";
    CUiString s(base.c_str());
    s.Append(s.GetData());
    EXPECT_EQ(base + base, std::wstring(s.GetData())) << len;

    CUiString t(base.c_str());
    t.Assign(t.GetData() + 1);
    EXPECT_EQ(base.substr(1), std::wstring(t.GetData())) << len;

    CUiString u(base.c_str());
    u += u;
    EXPECT_EQ(base + base, std::wstring(u.GetData())) << len;
  }
}

TEST(UiString, LeftMidFind) {
  CUiString s(L"hello world");
  struct MidCase {
    int pos, n;
    const wchar_t* expected;
  } mids[] = {
      {0, -1, L"hello world"}, {6, -1, L"world"}, {6, 3, L"wor"}, {6, 100, L"world"},
      {11, -1, L""},           {12, -1, L""},     {-1, 3, L""},   {3, 0, L""},
  };
  for (const MidCase& c : mids)
    EXPECT_EQ(std::wstring(c.expected), s.Mid(c.pos, c.n).GetData()) << c.pos << "," << c.n;

  EXPECT_EQ(std::wstring(L""), s.Left(-3).GetData());
  EXPECT_EQ(std::wstring(L"hel"), s.Left(3).GetData());
  EXPECT_EQ(std::wstring(L"hello world"), s.Left(50).GetData());

  struct FindCase {
    const wchar_t* what;
    int from, expected;
  } finds[] = {
      {L"o", 0, 4}, {L"o", 5, 7}, {L"world", 0, 6}, {L"x", 0, -1},
      {L"d", 11, -1}, {L"d", 12, -1}, {L"h", -1, -1}, {L"", 11, 11},
  };
  for (const FindCase& c : finds) EXPECT_EQ(c.expected, s.Find(c.what, c.from)) << c.from;
}

TEST(UiString, ReplaceAll) {
  struct Case {
    const wchar_t* text;
    const wchar_t* from;
    const wchar_t* to;
    int count;
    const wchar_t* expected;
  } cases[] = {
      {L"aaa", L"a", L"aa", 3, L"aaaaaa"},
      {L"a<n>b<n>", L"<n>", L"\r\n", 2, L"a\r\nb\r\n"},
      {L"abcabc", L"b", nullptr, 2, L"acac"},
      {L"abc", L"x", L"y", 0, L"abc"},
      {L"abc", L"", L"y", 0, L"abc"},
      {L"abc", nullptr, L"y", 0, L"abc"},
      {L"", L"a", L"b", 0, L""},
  };
  for (const Case& c : cases) {
    CUiString s(c.text);
    EXPECT_EQ(c.count, s.ReplaceAll(c.from, c.to)) << c.text;
    EXPECT_EQ(std::wstring(c.expected), s.GetData()) << c.text;
  }
  // Growing past the inline limit through replacement.
  CUiString big(Repeat(L'a', 40).c_str());
  EXPECT_EQ(40, big.ReplaceAll(L"a", L"bb"));
  EXPECT_EQ(Repeat(L'b', 80), big.GetData());
}

TEST(UiString, FormatAndCompare) {
  CUiString s;
  EXPECT_EQ(12, s.Format(L"%ls-%d-%hs", L"ab", 12345, "xyz"));
  EXPECT_EQ(std::wstring(L"ab-12345-xyz"), s.GetData());
  std::wstring longer = Repeat(L'w', 300);
  EXPECT_EQ(302, s.Format(L"[%ls]", longer.c_str()));
  EXPECT_EQ(L"[" + longer + L"]", s.GetData());
  EXPECT_EQ(-1, s.Format(nullptr));
  EXPECT_TRUE(s.IsEmpty());

  EXPECT_EQ(10, s.FormatShort(L"%4d-%02d-%02d", 2024, 3, 5));
  EXPECT_EQ(std::wstring(L"2024-03-05"), s.GetData());
  s.FormatShort(L"%ls", longer.c_str());
  EXPECT_EQ(63, s.GetLength());

  CUiString a(L"Name");
  EXPECT_TRUE(a == L"Name");
  EXPECT_FALSE(a == L"name");
  EXPECT_EQ(0, a.CompareNoCase(L"NAME"));
  CUiString joined = a + L"s";
  EXPECT_EQ(std::wstring(L"Names"), joined.GetData());
  EXPECT_EQ(std::wstring(L"Name"), a.GetData());
}

}  // namespace

namespace {

TEST(UiString, SmallOperations) {
  CUiString s;
  for (int i = 0; i < 70; ++i) s.AppendChar(static_cast<wchar_t>(L'a' + i % 26));
  EXPECT_EQ(70, s.GetLength());
  EXPECT_FALSE(s.IsInline());
  EXPECT_EQ(L'a', s.GetAt(0));
  EXPECT_EQ(L'r', s.GetAt(69));
  EXPECT_EQ(0, s.GetAt(70));
  EXPECT_EQ(0, s.GetAt(-1));
  EXPECT_EQ(2, s.Find(L'c'));
  EXPECT_EQ(28, s.Find(L'c', 3));
  EXPECT_EQ(-1, s.Find(L'!'));
  EXPECT_EQ(-1, s.Find(L'\0'));
  s.Clear();
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_TRUE(s.IsInline());
  s = L"mIxEd 1-z";
  s.MakeUpper();
  EXPECT_EQ(std::wstring(L"MIXED 1-Z"), s.GetData());
  EXPECT_LT(CUiString(L"a").Compare(L"b"), 0);
  EXPECT_EQ(0, CUiString(L"").Compare(nullptr));
  EXPECT_TRUE(CUiString() == nullptr);
}

}  // namespace
