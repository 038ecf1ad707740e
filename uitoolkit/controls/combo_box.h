#pragma once
// A combo with an arrow: one image strip of five state pictures (normal,
// hot, pushed, focused, disabled) of which the part for the current state
// is painted at the right edge, inside the border; the text keeps clear of
// it.
#include "uitoolkit/controls/combo.h"

namespace UiToolkit {

class CComboBoxUI : public CComboUI {
 public:
  CComboBoxUI();

  const wchar_t* ClassName() const override;
  // "arrowimage": the strip's image string; empty clears it.
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  // With an arrow image only the arrow is painted; without one, the
  // combo's state images. A strip that cannot be cut (no readable
  // "source", or a right edge not above its left) is cleared, and the
  // state images paint instead.
  void PaintStateImage(HDC hdc) override;
  void PaintText(HDC hdc) override;

  const CUiString& GetArrowImage() const { return m_arrowImage; }
  void SetArrowImage(const wchar_t* image);
  // Known once the arrow has been painted; 0 until then.
  int GetArrowWidth() const { return m_arrowWidth; }

 private:
  CUiString m_arrowImage;
  int m_arrowWidth;
};

}  // namespace UiToolkit
