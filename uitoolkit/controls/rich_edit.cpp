// The rich edit's life, text, settings and attributes, and the engine's
// scroll-bar requests.
#include "uitoolkit/controls/rich_edit.h"

#include <richedit.h>
#include <wchar.h>

#include <vector>

#include "uitoolkit/controls/rich_edit_rules.h"
#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/controls/text_host.h"
#include "uitoolkit/core/attribute_values.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

CRichEditUI::CRichEditUI()
    : m_host(nullptr),
      m_filterManager(nullptr),
      m_style(ES_MULTILINE),
      m_wantTab(true),
      m_wantReturn(true),
      m_wantCtrlReturn(true),
      m_rich(true),
      m_autoVScroll(false),
      m_textColor(0),
      m_font(-1),
      m_maxLength(32767),
      m_initialized(false),
      m_inLayout(false) {}

CRichEditUI::~CRichEditUI() {
  if (m_filterManager) m_filterManager->RemoveWindowMessageFilter(this);
  if (m_host) {
    CTxtWinHost* host = m_host;
    m_host = nullptr;
    host->Detach();
    host->Release();
  }
}

const wchar_t* CRichEditUI::ClassName() const { return L"RichEditUI"; }

LPVOID CRichEditUI::FindInterface(const wchar_t* name) {
  if (name && SameName(name, L"RichEdit")) return this;
  if (name && SameName(name, L"WantTab")) return m_wantTab ? this : nullptr;
  return CContainerUI::FindInterface(name);
}

UINT CRichEditUI::CapabilityFlags() const {
  return IsEnabled() ? (UIFLAG_TABSTOP | UIFLAG_SETCURSOR) : 0;
}

CUiString CRichEditUI::GetText() const {
  if (!m_host) return CUiString();
  GETTEXTLENGTHEX length_of = {GTL_DEFAULT, 1200};
  LRESULT length = 0;
  m_host->Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length_of), 0, &length);
  if (length <= 0) return CUiString();
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  GETTEXTEX get = {};
  get.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  get.flags = GT_DEFAULT;
  get.codepage = 1200;
  LRESULT copied = 0;
  m_host->Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(&buffer[0]),
               &copied);
  if (copied < 0 || copied > length) copied = length;
  return CUiString(&buffer[0], static_cast<int>(copied));
}

void CRichEditUI::SetText(const wchar_t* text) {
  m_text = text ? text : L"";
  if (!m_host) return;
  CHARRANGE all = {0, -1};
  m_host->Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
  m_host->Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(m_text.GetData()));
}

void CRichEditUI::OnInitialize() {
  if (m_initialized) return;
  m_initialized = true;
  m_host = CTxtWinHost::Create(this, m_style, m_text);
  if (!m_host) return;
  m_host->SetTransparent(true);
  m_host->Send(EM_SETLANGOPTIONS, 0, 0);
  m_host->ActivateInPlace();
  if (m_manager && m_manager->AddWindowMessageFilter(this)) m_filterManager = m_manager;
}

// ---- settings ----

void CRichEditUI::SetRich(bool on) {
  m_rich = on;
  if (m_host) m_host->SetRichText(on);
}

void CRichEditUI::SetReadOnly(bool on) {
  if (on)
    m_style |= ES_READONLY;
  else
    m_style &= ~static_cast<DWORD>(ES_READONLY);
  if (m_host) m_host->SetReadOnly(on);
}

void CRichEditUI::SetFont(int index) {
  m_font = index;
  if (!m_host) return;
  TUiFontInfo* font = m_manager ? m_manager->FontAt(index) : nullptr;
  m_host->SetFont(font ? font->hFont : nullptr);
}

void CRichEditUI::SetTextColor(DWORD argb) {
  m_textColor = argb;
  if (m_host) m_host->SetTextColor(argb);
}

void CRichEditUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (!name || !value) return;
  const bool on = ParseBoolValue(value);
  if (SameName(name, L"vscrollbar")) {
    if (on) m_style |= WS_VSCROLL | ES_DISABLENOSCROLL;
    CContainerUI::ApplyAttribute(name, value);
  } else if (SameName(name, L"autovscroll")) {
    if (on) m_style |= ES_AUTOVSCROLL;
  } else if (SameName(name, L"hscrollbar")) {
    if (on) m_style |= WS_HSCROLL | ES_DISABLENOSCROLL;
    CContainerUI::ApplyAttribute(name, value);
  } else if (SameName(name, L"autohscroll")) {
    if (on) m_style |= ES_AUTOHSCROLL;
  } else if (SameName(name, L"wanttab")) {
    m_wantTab = on;
  } else if (SameName(name, L"wantreturn")) {
    m_wantReturn = on;
  } else if (SameName(name, L"wantctrlreturn")) {
    m_wantCtrlReturn = on;
  } else if (SameName(name, L"rich")) {
    SetRich(on);
  } else if (SameName(name, L"multiline")) {
    if (SameName(value, L"false")) m_style &= ~static_cast<DWORD>(ES_MULTILINE);
  } else if (SameName(name, L"readonly")) {
    if (on) SetReadOnly(true);
  } else if (SameName(name, L"password")) {
    if (on) m_style |= ES_PASSWORD;
  } else if (SameName(name, L"align")) {
    m_style = StyleWithAlignment(m_style, value);
  } else if (SameName(name, L"font")) {
    SetFont(static_cast<int>(wcstol(value, nullptr, 10)));
  } else if (SameName(name, L"textcolor")) {
    SetTextColor(ParseColorValue(value, true));
  } else {
    CContainerUI::ApplyAttribute(name, value);
  }
}

// ---- the engine's scroll bars ----

namespace {

bool SetShown(CScrollBarUI* bar, bool show) {
  if (!bar || bar->IsVisible() == show) return false;
  bar->SetVisible(show);
  return true;
}

}  // namespace

void CRichEditUI::AfterBarChange(bool changed) {
  // Inside SetBounds the new bars are taken into account there.
  if (changed && !m_inLayout) RequestRelayout();
}

void CRichEditUI::ShowEngineScrollBar(int bar, bool show) {
  bool changed = false;
  if (bar == SB_VERT || bar == SB_BOTH) {
    changed = SetShown(m_verticalScrollBar, show) || changed;
    if (!show) m_autoVScroll = false;
  }
  if (bar == SB_HORZ || bar == SB_BOTH) changed = SetShown(m_horizontalScrollBar, show) || changed;
  AfterBarChange(changed);
}

void CRichEditUI::EnableEngineScrollBar(int bar, int arrows) {
  const bool vertical = bar == SB_VERT || bar == SB_BOTH;
  const bool horizontal = bar == SB_HORZ || bar == SB_BOTH;
  if ((vertical && !m_verticalScrollBar) || (horizontal && !m_horizontalScrollBar))
    EnableScrollBars(vertical || m_verticalScrollBar != nullptr,
                     horizontal || m_horizontalScrollBar != nullptr);
  // Both arrows disabled: the engine has nothing to scroll (it keeps such
  // a bar for the ES_DISABLENOSCROLL style and may not send the range that
  // says so). A bar left as it was would offer scrolling the text does
  // not have, so it goes as it does for a range that fits.
  const bool show = arrows != ESB_DISABLE_BOTH;
  bool changed = false;
  if (vertical) {
    changed = SetShown(m_verticalScrollBar, show) || changed;
    if (!show) m_autoVScroll = false;
  }
  if (horizontal) changed = SetShown(m_horizontalScrollBar, show) || changed;
  AfterBarChange(changed);
}

void CRichEditUI::SetEngineScrollRange(int bar, LONG minPos, LONG maxPos) {
  const RECT area = GetTextArea();
  CScrollBarUI* target = nullptr;
  int range = 0;
  if (bar == SB_VERT) {
    target = m_verticalScrollBar;
    range = OverflowRange(minPos, maxPos, area.bottom - area.top);
  } else if (bar == SB_HORZ) {
    target = m_horizontalScrollBar;
    range = OverflowRange(minPos, maxPos, area.right - area.left);
  }
  if (!target) return;
  bool changed;
  if (range > 0) {
    changed = SetShown(target, true);
    target->SetScrollRange(range);
  } else {
    changed = SetShown(target, false);
    if (target == m_verticalScrollBar) m_autoVScroll = false;
  }
  AfterBarChange(changed);
}

void CRichEditUI::SetEngineScrollPos(int bar, int pos) {
  CScrollBarUI* target = bar == SB_VERT ? m_verticalScrollBar
                         : bar == SB_HORZ ? m_horizontalScrollBar
                                          : nullptr;
  if (target) target->SetScrollPos(pos);
}

}  // namespace UiToolkit
