// Robustness of the combo, combo box, date-time and tree tags: mutated and
// deliberately broken skins are built, laid out, painted, and their combos
// opened, their pickers opened and their trees expanded, collapsed,
// checked and changed. A run passes when the process survives them all and
// no drop-down is ever given a negative size.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "tests/uitoolkit/fixtures/canvas.h"
#include "tests/uitoolkit/fixtures/stopwatch.h"
#include "tests/uitoolkit/robustness/mutator.h"
#include "uitoolkit/controls/combo_box.h"
#include "uitoolkit/controls/date_time.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/controls/tree_node.h"
#include "uitoolkit/controls/tree_view.h"
#include "uitoolkit/skin/skin_builder.h"

using namespace UiToolkit;
using uitest::HostWindow;

namespace {

// Mutated documents fed: UITOOLKIT_MUTATIONS / 20, else a short default.
int DocumentCount() {
  const char* v = getenv("UITOOLKIT_MUTATIONS");
  const int n = v ? atoi(v) / 20 : 0;
  return n > 0 ? n : 200;
}

const char kSeed[] =
    "<Window size=\"400,300\"><Font name=\"Tahoma\" size=\"13\"/>"
    "<VerticalLayout name=\"root\">"
    "<Combo name=\"c\" height=\"24\" textpadding=\"4,0,20,0\" dropboxsize=\"0,120\" "
    "dropbox=\"bkcolor=&quot;#FFEEEEEE&quot; inset=&quot;2,2,2,2&quot;\" itemfont=\"0\" "
    "itemalign=\"center\" itemtextpadding=\"4,0,0,0\" itemtextcolor=\"#FF000000\" "
    "itemselectedbkcolor=\"#FFC0D0F0\" itemhotbkcolor=\"#FFE0E8F8\" itemlinecolor=\"#FFDDDDDD\" "
    "normalimage=\"file='n.png' corner='2,2,2,2'\" hotimage=\"h.png\" itemshowhtml=\"true\">"
    "<ListLabelElement text=\"one\" height=\"20\"/><ListLabelElement text=\"{b}two{/b}\" "
    "selected=\"true\"/><ListTextElement height=\"20\"/><ListContainerElement height=\"20\">"
    "<Label text=\"in\"/></ListContainerElement><Control name=\"odd\"/></Combo>"
    "<ComboBox name=\"b\" height=\"24\" bordersize=\"2\" arrowimage=\"file='a.png' "
    "source='0,0,100,20'\"><ListLabelElement text=\"x\"/><ListLabelElement text=\"y\"/></ComboBox>"
    "<DateTime name=\"d\" height=\"24\" font=\"0\" textpadding=\"4,0,0,0\"/>"
    "<TreeView name=\"t\" visiblecheckbtn=\"true\" visiblefolderbtn=\"true\" itemminwidth=\"80\" "
    "itemtextcolor=\"#FF102030\" itemhottextcolor=\"#FF203040\" selitemtextcolor=\"#FF304050\" "
    "selitemhottextcolor=\"#FF405060\" vscrollbar=\"true\">"
    "<TreeNode text=\"a\" horizattr=\"childpadding=&quot;2&quot;\" "
    "folderattr=\"width=&quot;16&quot; normalimage=&quot;f.png&quot;\" "
    "checkboxattr=\"selected=&quot;true&quot;\" itemattr=\"font=&quot;0&quot;\" "
    "dotlineattr=\"bkcolor=&quot;#FF808080&quot;\" itemtextcolor=\"#FF000000\">"
    "<TreeNode text=\"a1\"><TreeNode text=\"a11\" selected=\"true\"/><Button text=\"go\" "
    "width=\"30\"/></TreeNode><TreeNode text=\"a2\"/></TreeNode>"
    "<TreeNode text=\"b\"><TreeNode text=\"b1\"/></TreeNode><ListLabelElement text=\"plain\"/>"
    "</TreeView></VerticalLayout></Window>";

std::wstring Wide(const std::string& utf8) {
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                      nullptr, 0);
  std::wstring out(n, L'\0');
  if (n) ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], n);
  // The builder takes text up to its first NUL.
  return out.substr(0, out.find(L'\0'));
}

// The seed with one attribute value mutated: the document stays well
// formed, so the value reaches its control.
std::string MutateOneValue(robustness::Mutator& mutator, const std::string& seed) {
  std::vector<size_t> starts;
  for (size_t at = seed.find("=\""); at != std::string::npos; at = seed.find("=\"", at + 2))
    starts.push_back(at + 2);
  const size_t begin = starts[mutator.Below(static_cast<uint32_t>(starts.size()))];
  const size_t end = seed.find('"', begin);
  std::string value = mutator.Mutate(seed.substr(begin, end - begin));
  static const char kSafe[] = ",;=x'- #0-9";
  for (char& c : value) {
    if (c == '"' || c == '<' || c == '&' || c == '\0') c = kSafe[mutator.Below(sizeof kSafe - 1)];
  }
  return seed.substr(0, begin) + value + seed.substr(end);
}

