#include "uitoolkit/controls/combo_box.h"

#include "uitoolkit/controls/combo_geometry.h"
#include "uitoolkit/controls/control_state.h"
#include "uitoolkit/core/attribute_values.h"

namespace UiToolkit {

CComboBoxUI::CComboBoxUI() : m_arrowWidth(0) {}

const wchar_t* CComboBoxUI::ClassName() const { return L"ComboBoxUI"; }

void CComboBoxUI::SetArrowImage(const wchar_t* image) {
  m_arrowImage = image;
  Invalidate();
}

void CComboBoxUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (name && value && SameName(name, L"arrowimage"))
    SetArrowImage(value);
  else
    CComboUI::ApplyAttribute(name, value);
}

void CComboBoxUI::PaintStateImage(HDC hdc) {
  if (!m_arrowImage.IsEmpty()) {
    RefreshFocusAndDisabled();
    RECT source;
    CUiString rest;
    if (SplitArrowSource(m_arrowImage, &source, &rest)) {
      m_arrowWidth = (source.right - source.left) / 5;
      const int border = GetBorderSize();
      RECT dest = {border, border, GetWidth() - border, GetHeight() - border};
      dest.left = dest.right - m_arrowWidth;
      if (DrawImage(hdc, rest, ArrowPartModifier(source, ComboArrowPart(m_state), dest))) return;
    }
    // A strip that cannot be cut or drawn is a drawing failure.
    m_arrowImage.Clear();
    m_arrowWidth = 0;
  }
  CComboUI::PaintStateImage(hdc);
}

void CComboBoxUI::PaintText(HDC hdc) {
  RECT rc = TextArea();
  rc.right -= m_arrowWidth;
  PaintSelectedText(hdc, rc);
}

}  // namespace UiToolkit
