#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uitoolkit/core/attribute_values.h"

using namespace UiToolkit;

namespace {

TEST(AttributeValues, NumberLists) {
  struct Case {
    const wchar_t* text;
    int present;
    int v[4];
  } cases[] = {
      {L"1,2,3,4", 4, {1, 2, 3, 4}},
      {L"-50,10,-10,30", 4, {-50, 10, -10, 30}},
      {L"10", 1, {10, 0, 0, 0}},  // a short value stops at its end
      {L"4,4", 2, {4, 4, 0, 0}},
      {L"1,2,", 2, {1, 2, 0, 0}},
      {L"", 0, {0, 0, 0, 0}},
      {L"x,y", 3, {0, 0, 0, 0}},  // no digits: each step skips one character
      {L" 7, 8", 2, {7, 8, 0, 0}},
      {L"1,2,3,4,5", 4, {1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    int v[4] = {9, 9, 9, 9};
    EXPECT_EQ(c.present, ParseIntList(c.text, v, 4)) << c.text;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(c.v[i], v[i]) << c.text << " #" << i;
  }
  int v[2] = {5, 5};
  EXPECT_EQ(0, ParseIntList(nullptr, v, 2));
  EXPECT_EQ(0, v[0]);
  SIZE s = ParseSizeValue(L"300");
  EXPECT_EQ(300, s.cx);
  EXPECT_EQ(0, s.cy);
  RECT r = ParseRectValue(L"1,2,3,4");
  EXPECT_EQ(4, r.bottom);
}

TEST(AttributeValues, ColorsAndBooleans) {
  struct Case {
    const wchar_t* text;
    bool skip;
    DWORD expected;
  } cases[] = {
      {L"#FF102030", false, 0xFF102030}, {L"FF102030", false, 0xFF102030},
      {L"  #ff0000ff", true, 0xFF0000FF}, {L"  #ff0000ff", false, 0},
      {L"##FF", false, 0},                {L"zz", false, 0},
      {L"", false, 0},                    {L"#80ffffff", true, 0x80FFFFFF},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, ParseColorValue(c.text, c.skip)) << c.text;
  EXPECT_EQ(0u, ParseColorValue(nullptr, true));
  EXPECT_TRUE(ParseBoolValue(L"true"));
  for (const wchar_t* no : {L"True", L"1", L"", L"true ", L"yes"}) EXPECT_FALSE(ParseBoolValue(no));
  EXPECT_FALSE(ParseBoolValue(nullptr));
}

void Collect(void* ctx, const wchar_t* name, const wchar_t* value) {
  static_cast<std::vector<std::wstring>*>(ctx)->push_back(std::wstring(name) + L"|" + value);
}

TEST(AttributeValues, AttributeLists) {
  struct Case {
    const wchar_t* text;
    std::vector<std::wstring> pairs;
  } cases[] = {
      {L"a=\"1\" b=\"two\"", {L"a|1", L"b|two"}},
      {L"a=\"1\"  b=\"2\"", {L"a|1"}},  // two blanks end the list
      {L"a=\"1\" ", {L"a|1"}},
      {L"a=\"1\",b=\"2\"", {L"a|1"}},
      {L"a=1 b=\"2\"", {}},           // no quote after "="
      {L"a=\"unterminated", {}},     // never applied
      {L"a=\"1\" b=\"unterminated", {L"a|1"}},
      {L"noequals", {}},
      {L"", {}},
      {L"pos=\"0,0,10,10\" text=\"\"", {L"pos|0,0,10,10", L"text|"}},
  };
  for (const Case& c : cases) {
    std::vector<std::wstring> got;
    EXPECT_EQ(static_cast<int>(c.pairs.size()), ParseAttributeList(c.text, &Collect, &got)) << c.text;
    EXPECT_EQ(c.pairs, got) << c.text;
  }
}

}  // namespace