struct Found {
  std::vector<CComboUI*> combos;
  std::vector<CDateTimeUI*> dates;
  std::vector<CTreeViewUI*> trees;
};

CControlUI* CALLBACK Collect(CControlUI* control, LPVOID data) {
  Found* found = static_cast<Found*>(data);
  if (void* combo = control->FindInterface(L"Combo")) found->combos.push_back(static_cast<CComboUI*>(combo));
  if (void* date = control->FindInterface(L"DateTime")) found->dates.push_back(static_cast<CDateTimeUI*>(date));
  if (void* tree = control->FindInterface(L"TreeView")) found->trees.push_back(static_cast<CTreeViewUI*>(tree));
  return nullptr;
}

class Exerciser {
 public:
  Exerciser() {
    win_.CreateAt(40, 40, 400, 300);
    ::UpdateWindow(win_.GetHWND());
  }
  int built = 0, popups = 0, pickers = 0;

  // Builds `doc` and puts everything in it through its paces; opens at
  // most `popups_allowed` drop-downs (each costs seconds under Wine).
  void Feed(const std::wstring& doc, int popups_allowed) {
    CSkinBuilder builder;
    CControlUI* root = builder.BuildSkin(doc.c_str(), nullptr, nullptr, &win_.manager);
    if (!root) return;
    ++built;
    win_.manager.AttachRoot(root);
    const RECT area = {0, 0, 400, 300};
    root->SetBounds(area);
    Paint(root);
    Found found;
    root->Search(&Collect, &found, UIFIND_ALL);
    for (CTreeViewUI* tree : found.trees) Exercise(tree);
    for (CComboUI* combo : found.combos) Exercise(combo, popups_allowed-- > 0);
    for (CDateTimeUI* date : found.dates) Exercise(date);
    root->SetBounds(area);
    Paint(root);
    win_.manager.AttachRoot(nullptr);
    uitest::PumpMessages();
  }

 private:
  void Paint(CControlUI* root) {
    fixtures::Canvas canvas(400, 300, 0xFFFFFFFF);
    root->Paint(canvas.dc(), RECT{0, 0, 400, 300});
  }

  void Exercise(CTreeViewUI* tree) {
    tree->ExpandNodes(false);
    tree->ExpandNodes(true);
    tree->CheckNodes(true);
    for (int i = 0; i < tree->GetCount(); ++i) {
      CTreeNodeUI* node = static_cast<CTreeNodeUI*>(tree->GetItemAt(i)->FindInterface(L"TreeNode"));
      if (!node) continue;
      node->GetFolderButton()->Activate();  // through its notification, as a click does
      node->GetCheckBox()->Activate();
      tree->ExpandNodes(i % 2 == 0, node);
    }
    tree->SelectItem(tree->GetCount() - 1);
    CTreeNodeUI* extra = new CTreeNodeUI;
    if (tree->AddNodeAt(extra, tree->GetCount() / 2) < 0) delete extra;
    tree->RemoveAt(tree->GetCount() / 3);
    tree->RemoveAt(0);
  }

  void Exercise(CComboUI* combo, bool open) {
    combo->SelectItem(combo->GetCount());
    combo->SelectItem(0);
    TUiEvent key = {};
    key.Type = UIEVENT_KEYDOWN;
    for (WCHAR vk : {VK_DOWN, VK_END, VK_UP, VK_HOME}) {
      key.chKey = vk;
      combo->HandleEvent(key);
    }
    if (!open || !combo->Activate()) return;
    HWND popup = combo->GetPopupWindow();
    if (!popup) return;
    ++popups;
    RECT rc;
    ::GetWindowRect(popup, &rc);
    EXPECT_LE(rc.top, rc.bottom);
    EXPECT_LE(rc.left, rc.right);
    ::UpdateWindow(popup);
    ::SendMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
    ::SendMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    uitest::PumpMessages();
  }

  void Exercise(CDateTimeUI* date) {
    date->SetFocus();
    if (date->GetPickerWindow()) ++pickers;
    win_.manager.SetFocusControl(nullptr);
    uitest::PumpMessages();
  }

  HostWindow win_;
};

void Report(const char* what, int fed, const Exerciser& e, double seconds) {
  printf("%s: %d documents in %.1f s, %d built, %d drop-downs and %d pickers opened\n", what, fed,
         seconds, e.built, e.popups, e.pickers);
  fflush(stdout);
}

}  // namespace

