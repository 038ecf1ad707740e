// The skin builder: trees from files, inline text, resources and zips;
// resource elements, window attributes, includes and custom tags.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "tests/uitoolkit/fixtures/skin_fixtures.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/skin/skin_builder.h"
#include "uitoolkit/skin/skin_controls.h"

using namespace UiToolkit;
using uitest::HostWindow;

namespace {

std::wstring FixtureFolder() { return test_support::WinePath(BUILDER_FIXTURES) + L"\\"; }

int g_gaugesAlive = 0;

class GaugeUI : public CControlUI {
 public:
  GaugeUI() { ++g_gaugesAlive; }
  ~GaugeUI() override { --g_gaugesAlive; }
  const wchar_t* ClassName() const override { return L"GaugeUI"; }
};

// Makes "Gauge" controls and remembers every tag it was asked about.
class Callback : public IDialogBuilderCallback {
 public:
  CControlUI* CreateCustomControl(const wchar_t* tag) override {
    asked.push_back(tag);
    return std::wstring(tag) == L"Gauge" ? new GaugeUI : nullptr;
  }
  std::vector<std::wstring> asked;
};

std::vector<std::wstring> ChildNames(CControlUI* control) {
  std::vector<std::wstring> names;
  IContainerUI* c = static_cast<IContainerUI*>(control->FindInterface(L"IContainer"));
  if (!c) return names;
  for (int i = 0; i < c->GetCount(); ++i) names.push_back(std::wstring(c->GetItemAt(i)->GetName()));
  return names;
}

class SkinFolder : public ::testing::Test {
 protected:
  void SetUp() override { CWindowManagerUI::SetResourceFolder(FixtureFolder().c_str()); }
  void TearDown() override {
    CWindowManagerUI::UseSkinZipFile(L"");
    CWindowManagerUI::SetResourceFolder(nullptr);
  }
};

}  // namespace

TEST_F(SkinFolder, EveryTagBuildsTheExpectedTree) {
  HostWindow win;
  win.CreateAt(10, 10, 50, 50);
  Callback callback;
  CSkinBuilder builder;
  CControlUI* root = builder.BuildSkin(L"all_tags.xml", nullptr, &callback, &win.manager);
  ASSERT_NE(nullptr, root) << builder.Document().LastError();
  EXPECT_EQ(L"root", std::wstring(root->GetName()));
  EXPECT_EQ(std::vector<std::wstring>({L"ctl", L"lbl", L"btn", L"btn2", L"opt", L"chk", L"txt",
                                       L"sb", L"vl", L"tab", L"tile", L"child", L"row",
                                       L"row", L"custom"}),
            ChildNames(root));
  IContainerUI* c = static_cast<IContainerUI*>(root->FindInterface(L"IContainer"));
  const wchar_t* classes[] = {L"ControlUI",        L"LabelUI",     L"ButtonUI",
                              L"ButtonUI",         L"OptionUI",    L"CheckBoxUI",
                              L"TextUI",           L"ScrollBarUI", L"VerticalLayoutUI",
                              L"TabLayoutUI",      L"TileLayoutUI", L"ChildLayoutUI",
                              L"LabelUI",          L"LabelUI",      L"GaugeUI"};
  for (int i = 0; i < 15; ++i) EXPECT_STREQ(classes[i], c->GetItemAt(i)->ClassName()) << i;
  EXPECT_EQ(std::vector<std::wstring>({L"hl"}), ChildNames(c->GetItemAt(8)));
  // Unknown tags went to the callback; the skipped one took its subtree.
  EXPECT_EQ(std::vector<std::wstring>({L"Gauge", L"Unknown"}), callback.asked);
  EXPECT_EQ(1, g_gaugesAlive);

  // Attributes and the finished tree's detachment.
  EXPECT_EQ(20, c->GetItemAt(2)->GetFixedWidth());
  EXPECT_STREQ(L"label", c->GetItemAt(1)->GetText());
  EXPECT_EQ(1, static_cast<CLabelUI*>(c->GetItemAt(1))->GetFont());
  EXPECT_TRUE(static_cast<COptionUI*>(c->GetItemAt(4))->IsSelected());
  EXPECT_EQ(nullptr, root->GetManager());
  EXPECT_EQ(nullptr, c->GetItemAt(4)->GetManager());

  // Fonts: numbered in document order, the nameless one takes no index,
  // the included file's font comes after them (once per repetition), and
  // "Font" below the root is skipped.
  ASSERT_EQ(4, win.manager.FontCount());
  EXPECT_STREQ(L"Tahoma", win.manager.FontAt(0)->sFontName);
  EXPECT_TRUE(win.manager.FontAt(0)->bBold);
  EXPECT_STREQ(L"Arial", win.manager.FontAt(1)->sFontName);
  EXPECT_TRUE(win.manager.FontAt(1)->bItalic);
  EXPECT_STREQ(L"Courier New", win.manager.FontAt(2)->sFontName);
  EXPECT_STREQ(L"Arial", win.manager.DefaultFont()->sFontName);
  EXPECT_EQ(16, win.manager.DefaultFont()->iSize);

  // Default lists: the first one for a tag wins, and an element's own
  // attributes override it.
  EXPECT_EQ(20, c->GetItemAt(2)->GetFixedWidth());
  EXPECT_EQ(22, c->GetItemAt(2)->GetFixedHeight());
  EXPECT_EQ(10, c->GetItemAt(3)->GetFixedWidth());
  EXPECT_EQ(22, c->GetItemAt(3)->GetFixedHeight());
  // Images: the one that loads is kept, the missing one is not.
  EXPECT_EQ(1, win.manager.ImageCount());

  // The tree joins the window: the option joins its group.
  win.manager.AttachRoot(root);
  ASSERT_NE(nullptr, win.manager.OptionGroup(L"g"));
  EXPECT_EQ(1, win.manager.OptionGroup(L"g")->GetSize());
  EXPECT_EQ(c->GetItemAt(3), win.manager.FindControl(L"btn2"));
  // The child layout builds its own file once it joins the window.
  CContainerUI* child = static_cast<CContainerUI*>(c->GetItemAt(11));
  ASSERT_EQ(1, child->GetCount());
  EXPECT_STREQ(L"row", child->GetItemAt(0)->GetName());
}

