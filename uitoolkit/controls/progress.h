#pragma once
// A progress bar: the part of a fore image that stands for the value
// between a minimum and a maximum, drawn over the background, filled from
// the left or from the bottom. The caption is the label's.
#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/progress_geometry.h"

namespace UiToolkit {

class CProgressUI : public CLabelUI {
 public:
  CProgressUI();
  ~CProgressUI() override;

  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  void PaintStateImage(HDC hdc) override;

  bool IsHorizontal() const { return m_horizontal; }
  void SetHorizontal(bool horizontal);
  bool IsStretchForeImage() const { return m_stretchFore; }
  void SetStretchForeImage(bool stretch);
  int GetMinValue() const { return m_min; }
  void SetMinValue(int value);
  int GetMaxValue() const { return m_max; }
  void SetMaxValue(int value);
  int GetValue() const { return m_value; }
  // Taken only when it differs from the value and lies within the limits
  // as they are now; anything else is ignored, not clamped.
  void SetValue(int value);
  const CUiString& GetForeImage() const { return m_foreImage; }
  void SetForeImage(const wchar_t* image);

 protected:
  // The limits and value as painted (the maximum kept above the minimum,
  // the value inside them). Geometry always uses these, so nothing divides
  // by an empty range between a change and the next paint.
  TUiRangeValue Range() const;

  bool m_horizontal;
  bool m_stretchFore;
  int m_max;
  int m_min;
  int m_value;
  CUiString m_foreModifier;
};

}  // namespace UiToolkit
