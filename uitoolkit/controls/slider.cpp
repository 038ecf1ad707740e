#include "uitoolkit/controls/slider.h"

#include <stdio.h>
#include <wchar.h>

#include "uitoolkit/core/attribute_values.h"

namespace UiToolkit {

CSliderUI::CSliderUI()
    : m_state(0), m_step(1), m_thumbSize{10, 10}, m_pressed(false), m_valueAtPress(0) {
  m_textStyle = DT_SINGLELINE | DT_CENTER;
}

CSliderUI::~CSliderUI() {}

const wchar_t* CSliderUI::ClassName() const { return L"SliderUI"; }

LPVOID CSliderUI::FindInterface(const wchar_t* name) {
  if (name && wcscmp(name, L"Slider") == 0) return this;
  return CProgressUI::FindInterface(name);
}

UINT CSliderUI::CapabilityFlags() const { return IsEnabled() ? UIFLAG_SETCURSOR : 0; }

void CSliderUI::SetEnabled(bool enabled) {
  CControlUI::SetEnabled(enabled);
  if (!IsEnabled()) {
    m_state = 0;
    m_pressed = false;
  }
}

RECT CSliderUI::GetThumbRect() const {
  return SliderThumbRect(m_bounds, m_thumbSize, Range(), m_horizontal);
}

int CSliderUI::ValueAt(POINT pt) const {
  return SliderValueAt(m_bounds, m_thumbSize, m_min, m_max, pt, m_horizontal);
}

void CSliderUI::OnEvent(TUiEvent& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (m_parent)
      m_parent->OnEvent(event);
    else
      CProgressUI::OnEvent(event);
    return;
  }
  if (TrackHotState(event.Type, m_state, *this)) return;
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (IsEnabled()) {
        RECT thumb = GetThumbRect();
        if (::PtInRect(&thumb, event.ptMouse)) m_state |= UISTATE_CAPTURED;
        m_pressed = true;
        m_valueAtPress = m_value;
      }
      return;
    case UIEVENT_BUTTONUP: {
      m_state &= ~UISTATE_CAPTURED;
      // A release this slider saw no press for (it was disabled then)
      // changes nothing.
      if (!m_pressed) return;
      m_pressed = false;
      // Released anywhere on or off the track: the value goes there, so a
      // click on the track moves the thumb to it.
      const TUiRangeValue range = Range();
      const int value = ValueAt(event.ptMouse);
      if (value >= range.minimum && value <= range.maximum) {
        const bool changed = value != m_valueAtPress;
        m_value = value;
        if (changed) Emit(UI_NOTIFY_VALUECHANGED);
        Invalidate();
      }
      return;
    }
    case UIEVENT_MOUSEMOVE:
      if (m_state & UISTATE_CAPTURED) {
        m_value = ValueAt(event.ptMouse);
        Invalidate();
      }
      return;
    case UIEVENT_SCROLLWHEEL:
      // A disabled slider is not the user's to turn.
      if (!IsEnabled()) return;
      // Reported even when the step would leave the limits and the value
      // stays: the owner hears every turn.
      SetValue(event.wParam == 0 ? m_value + m_step : m_value - m_step);
      Emit(UI_NOTIFY_VALUECHANGED);
      return;
    case UIEVENT_CONTEXTMENU:
      return;
    case UIEVENT_SETCURSOR: {
      RECT thumb = GetThumbRect();
      if (IsEnabled() && ::PtInRect(&thumb, event.ptMouse)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return;
      }
      break;
    }
    default:
      break;
  }
  CControlUI::OnEvent(event);
}

void CSliderUI::SetThumbImage(const wchar_t* image) {
  m_thumbImage = image;
  Invalidate();
}
void CSliderUI::SetThumbHotImage(const wchar_t* image) {
  m_thumbHotImage = image;
  Invalidate();
}
void CSliderUI::SetThumbPushedImage(const wchar_t* image) {
  m_thumbPushedImage = image;
  Invalidate();
}

void CSliderUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (wcscmp(name, L"thumbimage") == 0) {
    SetThumbImage(value);
  } else if (wcscmp(name, L"thumbhotimage") == 0) {
    SetThumbHotImage(value);
  } else if (wcscmp(name, L"thumbpushedimage") == 0) {
    SetThumbPushedImage(value);
  } else if (wcscmp(name, L"thumbsize") == 0) {
    m_thumbSize = ParseSizeValue(value);
  } else if (wcscmp(name, L"step") == 0) {
    m_step = _wtoi(value);
  } else {
    CProgressUI::ApplyAttribute(name, value);
  }
}

bool CSliderUI::DrawThumb(HDC hdc, CUiString& image) {
  return !image.IsEmpty() && DrawImageOrClear(*this, hdc, image, m_thumbModifier);
}

void CSliderUI::PaintStateImage(HDC hdc) {
  CProgressUI::PaintStateImage(hdc);
  RECT thumb = GetThumbRect();
  ::OffsetRect(&thumb, -m_bounds.left, -m_bounds.top);
  wchar_t modifier[64];
  swprintf(modifier, 64, L"dest='%d,%d,%d,%d'", thumb.left, thumb.top, thumb.right, thumb.bottom);
  m_thumbModifier = modifier;
  // Pushed while dragged, else hot while hovered; the plain thumb when the
  // state's own image is missing or fails.
  if (m_state & UISTATE_CAPTURED) {
    if (DrawThumb(hdc, m_thumbPushedImage)) return;
  } else if (m_state & UISTATE_HOT) {
    if (DrawThumb(hdc, m_thumbHotImage)) return;
  }
  DrawThumb(hdc, m_thumbImage);
}

}  // namespace UiToolkit