TEST_F(SkinFolder, WindowAttributesTakeEffect) {
  HostWindow win;
  win.CreateAt(10, 10, 50, 50);
  CSkinBuilder builder;
  CControlUI* root = builder.BuildSkin(L"all_tags.xml", nullptr, nullptr, &win.manager);
  ASSERT_NE(nullptr, root);
  RECT rc;
  ::GetWindowRect(win.GetHWND(), &rc);
  EXPECT_EQ(300, rc.right - rc.left);
  EXPECT_EQ(200, rc.bottom - rc.top);
  EXPECT_EQ(300, win.manager.GetInitSize().cx);
  RECT caption = win.manager.GetCaption(), box = win.manager.GetSizeBox();
  EXPECT_EQ(30, caption.bottom);
  EXPECT_EQ(RECT({4, 5, 6, 7}).right, box.right);
  EXPECT_EQ(4, box.left);
  EXPECT_EQ(7, box.bottom);
  EXPECT_EQ(5, win.manager.GetRoundCorner().cx);
  EXPECT_EQ(6, win.manager.GetRoundCorner().cy);
  EXPECT_EQ(200, win.manager.GetMinInfo().cx);
  EXPECT_EQ(100, win.manager.GetMinInfo().cy);
  EXPECT_EQ(800, win.manager.GetMaxInfo().cx);
  EXPECT_TRUE(win.manager.IsBackgroundSnapshot());
  EXPECT_EQ(0xFF112233u, win.manager.DefaultTextColor());
  EXPECT_EQ(0xFF0000EEu, win.manager.LinkColor());
  delete root;

  // With a root attached, "size" changes only the stored size.
  win.manager.AttachRoot(new CControlUI);
  CSkinBuilder again;
  delete again.BuildSkin(L"<Window size=\"500,400\"><Control/></Window>", nullptr, nullptr,
                         &win.manager);
  ::GetWindowRect(win.GetHWND(), &rc);
  EXPECT_EQ(300, rc.right - rc.left);
  EXPECT_EQ(500, win.manager.GetInitSize().cx);
}

