// Robustness: skins whose "RichEdit" elements carry mutated attribute
// values are built into a live window, laid out, painted, typed into,
// scrolled and torn down. The run passes when the process survives every
// input.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "tests/uitoolkit/robustness/feed_mutations.h"
#include "tests/uitoolkit/robustness/mutator.h"
#include "uitoolkit/controls/rich_edit.h"
#include "uitoolkit/skin/skin_builder.h"

using namespace uitest;

namespace {

std::wstring Wide(const std::string& text) {
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  if (n) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

CControlUI* CALLBACK CollectRichEdits(CControlUI* control, LPVOID data) {
  if (control->FindInterface(L"RichEdit"))
    static_cast<std::vector<CRichEditUI*>*>(data)->push_back(static_cast<CRichEditUI*>(control));
  return nullptr;
}

}  // namespace

namespace {

// The attributes a rich edit reads, each with a value it understands.
const char* const kAttributes[][2] = {
    {"vscrollbar", "true"},   {"autovscroll", "true"},    {"hscrollbar", "true"},
    {"autohscroll", "true"},  {"wanttab", "false"},       {"wantreturn", "false"},
    {"wantctrlreturn", "false"}, {"rich", "false"},       {"multiline", "false"},
    {"readonly", "true"},     {"password", "true"},       {"align", "center"},
    {"font", "0"},            {"textcolor", "#FF102030"}, {"text", "first line\nsecond"},
    {"inset", "3,3,3,3"},     {"height", "60"},           {"vscrollbarstyle", "width=\"12\""},
    {"bkcolor", "#FFFFFFFF"}, {"enabled", "false"},       {"mouse", "false"},
};

// Text safe inside a double-quoted XML attribute.
std::string Escaped(const std::string& value) {
  std::string out;
  for (char ch : value) {
    switch (ch) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '\0': out += ' '; break;
      default: out += ch;
    }
  }
  return out;
}

// A window with two rich edits whose attributes are drawn from the table,
// each value mutated (or, now and then, left whole).
std::string MutatedSkin(robustness::Mutator& mutator) {
  std::string doc = "<Window><Font name=\"Tahoma\" size=\"14\" /><VerticalLayout inset=\"4,4,4,4\">";
  for (int edit = 0; edit < 2; ++edit) {
    doc += "<RichEdit";
    const uint32_t count = 1 + mutator.Below(8);
    for (uint32_t i = 0; i < count; ++i) {
      const char* const* attribute = kAttributes[mutator.Below(sizeof kAttributes / sizeof *kAttributes)];
      std::string value = attribute[1];
      if (mutator.Below(4) != 0) value = mutator.Mutate(value);
      doc += std::string(" ") + attribute[0] + "=\"" + Escaped(value) + "\"";
    }
    doc += " />";
  }
  return doc + "</VerticalLayout></Window>";
}

}  // namespace

TEST(Robustness, MutatedRichEditAttributesNeverCrashTheControl) {
  HostWindow win;
  win.CreateAt(20, 20, 320, 200);
  robustness::Mutator mutator(5);
  int built = 0, edits = 0;
  // Each input makes two engines and a layout: a smaller share of the run.
  const int count = robustness::MutationCount() / 40;
  robustness::FeedMutations(
      "rich edit attributes", count,
      [&](int) { return MutatedSkin(mutator); },
      [&](const std::string& input) {
        const std::wstring doc = Wide(input);
        if (doc.empty() || doc[0] != L'<') return;
        CSkinBuilder builder;
        CControlUI* root = builder.BuildSkin(doc.c_str(), nullptr, nullptr, &win.manager);
        if (!root) return;
        ++built;
        // The previous tree is deleted later, by the pump below.
        win.manager.AttachRoot(root);
        ::UpdateWindow(win.GetHWND());
        std::vector<CRichEditUI*> found;
        root->Search(&CollectRichEdits, &found, UIFIND_ALL);
        for (CRichEditUI* edit : found) {
          ++edits;
          edit->SetFocus();
          ::SendMessageW(win.GetHWND(), WM_CHAR, L'x', 1);
          ::SendMessageW(win.GetHWND(), WM_KEYDOWN, VK_RETURN, 1);
          ::SendMessageW(win.GetHWND(), WM_CHAR, L'\r', 1);
          edit->SetText(L"one\rtwo\rthree\rfour\rfive\rsix\rseven\reight\rnine");
          edit->ScrollLineDown();
          edit->SetScrollPos(SIZE{5, 30});
          edit->GetText();
        }
        ::UpdateWindow(win.GetHWND());
        PumpMessages();
      });
  printf("rich edit attributes: %d documents built, %d rich edits exercised\n", built, edits);
  EXPECT_EQ(count, built);
  EXPECT_GT(edits, built);
}
