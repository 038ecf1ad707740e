#include "uitoolkit/controls/progress.h"

#include <stdio.h>
#include <wchar.h>

#include "uitoolkit/controls/control_state.h"
#include "uitoolkit/controls/progress_geometry.h"
#include "uitoolkit/core/attribute_values.h"

namespace UiToolkit {

CProgressUI::CProgressUI()
    : m_horizontal(true), m_stretchFore(true), m_max(100), m_min(0), m_value(0) {
  m_textStyle = DT_SINGLELINE | DT_CENTER;
  SetFixedHeight(12);
}

CProgressUI::~CProgressUI() {}

const wchar_t* CProgressUI::ClassName() const { return L"ProgressUI"; }

LPVOID CProgressUI::FindInterface(const wchar_t* name) {
  if (name && wcscmp(name, L"Progress") == 0) return this;
  return CLabelUI::FindInterface(name);
}

void CProgressUI::SetHorizontal(bool horizontal) {
  if (m_horizontal == horizontal) return;
  m_horizontal = horizontal;
  Invalidate();
}

void CProgressUI::SetStretchForeImage(bool stretch) {
  if (m_stretchFore == stretch) return;
  m_stretchFore = stretch;
  Invalidate();
}

void CProgressUI::SetMinValue(int value) {
  m_min = value;
  Invalidate();
}

void CProgressUI::SetMaxValue(int value) {
  m_max = value;
  Invalidate();
}

void CProgressUI::SetValue(int value) {
  if (value == m_value || value < m_min || value > m_max) return;
  m_value = value;
  Invalidate();
}

void CProgressUI::SetForeImage(const wchar_t* image) {
  if (m_foreImage == image) return;
  m_foreImage = image;
  Invalidate();
}

TUiRangeValue CProgressUI::Range() const { return RepairRange(m_min, m_max, m_value); }

void CProgressUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (wcscmp(name, L"foreimage") == 0) {
    SetForeImage(value);
  } else if (wcscmp(name, L"hor") == 0) {
    SetHorizontal(ParseBoolValue(value));
  } else if (wcscmp(name, L"min") == 0) {
    SetMinValue(_wtoi(value));
  } else if (wcscmp(name, L"max") == 0) {
    SetMaxValue(_wtoi(value));
  } else if (wcscmp(name, L"value") == 0) {
    SetValue(_wtoi(value));
  } else if (wcscmp(name, L"isstretchfore") == 0) {
    SetStretchForeImage(ParseBoolValue(value));
  } else {
    CLabelUI::ApplyAttribute(name, value);
  }
}

void CProgressUI::PaintStateImage(HDC hdc) {
  const TUiRangeValue range = Range();
  m_min = range.minimum;
  m_max = range.maximum;
  m_value = range.value;
  const RECT fill = ProgressFillRect(m_bounds.GetWidth(), m_bounds.GetHeight(), range, m_horizontal);
  if (m_foreImage.IsEmpty()) return;
  wchar_t modifier[128];
  if (m_stretchFore) {
    swprintf(modifier, 128, L"dest='%d,%d,%d,%d'", fill.left, fill.top, fill.right, fill.bottom);
  } else {
    // The image keeps its scale: the same rectangle cut from it.
    swprintf(modifier, 128, L"dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", fill.left, fill.top,
             fill.right, fill.bottom, fill.left, fill.top, fill.right, fill.bottom);
  }
  m_foreModifier = modifier;
  DrawImageOrClear(*this, hdc, m_foreImage, m_foreModifier);
}

}  // namespace UiToolkit