TEST_F(SkinFolder, NonWindowRootRegistersResourcesButIgnoresItsAttributes) {
  HostWindow win;
  win.CreateAt(10, 10, 50, 50);
  CSkinBuilder builder;
  CControlUI* built = builder.BuildSkin(
      L"<Page size=\"500,400\"><Font name=\"Tahoma\" size=\"10\"/><Label name=\"x\"/></Page>",
      nullptr, nullptr, &win.manager);
  ASSERT_NE(nullptr, built);
  EXPECT_EQ(1, win.manager.FontCount());
  EXPECT_EQ(0, win.manager.GetInitSize().cx);
  delete built;
  // Without a manager nothing is registered, and controls are still built.
  CSkinBuilder bare;
  CControlUI* alone = bare.BuildSkin(L"<Window><Font name=\"A\"/><Button name=\"b\" text=\"t\"/></Window>",
                                     nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, alone);
  EXPECT_STREQ(L"ButtonUI", alone->ClassName());
  EXPECT_STREQ(L"t", alone->GetText());
  delete alone;
}

TEST_F(SkinFolder, TopLevelControlsNobodyOwnsAreDeleted) {
  Callback callback;
  {
    CSkinBuilder builder;
    CControlUI* first = builder.BuildSkin(
        L"<Window><Gauge name=\"1\"/><Gauge name=\"2\"/><Gauge name=\"3\"/></Window>", nullptr,
        &callback, nullptr);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(L"1", std::wstring(first->GetName()));
    EXPECT_EQ(1, g_gaugesAlive);
    delete first;
  }
  EXPECT_EQ(0, g_gaugesAlive);
  // Included controls without a parent belong to nobody either.
  CSkinBuilder builder;
  EXPECT_EQ(nullptr, builder.BuildSkin(L"<Window><Include source=\"row.xml\" count=\"2\"/></Window>",
                                       nullptr, &callback, nullptr));
}

TEST_F(SkinFolder, ParentWithoutContainerEndsTheLevel) {
  Callback callback;
  CSkinBuilder builder;
  CControlUI* built = builder.BuildSkin(
      L"<Window><Container name=\"c\"><Label name=\"l\"><Gauge/></Label><Gauge name=\"g\"/>"
      L"</Container></Window>",
      nullptr, &callback, nullptr);
  ASSERT_NE(nullptr, built);
  EXPECT_EQ(std::vector<std::wstring>({L"l", L"g"}), ChildNames(built));
  EXPECT_EQ(1, g_gaugesAlive);  // the Gauge under the label was deleted
  delete built;
  EXPECT_EQ(0, g_gaugesAlive);
}

TEST_F(SkinFolder, SelfIncludeStopsAtTheDepthCap) {
  CContainerUI parent;
  CSkinBuilder builder;
  builder.BuildSkin(L"self_include.xml", nullptr, nullptr, nullptr, &parent);
  // The document itself and sixteen nested includes each add one label.
  EXPECT_EQ(CSkinBuilder::kMaxIncludeDepth + 1, parent.GetCount());
}

TEST_F(SkinFolder, ResourceDocumentsIncludeResourcesOfTheSameType) {
  CSkinBuilder builder;
  CControlUI* built = builder.BuildSkin(MAKEINTRESOURCEW(201), L"xml", nullptr, nullptr);
  ASSERT_NE(nullptr, built);
  EXPECT_EQ(L"from_resource", std::wstring(built->GetName()));
  EXPECT_EQ(std::vector<std::wstring>({L"included_from_resource"}), ChildNames(built));
  delete built;
  CSkinBuilder missing;
  EXPECT_EQ(nullptr, missing.BuildSkin(MAKEINTRESOURCEW(299), L"xml", nullptr, nullptr));
}

TEST_F(SkinFolder, InlineAndZippedSources) {
  CSkinBuilder inline_builder;
  CControlUI* built = inline_builder.BuildSkin(L"<Window><Label name=\"inline\"/></Window>",
                                               nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, built);
  EXPECT_EQ(L"inline", std::wstring(built->GetName()));
  delete built;

  std::wstring dir = test_support::MakeTempDir(L"skinzip");
  std::string zip = fixtures::MakeZip(
      {{"main.xml", "<Window><Container name=\"z\"><Include source=\"part.xml\"/></Container></Window>"},
       {"part.xml", "<Window><Option name=\"zipped\"/></Window>"}});
  ASSERT_TRUE(test_support::WriteFileBytes(dir + L"\\skin.zip", zip));
  CWindowManagerUI::SetResourceFolder(dir.c_str());
  ASSERT_TRUE(CWindowManagerUI::UseSkinZipFile(L"skin.zip"));
  CSkinBuilder zipped;
  built = zipped.BuildSkin(L"main.xml", nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, built) << zipped.Document().LastError();
  EXPECT_EQ(std::vector<std::wstring>({L"zipped"}), ChildNames(built));
  delete built;
  CSkinBuilder absent;
  EXPECT_EQ(nullptr, absent.BuildSkin(L"absent.xml", nullptr, nullptr, nullptr));
  CWindowManagerUI::UseSkinZipFile(L"");
  test_support::RemoveTree(dir);
}

