#include "uitoolkit/controls/text.h"

#include <wchar.h>

#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

CTextUI::CTextUI() : m_linkCount(0), m_linkRects{}, m_hoverLink(-1) {
  m_textStyle = DT_WORDBREAK;
  m_textPadding.left = 2;
  m_textPadding.right = 2;
}

CTextUI::~CTextUI() {}

const wchar_t* CTextUI::ClassName() const { return L"TextUI"; }

LPVOID CTextUI::FindInterface(const wchar_t* name) {
  if (name && wcscmp(name, L"Text") == 0) return this;
  return CLabelUI::FindInterface(name);
}

UINT CTextUI::CapabilityFlags() const {
  return (IsEnabled() && m_linkCount > 0) ? UIFLAG_SETCURSOR : 0;
}

int CTextUI::LinkAt(POINT pt) const {
  for (int i = 0; i < m_linkCount; ++i) {
    if (::PtInRect(&m_linkRects[i], pt)) return i;
  }
  return -1;
}

void CTextUI::OnEvent(TUiEvent& event) {
  if (!IsMouseEnabled() && event.Type >= UIEVENT_MOUSEMOVE && event.Type <= UIEVENT_SCROLLWHEEL) {
    if (m_parent)
      m_parent->OnEvent(event);
    else
      CLabelUI::OnEvent(event);
    return;
  }
  const int link = LinkAt(event.ptMouse);
  switch (event.Type) {
    case UIEVENT_SETCURSOR:
      if (link >= 0) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return;
      }
      break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (IsEnabled() && link >= 0) {
        Invalidate();
        return;
      }
      break;
    case UIEVENT_BUTTONUP:
      if (IsEnabled() && link >= 0) {
        Emit(UI_NOTIFY_LINK, static_cast<WPARAM>(link));
        return;
      }
      break;
    case UIEVENT_CONTEXTMENU:
      return;
    case UIEVENT_MOUSEMOVE:
      if (IsEnabled() && m_linkCount > 0) {
        if (link != m_hoverLink) {
          m_hoverLink = link;
          Invalidate();
        }
        return;
      }
      break;
    case UIEVENT_MOUSELEAVE:
      if (IsEnabled() && m_linkCount > 0 && m_hoverLink != -1) {
        m_hoverLink = -1;
        Invalidate();
        return;
      }
      break;
    case UIEVENT_SETFOCUS:
      m_focused = true;
      return;
    case UIEVENT_KILLFOCUS:
      m_focused = false;
      return;
    default:
      break;
  }
  CControlUI::OnEvent(event);
}

SIZE CTextUI::MeasureSize(SIZE available) {
  int right = (m_fixedSize.cx > available.cx ? m_fixedSize.cx : available.cx) - m_textPadding.right;
  RECT rc = {m_textPadding.left, 0, right, 9999};
  if (m_manager && m_manager->GetWindowDC()) {
    HDC dc = m_manager->GetWindowDC();
    const wchar_t* text = GetText();
    if (m_showHtml) {
      int links = 0;
      CUiRender::DrawMarkupText(dc, m_manager, rc, text, 0, nullptr, nullptr, links,
                            m_textStyle | DT_CALCRECT);
    } else {
      HGDIOBJ old = ::SelectObject(dc, m_manager->FontAt(m_font)->hFont);
      ::DrawTextW(dc, text, -1, &rc, m_textStyle | DT_CALCRECT | DT_NOPREFIX);
      ::SelectObject(dc, old);
    }
  }
  SIZE size = {rc.right - rc.left + m_textPadding.left + m_textPadding.right,
               rc.bottom - rc.top + m_textPadding.top + m_textPadding.bottom};
  if (m_fixedSize.cy != 0) size.cy = m_fixedSize.cy;
  return size;
}

void CTextUI::PaintText(HDC hdc) {
  if (m_text.IsEmpty()) {
    m_linkCount = 0;
    return;
  }
  ResolveDefaultColors();
  RECT rc = TextRect();
  DWORD color = IsEnabled() ? m_textColor : m_disabledTextColor;
  m_linkCount = kMaxLinks;
  if (m_showHtml) {
    CUiRender::DrawMarkupText(hdc, m_manager, rc, m_text, color, m_linkRects, m_linkTexts, m_linkCount,
                          m_textStyle);
  } else {
    m_linkCount = 0;
    CUiRender::DrawPlainText(m_font, color, hdc, m_manager, rc, m_text, m_textStyle);
  }
}

}  // namespace UiToolkit
