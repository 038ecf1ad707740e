// Real key presses (xdotool on the display) reach the engine: typed text
// comes back from GetText, read-only refuses it, and Return, Ctrl+Return
// and Tab follow "wantreturn", "wantctrlreturn" and "wanttab".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/uitoolkit/richedit/rich_edit_window.h"

using namespace uitest;

namespace {

class RichEditKeysTest : public ::testing::Test {
 protected:
  // One window for every case: opening and closing one costs seconds.
  static void SetUpTestSuite() {
    window = new RichEditWindow(
        L"<VerticalLayout inset=\"4,4,4,4\" childpadding=\"2\">"
        L"<RichEdit name=\"plain\" height=\"24\" />"
        L"<RichEdit name=\"noreturn\" height=\"24\" wantreturn=\"false\" />"
        L"<RichEdit name=\"noctrlreturn\" height=\"24\" wantctrlreturn=\"false\" />"
        L"<RichEdit name=\"notab\" height=\"24\" wanttab=\"false\" />"
        L"<RichEdit name=\"next\" height=\"24\" />"
        L"<RichEdit name=\"readonly\" height=\"24\" readonly=\"true\" text=\"fixed\" />"
        L"</VerticalLayout>",
        300, 190);
  }
  static void TearDownTestSuite() {
    delete window;
    window = nullptr;
  }
  void SetUp() override {
    for (const wchar_t* name : {L"plain", L"noreturn", L"noctrlreturn", L"notab", L"next"})
      window->Edit(name)->SetText(L"");
    window->returns.entries.clear();
  }
  // Real key presses into `name`: xdotool arguments such as {"key", "a",
  // "Return"} or {"type", "text"} ("type" takes every argument after it).
  static void Keys(const wchar_t* name, const std::vector<std::string>& keys) {
    ASSERT_TRUE(FocusForTyping(*window, window->Edit(name)));
    ASSERT_TRUE(RunXdotool(keys));
  }
  static std::wstring Text(const wchar_t* name) {
    return std::wstring(window->Edit(name)->GetText().GetData());
  }
  static RichEditWindow* window;
};

RichEditWindow* RichEditKeysTest::window = nullptr;

}  // namespace

TEST_F(RichEditKeysTest, TypedKeysReachGetText) {
  Keys(L"plain", {"type", "--delay", "15", "Hello, world 42"});
  EXPECT_TRUE(PumpUntil([] { return Text(L"plain") == L"Hello, world 42"; }))
      << std::string(Text(L"plain").begin(), Text(L"plain").end());
  Keys(L"plain", {"key", "BackSpace", "BackSpace", "Home", "greater"});
  EXPECT_TRUE(PumpUntil([] { return Text(L"plain") == L">Hello, world "; }));
}

TEST_F(RichEditKeysTest, ReturnCtrlReturnAndTabFollowTheWantSettings) {
  struct Case {
    const wchar_t* edit;
    const char* key;
    const wchar_t* text;  // of the edit typed into
    int returns;          // "return" notifications
    const wchar_t* next;  // what the following control got
  } cases[] = {
      {L"plain", "Return", L"a\rb", 0, L""},
      {L"plain", "ctrl+Return", L"a\rb", 0, L""},
      {L"plain", "Tab", L"a\tb", 0, L""},
      {L"noreturn", "Return", L"ab", 1, L""},
      {L"noreturn", "ctrl+Return", L"ab", 1, L""},
      {L"noctrlreturn", "Return", L"a\rb", 0, L""},
      {L"noctrlreturn", "ctrl+Return", L"ab", 1, L""},
      // Without "wanttab" Tab moves the focus on, and "b" lands there.
      {L"notab", "Tab", L"a", 0, L"b"},
  };
  for (const Case& c : cases) {
    SetUp();
    Keys(c.edit, {"key", "--delay", "15", "a", c.key, "b"});
    const std::wstring want = c.text;
    std::wstring got;
    PumpUntil([&] {
      got = Text(c.edit);
      return got == want && Text(L"next") == c.next;
    });
    // Let anything still on its way arrive before the counts are read.
    PumpFor(100);
    got = Text(c.edit);
    EXPECT_EQ(want, got) << c.key << " into " << std::string(c.edit, c.edit + wcslen(c.edit));
    EXPECT_EQ(std::wstring(c.next), Text(L"next")) << c.key;
    EXPECT_EQ(static_cast<size_t>(c.returns), window->returns.entries.size()) << c.key;
  }
}

TEST_F(RichEditKeysTest, ReadOnlyRefusesTypingButSetTextStillWorks) {
  CRichEditUI* fixed = window->Edit(L"readonly");
  EXPECT_TRUE(fixed->IsReadOnly());
  Keys(L"readonly", {"key", "x", "Return", "BackSpace", "Delete"});
  PumpFor(300);
  EXPECT_EQ(L"fixed", Text(L"readonly"));
  fixed->SetText(L"set by the program");
  EXPECT_EQ(L"set by the program", Text(L"readonly"));

  // SetReadOnly reaches the engine at once, both ways.
  CRichEditUI* plain = window->Edit(L"plain");
  plain->SetReadOnly(true);
  Keys(L"plain", {"type", "no"});
  PumpFor(300);
  EXPECT_EQ(L"", Text(L"plain"));
  plain->SetText(L"yes");
  EXPECT_EQ(L"yes", Text(L"plain"));
  plain->SetReadOnly(false);
  Keys(L"plain", {"key", "End", "exclam"});
  EXPECT_TRUE(PumpUntil([] { return Text(L"plain") == L"yes!"; }));
  fixed->SetText(L"fixed");
}
