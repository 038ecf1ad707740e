// The skin builder makes combos, combo boxes, date-times and trees from
// their tags (never asking the callback), nests "TreeNode"s into trees with
// their other controls beside the item button, and drops a node that
// stands in no tree, with its subtree and a log line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "tests/uitoolkit/fixtures/log_capture.h"
#include "tests/uitoolkit/tree/tree_fixtures.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/combo_box.h"
#include "uitoolkit/controls/date_time.h"
#include "uitoolkit/layouts/horizontal_layout.h"
#include "uitoolkit/skin/skin_builder.h"

using namespace treetest;
using uitest::HostWindow;

namespace {

class AskedTags : public IDialogBuilderCallback {
 public:
  CControlUI* CreateCustomControl(const wchar_t* tag) override {
    asked.push_back(tag);
    return nullptr;
  }
  std::vector<std::wstring> asked;
};

std::wstring SelectorsSkin() {
  std::string bytes;
  EXPECT_TRUE(test_support::ReadFileBytes(
      test_support::WinePath(SELECTORS_FIXTURES) + L"\\selectors.xml", &bytes));
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                      nullptr, 0);
  std::wstring text(n, L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], n);
  // From the root element on: BuildSkin takes text that begins with "<".
  return text.substr(text.find(L"<Window"));
}

// Windows take seconds to go under Wine: the tests share one.
HostWindow& Window() {
  static HostWindow* shared = [] {
    HostWindow* w = new HostWindow;
    w->CreateAt(40, 40, 560, 420);
    return w;
  }();
  return *shared;
}

template <class T>
T* Found(CWindowManagerUI& manager, const wchar_t* name, const wchar_t* iface) {
  CControlUI* control = manager.FindControl(name);
  return control ? static_cast<T*>(control->FindInterface(iface)) : nullptr;
}

}  // namespace

TEST(SelectorsSkinTest, EveryNewTagBuildsItsControl) {
  HostWindow& win = Window();
  AskedTags callback;
  CSkinBuilder builder;
  CControlUI* root = builder.BuildSkin(SelectorsSkin().c_str(), nullptr, &callback, &win.manager);
  ASSERT_NE(nullptr, root) << builder.Document().LastError();
  win.manager.AttachRoot(root);
  EXPECT_TRUE(callback.asked.empty()) << std::wstring(callback.asked.front());

  CComboUI* combo = Found<CComboUI>(win.manager, L"combo", L"Combo");
  ASSERT_NE(nullptr, combo);
  EXPECT_STREQ(L"ComboUI", combo->ClassName());
  EXPECT_EQ(5, combo->GetCount());
  EXPECT_EQ(1, combo->GetSelectedIndex());
  EXPECT_STREQ(L"Banana", combo->GetText().GetData());
  EXPECT_EQ(8, combo->GetTextPadding().left);
  EXPECT_EQ(0xFFD6E7F8u, combo->GetItemStyle()->dwSelectedBkColor);
  EXPECT_EQ(8, combo->GetItemStyle()->rcTextPadding.left);
  EXPECT_STREQ(L"bordercolor=\"#FF7A9CC0\"", combo->GetDropBoxAttributes().GetData());

  CComboBoxUI* box = static_cast<CComboBoxUI*>(Found<CComboUI>(win.manager, L"combobox", L"Combo"));
  ASSERT_NE(nullptr, box);
  EXPECT_STREQ(L"ComboBoxUI", box->ClassName());
  EXPECT_STREQ(L"file='combobox_arrow.png' source='0,0,100,20'", box->GetArrowImage().GetData());
  EXPECT_STREQ(L"Medium", box->GetText().GetData());

  CDateTimeUI* date = Found<CDateTimeUI>(win.manager, L"date", L"DateTime");
  ASSERT_NE(nullptr, date);
  EXPECT_STREQ(L"DateTimeUI", date->ClassName());

  CTreeViewUI* tree = Found<CTreeViewUI>(win.manager, L"tree", L"TreeView");
  ASSERT_NE(nullptr, tree);
  EXPECT_EQ(L"n_documents n_reports[n_documents] n_summary[n_reports] n_plan[n_reports] "
            L"n_letters[n_documents] n_drafts[n_letters] n_pictures n_holidays[n_pictures] "
            L"n_family[n_pictures]",
            Rows(tree));
  EXPECT_EQ(L"", Disagreements(tree));
  EXPECT_TRUE(tree->CheckBoxesShown());
  CTreeNodeUI* holidays = Find(tree, L"n_holidays");
  EXPECT_STREQ(L"Holidays", holidays->GetText().GetData());
  EXPECT_TRUE(holidays->GetCheckBox()->IsVisible());
  EXPECT_EQ(0xFF20303Fu, holidays->GetItemTextColor());
  EXPECT_EQ(0xFF10304Fu, holidays->GetSelItemTextColor());
  EXPECT_EQ(2, holidays->GetItemButton()->GetTextPadding().top);
  // The node's other control sits in its row, beside the item button.
  CHorizontalLayoutUI* row = holidays->GetRowLayout();
  ASSERT_EQ(5, row->GetCount());
  EXPECT_EQ(holidays->GetItemButton(), row->GetItemAt(3));
  CControlUI* open = win.manager.FindControl(L"open_holidays");
  ASSERT_NE(nullptr, open);
  EXPECT_EQ(open, row->GetItemAt(4));
  EXPECT_EQ(row, open->GetParent());
  EXPECT_EQ(1, holidays->GetCount());  // the node's own container holds only its row
}

