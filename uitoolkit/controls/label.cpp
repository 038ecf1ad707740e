#include "uitoolkit/controls/label.h"

#include <math.h>
#include <wchar.h>

#include "uitoolkit/controls/gdiplus_session.h"
#include "uitoolkit/core/attribute_values.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

UINT ApplyAlignWords(UINT style, const wchar_t* value) {
  if (!value) return style;
  if (wcsstr(value, L"left")) style &= ~(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  if (wcsstr(value, L"center")) {
    style &= ~DT_RIGHT;
    style |= DT_CENTER;
  }
  if (wcsstr(value, L"right")) {
    style &= ~(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    style |= DT_RIGHT;
  }
  if (wcsstr(value, L"top")) {
    style &= ~(DT_VCENTER | DT_BOTTOM);
    style |= DT_SINGLELINE;
  }
  if (wcsstr(value, L"vcenter")) {
    style &= ~DT_BOTTOM;
    style |= DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  }
  if (wcsstr(value, L"bottom")) {
    style &= ~DT_VCENTER;
    style |= DT_BOTTOM | DT_SINGLELINE;
  }
  return style;
}

CLabelUI::CLabelUI()
    : m_textColor(0),
      m_disabledTextColor(0),
      m_font(-1),
      m_textStyle(DT_VCENTER),
      m_textPadding{0, 0, 0, 0},
      m_showHtml(false),
      m_effect(false),
      m_stroke(false),
      m_shadow(false),
      m_renderingHint(0),
      m_shadowAlpha(60),
      m_shadowAlpha1(60),
      m_textAlpha(168),
      m_textAlpha1(168),
      m_strokeAlpha(255),
      m_gradientAngle(0),
      m_gradientLength(0),
      m_textColor1(0xFFFFFFFF),
      m_shadowColorA(0xFF000000),
      m_shadowColorB(0xFFFFFFFF),
      m_strokeColor(0),
      m_shadowDx(0),
      m_shadowDy(0) {
  EnsureGdiplusStarted();
}

CLabelUI::~CLabelUI() {}

const wchar_t* CLabelUI::ClassName() const { return L"LabelUI"; }

LPVOID CLabelUI::FindInterface(const wchar_t* name) {
  if (name && wcscmp(name, L"Label") == 0) return this;
  return CControlUI::FindInterface(name);
}

CUiString CLabelUI::GetText() const { return m_effect ? m_effectText : CControlUI::GetText(); }

void CLabelUI::SetText(const wchar_t* text) {
  if (!m_effect) {
    CControlUI::SetText(text);
    return;
  }
  if (m_effectText == text) return;
  m_effectText = text;
  // The effect text is drawn like any other text: a change must show.
  Invalidate();
}

void CLabelUI::OnEvent(TUiEvent& event) {
  if (event.Type == UIEVENT_SETFOCUS) {
    m_focused = true;
    return;
  }
  if (event.Type == UIEVENT_KILLFOCUS) {
    m_focused = false;
    return;
  }
  CControlUI::OnEvent(event);
}

void CLabelUI::SetTextStyle(UINT style) {
  m_textStyle = style;
  Invalidate();
}
void CLabelUI::SetTextColor(DWORD color) {
  m_textColor = color;
  Invalidate();
}
void CLabelUI::SetDisabledTextColor(DWORD color) {
  m_disabledTextColor = color;
  Invalidate();
}
void CLabelUI::SetFont(int index) {
  m_font = index;
  Invalidate();
}
void CLabelUI::SetTextPadding(RECT rc) {
  m_textPadding = rc;
  Invalidate();
}
void CLabelUI::SetShowHtml(bool on) {
  if (m_showHtml == on) return;
  m_showHtml = on;
  Invalidate();
}

void CLabelUI::SetShadowOffset(int distance, int angle) {
  if (angle < -180 || angle > 180) return;
  const double radians = angle * 3.14159265358979323846 / 180.0;
  m_shadowDx = static_cast<float>(distance * cos(radians));
  m_shadowDy = static_cast<float>(-distance * sin(radians));
}

void CLabelUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (wcscmp(name, L"align") == 0) {
    m_textStyle = ApplyAlignWords(m_textStyle, value);
  } else if (wcscmp(name, L"endellipsis") == 0) {
    if (ParseBoolValue(value))
      m_textStyle |= DT_END_ELLIPSIS;
    else
      m_textStyle &= ~DT_END_ELLIPSIS;
  } else if (wcscmp(name, L"font") == 0) {
    SetFont(_wtoi(value));
  } else if (wcscmp(name, L"textcolor") == 0) {
    SetTextColor(ParseColorValue(value, false));
  } else if (wcscmp(name, L"disabledtextcolor") == 0) {
    SetDisabledTextColor(ParseColorValue(value, false));
  } else if (wcscmp(name, L"textpadding") == 0) {
    SetTextPadding(ParseRectValue(value));
  } else if (wcscmp(name, L"showhtml") == 0) {
    SetShowHtml(ParseBoolValue(value));
  } else if (wcscmp(name, L"enabledeffect") == 0) {
    m_effect = ParseBoolValue(value);
  } else if (wcscmp(name, L"enabledstroke") == 0) {
    m_stroke = ParseBoolValue(value);
  } else if (wcscmp(name, L"enabledshadow") == 0) {
    m_shadow = ParseBoolValue(value);
  } else if (wcscmp(name, L"rhaa") == 0) {
    SetRenderingHint(_wtoi(value));
  } else if (wcscmp(name, L"transshadow") == 0) {
    m_shadowAlpha = _wtoi(value);
  } else if (wcscmp(name, L"transshadow1") == 0) {
    m_shadowAlpha1 = _wtoi(value);
  } else if (wcscmp(name, L"transtext") == 0) {
    m_textAlpha = _wtoi(value);
  } else if (wcscmp(name, L"transtext1") == 0) {
    m_textAlpha1 = _wtoi(value);
  } else if (wcscmp(name, L"transstroke") == 0) {
    m_strokeAlpha = _wtoi(value);
  } else if (wcscmp(name, L"gradientangle") == 0) {
    m_gradientAngle = _wtoi(value);
  } else if (wcscmp(name, L"gradientlength") == 0) {
    m_gradientLength = _wtoi(value);
  } else if (wcscmp(name, L"shadowoffset") == 0) {
    int pair[2] = {0, 0};
    ParseIntList(value, pair, 2);
    SetShadowOffset(pair[0], pair[1]);
  } else if (wcscmp(name, L"textcolor1") == 0) {
    m_textColor1 = ParseColorValue(value, false);
  } else if (wcscmp(name, L"textshadowcolora") == 0) {
    m_shadowColorA = ParseColorValue(value, false);
  } else if (wcscmp(name, L"textshadowcolorb") == 0) {
    m_shadowColorB = ParseColorValue(value, false);
  } else if (wcscmp(name, L"strokecolor") == 0) {
    m_strokeColor = ParseColorValue(value, false);
  } else {
    CControlUI::ApplyAttribute(name, value);
  }
}

int CLabelUI::FontHeight() const {
  if (!m_manager) return 0;
  TUiFontInfo* info = m_manager->FontAt(m_font);
  return info ? info->tm.tmHeight : 0;
}

SIZE CLabelUI::MeasureSize(SIZE) {
  if (m_fixedSize.cy != 0) return m_fixedSize;
  return SIZE{m_fixedSize.cx, FontHeight() + 4};
}

void CLabelUI::ResolveDefaultColors() {
  if (!m_manager) return;
  if (m_textColor == 0) m_textColor = m_manager->DefaultTextColor();
  if (m_disabledTextColor == 0) m_disabledTextColor = m_manager->DisabledTextColor();
}

RECT CLabelUI::TextRect() const {
  RECT rc = m_bounds;
  rc.left += m_textPadding.left;
  rc.right -= m_textPadding.right;
  rc.top += m_textPadding.top;
  rc.bottom -= m_textPadding.bottom;
  return rc;
}

void CLabelUI::PaintText(HDC hdc) {
  ResolveDefaultColors();
  RECT rc = TextRect();
  if (m_effect) {
    PaintEffectText(hdc, rc);
    return;
  }
  if (m_text.IsEmpty()) return;
  DWORD color = IsEnabled() ? m_textColor : m_disabledTextColor;
  UINT style = m_textStyle | DT_SINGLELINE;
  if (m_showHtml) {
    int links = 0;
    CUiRender::DrawMarkupText(hdc, m_manager, rc, m_text, color, nullptr, nullptr, links, style);
  } else {
    CUiRender::DrawPlainText(m_font, color, hdc, m_manager, rc, m_text, style);
  }
}

}  // namespace UiToolkit