TEST(SelectorRobustness, MutatedSkinsOfTheNewTags) {
  Exerciser e;
  robustness::Mutator mutator(19);
  const int count = DocumentCount();
  const double start = fixtures::Seconds();
  e.Feed(Wide(kSeed), 1);
  ASSERT_EQ(1, e.built);
  // Every other document has one value mutated; the rest are mutated as
  // markup, which the parser mostly refuses.
  for (int i = 0; i < count; ++i) {
    const std::string doc = i % 2 ? mutator.MutateMarkup(kSeed) : MutateOneValue(mutator, kSeed);
    e.Feed(Wide(doc), i < 4 ? 1 : 0);
  }
  Report("mutated", count, e, fixtures::Seconds() - start);
  // The mutations must leave many documents buildable to mean anything.
  EXPECT_GT(e.built, count / 3);
}

TEST(SelectorRobustness, BrokenAttributeValues) {
  struct Case {
    const char* tag;  // Combo, ComboBox, DateTime, TreeView or TreeNode
    const char* attribute;
    std::vector<const char*> values;
    bool open;  // open each combo's drop-down
  } cases[] = {
      // Opened: a drop-down's window takes seconds under Wine.
      {"Combo", "dropboxsize", {"-50,-80", "99999,99999"}, true},
      {"Combo", "dropboxsize", {"x,y", "5", "", "-1", "0,0"}, false},
      {"Combo", "dropbox", {"inset=&quot;-5,-5,-5,-5&quot;"}, true},
      {"Combo", "dropbox",
       {"bkcolor=&quot;#FF0", "=&quot;&quot;",
        "childpadding=&quot;-99&quot; vscrollbar=&quot;true&quot;", "&quot;&quot;&quot;"},
       false},
      {"Combo", "textpadding", {"-5,-5,-5,-5", "a,b", "9999,9999,9999,9999", ","}, false},
      {"Combo", "itemfont", {"-7", "99", "x", "2147483647"}, false},
      {"Combo", "font", {"-3", "55"}, false},
      {"Combo", "itemtextcolor", {"#ZZZ", "", "#", "#FFFFFFFFFFFFFFFF"}, false},
      {"Combo", "itemtextpadding", {"-9,-9,-9,-9", "q"}, false},
      {"Combo", "normalimage", {"file='", "file='x.png' source='a'", "'''"}, false},
      {"ComboBox", "arrowimage",
       {"a.png", "file='a.png'", "file='a.png' source='0,0,100'", "file='a.png' source='x,0,100,20'",
        "file='a.png' source='100,0,100,20'", "file='a.png' source='60,0,10,20'",
        "file='a.png' source='0,0,100,20", "source='0,0,3,20'", "source='-100,-5,-50,20'",
        "file='a.png' source='0,0,100,20' source='0,0,1,1'"},
       false},
      {"DateTime", "font", {"-1", "99"}, false},
      {"TreeView", "itemminwidth", {"-20", "abc", "99999", ""}, false},
      {"TreeView", "itemtextcolor", {"#", "nonsense"}, false},
      {"TreeView", "visiblecheckbtn", {"TRUE", ""}, false},
      {"TreeNode", "horizattr", {"width=&quot;", "=&quot;x&quot;", "childpadding=&quot;-30&quot;"}, false},
      {"TreeNode", "folderattr",
       {"width=&quot;-30&quot;", "visible=&quot;false&quot; width=&quot;99999&quot;",
        "name=&quot;a&quot;  b=&quot;c&quot;", "selected=&quot;true"},
       false},
      {"TreeNode", "checkboxattr", {"selected=&quot;true&quot;", "width=&quot;-1&quot;"}, false},
      {"TreeNode", "itemattr", {"font=&quot;99&quot;", "textpadding=&quot;-40,-40,0,0&quot;"}, false},
      {"TreeNode", "dotlineattr", {"width=&quot;-5&quot;", "visible=&quot;true&quot;"}, false},
      {"TreeNode", "itemtextcolor", {"", "#"}, false},
  };
  Exerciser e;
  int fed = 0;
  const double start = fixtures::Seconds();
  for (const Case& c : cases) {
    for (const char* value : c.values) {
      std::string doc = "<Window><VerticalLayout>";
      const std::string attr = std::string(c.attribute) + "=\"" + value + "\"";
      const std::string tag = c.tag;
      if (tag == "TreeNode") {
        doc += "<TreeView><TreeNode text=\"top\" " + attr + "><TreeNode text=\"child\" " + attr +
               "><TreeNode text=\"leaf\" " + attr + "/></TreeNode></TreeNode></TreeView>";
      } else if (tag == "TreeView") {
        doc += "<TreeView " + attr + "><TreeNode text=\"a\"><TreeNode text=\"b\"/></TreeNode></TreeView>";
      } else if (tag == "DateTime") {
        doc += "<DateTime " + attr + "/>";
      } else {
        doc += "<" + tag + " " + attr + "><ListLabelElement text=\"one\"/>"
               "<ListLabelElement text=\"two\"/></" + tag + ">";
      }
      doc += "</VerticalLayout></Window>";
      e.Feed(Wide(doc), c.open ? 1 : 0);
      ++fed;
    }
  }
  Report("broken values", fed, e, fixtures::Seconds() - start);
  EXPECT_EQ(fed, e.built);
}