TEST(SelectorsSkinTest, ATreeNodeOutsideATreeIsDroppedWithItsSubtree) {
  fixtures::LogCapture log;
  HostWindow& win = Window();
  struct Case {
    const char* what;
    const wchar_t* skin;
    bool root;
    std::vector<std::wstring> children;  // of the root, when it is built
  } cases[] = {
      {"in a layout: the level ends there",
       L"<Window><VerticalLayout name=\"v\"><Label name=\"before\"/>"
       L"<TreeNode text=\"stray\"><TreeNode text=\"child\"><Label name=\"deep\"/></TreeNode>"
       L"</TreeNode><Label name=\"after\"/></VerticalLayout></Window>",
       true, {L"before"}},
      {"in a layout inside a tree",
       L"<Window><TreeView name=\"t\"><ListLabelElement name=\"plain\"/>"
       L"<HorizontalLayout name=\"h\"><TreeNode text=\"stray\"/></HorizontalLayout>"
       L"</TreeView></Window>",
       true, {L"plain", L"h"}},
      {"at the top of the document", L"<Window><Label name=\"first\"/><TreeNode/></Window>", false,
       {}},
  };
  for (const Case& c : cases) {
    CSkinBuilder builder;
    CControlUI* root = builder.BuildSkin(c.skin, nullptr, nullptr, &win.manager);
    EXPECT_EQ(c.root, root != nullptr) << c.what;
    if (!root) continue;
    IContainerUI* container = static_cast<IContainerUI*>(root->FindInterface(L"IContainer"));
    std::vector<std::wstring> names;
    for (int i = 0; i < container->GetCount(); ++i)
      names.push_back(std::wstring(container->GetItemAt(i)->GetName()));
    EXPECT_EQ(c.children, names) << c.what;
    delete root;
  }
  EXPECT_EQ(nullptr, win.manager.FindControl(L"deep"));
  const std::string text = log.Text();
  size_t lines = 0;
  for (size_t at = text.find("outside a TreeView"); at != std::string::npos;
       at = text.find("outside a TreeView", at + 1))
    ++lines;
  EXPECT_EQ(3u, lines) << text;
}

TEST(SelectorsSkinTest, TreeNodesTakeTheirDefaultsBeforeTheirOwnAttributes) {
  HostWindow& win = Window();
  CSkinBuilder builder;
  CControlUI* root = builder.BuildSkin(
      L"<Window><Default name=\"TreeNode\" value=\"itemhottextcolor=&quot;#FF00FF00&quot; "
      L"itemtextcolor=&quot;#FF111111&quot;\"/>"
      L"<TreeView name=\"t\"><TreeNode name=\"a\" itemtextcolor=\"#FF222222\">"
      L"<TreeNode name=\"b\"/></TreeNode></TreeView></Window>",
      nullptr, nullptr, &win.manager);
  ASSERT_NE(nullptr, root);
  win.manager.AttachRoot(root);
  CTreeViewUI* tree = static_cast<CTreeViewUI*>(root->FindInterface(L"TreeView"));
  ASSERT_NE(nullptr, tree);
  EXPECT_EQ(L"a b[a]", Rows(tree));
  EXPECT_EQ(0xFF00FF00u, Find(tree, L"a")->GetItemHotTextColor());
  EXPECT_EQ(0xFF222222u, Find(tree, L"a")->GetItemTextColor());
  EXPECT_EQ(0xFF111111u, Find(tree, L"b")->GetItemTextColor());
}
