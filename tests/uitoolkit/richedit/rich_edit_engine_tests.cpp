// The rich edit on the system's text services: its attributes, the engine
// it makes with them, and the text going in and coming out.
#include <gtest/gtest.h>

#include <string>

#include "tests/uitoolkit/richedit/rich_edit_window.h"
#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/controls/text_host.h"

using namespace uitest;

TEST(RichEditAttributesTest, AttributesSetTheStyleAndTheWantSettings) {
  const DWORD kDefault = ES_MULTILINE;
  struct Case {
    const wchar_t* name;
    const wchar_t* value;
    DWORD style;
  } cases[] = {
      {L"vscrollbar", L"true", kDefault | WS_VSCROLL | ES_DISABLENOSCROLL},
      {L"vscrollbar", L"false", kDefault},
      {L"hscrollbar", L"true", kDefault | WS_HSCROLL | ES_DISABLENOSCROLL},
      {L"autovscroll", L"true", kDefault | ES_AUTOVSCROLL},
      {L"autohscroll", L"true", kDefault | ES_AUTOHSCROLL},
      {L"autohscroll", L"TRUE", kDefault},
      {L"multiline", L"false", 0},
      {L"multiline", L"no", kDefault},
      {L"multiline", L"False", kDefault},
      {L"readonly", L"true", kDefault | ES_READONLY},
      {L"readonly", L"yes", kDefault},
      {L"password", L"true", kDefault | ES_PASSWORD},
      {L"align", L"center", kDefault | ES_CENTER},
      {L"align", L"right", kDefault | ES_RIGHT},
      {L"wanttab", L"false", kDefault},
      {L"textcolor", L"#FF102030", kDefault},
  };
  for (const Case& c : cases) {
    CRichEditUI edit;
    edit.ApplyAttribute(c.name, c.value);
    EXPECT_EQ(c.style, edit.GetEditStyle()) << c.name << "=" << c.value;
  }

  CRichEditUI edit;
  EXPECT_TRUE(edit.IsWantTab() && edit.IsWantReturn() && edit.IsWantCtrlReturn() && edit.IsRich());
  EXPECT_EQ(&edit, edit.FindInterface(L"WantTab"));
  EXPECT_EQ(-1, edit.GetFont());
  EXPECT_EQ(32767, edit.GetMaxLength());
  for (const wchar_t* name : {L"wanttab", L"wantreturn", L"wantctrlreturn", L"rich"})
    edit.ApplyAttribute(name, L"1");
  EXPECT_FALSE(edit.IsWantTab() || edit.IsWantReturn() || edit.IsWantCtrlReturn() || edit.IsRich());
  EXPECT_EQ(nullptr, edit.FindInterface(L"WantTab"));
  edit.ApplyAttribute(L"textcolor", L"  #FF102030");
  EXPECT_EQ(0xFF102030u, edit.GetTextColor());
  edit.ApplyAttribute(L"font", L"2");
  EXPECT_EQ(2, edit.GetFont());
  // The scroll-bar attributes reach the container too, which makes the bar.
  edit.ApplyAttribute(L"vscrollbar", L"true");
  EXPECT_NE(nullptr, edit.GetVerticalScrollBar());
  // Other names are the container's and the base control's.
  edit.ApplyAttribute(L"inset", L"1,2,3,4");
  EXPECT_EQ(4, edit.GetInset().bottom);
  edit.ApplyAttribute(L"name", L"box");
  EXPECT_STREQ(L"box", edit.GetName().GetData());
}

TEST(RichEditAttributesTest, IdentityAndCapabilities) {
  CRichEditUI edit;
  EXPECT_STREQ(L"RichEditUI", edit.ClassName());
  EXPECT_EQ(&edit, edit.FindInterface(L"RichEdit"));
  EXPECT_EQ(&edit, edit.FindInterface(L"Container"));
  EXPECT_NE(nullptr, edit.FindInterface(L"IContainer"));
  EXPECT_EQ(nullptr, edit.FindInterface(L"richedit"));
  EXPECT_EQ(3u, edit.CapabilityFlags());
  edit.SetEnabled(false);
  EXPECT_EQ(0u, edit.CapabilityFlags());
}

namespace {

class RichEditEngineTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    window = new RichEditWindow(
        L"<Font name=\"Tahoma\" size=\"20\" bold=\"true\" />"
        L"<VerticalLayout inset=\"12,8,12,8\">"
        L"<RichEdit name=\"edit\" height=\"40\" text=\"first\" />"
        L"<RichEdit name=\"readonly\" height=\"20\" readonly=\"true\" />"
        L"<RichEdit name=\"single\" height=\"20\" multiline=\"false\" rich=\"false\" />"
        L"<RichEdit name=\"password\" height=\"20\" password=\"true\" />"
        L"<RichEdit name=\"sideways\" height=\"20\" autohscroll=\"true\" />"
        L"<RichEdit name=\"styled\" height=\"20\" font=\"0\" textcolor=\"#FF0000FF\" />"
        L"</VerticalLayout>");
  }
  static void TearDownTestSuite() {
    delete window;
    window = nullptr;
  }
  static DWORD Bits(const wchar_t* name) {
    DWORD bits = 0;
    window->Edit(name)->GetHost()->TxGetPropertyBits(0xFFFFFFFF, &bits);
    return bits;
  }
  static RichEditWindow* window;
};

RichEditWindow* RichEditEngineTest::window = nullptr;

}  // namespace

