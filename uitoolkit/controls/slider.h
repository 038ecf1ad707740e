#pragma once
// A progress bar with a thumb the user drags, clicks along the track or
// turns with the wheel; a change made by the user is reported as
// "valuechanged".
#include "uitoolkit/controls/control_state.h"
#include "uitoolkit/controls/progress.h"

namespace UiToolkit {

class CSliderUI : public CProgressUI {
 public:
  CSliderUI();
  ~CSliderUI() override;

  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;
  UINT CapabilityFlags() const override;
  void SetEnabled(bool enabled = true) override;
  void OnEvent(TUiEvent& event) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  void PaintStateImage(HDC hdc) override;

  UINT GetState() const { return m_state; }
  int GetChangeStep() const { return m_step; }
  void SetChangeStep(int step) { m_step = step; }
  SIZE GetThumbSize() const { return m_thumbSize; }
  void SetThumbSize(SIZE size) { m_thumbSize = size; }
  // Absolute; the limits as painted, whatever they were last set to.
  RECT GetThumbRect() const;
  const CUiString& GetThumbImage() const { return m_thumbImage; }
  void SetThumbImage(const wchar_t* image);
  const CUiString& GetThumbHotImage() const { return m_thumbHotImage; }
  void SetThumbHotImage(const wchar_t* image);
  const CUiString& GetThumbPushedImage() const { return m_thumbPushedImage; }
  void SetThumbPushedImage(const wchar_t* image);

 private:
  int ValueAt(POINT pt) const;
  bool DrawThumb(HDC hdc, CUiString& image);

  UINT m_state;
  int m_step;
  SIZE m_thumbSize;
  CUiString m_thumbImage;
  CUiString m_thumbHotImage;
  CUiString m_thumbPushedImage;
  CUiString m_thumbModifier;
  // The value when the button went down on the slider: a release reports a
  // change against it, so a drag, which moves the value as it goes, is
  // reported too.
  bool m_pressed;
  int m_valueAtPress;
};

}  // namespace UiToolkit