TEST(SkinSourceTest, ResourceFolderGetsOneTrailingSeparator) {
  struct Case {
    const wchar_t* in;
    const wchar_t* out;
  } cases[] = {{L"C:\\skins", L"C:\\skins\\"},
               {L"C:\\skins\\", L"C:\\skins\\"},
               {L"C:/skins/", L"C:/skins/"},
               {L"", L""},
               {nullptr, L""}};
  for (const Case& c : cases) {
    CWindowManagerUI::SetResourceFolder(c.in);
    EXPECT_STREQ(c.out, CWindowManagerUI::GetResourceFolder()) << (c.in ? c.in : L"(none)");
  }
}

TEST_F(SkinFolder, RowsBuiltIntoALiveContainerJoinItsWindow) {
  HostWindow win;
  win.CreateAt(10, 10, 200, 100);
  CContainerUI* root = new CContainerUI;
  win.manager.AttachRoot(root);
  CSkinBuilder builder;
  CControlUI* row = builder.BuildSkin(L"<Window><Option name=\"live\" group=\"rows\"/></Window>",
                                      nullptr, nullptr, &win.manager, root);
  ASSERT_NE(nullptr, row);
  EXPECT_EQ(&win.manager, row->GetManager());
  EXPECT_EQ(root, row->GetParent());
  EXPECT_EQ(row, win.manager.FindControl(L"live"));
  ASSERT_NE(nullptr, win.manager.OptionGroup(L"rows"));
  EXPECT_EQ(1, win.manager.OptionGroup(L"rows")->GetSize());
}

TEST(SkinTagTest, EveryKnownTagMakesItsClass) {
  struct Case {
    const wchar_t* tag;
    const wchar_t* cls;
  } cases[] = {
      {L"Control", L"ControlUI"},
      {L"Container", L"ContainerUI"},
      {L"VerticalLayout", L"VerticalLayoutUI"},
      {L"HorizontalLayout", L"HorizontalLayoutUI"},
      {L"TabLayout", L"TabLayoutUI"},
      {L"TileLayout", L"TileLayoutUI"},
      {L"ChildLayout", L"ChildLayoutUI"},
      {L"ScrollBar", L"ScrollBarUI"},
      {L"Label", L"LabelUI"},
      {L"Button", L"ButtonUI"},
      {L"Option", L"OptionUI"},
      {L"CheckBox", L"CheckBoxUI"},
      {L"Text", L"TextUI"},
      {L"Progress", L"ProgressUI"},
      {L"Slider", L"SliderUI"},
      {L"ButtonGif", L"ButtonGifUI"},
      {L"Edit", L"EditUI"},
      {L"List", L"ListUI"},
      {L"ListHeader", L"ListHeaderUI"},
      {L"ListHeaderItem", L"ListHeaderItemUI"},
      {L"ListLabelElement", L"ListLabelElementUI"},
      {L"ListTextElement", L"ListTextElementUI"},
      {L"ListContainerElement", L"ListContainerElementUI"},
  };
  for (const Case& c : cases) {
    CControlUI* made = CreateControlForTag(c.tag);
    ASSERT_NE(nullptr, made) << c.tag;
    EXPECT_STREQ(c.cls, made->ClassName());
    delete made;
  }
  // Tags match exactly.
  EXPECT_EQ(nullptr, CreateControlForTag(L"label"));
  EXPECT_EQ(nullptr, CreateControlForTag(L"Labels"));
  EXPECT_EQ(nullptr, CreateControlForTag(L""));
}

TEST(SkinTagTest, ListSkinNestsHeaderAndRows) {
  CSkinBuilder builder;
  CControlUI* list = builder.BuildSkin(
      L"<Window><List name=\"l\"><ListHeader><ListHeaderItem text=\"Name\"/></ListHeader>"
      L"<ListLabelElement text=\"one\"/><ListLabelElement text=\"two\"/></List></Window>",
      nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, list);
  EXPECT_STREQ(L"ListUI", list->ClassName());
  IContainerUI* rows = static_cast<IContainerUI*>(list->FindInterface(L"IContainer"));
  ASSERT_NE(nullptr, rows);
  EXPECT_EQ(2, rows->GetCount());
  delete list;
}