TEST_F(RichEditEngineTest, TheEngineIsMadeWithTheExportedInterfaceIds) {
  HMODULE engine = ::GetModuleHandleW(L"msftedit.dll");
  ASSERT_NE(nullptr, engine);
  const IID* services = reinterpret_cast<const IID*>(::GetProcAddress(engine, "IID_ITextServices"));
  const IID* host = reinterpret_cast<const IID*>(::GetProcAddress(engine, "IID_ITextHost"));
  ASSERT_NE(nullptr, services);
  ASSERT_NE(nullptr, host);
  EXPECT_TRUE(IsEqualIID(*services, IID_ITextServices));
  EXPECT_TRUE(IsEqualIID(*host, IID_ITextHost));

  CTxtWinHost* text_host = window->Edit()->GetHost();
  ASSERT_NE(nullptr, text_host);
  EXPECT_NE(nullptr, text_host->GetTextServices());
  EXPECT_TRUE(text_host->IsInPlaceActive());
  EXPECT_TRUE(text_host->IsTransparent());
  void* answer = nullptr;
  EXPECT_EQ(S_OK, text_host->QueryInterface(IID_ITextHost, &answer));
  EXPECT_EQ(static_cast<ITextHost*>(text_host), answer);
  text_host->Release();
  EXPECT_EQ(E_NOINTERFACE, text_host->QueryInterface(IID_ITextServices, &answer));
  EXPECT_EQ(nullptr, answer);
}

TEST_F(RichEditEngineTest, AttributesReachTheEngineAsPropertyBits) {
  const DWORD kShown = TXTBIT_RICHTEXT | TXTBIT_MULTILINE | TXTBIT_HIDESELECTION | TXTBIT_WORDWRAP;
  struct Case {
    const wchar_t* edit;
    DWORD bits;
  } cases[] = {
      {L"edit", kShown},
      {L"readonly", kShown | TXTBIT_READONLY},
      {L"single", TXTBIT_HIDESELECTION | TXTBIT_WORDWRAP},
      {L"password", kShown | TXTBIT_USEPASSWORD},
      {L"sideways", kShown & ~static_cast<DWORD>(TXTBIT_WORDWRAP)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.bits, Bits(c.edit)) << std::wstring(c.edit).size();

  // The font and colour become the default character format.
  const CHARFORMAT2W& styled = window->Edit(L"styled")->GetHost()->GetCharFormat();
  EXPECT_STREQ(L"Tahoma", styled.szFaceName);
  EXPECT_EQ(300, styled.yHeight);
  EXPECT_EQ(static_cast<DWORD>(CFE_BOLD), styled.dwEffects);
  EXPECT_EQ(RGB(0, 0, 255), styled.crTextColor);
  window->Edit(L"styled")->SetTextColor(0xFF00FF00);
  EXPECT_EQ(RGB(0, 255, 0), styled.crTextColor);

  // Read-only set later reaches the engine at once, both ways.
  CRichEditUI* edit = window->Edit();
  edit->SetReadOnly(true);
  EXPECT_EQ(kShown | TXTBIT_READONLY, Bits(L"edit"));
  edit->SetReadOnly(false);
  EXPECT_EQ(kShown, Bits(L"edit"));
}

TEST_F(RichEditEngineTest, TextGoesInAndComesOutWhole) {
  CRichEditUI* edit = window->Edit();
  EXPECT_STREQ(L"first", edit->GetText().GetData());
  const wchar_t* texts[] = {L"", L"second\rline", L"\x4E2D\x6587\x5B57 and \xD83D\xDE00",
                            L"tab\tseparated\r\rtwo breaks"};
  for (const wchar_t* text : texts) {
    edit->SetText(text);
    EXPECT_EQ(std::wstring(text), std::wstring(edit->GetText().GetData()));
  }
  std::wstring longer;
  while (longer.size() < 5000) longer += L"A longer text of many words. ";
  edit->SetText(longer.c_str());
  EXPECT_EQ(longer, std::wstring(edit->GetText().GetData()));
}

TEST_F(RichEditEngineTest, SetTextIsOneReplacementTheEngineCanUndo) {
  CRichEditUI* edit = window->Edit();
  edit->SetText(L"before");
  edit->TxSendMessage(EM_EMPTYUNDOBUFFER, 0, 0, nullptr);
  edit->SetText(L"after");
  LRESULT can_undo = 0;
  edit->TxSendMessage(EM_CANUNDO, 0, 0, &can_undo);
  EXPECT_TRUE(can_undo);
  edit->TxSendMessage(EM_UNDO, 0, 0, nullptr);
  EXPECT_STREQ(L"before", edit->GetText().GetData());
}

// The engine may lay the text out anew at the origin when asked for its
// natural size; the text area is given back at once, so characters (and
// the caret and clicks that follow them) stay where the text is drawn.
TEST_F(RichEditEngineTest, MeasuringTheTextLeavesItWhereItIsDrawn) {
  CRichEditUI* edit = window->Edit();
  edit->SetText(L"measured\rsecond line");
  window->Paint();
  auto first_char = [&] {
    POINTL pt = {-1, -1};
    edit->TxSendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&pt), 0, nullptr);
    return pt;
  };
  const RECT area = edit->GetTextArea();
  const POINTL before = first_char();
  EXPECT_EQ(area.left, before.x);
  EXPECT_EQ(area.top, before.y);
  LONG height = 0;
  ASSERT_TRUE(edit->GetHost()->NaturalHeight(area.right - area.left + 16, area.bottom - area.top,
                                             &height));
  EXPECT_GT(height, 20);
  const POINTL after = first_char();
  EXPECT_EQ(before.x, after.x);
  EXPECT_EQ(before.y, after.y);
}
